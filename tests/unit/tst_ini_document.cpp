#include "platform/IniDocument.h"

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
    void read_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("value");
        const QByteArray crlf = golden("crlf.ini");
        QTest::newRow("case and blanks") << crlf << QByteArray("HOUR") << true << QByteArray("7");
        QTest::newRow("other section ignored") << crlf << QByteArray("x") << false << QByteArray();
        QTest::newRow("missing key") << crlf << QByteArray("TOPMOST") << false << QByteArray();
        QTest::newRow("empty file") << QByteArray() << QByteArray("HOUR") << false << QByteArray();
        QTest::newRow("no section")
            << QByteArray("HOUR=5\n") << QByteArray("HOUR") << false << QByteArray();
        QTest::newRow("double quotes") << QByteArray("[Quorvane]\nTop=\"12\"\n")
                                       << QByteArray("Top") << true << QByteArray("12");
        QTest::newRow("single quotes") << QByteArray("[Quorvane]\nTop='12'\n") << QByteArray("Top")
                                       << true << QByteArray("12");
        QTest::newRow("unmatched quote kept") << QByteArray("[Quorvane]\nTop=\"12\n")
                                              << QByteArray("Top") << true << QByteArray("\"12");
        QTest::newRow("first of duplicates")
            << golden("dup.ini") << QByteArray("TOP") << true << QByteArray("1");
        QTest::newRow("BOM before the header") << QByteArray("\xEF\xBB\xBF[Quorvane]\nMIN=3")
                                               << QByteArray("min") << true << QByteArray("3");
        QTest::newRow("empty value")
            << QByteArray("[Quorvane]\nTop=\n") << QByteArray("Top") << true << QByteArray();
        QTest::newRow("comment is no key")
            << QByteArray("[Quorvane]\n;Top=4\n") << QByteArray("Top") << false << QByteArray();
        QTest::newRow("section name blanks")
            << QByteArray("[ Quorvane ]\nTop=4\n") << QByteArray("Top") << true << QByteArray("4");
        QTest::newRow("garbage lines") << QByteArray("\x01\x02garbage\n[Quorvane\nTop=4\n")
                                       << QByteArray("Top") << true << QByteArray("4");
    }
    void read()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, key);
        QFETCH(bool, found);
        QFETCH(QByteArray, value);
        const std::optional<QByteArray> v = ini::value(file, "Quorvane", key);
        QCOMPARE(v.has_value(), found);
        if (found)
            QCOMPARE(*v, value);
    }

    // Each edit is compared with a golden file byte for byte.
    void edit_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("replace in place, CR LF") << golden("crlf.ini") << QByteArray("HOUR")
                                                 << QByteArray("9") << golden("crlf.replace.ini");
        QTest::newRow("add after the last key, CR LF")
            << golden("crlf.ini") << QByteArray("TOPMOST") << QByteArray("1")
            << golden("crlf.add.ini");
        QTest::newRow("new section, BOM, no final newline")
            << golden("bom_nofinal.ini") << QByteArray("Top") << QByteArray("15")
            << golden("bom_nofinal.add.ini");
        QTest::newRow("add inside, before another section")
            << golden("lastline.ini") << QByteArray("Top") << QByteArray("15")
            << golden("lastline.add.ini");
        QTest::newRow("header only, no newline")
            << golden("headeronly.ini") << QByteArray("Top") << QByteArray("15")
            << golden("headeronly.add.ini");
        QTest::newRow("first duplicate replaced") << golden("dup.ini") << QByteArray("Top")
                                                  << QByteArray("15") << golden("dup.replace.ini");
        QTest::newRow("new section after a closed last line")
            << QByteArray("; mine\n[Other]\nk=v\n") << QByteArray("HOUR") << QByteArray("7")
            << QByteArray("; mine\n[Other]\nk=v\n[Quorvane]\nHOUR=7\n");
        QTest::newRow("new file") << QByteArray() << QByteArray("HOUR") << QByteArray("7")
                                  << QByteArray("[Quorvane]\nHOUR=7\n");
        // A file that stops after a carriage return: the CR begins a CR LF ending.
        QTest::newRow("header ends in CR")
            << QByteArray("[Quorvane]\r") << QByteArray("Top") << QByteArray("15")
            << QByteArray("[Quorvane]\r\nTop=15");
        QTest::newRow("unclosed header ends in CR")
            << QByteArray("[Quorvane\r") << QByteArray("Top") << QByteArray("15")
            << QByteArray("[Quorvane\r\nTop=15");
        QTest::newRow("other section ends in CR")
            << QByteArray("[Other]\r") << QByteArray("Top") << QByteArray("15")
            << QByteArray("[Other]\r\n[Quorvane]\nTop=15");
        QTest::newRow("value ends in CR")
            << QByteArray("[Quorvane]\r\nTop=1\r") << QByteArray("Top") << QByteArray("15")
            << QByteArray("[Quorvane]\r\nTop=15\r");
    }
    void edit()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, expected);
        const QByteArray out = ini::withValue(input, "Quorvane", key, value);
        QCOMPARE(out, expected);
        QCOMPARE(ini::value(out, "Quorvane", key).value_or("<missing>"), value);
    }

    // A sequence of writes over a file with foreign content: every key reads back and every
    // foreign line survives.
    void writesKeepForeignLines()
    {
        QByteArray file = golden("crlf.ini");
        const char* keys[] = {"HOUR",     "MIN",     "DSPTIME", "BOMSETTING", "DELLMODE",
                              "EASYMODE", "TOPMOST", "MyPath",  "Top",        "Left"};
        for (int round = 0; round < 3; ++round) {
            for (const char* k : keys)
                file = ini::withValue(file, "Quorvane", k, QByteArray::number(round));
        }
        for (const char* k : keys)
            QCOMPARE(*ini::value(file, "Quorvane", k), QByteArray("2"));
        for (const char* line :
             {"; settings\r\n", "[Other]\r\nHOUR=99\r\n", "; a comment\r\n", "[Tail]\r\nx=1\r\n"})
            QVERIFY2(file.contains(line), line);
        QVERIFY(!file.contains("\n\n"));  // no bare LF slipped into a CR LF file
        QCOMPARE(file.count("HOUR="), 1); // the [Other] one is "HOUR=99"
    }
};

QTEST_APPLESS_MAIN(TestIniDocument)
#include "tst_ini_document.moc"
