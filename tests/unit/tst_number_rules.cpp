#include "platform/NumberRules.h"
#include "settings/Settings.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestNumberRules : public QObject
{
    Q_OBJECT
private slots:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("1234.5 to even") << 1234.5 << 1234;
        QTest::newRow("1235.5 to even") << 1235.5 << 1236;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("-2.6") << -2.6 << -3;
        QTest::newRow("huge saturates") << 1e12 << std::numeric_limits<int>::max();
        QTest::newRow("tiny saturates") << -1e12 << std::numeric_limits<int>::min();
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(numbers::roundHalfEven(value), expected);
    }

    void profileInt_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("digits") << QByteArray("23") << 23;
        QTest::newRow("leading zero") << QByteArray("07") << 7;
        QTest::newRow("digits then garbage") << QByteArray("12abc") << 12;
        QTest::newRow("garbage") << QByteArray("abc") << 0;
        QTest::newRow("empty") << QByteArray("") << 0;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus") << QByteArray("+5") << 5;
        QTest::newRow("blanks first") << QByteArray("  9") << 9;
        QTest::newRow("decimal stops") << QByteArray("7.9") << 7;
        QTest::newRow("huge saturates")
            << QByteArray("99999999999999999999") << std::numeric_limits<int>::max();
        QTest::newRow("huge negative saturates")
            << QByteArray("-99999999999999999999") << std::numeric_limits<int>::min();
    }
    void profileInt()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        QCOMPARE(numbers::profileInt(text), expected);
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("integer") << QByteArray("1230") << 1230.0;
        QTest::newRow("negative") << QByteArray("-300") << -300.0;
        QTest::newRow("fraction") << QByteArray("1234.5") << 1234.5;
        QTest::newRow("blanks") << QByteArray("   42") << 42.0;
        QTest::newRow("exponent") << QByteArray("1.5e3") << 1500.0;
        QTest::newRow("exponent without digits") << QByteArray("15e") << 15.0;
        QTest::newRow("stops at letter") << QByteArray("77px") << 77.0;
        QTest::newRow("not a number") << QByteArray("abc") << 0.0;
        QTest::newRow("sign only") << QByteArray("-") << 0.0;
        QTest::newRow("point only") << QByteArray(".") << 0.0;
        QTest::newRow("leading point") << QByteArray(".5") << 0.5;
        QTest::newRow("plus") << QByteArray("+12") << 12.0;
        // out of range: too large is infinite, too small is zero (never the far edge)
        QTest::newRow("overflow") << QByteArray("1e400") << HUGE_VAL;
        QTest::newRow("negative overflow") << QByteArray("-2e999") << -HUGE_VAL;
        QTest::newRow("overflow by digits") << QByteArray(QByteArray(400, '9')) << HUGE_VAL;
        QTest::newRow("underflow") << QByteArray("5.5e-3332") << 0.0;
        QTest::newRow("negative underflow") << QByteArray("-1e-400") << 0.0;
        QTest::newRow("underflow by digits")
            << QByteArray("0." + QByteArray(400, '0') + "1e+20") << 0.0;
        QTest::newRow("smallest denormal") << QByteArray("4.9e-324") << 4.9e-324;
    }
    void leadingNumber()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, expected);
        QCOMPARE(numbers::leadingNumber(text), expected);
    }

    void positionText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("whole") << 1230.0f << QByteArray("1230");
        QTest::newRow("zero") << 0.0f << QByteArray("0");
        QTest::newRow("negative") << -45.0f << QByteArray("-45");
        QTest::newRow("fraction") << 12.5f << QByteArray("12.5");
    }
    void positionText()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(numbers::positionText(value), expected);
    }

    void dialogNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("expected");
        QTest::newRow("digit") << "7" << true << 7.0;
        QTest::newRow("two digits") << "07" << true << 7.0;
        QTest::newRow("blanks around") << " 9 " << true << 9.0;
        QTest::newRow("negative") << "-1" << true << -1.0;
        QTest::newRow("fraction") << "1.5" << true << 1.5;
        QTest::newRow("trailing point") << "7." << true << 7.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "  " << false << 0.0;
        QTest::newRow("letters") << "xx" << false << 0.0;
        QTest::newRow("digit and letter") << "1a" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0.0;
    }
    void dialogNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, expected);
        const std::optional<double> n = numbers::dialogNumber(text);
        QCOMPARE(n.has_value(), ok);
        if (ok)
            QCOMPARE(*n, expected);
    }

    void settingsField()
    {
        QCOMPARE(numbers::toSettingsField(32767), 32767);
        QCOMPARE(numbers::toSettingsField(-32768), -32768);
        QCOMPARE(numbers::toSettingsField(32768), 0);
        QCOMPARE(numbers::toSettingsField(-40000), 0);
    }

    void twoDigit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7") << "7" << 7.0 << "07";
        QTest::newRow("07") << "07" << 7.0 << "07";
        QTest::newRow("0") << "0" << 0.0 << "00";
        QTest::newRow("12") << "12" << 12.0 << "12";
        QTest::newRow("10 unchanged") << "10" << 10.0 << "10";
        QTest::newRow("negative unchanged") << "-1" << -1.0 << "-1";
        QTest::newRow("large unchanged") << "99999" << 99999.0 << "99999";
    }
    void twoDigit()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(QString, expected);
        QCOMPARE(mdBomb::TwoDigit(text, number), expected);
    }
};

QTEST_APPLESS_MAIN(TestNumberRules)
#include "tst_number_rules.moc"
