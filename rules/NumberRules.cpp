#include "rules/NumberRules.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace numbers
{

namespace
{

// Characters from here on are outside ASCII.
constexpr char16_t kAsciiEnd = 0x80;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::int32_t roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    // Independent of the floating-point rounding mode.
    const double down = std::floor(value);
    const double frac = value - down;
    double result = down;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(down, 2.0) != 0.0))
        result = down + 1.0;
    return static_cast<std::int32_t>(result);
}

std::int32_t fileInt(QByteArrayView value)
{
    qsizetype i = 0;
    while (i < value.size() && isBlank(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    std::int64_t n = 0;
    constexpr std::int64_t cap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < value.size() && isDigit(value[i]); ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > cap)
            n = cap; // saturate; keeps reading the digits without overflow
    }
    if (negative)
        n = -n;
    if (n > std::numeric_limits<std::int32_t>::max())
        n = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(n);
}

namespace
{

// Roughly where a number's first significant digit stands, as a power of ten: above zero for a
// number that overflows, below for one that underflows. The text is a sign, digits with at most
// one point, and an exponent.
long long decimalMagnitude(QByteArrayView number)
{
    qsizetype i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+'))
        ++i;
    long long magnitude = 0;
    bool significant = false;
    bool afterPoint = false;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            afterPoint = true;
        } else if (!significant && number[i] == '0') {
            if (afterPoint)
                --magnitude;
        } else {
            significant = true;
            if (!afterPoint)
                ++magnitude;
        }
    }
    if (i < number.size()) {
        long long exponent = 0;
        bool negative = false;
        ++i;
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            negative = number[i++] == '-';
        // beyond any double's exponent, and far from overflowing
        constexpr long long kExponentCap = 1'000'000'000;
        for (; i < number.size() && exponent < kExponentCap; ++i)
            exponent = exponent * 10 + (number[i] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

} // namespace

double leadingNumber(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    qsizetype digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    // The exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            end = j;
        }
    }
    const char* first = text.data() + start;
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    double value = 0.0;
    const auto res = std::from_chars(first, text.data() + end, value);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large, or too small to be told from zero.
        const double zeroOrHuge =
            decimalMagnitude(text.sliced(start, end - start)) > 0 ? HUGE_VAL : 0.0;
        return (*first == '-') ? -zeroOrHuge : zeroOrHuge;
    }
    return value;
}

QByteArray positionText(float value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return {buf, res.ptr - buf};
}

std::optional<double> dialogNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed) {
        if (c.unicode() >= kAsciiEnd)
            return std::nullopt; // full-width digits and other scripts are not numbers here
    }
    const QByteArray t = trimmed.toLatin1();
    if (t.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    if (t[0] == '-' || t[0] == '+')
        ++i;
    qsizetype digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (isDigit(t[i]))
            ++digits;
        else if (t[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return leadingNumber(t);
}

std::int16_t toSettingsField(std::int32_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return 0;
    return static_cast<std::int16_t>(value);
}

} // namespace numbers
