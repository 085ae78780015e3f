// The position text reader and the settings dialog's number conversion, checked against plain
// reference rules written with std::regex and strtod, and the position text writer checked by
// reading it back.
#include "platform/NumberRules.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <regex>
#include <string>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

// Blanks, then a sign, digits with at most one point, and an exponent with digits.
double referenceLeadingNumber(const std::string& text)
{
    static const std::regex number(R"(^[ \t]*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?))");
    std::smatch m;
    if (!std::regex_search(text, m, number))
        return 0.0;
    return std::strtod(m[1].str().c_str(), nullptr);
}

// The whole trimmed text is a sign and digits with at most one point.
std::optional<double> referenceDialogNumber(const QString& text)
{
    static const std::regex number(R"(^[+-]?(\d+\.?\d*|\.\d+)$)");
    const std::string t = text.trimmed().toStdString();
    if (!std::regex_match(t, number))
        return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(64);
    // the reader stops at a NUL, as a C string would
    const std::string upToNul = text.substr(0, std::strlen(text.c_str()));
    check(same(numbers::leadingNumber(QByteArray::fromStdString(upToNul)),
               referenceLeadingNumber(upToNul)));

    const QString dialog = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const std::optional<double> got = numbers::dialogNumber(dialog);
    const std::optional<double> want = referenceDialogNumber(dialog);
    check(got.has_value() == want.has_value() && (!got || same(*got, *want)));

    float value = 0;
    const std::string bits = in.ConsumeBytesAsString(sizeof value);
    if (bits.size() == sizeof value) {
        std::memcpy(&value, bits.data(), sizeof value);
        const QByteArray written = numbers::positionText(value);
        check(!written.contains(' ') && !written.isEmpty());
        if (std::isfinite(value))
            check(std::strtof(written.constData(), nullptr) == value);
    }
    return 0;
}
