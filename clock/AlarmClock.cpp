#include "clock/AlarmClock.h"

#include "rules/ClockRules.h"
#include "seams/System.h"

#include <QTimer>

namespace
{

constexpr int kSweepIntervalMs = 10000;
constexpr int kSweepTicksPerPurge = 5;
// The hourly chime; the beep alert sounds two runs of six; an exit request follows six.
constexpr int kChimeBeeps = 16;
constexpr int kAlertRunBeeps = 6;
constexpr int kExitWarningBeeps = 6;

// Switches a timer like a window timer's Enabled flag: enabling a running timer leaves its
// interval running (QTimer::start would restart it).
void setTimerEnabled(QTimer* timer, bool enabled)
{
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}

QTimer* makeTimer(QObject* owner, const char* name, Qt::TimerType type)
{
    auto* timer = new QTimer(owner);
    timer->setObjectName(QLatin1String(name));
    timer->setTimerType(type);
    return timer;
}

} // namespace

AlarmClock::AlarmClock(System& system, const settings::SettingsRecord& settings, QObject* parent)
    : QObject(parent), m_system(system), m_settings(settings),
      // Precise timers keep their own phase: the clock ticks just past the wall-clock second,
      // and the blink's swaps fall between clock ticks (see startBlinking) instead of being
      // gathered onto the same moment as a tick. Each clock tick sets the interval to the next.
      m_clockTimer(makeTimer(this, "clockTimer", Qt::PreciseTimer)),
      m_blinkTimer(makeTimer(this, "blinkTimer", Qt::PreciseTimer)),
      m_sweepTimer(makeTimer(this, "sweepTimer", Qt::CoarseTimer))
{
    setObjectName(QStringLiteral("alarmClock"));
    connect(m_clockTimer, &QTimer::timeout, this, &AlarmClock::onClockTick);
    connect(m_blinkTimer, &QTimer::timeout, this, &AlarmClock::onBlinkTick);
    m_sweepTimer->setInterval(kSweepIntervalMs);
    connect(m_sweepTimer, &QTimer::timeout, this, &AlarmClock::onSweepTick);
}

AlarmClock::~AlarmClock() = default;

void AlarmClock::start()
{
    m_system.callOnClockChange([this] { onClockChanged(); });
    emit clockTextChanged(m_system.localTimeText());
    tickSoon();
    switchSweep(settings::isOn(m_settings.sweepRecentFiles));
}

void AlarmClock::applySettings()
{
    switchSweep(settings::isOn(m_settings.sweepRecentFiles));
    if (m_clockTimer->isActive())
        tickSoon();
}

void AlarmClock::switchSweep(bool on)
{
    setTimerEnabled(m_sweepTimer, on);
}

void AlarmClock::setSeen(bool seen)
{
    const bool seenAgain = seen && !m_seen;
    m_seen = seen;
    if (!seen)
        return;
    showStaleTexts();
    // What a minimised window skipped (the alarm minute's end) is put right at once, as a tick
    // would; the first showing waits for the start.
    if (seenAgain && m_clockTimer->isActive())
        tickSoon();
}

void AlarmClock::showStaleTexts()
{
    if (m_textsStale)
        showTime(m_system.localMsOfDay());
}

void AlarmClock::onClockChanged()
{
    m_uptimeAnchor.valid = false; // the wall clock's second has another phase now
    if (m_clockTimer->isActive())
        onClockTick();
}

void AlarmClock::tickSoon()
{
    m_clockTimer->start(clock_rules::nextTickDelayMs(m_system.localMsOfDay(), true));
}

void AlarmClock::onClockTick()
{
    const int now = m_system.localMsOfDay();
    const int second = now / 1000;
    const bool fullHour = clock_rules::isFullHour(second);
    const bool alarmMinute =
        clock_rules::matchesAlarm(second, m_settings.alarmHour, m_settings.alarmMinute);
    const bool fast = fullHour || alarmMinute;
    // Unseen, only the chime and the alarm minute can be noticed: the clock sleeps until one
    // is due (a set clock or a changed record wakes it earlier).
    const int delay = m_seen || fast ? clock_rules::nextTickDelayMs(now, fast)
                                     : clock_rules::nextDueDelayMs(now, m_settings.alarmHour,
                                                                   m_settings.alarmMinute);
    // A timer running at this interval already has the right phase; starting it again would
    // register it anew, an allocation on every quiet tick.
    if (!m_clockTimer->isActive() || m_clockTimer->interval() != delay)
        m_clockTimer->start(delay);
    if (m_seen)
        showTime(now);
    else
        m_textsStale = true; // nobody sees them: made when they are seen again
    if (m_faultWaiting)
        return;

    if (fullHour)
        beeps(kChimeBeeps);
    if (alarmMinute) {
        setColour(ClockColour::Red);
        detonate();
    } else {
        setTimerEnabled(m_blinkTimer, false);
        setColour(ClockColour::ButtonFace);
        emit calmTick();
    }
}

