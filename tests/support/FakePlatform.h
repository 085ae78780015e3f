// A platform that records everything the program asks of the system, with a settable clock, and
// answers message boxes at once.
#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <vector>

class FakePlatform : public Platform
{
public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
    };
    struct Topmost {
        QPointer<QWidget> window;
        bool on;
    };

    // The settings file: its bytes, or unreadable.
    QByteArray file;
    bool unreadable = false;
    bool writesFail = false;
    QList<QByteArray> writes; // the whole file after each successful write
    int reads = 0;

    QString timeText = QStringLiteral("12:34:56");
    std::uint32_t ticks = 0;
    double random = 0.0;
    QString login = QStringLiteral("taro");
    bool otherInstance = false;
    QString exePath = QStringLiteral("/opt/quorvane/quorvane");
    QSize screen{1024 * 15, 768 * 15};

    int beeps = 0;
    std::vector<ExitKind> exits;
    int purges = 0;
    std::vector<Message> messages;
    std::vector<Topmost> topmost;
    int ends = 0;
    // The tray: whether the desktop has one, and every request with the record it carried.
    bool trayAvailable = true;
    std::vector<std::pair<NotifyIconMessage, NotifyIconData>> trayRequests;
    std::vector<QPointer<QWidget>> foregrounds;
    std::vector<QUrl> urls;
    // Runs when a pop-up menu is shown, before it "closes" (choose an item here).
    std::function<void(QMenu*)> onPopUp;
    // Runs when a message box is shown, before it "returns".
    std::function<void()> onMessage;
    // Records the order of events that tests compare ("beep", "exit:2", "message", "end").
    QStringList log;

    std::optional<QByteArray> readProfileFile() override;
    bool replaceProfileFile(const QByteArray& bytes) override;
    QString localTimeText() override { return timeText; }
    int localSecondOfDay() override;
    std::uint32_t tickCount() override { return ticks; }
    double randomUnit() override { return random; }
    void beep() override;
    void requestExit(ExitKind kind) override;
    void purgeRecentDocuments() override;
    QString loginName() override { return login; }
    bool acquireSingleInstance() override { return !otherInstance; }
    QString executablePath() override { return exePath; }
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override;
    void setTopmost(QWidget* window, bool on) override;
    QSize screenSizeTwips() override { return screen; }
    void setForegroundWindow(QWidget* window) override;
    void popUpMenu(QMenu* menu) override;
    bool notifyIcon(NotifyIconMessage message, const NotifyIconData& data) override;
    void openUrl(const QUrl& url) override;

    // What the program asked to run when the desktop session ends it.
    std::function<void()> sessionEnd;
    void callOnSessionEnd(std::function<void()> handler) override
    {
        sessionEnd = std::move(handler);
    }

    // Reports a tray mouse message to the window of the icon added last, and delivers it.
    void trayMessage(int message);

private:
    QString m_parsedText;
    int m_parsedSecond = -1;
    void endProcess() override;
};

// Installs a fresh fake and resets every module's state; unloads the dialogs and removes the fake
// when it goes out of scope.
class FakeEnvironment
{
public:
    FakeEnvironment();
    ~FakeEnvironment();
    FakeEnvironment(const FakeEnvironment&) = delete;
    FakeEnvironment& operator=(const FakeEnvironment&) = delete;
    FakePlatform fake;
};
