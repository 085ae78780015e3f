// The one seam between Quorvane and the operating system or desktop. Forms and modules reach
// files, clocks, sound, D-Bus and message boxes only through this interface; main.cpp installs
// the Linux implementation and the tests install a recording fake.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QIcon;
class QMenu;
class QUrl;
class QWidget;

// The three ways of ending the session; the values are the request flags the program has always
// used (log off 0, shut down 1, restart 2).
enum class ExitKind { LogOff = 0, Shutdown = 1, Reboot = 2 };

enum class MessageIcon { None, Exclamation };

// What the tray reports of its icon: a double-click, or the right button's release over it,
// which asks for the program's menu.
enum class TrayEvent { DoubleClick, ContextMenu };

class Platform
{
public:
    virtual ~Platform() = default;

    // The settings file's bytes: empty when there is no file, nullopt when one exists but cannot
    // be read (no permission, not a regular file), which must never be overwritten.
    virtual std::optional<QByteArray> readSettingsFile() = 0;
    // Replaces the settings file as a whole, atomically. False when the write failed and the
    // old file was left as it was.
    virtual bool replaceSettingsFile(const QByteArray& bytes) = 0;

    // Local time of day, 24-hour "H:mm:ss" (no leading zero on the hour), as the window first
    // shows it.
    virtual QString localTimeText() = 0;
    // The same time in milliseconds since midnight: a number that costs nothing to compare, and
    // tells how far the next second is.
    virtual int localMsOfDay() = 0;
    // Milliseconds since boot, kept to 32 bits: it wraps after 49.7 days.
    virtual std::uint32_t uptimeMs() = 0;
    // A uniform draw in [0, 1) from a generator reseeded from the clock.
    virtual double randomUnit() = 0;

    // One short alert; never blocks.
    virtual void beep() = 0;
    // Asks the desktop to end the session; asynchronous, result ignored.
    virtual void requestExit(ExitKind kind) = 0;
    // Empties the desktop's list of recently used documents.
    virtual void purgeRecentDocuments() = 0;

    // Login name of the effective user, empty when there is none.
    virtual QString loginName() = 0;
    // Takes the single-instance lock for the life of the process; false when another instance
    // holds it.
    virtual bool acquireSingleInstance() = 0;
    // Directory of the running executable, a "/" unless it already ends in one, and its name.
    virtual QString executablePath() = 0;

    // A modal message box with one OK button; returns when the user dismissed it.
    virtual void messageBox(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // Keeps a top-level window above ordinary windows, or releases it.
    virtual void setTopmost(QWidget* window, bool on) = 0;
    // Size of the whole screen in device-independent pixels.
    virtual QSize screenSize() = 0;
    // Gives the program the input focus, so that a pop-up menu closes on a click elsewhere.
    virtual void takeFocus(QWidget* window) = 0;
    // Shows a menu as a pop-up at the mouse pointer and returns when it closes; a chosen item
    // has been triggered by then.
    virtual void popUpMenu(QMenu* menu) = 0;

    // Shows the tray icon with its tooltip; false when the desktop has no tray. Its events reach
    // onEvent from the event loop, never inside the tray's own event handling. A tray that shows
    // an item's menu itself (a status-notifier host) offers menu on a right click.
    virtual bool addTrayIcon(const QIcon& icon, const QString& tip, QMenu* menu,
                             std::function<void(TrayEvent)> onEvent) = 0;
    virtual void removeTrayIcon() = 0;
    // Hands an address (a web page, or a "mailto:" address) to the desktop's handler; the
    // result is not reported.
    virtual void openUrl(const QUrl& url) = 0;

    // Calls the handler from the event loop when the desktop session ends the program (its
    // session manager quits the application, or SIGTERM or SIGHUP arrives); never once the
    // process has begun to end.
    virtual void callOnSessionEnd(std::function<void()> handler) = 0;
    // Ends the process at once: no handler runs after it. A recording fake returns.
    virtual void endProcess() = 0;
};

// The platform every form and module uses.
Platform& platform();
// Installs the platform (not owned); main.cpp and the tests call it before anything else.
void setPlatform(Platform* p);
