// Arbitrary file bytes, then reads and a run of writes. Every write reads back; every byte that
// is not the written key's line stays as it was; every value read goes through the number
// readers; nothing crashes or loops.
#include "rules/IniDocument.h"
#include "rules/NumberRules.h"

#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace
{

// Names and values as the program writes them: no blanks at the ends, no line breaks, no quotes
// around the value, no '=' or brackets in a key name.
QByteArray token(FuzzedDataProvider& in, bool isName)
{
    QByteArray t;
    const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(isName ? 1 : 0, 12);
    for (std::size_t i = 0; i < n; ++i) {
        char c = static_cast<char>(in.ConsumeIntegralInRange<int>(0x21, 0x7e));
        if (c == '=' || c == '[' || c == ']' || c == ';' || c == '#' || c == '"' || c == '\'')
            c = 'x';
        t += c;
    }
    if (!isName && in.ConsumeBool() && t.size() > 2)
        t[1] = ' '; // blanks inside a value are kept
    return t;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Everything but the one changed stretch is the same: the old stretch is at most one line and
// the new one holds the written line.
void checkOnlyTheKeyChanged(const QByteArray& before, const QByteArray& after,
                            const QByteArray& key)
{
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArray oldPart = before.mid(prefix, before.size() - prefix - suffix);
    const QByteArray newPart = after.mid(prefix, after.size() - prefix - suffix);
    check(oldPart.count('\n') <= 1); // one line (a value may hold carriage returns)
    // the new stretch is (part of) the key line, maybe with a new section header before it
    check(newPart.count('\n') <= 3);
    check(after.toLower().contains(key.toLower())); // an existing key keeps its spelling
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    QByteArray file = QByteArray::fromStdString(in.ConsumeRandomLengthString(4096));
    const int writes = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < writes && in.remaining_bytes() > 0; ++i) {
        const QByteArray section = in.ConsumeBool() ? QByteArray("Quorvane") : token(in, true);
        const QByteArray key = token(in, true);
        const QByteArray value = token(in, false);
        if (const std::optional<QByteArray> read = ini::value(file, section, key)) {
            (void)numbers::fileInt(*read);
            (void)numbers::leadingNumber(*read);
            (void)numbers::dialogNumber(QString::fromUtf8(*read));
        }
        const QByteArray next = ini::withValue(file, section, key, value);
        const std::optional<QByteArray> back = ini::value(next, section, key);
        check(back.has_value() && *back == value.trimmed());
        checkOnlyTheKeyChanged(file, next, key);
        file = next;
    }
    return 0;
}
