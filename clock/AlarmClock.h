// The clock object: the time of day and the uptime as texts, the hourly chime, the alarm minute
// and what it sets off (the beep alert and its blink, an exit request, or the fault dialog in the
// gentle mode), and the sweep of the recently used list. It reads the time and asks the system
// only through the seam it is given, and says what happened through its signals; windows show
// that and pass on what the user does.
#pragma once

#include "rules/Settings.h"

#include <QObject>
#include <cstdint>
#include <limits>

class QTimer;
class System;

// The clock's background: the desktop's button face, or the alarm's red and blue.
enum class ClockColour { ButtonFace, Red, Blue };

// What shows the fault dialog of the gentle mode. Its outcome comes back to the clock through
// faultClosed (the session is to end) or faultDismissed.
class FaultPrompt
{
public:
    virtual void promptFault() = 0;

protected:
    ~FaultPrompt() = default;
};

class AlarmClock : public QObject
{
    Q_OBJECT
public:
    // The record is read afresh on every tick: a change to it counts from the next one.
    AlarmClock(System& system, const settings::SettingsRecord& settings, QObject* parent = nullptr);
    ~AlarmClock() override;

    void setFaultPrompt(FaultPrompt* prompt) { m_faultPrompt = prompt; }

    // Shows the time of day as the system writes it, arms the first tick and the sweep as the
    // record says.
    void start();
    // The record changed: the sweep follows its switch and, once started, the next tick comes
    // within a fast tick's time (a new alarm minute may have begun).
    void applySettings();
    // Starts or stops the sweep of the recently used list; its count of ticks is kept.
    void switchSweep(bool on);
    // Whether anybody can see the texts. Unseen, ticks make none; seen again, the texts that
    // were skipped are made at once and, once started, a tick comes within a fast tick's time.
    void setSeen(bool seen);
    // Makes the texts that ticks skipped while nobody could see them.
    void showStaleTexts();

    // The user stopped the beep alert: the blink ends on the button face.
    void stopAlarm();
    // The fault dialog's close button: six beeps, the exit request, the end of the process.
    void faultClosed();
    // The fault dialog went away otherwise: the clock acts again within a fast tick's time.
    void faultDismissed();

signals:
    // A new text for the clock ("09:05:03", or the system's "9:05:03" at the start) or the uptime.
    void clockTextChanged(const QString& text);
    void uptimeTextChanged(const QString& text);
    // The clock's background changed (the alarm minute's red, the blink, the face again).
    void colourChanged(ClockColour colour);
    // The beep alert began: the alarm-stop button is to be shown.
    void beepAlertShown();
    // A tick outside the alarm minute: what showed the alarm goes back to rest.
    void calmTick();

private:
    void onClockTick();
    void onBlinkTick();
    void onSweepTick();
    // Arms the clock's next tick within a fast tick's time.
    void tickSoon();
    // The wall clock was set or the time zone changed: the clock acts as a tick would, at once.
    void onClockChanged();
    // Writes the clock and uptime texts where they changed.
    void showTime(int msOfDay);
    // The uptime's whole seconds to show: read afresh when the texts begin to be seen, then one
    // more with each wall-clock second (see m_uptimeAnchor).
    std::int32_t shownUptimeSeconds(int msOfDay);
    void setColour(ClockColour colour);
    void startBlinking();
    void detonate();
    void beepAlert();
    void beepAndRequestExit();
    void beeps(int count);

    System& m_system;
    const settings::SettingsRecord& m_settings;
    FaultPrompt* m_faultPrompt = nullptr;
    QTimer* m_clockTimer;
    QTimer* m_blinkTimer;
    QTimer* m_sweepTimer;
    std::int16_t m_sweepTickCount = 0;
    ClockColour m_colour = ClockColour::ButtonFace;
    bool m_seen = false;
    bool m_textsStale = false;   // ticks came while nobody could see the texts
    bool m_faultWaiting = false; // the fault dialog is open: ticks only keep the texts
    // What the texts show now, to tell whether a tick changes anything. Nothing shown yet: no
    // uptime reads as this (it is at most 2^31 ms / 1000 either way).
    int m_shownSecond = -1;
    std::int32_t m_shownUptime = std::numeric_limits<std::int32_t>::min();
    std::int16_t m_shownUptimeMode = -1;
    // The uptime and the wall clock's place in its second when the uptime was last read afresh.
    // Its own second turns at a phase fixed by the boot; counted from here, the shown uptime
    // turns with the clock's second, so it never repeats or skips one between two ticks.
    struct UptimeAnchor {
        bool valid = false;
        std::uint32_t uptimeMs = 0;
        int msIntoSecond = 0;
        std::int32_t seconds = 0;
    } m_uptimeAnchor;
};
