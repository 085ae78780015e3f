#include "main_window/Main.h"
#include "platform/IniDocument.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <QTimer>

using mdBomb::ArmDialogControls;
using mdBomb::Settings;

namespace
{

QByteArray key(const FakePlatform& fake, const char* name)
{
    return ini::value(fake.file, "Quorvane", name).value_or("<missing>");
}

ArmDialogControls dialog(const QString& hour, const QString& minute)
{
    ArmDialogControls d;
    d.ArmTxt[0] = hour;
    d.ArmTxt[1] = minute;
    return d;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QList<int>>("fields"); // DspTime, BomSetting, DellMode, EasyMode, TopMost
        QTest::newRow("no file") << QByteArray() << false << "00"
                                 << "00" << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("one digit") << QByteArray("[Quorvane]\nHOUR=7\nMIN=5\n") << false << "07"
                                   << "05" << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("two digits") << QByteArray("[Quorvane]\nHOUR=07\nMIN=59\n") << false << "07"
                                    << "59" << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("garbage") << QByteArray("[Quorvane]\nHOUR=abc\nMIN=\nBOMSETTING=x\n")
                                 << false << "00"
                                 << "00" << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("out of range kept")
            << QByteArray("[Quorvane]\nHOUR=25\nMIN=-3\nBOMSETTING=7\nEASYMODE=2\n") << false
            << "25"
            << "-3" << QList<int>{0, 7, 0, 2, 0};
        QTest::newRow("all set")
            << QByteArray("[quorvane]\r\nhour=23\r\nDSPTIME=1\r\nBOMSETTING=3\r\nDELLMODE=1\r\n"
                          "EASYMODE=1\r\nTOPMOST=1\r\n")
            << false << "23"
            << "00" << QList<int>{1, 3, 1, 1, 1};
        QTest::newRow("beyond 16 bits reads 0")
            << QByteArray("[Quorvane]\nBOMSETTING=70000\nHOUR=99999999999\n") << false
            << "2147483647"
            << "00" << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("unreadable file") << QByteArray("[Quorvane]\nHOUR=7\n") << true << "00"
                                         << "00" << QList<int>{0, 0, 0, 0, 0};
    }
    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, unreadable);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QList<int>, fields);
        FakeEnvironment env;
        env.fake.file = file;
        env.fake.unreadable = unreadable;
        mdBomb::LoadSettings();
        const auto& s = Settings();
        QCOMPARE(s.ArmHour, hour);
        QCOMPARE(s.ArmMin, minute);
        QCOMPARE((QList<int>{s.DspTime, s.BomSetting, s.DellMode, s.EasyMode, s.TopMost}), fields);
        QVERIFY(env.fake.writes.isEmpty());
    }

    void saveValid()
    {
        FakeEnvironment env;
        env.fake.file = "; mine\n[Other]\nk=v\n";
        ArmDialogControls d = dialog("7", "5");
        d.Option1_0 = false;
        d.Option2[0] = false;
        d.Option2[2] = true;
        d.Check1 = false;
        d.Check2 = true;
        d.Check3 = true;
        mdBomb::SaveSettingsFromDialog(d);
        QVERIFY(env.fake.messages.empty());
        QCOMPARE(env.fake.file, QByteArray("; mine\n[Other]\nk=v\n[Quorvane]\nHOUR=7\nMIN=5\n"
                                           "DSPTIME=1\nBOMSETTING=2\nDELLMODE=0\nEASYMODE=1\n"
                                           "TOPMOST=1\n"));
        QCOMPARE(env.fake.writes.size(), 7); // one write per key, in this order
        QVERIFY(env.fake.writes[0].endsWith("HOUR=7\n"));
        QVERIFY(env.fake.writes[1].endsWith("MIN=5\n"));
        const auto& s = Settings();
        QCOMPARE(s.ArmHour, QStringLiteral("07"));
        QCOMPARE(s.ArmMin, QStringLiteral("05"));
        QCOMPARE((QList<int>{s.DspTime, s.BomSetting, s.DellMode, s.EasyMode, s.TopMost}),
                 (QList<int>{1, 2, 0, 1, 1}));

        // The next start loads the same alarm.
        mdBomb::ResetSettings();
        mdBomb::LoadSettings();
        QCOMPARE(Settings().ArmHour, QStringLiteral("07"));
        QCOMPARE(Settings().ArmMin, QStringLiteral("05"));
    }

    // What OK accepts is the alarm now and after a restart; the file holds the text as typed
    // wherever it reads back as that alarm.
    void acceptedIsWhatTheAlarmUses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("alarm");
        QTest::newRow("one digit") << "7" << QByteArray("7") << "07";
        QTest::newRow("plus sign") << "+7" << QByteArray("+7") << "07";
        QTest::newRow("minus zero") << "-0" << QByteArray("-0") << "00";
        QTest::newRow("trailing point") << "7." << QByteArray("7.") << "07";
        QTest::newRow("point five") << ".5" << QByteArray(".5") << "00";
        QTest::newRow("ideographic space first") << "\u30007" << QByteArray("7") << "07";
        QTest::newRow("no-break space first") << "\u00a07" << QByteArray("7") << "07";
        QTest::newRow("ideographic space last") << "7\u3000" << QByteArray("7\xe3\x80\x80") << "07";
        QTest::newRow("blank last") << "7 " << QByteArray("7") << "07";
    }
    void acceptedIsWhatTheAlarmUses()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        QFETCH(QString, alarm);
        FakeEnvironment env;
        ArmDialogControls d = dialog(typed, "30");
        mdBomb::SaveSettingsFromDialog(d);
        QVERIFY(env.fake.messages.empty());
        QCOMPARE(key(env.fake, "HOUR"), stored);
        QCOMPARE(Settings().ArmHour, alarm);
        mdBomb::ResetSettings();
        mdBomb::LoadSettings(); // the next start
        QCOMPARE(Settings().ArmHour, alarm);
    }

    void saveRejected_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<bool>("written"); // conversion failure: written as 00:00
        QTest::newRow("hour 24") << "24"
                                 << "00" << false;
        QTest::newRow("hour -1") << "-1"
                                 << "00" << false;
        QTest::newRow("minute 60") << "12"
                                   << "60" << false;
        QTest::newRow("hour 25 before a bad minute") << "25"
                                                     << "xx" << false;
        QTest::newRow("empty minute") << "12"
                                      << "" << true;
        QTest::newRow("bad hour") << "ab"
                                  << "30" << true;
        QTest::newRow("both bad") << ""
                                  << "" << true;
    }
    void saveRejected()
    {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(bool, written);
        FakeEnvironment env;
        Settings().ArmHour = QStringLiteral("09");
        Settings().ArmMin = QStringLiteral("15");
        ArmDialogControls d = dialog(hour, minute);
        // The boxes still hold the typed text while the message is up.
        env.fake.onMessage = [&] { QCOMPARE(d.ArmTxt[0], hour); };
        mdBomb::SaveSettingsFromDialog(d);
        QCOMPARE(env.fake.messages.size(), size_t(1));
        QCOMPARE(env.fake.messages[0].text, QStringLiteral("数値が正しくないです！！"));
        QCOMPARE(env.fake.messages[0].caption, QStringLiteral("アラーム設定のエラー"));
        QCOMPARE(env.fake.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(d.ArmTxt[0], QStringLiteral("00"));
        QCOMPARE(d.ArmTxt[1], QStringLiteral("00"));
        if (written) {
            QCOMPARE(env.fake.writes.size(), 7);
            QCOMPARE(key(env.fake, "HOUR"), QByteArray("00"));
            QCOMPARE(key(env.fake, "MIN"), QByteArray("00"));
            QCOMPARE(Settings().ArmHour, QStringLiteral("00"));
            QCOMPARE(Settings().ArmMin, QStringLiteral("00"));
        } else {
            QVERIFY(env.fake.writes.isEmpty());
            QCOMPARE(Settings().ArmHour, QStringLiteral("09"));
            QCOMPARE(Settings().ArmMin, QStringLiteral("15"));
        }
    }

    void boundsPass()
    {
        FakeEnvironment env;
        for (const auto& [h, m] :
             {std::pair{"0", "0"}, std::pair{"23", "59"}, std::pair{" 7", "5"}}) {
            ArmDialogControls d = dialog(QLatin1String(h), QLatin1String(m));
            mdBomb::SaveSettingsFromDialog(d);
        }
        QVERIFY(env.fake.messages.empty());
        QCOMPARE(key(env.fake, "HOUR"), QByteArray("7")); // trimmed by the reader
        QCOMPARE(Settings().ArmHour, QStringLiteral("07"));
    }

    void failedWriteIsSilent()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=3\n";
        env.fake.writesFail = true;
        ArmDialogControls d = dialog("8", "1");
        d.Check3 = true;
        mdBomb::SaveSettingsFromDialog(d);
        QVERIFY(env.fake.messages.empty());
        QCOMPARE(env.fake.file, QByteArray("[Quorvane]\nHOUR=3\n"));
        QCOMPARE(Settings().ArmHour, QStringLiteral("08")); // the record follows all the same
        QCOMPARE(Settings().TopMost, std::int16_t(1));

        env.fake.writesFail = false;
        env.fake.unreadable = true; // an unreadable file is never replaced
        mdBomb::SaveSettingsFromDialog(d);
        QVERIFY(env.fake.writes.isEmpty());
    }

    void applyTopmost_data()
    {
        QTest::addColumn<int>("topMost");
        QTest::addColumn<int>("dellMode");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("sweep");
        QTest::newRow("off") << 0 << 0 << false << false;
        QTest::newRow("on") << 1 << 1 << true << true;
        QTest::newRow("2 counts as off") << 2 << 2 << false << false;
    }
    void applyTopmost()
    {
        QFETCH(int, topMost);
        QFETCH(int, dellMode);
        QFETCH(bool, on);
        QFETCH(bool, sweep);
        FakeEnvironment env;
        Main main;
        Settings().TopMost = static_cast<std::int16_t>(topMost);
        Settings().DellMode = static_cast<std::int16_t>(dellMode);
        mdBomb::ApplyTopmost();
        QCOMPARE(env.fake.topmost.size(), size_t(1));
        QCOMPARE(env.fake.topmost[0].window.data(), &main);
        QCOMPARE(env.fake.topmost[0].on, on);
        QCOMPARE(main.Timer3->isActive(), sweep);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
