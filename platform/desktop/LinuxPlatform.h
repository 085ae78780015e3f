// The platform on a Linux desktop: XDG folders, CLOCK_BOOTTIME, libcanberra, D-Bus and Qt.
#pragma once

#include "platform/ExitRequester.h"
#include "platform/Platform.h"
#include "platform/SessionEnd.h"
#include "platform/desktop/Beeper.h"
#include "platform/desktop/SystemTray.h"

#include <memory>

class LinuxPlatform : public Platform
{
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    std::optional<QByteArray> readSettingsFile() override;
    bool replaceSettingsFile(const QByteArray& bytes) override;
    QString localTimeText() override;
    int localMsOfDay() override;
    std::uint32_t uptimeMs() override;
    double randomUnit() override;
    void beep() override;
    void requestExit(ExitKind kind) override;
    void purgeRecentDocuments() override;
    QString loginName() override;
    bool acquireSingleInstance() override;
    QString executablePath() override;
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override;
    void setTopmost(QWidget* window, bool on) override;
    QSize screenSize() override;
    void takeFocus(QWidget* window) override;
    void popUpMenu(QMenu* menu) override;
    bool addTrayIcon(const QIcon& icon, const QString& tip, QMenu* menu,
                     std::function<void(TrayEvent)> onEvent) override;
    void removeTrayIcon() override { m_tray.remove(); }
    void openUrl(const QUrl& url) override;
    void callOnSessionEnd(std::function<void()> handler) override;
    void endProcess() override;

    // Where the settings file lives.
    static QString settingsFilePath();

private:
    Beeper m_beeper;
    std::unique_ptr<ExitRequester> m_exit;
    SystemTray m_tray;
    SessionEndWatcher m_sessionEnd;
};
