#include "rules/FaultDetails.h"

#include <QTest>

class TestFaultDetails : public QObject
{
    Q_OBJECT
private slots:
    // Ten reasons, each with its module address, then the same register and stack dump; lines
    // end in CR LF, the last one in nothing.
    void details()
    {
        const char* const rows[][2] = {
            {"の不適切な処理", "3878"},     {"の二度寝による遅刻", "63ef"},
            {"の猥褻物陳列", "ef22"},       {"の睡眠不足", "6e9f"},
            {"の世界を釣る", "dd11"},       {"のかみなり様", "6eef"},
            {"の入れたの手のお茶", "63ef"}, {"のヒ素混入疑惑", "f6c3"},
            {"の保険金詐欺", "63ef"},       {"の放送禁止用語羅列", "bb94"}};
        const QString dump = QStringLiteral(
            "Registers:\r\n"
            "EAX=00000004 CS=0000 EIP=00400000 EFLAGS=00000001\r\n"
            "EBX=00000000 SS=0000 ESP=7fffffff EBP=00001000\r\n"
            "ECX=04000457 SS=0001 ESI=0000024a FS=0001\r\n"
            "EDX=00000001 SS=0000 EDI=00010000 GS=0000\r\n"
            "Bytes at CS:EIP:\r\n"
            "20 42 00 00 f8 45 43 00 00 00 00 00 8c 10 31 75\r\n"
            "Stack dump:\r\n"
            "00003324 00004b51 00000b9e 0000276c 00001855 0000294c 00007940 0000370b 00001222 "
            "00002b2b 00006a18 0000346a 00001096 00001957 00007b37 0000255e");
        for (int k = 1; k <= 10; ++k) {
            const QString reason = QString::fromUtf8(rows[k - 1][0]);
            QCOMPARE(fault_details::text(QStringLiteral("taro"), k),
                     QStringLiteral("taro") + reason +
                         QStringLiteral("です｡\r\nﾓｼﾞｭｰﾙ : Quorvane、ｱﾄﾞﾚｽ : ") +
                         QLatin1String(rows[k - 1][1]) + QStringLiteral(":fffbd5c7\r\n") + dump);
        }
        QVERIFY(
            fault_details::text(QString(), 4).startsWith(QStringLiteral("の睡眠不足です｡\r\n")));
    }
};

QTEST_APPLESS_MAIN(TestFaultDetails)
#include "tst_fault_details.moc"
