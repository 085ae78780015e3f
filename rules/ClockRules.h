// The texts of the main window's clock and uptime labels, and when the clock must look again.
#pragma once

#include <QString>
#include <cstdint>

namespace clock_rules
{

// The clock's text for a second of the day, "HH:MM:SS" (09:05:03), made from the number the
// tick has already read rather than from a second reading of the clock.
QString clockText(int secondOfDay);

// The uptime's whole seconds: the 32-bit millisecond count read as a signed number and rounded
// (halves to even). Cheap to compare, to tell whether the text changes.
std::int32_t uptimeSeconds(std::uint32_t uptimeMs);
// The uptime text: "S秒経過" when uptimeForm is 1, else "H時間M分C秒経過" with floor division,
// so minutes and seconds stay in 0..59 also for negative counts.
QString uptimeTextForSeconds(std::int64_t seconds, std::int16_t uptimeForm);

// Whether the clock, as "HH:MM:SS" for this second of the day, begins with hour ":" minute,
// without building the text: only two-digit texts can match.
bool matchesAlarm(int secondOfDay, const QString& hour, const QString& minute);
// Whether this second of the day is HH:00:00, the second the hourly chime sounds in.
bool isFullHour(int secondOfDay);

// Inside the second HH:00:00 and the alarm minute the clock acts on every tick, ten a second.
constexpr int kFastTickMs = 100;
// How long after now (milliseconds since midnight) the next clock tick is due: just past the next
// wall-clock second, where the text changes; within kFastTickMs while acting (fast), still
// landing on the second's boundary. The margin keeps a tick from reading the old second when the
// timer fires a little early; each tick measures afresh, so no error adds up over a day.
int nextTickDelayMs(int msOfDay, bool fast);

// While nobody sees the clock it sleeps until something is due that a user hears: how long after
// now (milliseconds since midnight) the next full hour's second or the alarm minute begins,
// whichever is first, just past its boundary as a tick would come; ten seconds before it where it
// is further away, to measure again.
int nextDueDelayMs(int msOfDay, const QString& alarmHour, const QString& alarmMinute);

// How long after now (milliseconds since midnight) the beep alert's blink swaps colours next: a
// second later, moved to the middle between two of the alarm minute's ticks (which come just
// past every tenth of a second, and paint the clock red), so that the blue shows for half a
// tick whatever the phase of the tick the alarm began on. The first swap comes at the first such
// middle a second or more away (1050 ms after a tick on its usual phase); later ones at the
// nearest, so that they stay a second apart.
int nextBlinkDelayMs(int msOfDay, bool first);

} // namespace clock_rules
