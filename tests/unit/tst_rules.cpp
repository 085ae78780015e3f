// The rules as tables: what a reader of the settings file or of the settings dialog must get from
// a text, and the settings file's keys read and written byte for byte, each case written down by
// hand.
#include "rules/ClockRules.h"
#include "rules/FaultDetails.h"
#include "rules/IniDocument.h"
#include "rules/NumberRules.h"
#include "rules/Settings.h"
#include "support/Rows.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
const QByteArray k400Nines(400, '9');
using Text = std::pair<const char*, double>;     // a typed text and the number it holds
using Uptime = std::pair<quint32, std::int16_t>; // milliseconds and the uptime form
} // namespace

namespace
{

QByteArray golden(const char* name)
{
    QFile f(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", name);
    return f.readAll();
}

} // namespace

class TestRules : public QObject
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
                                       {"1.5E3", 1500},
                                       {"15e", 15},
                                       {"77px", 77},
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

    // What a Japanese input method types in full width is read in half width.
    void typedTime()
    {
        checkRows<QString, QString>(settings::typedTime, {{u"０７"_s, "07"},
                                                          {u"－１"_s, "-1"},
                                                          {u"＋３．５"_s, "+3.5"},
                                                          {u"\u3000７\u3000"_s, " 7 "},
                                                          {u"７時"_s, u"7時"_s},
                                                          {"07", "07"}});
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

    // Each tenth of the draws has a fault of its own; every text is the user's fault line, a
    // module line, and the same nine-line dump, joined by CR LF. With no login name the fault
    // line starts with the reason.
    void faultDetails()
    {
        QSet<QString> faults;
        QStringList dump;
        for (const double draw : {0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.99999}) {
            const QString text = fault_details::text(QString(), fault_details::faultFor(draw));
            QCOMPARE(text.count(u'\n'), 10);
            const QStringList lines = text.split(QStringLiteral("\r\n"));
            QVERIFY2(lines[0].startsWith(u'の') && lines[0].endsWith(QStringLiteral("です｡")),
                     qPrintable(lines[0]));
            QVERIFY2(QRegularExpression(
                         QStringLiteral("^ﾓｼﾞｭｰﾙ : Quorvane、ｱﾄﾞﾚｽ : [0-9a-f]{4}:fffbd5c7$"))
                         .match(lines[1])
                         .hasMatch(),
                     qPrintable(lines[1]));
            QCOMPARE(lines.mid(2, 1) + lines.mid(7, 1) + lines.mid(9, 1),
                     QStringList({"Registers:", "Bytes at CS:EIP:", "Stack dump:"}));
            QVERIFY(dump.isEmpty() || lines.mid(2) == dump);
            dump = lines.mid(2);
            faults << lines[0];
        }
        QCOMPARE(faults.size(), 10); // the last draw is the tenth fault again
    }

    // The value of a key of the settings file's [Quorvane], or nothing.
    void iniRead()
    {
        using Read = std::pair<QByteArray, const char*>; // a file and a key
        checkRows<Read, std::optional<QByteArray>>(
            [](const Read& r) { return ini::value(r.first, "Quorvane", r.second); },
            {{{golden("crlf.ini"), "HOUR"}, "7"}, // names in any case, blanks around
             {{golden("crlf.ini"), "x"}, {}},     // a key of another section
             {{golden("crlf.ini"), "TOPMOST"}, {}},
             {{"", "HOUR"}, {}},
             {{"HOUR=5\n", "HOUR"}, {}},
             {{"[Quorvane]\nTop=\"\"\n", "Top"}, ""},
             {{"[Quorvane]\nTop='12'\n", "Top"}, "12"},
             {{"[Quorvane]\nTop=\"12\n", "Top"}, "\"12"},
             {{golden("dup.ini"), "TOP"}, "1"},
             {{"\xEF\xBB\xBF[Quorvane]\nMIN=3", "min"}, "3"},
             {{"[Quorvane]\nTop=\n", "Top"}, ""},
             {{"\n[Quorvane]\nTop=4\n", "Top"}, "4"}, // an empty first line
             {{"[Quorvane]\n;Top=4\n", "Top"}, {}},
             {{"[ Quorvane ]\nTop=4\n", "Top"}, "4"},
             {{"\x01\x02garbage\n[Quorvane\nTop=4\n", "Top"}, "4"}});
    }

    // Each edit byte for byte: in place, after the section's last key, or in a new section; in
    // the file's own line ending.
    void iniEdit()
    {
        const struct {
            QByteArray input;
            const char* key;
            const char* value;
            QByteArray expected;
        } rows[] = {
            {golden("crlf.ini"), "HOUR", "9", golden("crlf.replace.ini")},
            {golden("crlf.ini"), "TOPMOST", "1", golden("crlf.add.ini")},
            {golden("bom_nofinal.ini"), "Top", "15", golden("bom_nofinal.add.ini")},
            {golden("lastline.ini"), "Top", "15", golden("lastline.add.ini")},
            {golden("headeronly.ini"), "Top", "15", golden("headeronly.add.ini")},
            {golden("dup.ini"), "Top", "15", golden("dup.replace.ini")},
            {"; mine\n[Other]\nk=v\n", "HOUR", "7", "; mine\n[Other]\nk=v\n[Quorvane]\nHOUR=7\n"},
            {"", "HOUR", "7", "[Quorvane]\nHOUR=7\n"},
            // comment lines are no key lines: a new key goes after the last key
            {"[Quorvane]\nHOUR=1\n#MIN=2\n;x=1\n", "MIN", "3",
             "[Quorvane]\nHOUR=1\nMIN=3\n#MIN=2\n;x=1\n"},
            // a file that stops after a carriage return: the CR begins a CR LF ending
            {"[Quorvane]\r", "Top", "15", "[Quorvane]\r\nTop=15"},
            {"[Quorvane\r", "Top", "15", "[Quorvane\r\nTop=15"},
            {"[Other]\r", "Top", "15", "[Other]\r\n[Quorvane]\nTop=15"},
            {"[Quorvane]\r\nTop=1\r", "Top", "15", "[Quorvane]\r\nTop=15\r"},
        };
        for (const auto& r : rows) {
            const QByteArray out = ini::withValue(r.input, "Quorvane", r.key, r.value);
            QCOMPARE(out, r.expected);
            QCOMPARE(ini::value(out, "Quorvane", r.key), QByteArray(r.value));
        }
    }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
