// The number rules as tables: each case is what a reader of the settings file or of the settings
// dialog must get from a text, written down by hand.
#include "rules/ClockRules.h"
#include "rules/NumberRules.h"
#include "rules/Settings.h"
#include "support/Rows.h"

#include <QTest>
#include <cmath>
#include <limits>

namespace
{
constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
const QByteArray k400Nines(400, '9');
using Text = std::pair<const char*, double>;     // a typed text and the number it holds
using Uptime = std::pair<quint32, std::int16_t>; // milliseconds and the uptime form
} // namespace

class TestNumberRules : public QObject
{
    Q_OBJECT
private slots:
    void roundHalfEven()
    {
        checkRows<double, int>(numbers::roundHalfEven, {{1234.5, 1234},
                                                        {1235.5, 1236},
                                                        {-0.5, 0},
                                                        {-1.5, -2},
                                                        {-2.5, -2},
                                                        {2.4999, 2},
                                                        {-2.6, -3},
                                                        {1e12, kMax},
                                                        {-1e12, kMin}});
    }

    // A whole number as the settings file's reader takes it: the digits after blanks and a sign.
    void fileInt()
    {
        checkRows<const char*, int>(numbers::fileInt, {{"07", 7},
                                                       {"12abc", 12},
                                                       {"abc", 0},
                                                       {"", 0},
                                                       {"-5", -5},
                                                       {"+5", 5},
                                                       {"  9", 9},
                                                       {"7.9", 7},
                                                       {"99999999999999999999", kMax},
                                                       {"-99999999999999999999", kMin}});
    }

    // A position as the reader takes it: the longest number at the start; too large is
    // infinite, too small is zero (never the far edge).
    void leadingNumber()
    {
        checkRows<QByteArray, double>(numbers::leadingNumber,
                                      {{"-300", -300},
                                       {"1234.5", 1234.5},
                                       {"   42", 42},
                                       {"1.5e3", 1500},
                                       {"15e", 15},
                                       {"77px", 77},
                                       {"2x3", 2},
                                       {"abc", 0},
                                       {"-", 0},
                                       {".", 0},
                                       {".5", 0.5},
                                       {"+12", 12},
                                       {"1e400", HUGE_VAL},
                                       {"-2e999", -HUGE_VAL},
                                       {k400Nines, HUGE_VAL},
                                       {"5.5e-3332", 0},
                                       {"0." + QByteArray(400, '0') + "1e+20", 0},
                                       {"0." + QByteArray(400, '0') + "1e+800", HUGE_VAL},
                                       {"4.9e-324", 4.9e-324}});
    }

    // Positions are written as the shortest text of the number; stored values beyond 16 bits
    // read as 0.
    void positionTextAndField()
    {
        checkRows<float, QByteArray>(numbers::positionText,
                                     {{1230.0f, "1230"}, {-45.0f, "-45"}, {12.5f, "12.5"}});
        checkRows<std::int32_t, std::int16_t>(
            numbers::toSettingsField, {{32767, 32767}, {-32768, -32768}, {32768, 0}, {-40000, 0}});
    }

    // A number typed into the settings dialog: the whole text, blanks around it allowed.
    void dialogNumber()
    {
        checkRows<QString, std::optional<double>>(numbers::dialogNumber,
                                                  {{"07", 7},
                                                   {" 9 ", 9},
                                                   {"-1", -1},
                                                   {"1.5", 1.5},
                                                   {"7.", 7},
                                                   {"", {}},
                                                   {"  ", {}},
                                                   {"xx", {}},
                                                   {"1a", {}},
                                                   {"-", {}},
                                                   {QStringLiteral("１２"), {}}});
    }

    // 0 to 9 get a leading zero; every other text stays as typed.
    void twoDigit()
    {
        checkRows<Text, QString>(
            [](const Text& t) { return settings::twoDigit(QLatin1String(t.first), t.second); },
            {{{"7", 7}, "07"},
             {{"07", 7}, "07"},
             {{"0", 0}, "00"},
             {{"10", 10}, "10"},
             {{"-1", -1}, "-1"},
             {{"99999", 99999}, "99999"}});
    }

    void clockText()
    {
        checkRows<int, QString>(clock_rules::clockText, {{9 * 3600 + 5 * 60 + 3, "09:05:03"},
                                                         {23 * 3600 + 59 * 60 + 59, "23:59:59"}});
    }

    // The uptime is a signed 32-bit count of milliseconds, rounded to seconds half to even.
    void uptimeText()
    {
        checkRows<Uptime, QString>(
            [](const Uptime& u) {
                return clock_rules::uptimeTextForSeconds(clock_rules::uptimeSeconds(u.first),
                                                         u.second);
            },
            {{{0, 0}, "0時間0分0秒経過"},
             {{1500, 1}, "2秒経過"},
             {{2500, 1}, "2秒経過"},
             {{499, 1}, "0秒経過"},
             {{3599000, 0}, "0時間59分59秒経過"},
             {{90061000, 0}, "25時間1分1秒経過"},
             {{61000, 2}, "0時間1分1秒経過"},
             {{quint32(-1000), 0}, "-1時間59分59秒経過"},
             {{quint32(-1000), 1}, "-1秒経過"},
             {{0x80000000u, 0}, "-597時間28分36秒経過"},
             {{0x7FFFFFFFu, 1}, "2147484秒経過"}});
    }
};

QTEST_APPLESS_MAIN(TestNumberRules)
#include "tst_number_rules.moc"
