#include "app/mdShell.h"
#include "main_window/Main.h"
#include "platform/IniDocument.h"
#include "platform/Profile.h"
#include "platform/Twips.h"
#include "settings/Settings.h"
#include "support/FakePlatform.h"

#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cmath>

using mdBomb::Settings;

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void placeAxis_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("edge");
        QTest::addColumn<int>("saved");
        // window 3000 twips, screen 11520 twips (768 px)
        QTest::newRow("nothing read: centred") << QByteArray() << 4260.0 << 77;
        QTest::newRow("negative") << QByteArray("-300") << 0.0 << -300;
        QTest::newRow("past the far edge") << QByteArray("99999") << 8520.0 << 99999;
        QTest::newRow("exactly fits") << QByteArray("8520") << 8520.0 << 8520;
        QTest::newRow("one past") << QByteArray("8521") << 8520.0 << 8521;
        QTest::newRow("not a number") << QByteArray("abc") << 0.0 << 0;
        QTest::newRow("half to even down") << QByteArray("1234.5") << 1234.0 << 1234;
        QTest::newRow("half to even up") << QByteArray("1235.5") << 1236.0 << 1236;
    }
    void placeAxis()
    {
        QFETCH(QByteArray, text);
        QFETCH(double, edge);
        QFETCH(int, saved);
        std::int32_t remembered = 77; // kept when nothing was read
        QCOMPARE(mdShell::PlaceAxis(text, 3000, 11520, remembered), edge);
        QCOMPARE(remembered, saved);
    }

    void positionBufferHoldsNineCharacters()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nTop=1234567890\nLeft= 12\n";
        QCOMPARE(profile::getString("Top", 10), QByteArray("123456789"));
        std::int32_t saved = 0;
        QCOMPARE(mdShell::PlaceAxis(profile::getString("Top", 10), 3000, 11520, saved), 8520.0);
        QCOMPARE(saved, 123456789);
        QCOMPARE(profile::getString("Left", 10), QByteArray("12"));
    }

    void formLoad()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nTop=-300\nLeft=150\nHOUR=7\nDELLMODE=0\nTOPMOST=1\n";
        env.fake.timeText = QStringLiteral("9:05:03");
        Main main;
        QVERIFY(main.Form_Load());
        QCOMPARE(main.pos(), QPoint(10, 0)); // 150 twips; the negative top is held at 0
        QCOMPARE(mdShell::Position().SavedTop, -300);
        QCOMPARE(mdShell::Position().SavedLeft, 150);
        QCOMPARE(main.outerHeightTwips(), 1695);
        QCOMPARE(main.outerWidthTwips(), 2130);
        QCOMPARE(main.Label1->text(), QStringLiteral("9:05:03")); // as the system gives it
        QCOMPARE(Settings().ArmHour, QStringLiteral("07"));
        QCOMPARE(env.fake.topmost.size(), size_t(1));
        QVERIFY(env.fake.topmost[0].on);
        QCOMPARE(env.fake.reads, 1); // every start-up key from one reading of the file
        QVERIFY(!main.Timer3->isActive());
        QVERIFY(main.Timer1->isActive());
        QVERIFY(env.fake.writes.isEmpty());
        QVERIFY(!main.isVisible());

        main.Timer1_Timer();
        QCOMPARE(main.Label1->text(), QStringLiteral("09:05:03"));
        QCOMPARE(main.outerHeightTwips(), 1725);
    }

    void centredByItsCreationSize()
    {
        FakeEnvironment env; // a 1024 x 768 px screen, no settings file
        Main main;
        const int menuBar = main.menuBar()->sizeHint().height();
        QVERIFY(main.Form_Load());
        // created with a client area 2985 twips (199 px) wide and 2370 (158 px) high below the
        // menu bar, in a frame 6 px wider and 25 px higher until the window manager frames it
        const double outerWidth = 199 + 6;
        const double outerHeight = 158 + menuBar + 25;
        QCOMPARE(main.pos(), QPoint(int(std::nearbyint((1024 - outerWidth) / 2)),
                                    int(std::nearbyint((768 - outerHeight) / 2))));
        QCOMPARE(mdShell::Position().SavedTop, 0);
        QCOMPARE(mdShell::Position().SavedLeft, 0);
    }

    void secondInstance()
    {
        FakeEnvironment env;
        env.fake.otherInstance = true;
        env.fake.file = "[Quorvane]\nTOPMOST=1\n";
        Main main;
        QVERIFY(!main.Form_Load());
        QCOMPARE(env.fake.log, (QStringList{"message", "end"}));
        QCOMPARE(env.fake.reads, 0); // the settings file is not even read
        QCOMPARE(env.fake.messages[0].text, QStringLiteral("すでに起動してます"));
        QCOMPARE(env.fake.messages[0].caption, QStringLiteral("Quorvane"));
        QCOMPARE(env.fake.messages[0].icon, MessageIcon::None);
        QVERIFY(env.fake.topmost.empty());
        QCOMPARE(Settings().TopMost, std::int16_t(0)); // nothing was read
        QVERIFY(!main.Timer1->isActive());             // nothing ticks behind the message
        QVERIFY(!main.Timer3->isActive());
    }

    // The desktop session's end writes what the close box writes, once the tray icon is up.
    void sessionEndIsAnOrderlyExit()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        QVERIFY(env.fake.sessionEnd);
        main.move(20, 10);
        env.fake.log.clear();
        env.fake.sessionEnd();
        QCOMPARE(env.fake.log, (QStringList{"write", "write", "write", "tray:2", "end"}));
        QCOMPARE(env.fake.file, QByteArray("[Quorvane]\nMyPath=/opt/quorvane/quorvane\nTop=150\n"
                                           "Left=300\n"));
    }

    void exitWritesPathThenPosition()
    {
        FakeEnvironment env;
        env.fake.file = "# mine\r\n[Quorvane]\r\nHOUR=7\r\n[Other]\r\nTop=1\r\n";
        Main main;
        main.move(100, 37);
        mdShell::ExitApplication();
        // the tray icon goes with the record it was added with, after the writes
        QCOMPARE(env.fake.log, (QStringList{"write", "write", "write", "tray:2", "end"}));
        QCOMPARE(env.fake.writes[0],
                 QByteArray("# mine\r\n[Quorvane]\r\nHOUR=7\r\nMyPath=/opt/quorvane/quorvane\r\n"
                            "[Other]\r\nTop=1\r\n"));
        QVERIFY(env.fake.writes[1].contains("MyPath=/opt/quorvane/quorvane\r\nTop=555\r\n"));
        QCOMPARE(env.fake.file,
                 QByteArray("# mine\r\n[Quorvane]\r\nHOUR=7\r\nMyPath=/opt/quorvane/quorvane\r\n"
                            "Top=555\r\nLeft=1500\r\n[Other]\r\nTop=1\r\n"));
    }

    void exitWhileHiddenWritesTheWindowsOwnPosition()
    {
        FakeEnvironment env;
        Main main;
        main.move(20, 30);
        mdShell::HideMainWindow();
        QVERIFY(main.isHidden());
        QCOMPARE(mdShell::Position().SavedTop, 450);
        QCOMPARE(mdShell::Position().SavedLeft, 300);
        main.close(); // the close box: Form_Unload leads to the same exit
        QCOMPARE(ini::value(env.fake.file, "Quorvane", "Top").value_or(""), QByteArray("450"));
        QCOMPARE(ini::value(env.fake.file, "Quorvane", "Left").value_or(""), QByteArray("300"));
        QCOMPARE(env.fake.ends, 1);
    }

    void exitWithNegativePosition()
    {
        FakeEnvironment env;
        Main main;
        main.move(-10, -2);
        mdShell::ExitApplication();
        QCOMPARE(ini::value(env.fake.file, "Quorvane", "Top").value_or(""), QByteArray("-30"));
        QCOMPARE(ini::value(env.fake.file, "Quorvane", "Left").value_or(""), QByteArray("-150"));
    }

    // The clock, the uptime, the hourly beep, then the alarm: in that order within one tick.
    void tickOrder_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("alarm");
        QTest::newRow("quiet") << "12:34:56"
                               << "07"
                               << "30" << 0 << false;
        QTest::newRow("full hour") << "8:00:00"
                                   << "07"
                                   << "30" << 16 << false;
        QTest::newRow("full hour, second 1") << "8:00:01"
                                             << "07"
                                             << "30" << 0 << false;
        QTest::newRow("alarm minute start") << "7:30:00"
                                            << "07"
                                            << "30" << 12 << true;
        QTest::newRow("alarm minute end") << "7:30:59"
                                          << "07"
                                          << "30" << 12 << true;
        QTest::newRow("minute after") << "7:31:00"
                                      << "07"
                                      << "30" << 0 << false;
        QTest::newRow("alarm at the hour: chime first") << "9:00:00"
                                                        << "09"
                                                        << "00" << 28 << true;
        QTest::newRow("00:00 is an alarm") << "0:00:30"
                                           << "00"
                                           << "00" << 12 << true;
        QTest::newRow("hour 24 never") << "0:00:30"
                                       << "24"
                                       << "00" << 0 << false;
        QTest::newRow("minute 60 never") << "1:00:30"
                                         << "00"
                                         << "60" << 0 << false;
        QTest::newRow("negative never") << "1:01:30"
                                        << "-1"
                                        << "01" << 0 << false;
    }
    void tickOrder()
    {
        QFETCH(QString, time);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(int, beeps);
        QFETCH(bool, alarm);
        FakeEnvironment env;
        Main main;
        Settings().ArmHour = hour;
        Settings().ArmMin = minute;
        env.fake.timeText = time;
        env.fake.ticks = 3600000;
        main.setOuterHeightTwips(1695);
        main.Timer1_Timer();
        QCOMPARE(main.Label1->text(), time.size() == 7 ? QLatin1Char('0') + time : time);
        QCOMPARE(main.Label2->text(), QStringLiteral("1時間0分0秒経過"));
        QCOMPARE(env.fake.beeps, beeps);
        QCOMPARE(main.label1BackColor(), alarm ? colour::Red : colour::ButtonFace);
        QCOMPARE(main.Timer2->isActive(), alarm);
        QCOMPARE(main.Command1->isVisibleTo(&main), alarm);
        QCOMPARE(main.outerHeightTwips(), alarm ? 2580 : 1725);
    }

    void beepAlarmCycle()
    {
        FakeEnvironment env;
        Main main;
        main.show();
        Settings().ArmHour = QStringLiteral("07");
        Settings().ArmMin = QStringLiteral("30");
        env.fake.timeText = QStringLiteral("7:30:10");
        main.Timer1_Timer();
        QVERIFY(main.Command1->isVisible());
        // The alarm-stop button lies inside the client area at this height.
        QVERIFY(main.centralWidget()->rect().contains(main.Command1->geometry()));

        main.Timer2_Timer();
        QCOMPARE(main.label1BackColor(), colour::Blue);
        main.Timer2_Timer();
        QCOMPARE(main.label1BackColor(), colour::Red);

        main.Command1_Click();
        QVERIFY(!main.Command1->isVisible());
        QVERIFY(!main.Timer2->isActive());
        QCOMPARE(main.label1BackColor(), colour::ButtonFace);
        QCOMPARE(main.outerHeightTwips(), 1725);
        QVERIFY(main.Command1->geometry().top() >= main.centralWidget()->height());

        env.fake.beeps = 0;
        main.Timer1_Timer(); // still inside the minute: back again
        QVERIFY(main.Command1->isVisible());
        QCOMPARE(main.outerHeightTwips(), 2580);
        QCOMPARE(env.fake.beeps, 12);

        env.fake.timeText = QStringLiteral("7:31:00");
        main.Timer1_Timer();
        QCOMPARE(main.outerHeightTwips(), 1725);
        QVERIFY(!main.Timer2->isActive());
        QVERIFY(main.Command1->isVisibleTo(&main)); // out of sight, not hidden
    }

    void blinkKeepsItsInterval()
    {
        FakeEnvironment env;
        Main main;
        Settings().ArmHour = QStringLiteral("07");
        Settings().ArmMin = QStringLiteral("30");
        env.fake.timeText = QStringLiteral("7:30:10");
        main.Timer1_Timer();
        const int before = main.Timer2->remainingTime();
        QTest::qWait(30);
        main.Timer1_Timer(); // the next tick must not restart the blink
        QVERIFY(main.Timer2->remainingTime() < before);
    }

    void minimisedKeepsHeight()
    {
        FakeEnvironment env;
        Main main;
        main.setOuterHeightTwips(1695);
        main.setWindowState(Qt::WindowMinimized);
        Settings().ArmHour = QStringLiteral("07");
        Settings().ArmMin = QStringLiteral("30");
        env.fake.timeText = QStringLiteral("7:30:10");
        main.Timer1_Timer();
        QCOMPARE(main.outerHeightTwips(), 1695);
        QVERIFY(main.Timer2->isActive());
        QVERIFY(main.Command1->isVisibleTo(&main));
        QCOMPARE(env.fake.beeps, 12);
        env.fake.timeText = QStringLiteral("7:31:10");
        main.Timer1_Timer();
        QCOMPARE(main.outerHeightTwips(), 1695);
        QVERIFY(!main.Timer2->isActive());
        QCOMPARE(main.label1BackColor(), colour::ButtonFace);
    }

    void uptimeModes()
    {
        FakeEnvironment env;
        Main main;
        env.fake.ticks = quint32(-1000);
        main.Timer1_Timer();
        QCOMPARE(main.Label2->text(), QStringLiteral("-1時間59分59秒経過"));
        const int left = main.Label2->x();
        Settings().DspTime = 1;
        main.Timer1_Timer();
        QCOMPARE(main.Label2->text(), QStringLiteral("-1秒経過"));
        QCOMPARE(main.Label2->x(), left); // the width follows the text, the left edge stays
        QCOMPARE(main.Label2->width(), main.Label2->sizeHint().width());
    }

    void sweepEveryFifthTick()
    {
        FakeEnvironment env;
        Main main;
        QList<int> purges;
        for (int i = 0; i < 10; ++i) {
            main.Timer3_Timer();
            purges << env.fake.purges;
        }
        QCOMPARE(purges, (QList<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 2}));

        // The count is kept while the timer is off.
        Main other;
        env.fake.purges = 0;
        for (int i = 0; i < 3; ++i)
            other.Timer3_Timer();
        SetTimerEnabled(other.Timer3, false);
        SetTimerEnabled(other.Timer3, true);
        other.Timer3_Timer();
        QCOMPARE(env.fake.purges, 0);
        other.Timer3_Timer();
        QCOMPARE(env.fake.purges, 1);
    }

    void labelsSayWhatTheyShow()
    {
        FakeEnvironment env;
        Main main;
        // a screen reader reads the time itself as the name, and what it is as the description
        QVERIFY(main.Label1->accessibleName().isEmpty());
        QCOMPARE(main.Label1->accessibleDescription(), QStringLiteral("時刻"));
        QCOMPARE(main.Label2->accessibleDescription(), QStringLiteral("起動してからの時間"));
    }

    void longUptimeStaysInTheWindow()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        const int designed = main.Label2->x();
        env.fake.ticks = 1000u * (100 * 3600 + 17 * 60 + 19); // 100時間17分19秒経過
        main.Timer1_Timer();
        QVERIFY(main.Label2->x() < designed);
        QCOMPARE(main.Label2->geometry().right(), main.width() - 1);
        env.fake.ticks = 1000u * 61; // short again: back at its place
        main.Timer1_Timer();
        QCOMPARE(main.Label2->x(), designed);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
