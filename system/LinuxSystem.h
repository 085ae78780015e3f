// The system on Linux: XDG folders, CLOCK_BOOTTIME, the clock's changes, libcanberra, logind and
// the session manager over D-Bus, POSIX signals.
#pragma once

#include "seams/System.h"
#include "system/Beeper.h"
#include "system/ClockWatch.h"
#include "system/ExitRequester.h"
#include "system/SessionEnd.h"

#include <memory>

class LinuxSystem : public System
{
public:
    // fallbackBell sounds where the sound theme's bell cannot be played.
    explicit LinuxSystem(std::function<void()> fallbackBell);
    ~LinuxSystem() override;
    LinuxSystem(const LinuxSystem&) = delete;
    LinuxSystem& operator=(const LinuxSystem&) = delete;

    std::optional<QByteArray> readSettingsFile() override;
    bool replaceSettingsFile(const QByteArray& bytes) override;
    QString localTimeText() override;
    int localMsOfDay() override;
    std::uint32_t uptimeMs() override;
    double randomUnit() override;
    void prepareBell() override;
    void beep() override;
    void requestExit(ExitKind kind) override;
    void purgeRecentDocuments() override;
    QString loginName() override;
    bool acquireSingleInstance() override;
    QString executablePath() override;
    void callOnClockChange(std::function<void()> handler) override;
    void callOnSessionEnd(std::function<void()> handler) override;
    void endProcess() override;

    // Where the settings file lives.
    static QString settingsFilePath();

private:
    Beeper m_beeper;
    std::unique_ptr<ExitRequester> m_exit;
    SessionEndWatcher m_sessionEnd;
    ClockWatch m_clockWatch;
};
