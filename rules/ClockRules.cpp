#include "rules/ClockRules.h"

#include "platform/NumberRules.h"

namespace clock_rules
{

namespace
{

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

QString clockText(const QString& timeOfDay)
{
    if (timeOfDay.size() == 7)
        return QLatin1Char('0') + timeOfDay;
    return timeOfDay;
}

std::int32_t uptimeSeconds(std::uint32_t uptimeMs)
{
    const auto ms = static_cast<std::int32_t>(uptimeMs);
    return numbers::roundHalfEven(ms / 1000.0);
}

bool matchesAlarm(QStringView clockLeft5, const QString& hour, const QString& minute)
{
    const qsizetype h = hour.size();
    return clockLeft5.size() == h + 1 + minute.size() && clockLeft5.startsWith(hour) &&
           clockLeft5[h] == QLatin1Char(':') && clockLeft5.sliced(h + 1) == minute;
}

QString uptimeTextForSeconds(std::int64_t s, std::int16_t uptimeForm)
{
    if (uptimeForm == 1)
        return QString::number(s) + QStringLiteral("秒経過");
    const std::int64_t h = floorDiv(s, 3600);
    const std::int64_t m = floorDiv(s - 3600 * h, 60);
    const std::int64_t c = s - (3600 * h + 60 * m);
    return QString::number(h) + QStringLiteral("時間") + QString::number(m) + QStringLiteral("分") +
           QString::number(c) + QStringLiteral("秒経過");
}

} // namespace clock_rules
