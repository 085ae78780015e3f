#include "rules/ClockRules.h"

#include "rules/NumberRules.h"
#include "rules/Settings.h"

#include <algorithm>

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

QString clockText(int secondOfDay)
{
    const int parts[] = {secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
    QString text(8, QLatin1Char(':'));
    for (qsizetype i = 0; i < 3; ++i) {
        text[3 * i] = QLatin1Char(char('0' + parts[i] / 10));
        text[3 * i + 1] = QLatin1Char(char('0' + parts[i] % 10));
    }
    return text;
}

std::int32_t uptimeSeconds(std::uint32_t uptimeMs)
{
    const auto ms = static_cast<std::int32_t>(uptimeMs);
    return numbers::roundHalfEven(ms / 1000.0);
}

namespace
{

bool isTwoDigits(const QString& text, int value)
{
    return text.size() == 2 && text[0] == QLatin1Char(char('0' + value / 10)) &&
           text[1] == QLatin1Char(char('0' + value % 10));
}

constexpr int kPastSecondMs = 5;

} // namespace

bool matchesAlarm(int secondOfDay, const QString& hour, const QString& minute)
{
    return isTwoDigits(hour, secondOfDay / 3600) && isTwoDigits(minute, secondOfDay / 60 % 60);
}

bool isFullHour(int secondOfDay)
{
    return secondOfDay % 3600 == 0;
}

int nextTickDelayMs(int msOfDay, bool fast)
{
    const int toNextSecond = 1000 - msOfDay % 1000 + kPastSecondMs;
    return fast ? std::min(kFastTickMs, toNextSecond) : toNextSecond;
}

int nextBlinkDelayMs(int msOfDay, bool first)
{
    constexpr int kSecond = 1000;
    constexpr int kBetweenTicks = kPastSecondMs + kFastTickMs / 2; // a tick's phase plus half
    const int phase = (msOfDay + kSecond) % kFastTickMs;
    const int ahead = (kBetweenTicks - phase + kFastTickMs) % kFastTickMs; // 0 to 99
    return kSecond + (first || ahead < kFastTickMs / 2 ? ahead : ahead - kFastTickMs);
}

QString uptimeTextForSeconds(std::int64_t s, std::int16_t uptimeForm)
{
    if (settings::isOn(uptimeForm))
        return QString::number(s) + QStringLiteral("秒経過");
    const std::int64_t h = floorDiv(s, 3600);
    const std::int64_t m = floorDiv(s - 3600 * h, 60);
    const std::int64_t c = s - (3600 * h + 60 * m);
    return QString::number(h) + QStringLiteral("時間") + QString::number(m) + QStringLiteral("分") +
           QString::number(c) + QStringLiteral("秒経過");
}

} // namespace clock_rules
