// The texts of the main window's clock and uptime labels.
#pragma once

#include <QString>
#include <cstdint>

namespace clock_rules
{

// "9:05:03" -> "09:05:03": a 7-character time of day gets a leading "0".
QString clockText(const QString& timeOfDay);

// The uptime's whole seconds: the 32-bit millisecond count read as a signed number and rounded
// (halves to even). Cheap to compare, to tell whether the text changes.
std::int32_t uptimeSeconds(std::uint32_t uptimeMs);
// The uptime text: "S秒経過" when uptimeForm is 1, else "H時間M分C秒経過" with floor division,
// so minutes and seconds stay in 0..59 also for negative counts.
QString uptimeTextForSeconds(std::int64_t seconds, std::int16_t uptimeForm);

// Whether the clock's first five characters equal hour ":" minute, without building the text.
bool matchesAlarm(QStringView clockLeft5, const QString& hour, const QString& minute);

} // namespace clock_rules
