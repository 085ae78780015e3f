#include "rules/IniDocument.h"
#include "support/Rows.h"

#include <QFile>
#include <QTest>

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

class TestIniDocument : public QObject
{
    Q_OBJECT
private slots:
    // The value of a key of [Quorvane], or nothing.
    void read()
    {
        using Read = std::pair<QByteArray, const char*>; // a file and a key
        checkRows<Read, std::optional<QByteArray>>(
            [](const Read& r) { return ini::value(r.first, "Quorvane", r.second); },
            {{{golden("crlf.ini"), "HOUR"}, "7"}, // names in any case, blanks around
             {{golden("crlf.ini"), "x"}, {}},     // a key of another section
             {{golden("crlf.ini"), "TOPMOST"}, {}},
             {{"", "HOUR"}, {}},
             {{"HOUR=5\n", "HOUR"}, {}},
             {{"[Quorvane]\nTop=\"12\"\n", "Top"}, "12"},
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
    void edit()
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

QTEST_APPLESS_MAIN(TestIniDocument)
#include "tst_ini_document.moc"