void AlarmClock::showTime(int msOfDay)
{
    const int secondOfDay = msOfDay / 1000;
    if (m_textsStale)
        m_uptimeAnchor.valid = false; // unseen a while: the uptime is read afresh
    m_textsStale = false;
    // The texts are made only when they change, so a tick that shows nothing new allocates
    // nothing and repaints nothing.
    if (secondOfDay != m_shownSecond) {
        m_shownSecond = secondOfDay;
        emit clockTextChanged(clock_rules::clockText(secondOfDay));
    }
    const std::int32_t up = shownUptimeSeconds(msOfDay);
    const std::int16_t mode = m_settings.uptimeForm;
    if (up != m_shownUptime || mode != m_shownUptimeMode) {
        m_shownUptime = up;
        m_shownUptimeMode = mode;
        emit uptimeTextChanged(clock_rules::uptimeTextForSeconds(up, mode));
    }
}

std::int32_t AlarmClock::shownUptimeSeconds(int msOfDay)
{
    constexpr int kMsPerSecond = 1000;
    const std::uint32_t now = m_system.uptimeMs();
    if (!m_uptimeAnchor.valid) {
        m_uptimeAnchor = {true, now, msOfDay % kMsPerSecond, clock_rules::uptimeSeconds(now)};
        return m_uptimeAnchor.seconds;
    }
    // Wall-clock seconds begun since the anchor, told by the uptime, which a set clock does not
    // move. Whole seconds on from the anchor's, and read as the 32-bit count is (so the count
    // still wraps where it always has).
    const std::uint32_t secondsOn = (static_cast<std::uint32_t>(m_uptimeAnchor.msIntoSecond) +
                                     (now - m_uptimeAnchor.uptimeMs)) /
                                    kMsPerSecond;
    const auto anchorMs =
        static_cast<std::uint32_t>(std::int64_t{m_uptimeAnchor.seconds} * kMsPerSecond);
    return clock_rules::uptimeSeconds(anchorMs + secondsOn * kMsPerSecond);
}

void AlarmClock::setColour(ClockColour colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    emit colourChanged(colour);
}

void AlarmClock::startBlinking()
{
    // Every clock tick of the alarm minute paints the clock red again; a swap to blue that
    // fell on the same moment as a tick would never be seen. Every swap lands between two
    // ticks, so the blue shows for half a tick.
    if (!m_blinkTimer->isActive())
        m_blinkTimer->start(clock_rules::nextBlinkDelayMs(m_system.localMsOfDay(), true));
}

void AlarmClock::onBlinkTick()
{
    const int delay = clock_rules::nextBlinkDelayMs(m_system.localMsOfDay(), false);
    if (m_blinkTimer->interval() != delay)
        m_blinkTimer->start(delay);
    setColour(m_colour == ClockColour::Red ? ClockColour::Blue : ClockColour::Red);
}

void AlarmClock::stopAlarm()
{
    setTimerEnabled(m_blinkTimer, false);
    setColour(ClockColour::ButtonFace);
}

void AlarmClock::onSweepTick()
{
    if (m_sweepTickCount < kSweepTicksPerPurge - 1) {
        ++m_sweepTickCount;
        return;
    }
    m_system.purgeRecentDocuments();
    m_sweepTickCount = 0;
}

void AlarmClock::detonate()
{
    switch (m_settings.action) {
    case settings::Action::Beep:
        beepAlert();
        break;
    case settings::Action::Restart:
    case settings::Action::PowerOff:
    case settings::Action::LogOff:
        if (!settings::isOn(m_settings.gentleMode)) {
            beepAndRequestExit();
        } else if (m_faultPrompt != nullptr) {
            m_faultWaiting = true;
            m_faultPrompt->promptFault();
        }
        break;
    }
}

void AlarmClock::beepAlert()
{
    startBlinking();
    emit beepAlertShown();
    beeps(kAlertRunBeeps);
    beeps(kAlertRunBeeps);
}

void AlarmClock::beepAndRequestExit()
{
    ExitKind kind{};
    switch (m_settings.action) {
    case settings::Action::Restart:
        kind = ExitKind::Reboot;
        break;
    case settings::Action::PowerOff:
        kind = ExitKind::Shutdown;
        break;
    case settings::Action::LogOff:
        kind = ExitKind::LogOff;
        break;
    default: // the beep alert, or a stored number that names no action
        return;
    }
    beeps(kExitWarningBeeps);
    m_system.requestExit(kind);
}

void AlarmClock::faultClosed()
{
    beepAndRequestExit();
    m_system.endProcess();
}

void AlarmClock::faultDismissed()
{
    m_faultWaiting = false;
    tickSoon(); // the clock red from the alarm minute goes at once, not at the next second
}

void AlarmClock::beeps(int count)
{
    for (int i = 0; i < count; ++i)
        m_system.beep();
}
