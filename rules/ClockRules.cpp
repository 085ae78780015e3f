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

constexpr int kPastSecondMs = 5;
constexpr int kMsPerMinute = 60 * 1000;
constexpr int kMsPerHour = 60 * kMsPerMinute;
constexpr int kMsPerDay = 24 * kMsPerHour;

// The value of a text of exactly two ASCII digits, else -1: only such texts match the clock.
int twoDigitValue(const QString& text)
{
    const auto digit = [&text](qsizetype i) {
        return text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9') ? text[i].unicode() - '0'
                                                                          : -1;
    };
    if (text.size() != 2 || digit(0) < 0 || digit(1) < 0)
        return -1;
    return digit(0) * 10 + digit(1);
}

} // namespace

bool matchesAlarm(int secondOfDay, const QString& hour, const QString& minute)
{
    return twoDigitValue(hour) == secondOfDay / 3600 &&
           twoDigitValue(minute) == secondOfDay / 60 % 60;
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

int nextDueDelayMs(int msOfDay, const QString& alarmHour, const QString& alarmMinute)
{
    int due = kMsPerHour - msOfDay % kMsPerHour;
    const int hour = twoDigitValue(alarmHour);
    const int minute = twoDigitValue(alarmMinute);
    constexpr int kHoursPerDay = 24;
    constexpr int kMinutesPerHour = 60;
    if (hour >= 0 && hour < kHoursPerDay && minute >= 0 && minute < kMinutesPerHour) {
        const int alarm = hour * kMsPerHour + minute * kMsPerMinute;
        const int toAlarm = (alarm - msOfDay + kMsPerDay) % kMsPerDay;
        if (toAlarm > 0)
            due = std::min(due, toAlarm);
    }
    // A timer runs on the monotonic clock, which a time server may slew against the wall clock
    // by up to half a millisecond a second: over an hour, more than the full hour's second. A
    // long sleep ends this much early and measures again.
    constexpr int kMeasureAgainMs = 10000;
    return due > kMeasureAgainMs ? due - kMeasureAgainMs : due + kPastSecondMs;
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
