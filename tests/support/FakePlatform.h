// A platform that keeps the settings file in memory, has a settable clock, answers message boxes
// at once, and writes everything the program asks of the system into one ordered log.
#pragma once

#include "forms/Program.h"
#include "seams/Desktop.h"
#include "seams/System.h"

#include <QStringList>
#include <QTime>
#include <QUrl>
#include <QWidget>
#include <functional>

class FakePlatform : public System, public Desktop
{
public:
    // The settings file: its bytes, unreadable, or refusing writes.
    QByteArray file;
    bool unreadable = false;
    bool writesFail = false;
    int reads = 0;

    int msOfDay = (12 * 3600 + 34 * 60 + 56) * 1000; // the local time of day
    // Sets the time of day from "H:mm:ss" or "H:mm:ss.zzz".
    void setTime(const QString& text)
    {
        msOfDay =
            QTime::fromString(text, text.contains(QLatin1Char('.')) ? QStringLiteral("H:mm:ss.zzz")
                                                                    : QStringLiteral("H:mm:ss"))
                .msecsSinceStartOfDay();
    }
    std::uint32_t ticks = 0;
    double random = 0.0;
    bool otherInstance = false;
    bool trayAvailable = true;

    // In order: "write", "beep", "exit:<kind>", "purge", "message:<text>",
    // "topmost:<window>=<0|1>", "foreground", "popup", "tray:add", "tray:remove", "url:<address>",
    // "end".
    QStringList log;
    // Runs when a pop-up menu is shown, before it "closes" (choose an item here).
    std::function<void(QMenu*)> onPopUp;
    // Runs when a message box is shown, before it "returns".
    std::function<void()> onMessage;
    // What the program asked to run when the desktop session ends it, and when the wall clock
    // is set or the time zone changes.
    std::function<void()> sessionEnd;
    std::function<void()> clockChange;
    bool bellPrepared = false;
    // Where the tray icon reports its events, while it is there.
    std::function<void(TrayEvent)> trayEvents;
    // The menu the tray offers itself, as a status-notifier host draws it.
    QMenu* trayMenu = nullptr;

    std::optional<QByteArray> readSettingsFile() override
    {
        ++reads;
        return unreadable ? std::nullopt : std::optional(file);
    }
    bool replaceSettingsFile(const QByteArray& bytes) override
    {
        if (writesFail)
            return false;
        file = bytes;
        log << QStringLiteral("write");
        return true;
    }
    QString localTimeText() override
    {
        return QTime::fromMSecsSinceStartOfDay(msOfDay).toString(QStringLiteral("H:mm:ss"));
    }
    int localMsOfDay() override { return msOfDay; }
    std::uint32_t uptimeMs() override { return ticks; }
    double randomUnit() override { return random; }
    void prepareBell() override { bellPrepared = true; }
    void beep() override { log << QStringLiteral("beep"); }
    void requestExit(ExitKind kind) override { log << QStringLiteral("exit:%1").arg(int(kind)); }
    void purgeRecentDocuments() override { log << QStringLiteral("purge"); }
    QString loginName() override { return QStringLiteral("taro"); }
    bool acquireSingleInstance() override { return !otherInstance; }
    QString executablePath() override { return QStringLiteral("/opt/quorvane/quorvane"); }
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override
    {
        log << QStringLiteral("message:") + text;
        lastCaption =
            caption + (icon == MessageIcon::Exclamation ? QStringLiteral("!") : QString());
        if (onMessage)
            onMessage();
    }
    void setTopmost(QWidget* window, bool on) override
    {
        log << QStringLiteral("topmost:%1=%2").arg(window->objectName()).arg(on ? 1 : 0);
    }
    QSize screenSize() override { return {1024, 768}; }
    void takeFocus(QWidget* /*window*/) override { log << QStringLiteral("foreground"); }
    void popUpMenu(QMenu* menu) override
    {
        log << QStringLiteral("popup");
        if (onPopUp)
            onPopUp(menu);
    }
    bool addTrayIcon(const QIcon& /*icon*/, const QString& /*tip*/, QMenu* menu,
                     std::function<void(TrayEvent)> onEvent) override
    {
        log << QStringLiteral("tray:add");
        if (!trayAvailable)
            return false;
        trayEvents = std::move(onEvent);
        trayMenu = menu;
        return true;
    }
    void removeTrayIcon() override
    {
        log << QStringLiteral("tray:remove");
        trayEvents = nullptr;
        trayMenu = nullptr;
    }
    void openUrl(const QUrl& url) override { log << QStringLiteral("url:") + url.toString(); }
    void callOnSessionEnd(std::function<void()> handler) override { sessionEnd = handler; }
    void callOnClockChange(std::function<void()> handler) override { clockChange = handler; }
    void endProcess() override { log << QStringLiteral("end"); }

    // The last message box's caption and icon ("警告!" with the exclamation icon).
    QString lastCaption;
};

// A fresh fake and the program on it; the program unloads its dialogs when it goes.
struct FakeEnvironment {
    FakePlatform fake;
    Program program{fake, fake};
};
