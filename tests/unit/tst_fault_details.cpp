#include "bomb/mdFault.h"

#include <QSet>
#include <QTest>

class TestFaultDetails : public QObject
{
    Q_OBJECT
private slots:
    void reasonAndModulePair_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("address");
        QTest::newRow("1") << 1 << "の不適切な処理"
                           << "3878";
        QTest::newRow("2") << 2 << ""
                           << "63ef";
        QTest::newRow("3") << 3 << "の猥褻物陳列"
                           << "ef22";
        QTest::newRow("4") << 4 << "の睡眠不足"
                           << "6e9f";
        QTest::newRow("5") << 5 << "の世界を釣る"
                           << "dd11";
        QTest::newRow("6") << 6 << "のかみなり様"
                           << "6eef";
        QTest::newRow("7") << 7 << "の入れたの手のお茶"
                           << "63ef";
        QTest::newRow("8") << 8 << "のヒ素混入疑惑"
                           << "f6c3";
        QTest::newRow("9") << 9 << "の保険金詐欺"
                           << "63ef";
        QTest::newRow("10") << 10 << "の放送禁止用語羅列"
                            << "bb94";
    }
    void reasonAndModulePair()
    {
        QFETCH(int, k);
        QFETCH(QString, reason);
        QFETCH(QString, address);
        const QStringList lines =
            mdFault::FaultDetailsText(QStringLiteral("taro"), k).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 11);
        QVERIFY(lines[0].startsWith(QStringLiteral("taroの")));
        QVERIFY(lines[0].endsWith(QStringLiteral("です\uFF61")));
        if (!reason.isEmpty())
            QCOMPARE(lines[0], QStringLiteral("taro") + reason + QStringLiteral("です｡"));
        QCOMPARE(lines[1], QStringLiteral("ﾓｼﾞｭｰﾙ : Quorvane、ｱﾄﾞﾚｽ : ") + address +
                               QStringLiteral(":fffbd5c7"));
    }

    void fixedDump()
    {
        const QString text = mdFault::FaultDetailsText(QString(), 4);
        QVERIFY(!text.endsWith(QLatin1Char('\n')));
        QCOMPARE(text.count(QStringLiteral("\r\n")), 10);
        QCOMPARE(text.count(QLatin1Char('\n')), 10); // no bare line feeds
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines[0], QStringLiteral("の睡眠不足です｡")); // no login name
        QCOMPARE(lines[2], QStringLiteral("Registers:"));
        QCOMPARE(lines[3], QStringLiteral("EAX=00000004 CS=0000 EIP=00400000 EFLAGS=00000001"));
        QCOMPARE(lines[4], QStringLiteral("EBX=00000000 SS=0000 ESP=7fffffff EBP=00001000"));
        QCOMPARE(lines[5], QStringLiteral("ECX=04000457 SS=0001 ESI=0000024a FS=0001"));
        QCOMPARE(lines[6], QStringLiteral("EDX=00000001 SS=0000 EDI=00010000 GS=0000"));
        QCOMPARE(lines[7], QStringLiteral("Bytes at CS:EIP:"));
        QCOMPARE(lines[8], QStringLiteral("20 42 00 00 f8 45 43 00 00 00 00 00 8c 10 31 75"));
        QCOMPARE(lines[9], QStringLiteral("Stack dump:"));
        QCOMPARE(lines[10].size(), 143);
        QVERIFY(lines[10].startsWith(QStringLiteral("00003324 00004b51")));
        QVERIFY(lines[10].endsWith(QStringLiteral("00007b37 0000255e")));
    }

    void tenDistinctReasons()
    {
        QSet<QString> reasons;
        for (int k = 1; k <= 10; ++k)
            reasons.insert(
                mdFault::FaultDetailsText(QString(), k).section(QStringLiteral("\r\n"), 0, 0));
        QCOMPARE(reasons.size(), 10);
    }
};

QTEST_APPLESS_MAIN(TestFaultDetails)
#include "tst_fault_details.moc"
