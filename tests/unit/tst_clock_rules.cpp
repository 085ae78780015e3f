#include "main_window/ClockRules.h"

#include <QTest>

class TestClockRules : public QObject
{
    Q_OBJECT
private slots:
    void clockText_data()
    {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("expected");
        QTest::newRow("morning") << "9:05:03"
                                 << "09:05:03";
        QTest::newRow("midnight") << "0:00:00"
                                  << "00:00:00";
        QTest::newRow("evening") << "23:59:59"
                                 << "23:59:59";
        QTest::newRow("ten") << "10:00:00"
                             << "10:00:00";
    }
    void clockText()
    {
        QFETCH(QString, system);
        QFETCH(QString, expected);
        QCOMPARE(clock_rules::ClockText(system), expected);
    }

    void uptimeText_data()
    {
        QTest::addColumn<quint32>("ms");
        QTest::addColumn<int>("dspTime");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0u << 0 << "0時間0分0秒経過";
        QTest::newRow("zero seconds mode") << 0u << 1 << "0秒経過";
        QTest::newRow("1500 to even") << 1500u << 1 << "2秒経過";
        QTest::newRow("2500 to even") << 2500u << 1 << "2秒経過";
        QTest::newRow("499 down") << 499u << 1 << "0秒経過";
        QTest::newRow("3599 s") << 3599000u << 0 << "0時間59分59秒経過";
        QTest::newRow("3600 s") << 3600000u << 0 << "1時間0分0秒経過";
        QTest::newRow("25:01:01") << 90061000u << 0 << "25時間1分1秒経過";
        QTest::newRow("other mode value is h/m/s") << 61000u << 2 << "0時間1分1秒経過";
        QTest::newRow("-1 s") << quint32(-1000) << 0 << "-1時間59分59秒経過";
        QTest::newRow("-1 s seconds mode") << quint32(-1000) << 1 << "-1秒経過";
        QTest::newRow("most negative") << 0x80000000u << 0 << "-597時間28分36秒経過";
        QTest::newRow("largest positive") << 0x7FFFFFFFu << 1 << "2147484秒経過";
        QTest::newRow("wrapped to zero") << 0u << 1 << "0秒経過";
    }
    void uptimeText()
    {
        QFETCH(quint32, ms);
        QFETCH(int, dspTime);
        QFETCH(QString, expected);
        QCOMPARE(clock_rules::UptimeText(ms, static_cast<std::int16_t>(dspTime)), expected);
    }
};

QTEST_APPLESS_MAIN(TestClockRules)
#include "tst_clock_rules.moc"
