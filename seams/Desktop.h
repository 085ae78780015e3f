// The seam to the desktop: message boxes, keeping a window on top, the screen, the tray and its
// menu, and addresses handed to the desktop. The forms reach the desktop only through this
// interface; main.cpp hands the Linux implementation to the program and the tests a recording
// fake.
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QIcon;
class QMenu;
class QUrl;
class QWidget;

enum class MessageIcon { None, Exclamation };

// What the tray reports of its icon: a double-click, or the right button's release over it,
// which asks for the program's menu.
enum class TrayEvent { DoubleClick, ContextMenu };

class Desktop
{
public:
    virtual ~Desktop() = default;

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
};
