#include "about/frmAbout.h"
#include "bomb/frmFault.h"
#include "bomb/mdBomb.h"
#include "main_window/Main.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"
#include "support/FakePlatform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using mdBomb::Settings;

namespace
{

// Runs `answer` on the fault dialog once it is open, from inside its modal loop.
void whenFaultOpens(std::function<void(frmFault&)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        frmFault* dialog = frmFault::instance();
        QVERIFY(dialog != nullptr);
        answer(*dialog);
        if (frmFault* still = frmFault::instance(); still == dialog)
            still->reject(); // a failed check must not leave the modal loop running
    });
}

} // namespace

class TestDetonation : public QObject
{
    Q_OBJECT
private slots:
    void actionTable_data()
    {
        QTest::addColumn<int>("bom");
        QTest::addColumn<int>("easy");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QList<int>>("exits");
        QTest::addColumn<bool>("fault");
        QTest::newRow("beep") << 0 << 0 << 12 << QList<int>{} << false;
        QTest::newRow("beep, gentle has no effect") << 0 << 1 << 12 << QList<int>{} << false;
        QTest::newRow("restart") << 1 << 0 << 6 << QList<int>{2} << false;
        QTest::newRow("power off") << 2 << 0 << 6 << QList<int>{1} << false;
        QTest::newRow("log off") << 3 << 0 << 6 << QList<int>{0} << false;
        QTest::newRow("log off, gentle 2 is off") << 3 << 2 << 6 << QList<int>{0} << false;
        QTest::newRow("restart, gentle") << 1 << 1 << 0 << QList<int>{} << true;
        QTest::newRow("log off, gentle") << 3 << 1 << 0 << QList<int>{} << true;
        QTest::newRow("4 does nothing") << 4 << 0 << 0 << QList<int>{} << false;
        QTest::newRow("-1 does nothing") << -1 << 1 << 0 << QList<int>{} << false;
    }
    void actionTable()
    {
        QFETCH(int, bom);
        QFETCH(int, easy);
        QFETCH(int, beeps);
        QFETCH(QList<int>, exits);
        QFETCH(bool, fault);
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = static_cast<std::int16_t>(bom);
        Settings().EasyMode = static_cast<std::int16_t>(easy);
        bool sawFault = false;
        if (fault)
            whenFaultOpens([&](frmFault& d) {
                sawFault = true;
                d.Command2_Click();
            });
        mdBomb::Detonate();
        QCOMPARE(env.fake.beeps, beeps);
        QList<int> made;
        for (ExitKind k : env.fake.exits)
            made << static_cast<int>(k);
        QCOMPARE(made, exits);
        QCOMPARE(sawFault, fault);
        QCOMPARE(main.Timer2->isActive(), bom == 0);
        QCOMPARE(env.fake.ends, 0);
        if (!exits.isEmpty()) // six beeps, then the request
            QCOMPARE(env.fake.log.last(), QStringLiteral("exit:%1").arg(exits[0]));
    }

    void chimeIsSixteenBeeps()
    {
        FakeEnvironment env;
        mdBomb::BeepAlert();
        QCOMPARE(env.fake.beeps, 16);
    }

    void faultDialogStates()
    {
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = 3;
        Settings().EasyMode = 1;
        env.fake.random = 0.65; // k = 7
        whenFaultOpens([&](frmFault& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Explorer"));
            QCOMPARE(d.outerHeightTwips(), 1920);
            QVERIFY(d.Text1->toPlainText().isEmpty());
            QVERIFY(d.Text1->geometry().top() >= d.height()); // below the visible area
            QVERIFY(d.Command3->isEnabled());
            QCOMPARE(d.focusWidget(), d.Command1);
            QCOMPARE(d.Command1->text(), QStringLiteral("閉じる(&C)"));
            QCOMPARE(d.Command2->text(), QStringLiteral("救\u3000済"));
            QCOMPARE(d.Command3->text(), QStringLiteral("詳細(&D)>>"));
            QVERIFY(!env.fake.topmost.empty());
            QCOMPARE(env.fake.topmost.back().window.data(), &d);

            d.Command3->click();
            QCOMPARE(d.outerHeightTwips(), 4185);
            QVERIFY(d.rect().contains(d.Text1->geometry()));
            QVERIFY(!d.Command3->isEnabled());
            const QStringList lines = d.Text1->toPlainText().split(QLatin1Char('\n'));
            QCOMPARE(lines.size(), 11);
            QCOMPARE(lines[0], QStringLiteral("taroの入れたの手のお茶です｡"));
            d.Command2->click();
        });
        mdBomb::Detonate();
        QVERIFY(frmFault::instance() == nullptr);
        QVERIFY(env.fake.exits.empty());
        QCOMPARE(env.fake.ends, 0);

        // The next tick of the minute opens a fresh, collapsed one.
        env.fake.timeText = QStringLiteral("7:30:01");
        Settings().ArmHour = QStringLiteral("07");
        Settings().ArmMin = QStringLiteral("30");
        bool fresh = false;
        whenFaultOpens([&](frmFault& d) {
            fresh = d.outerHeightTwips() == 1920 && d.Text1->toPlainText().isEmpty() &&
                    d.Command3->isEnabled();
            d.close(); // the close box does what "救　済" does
        });
        main.Timer1_Timer();
        QVERIFY(fresh);
        QCOMPARE(main.label1BackColor(), colour::Red);
    }

    void closeButtonEndsTheSession()
    {
        FakeEnvironment env;
        Main main;
        env.fake.file = "[Quorvane]\nHOUR=7\n";
        Settings().BomSetting = 3;
        Settings().EasyMode = 1;
        whenFaultOpens([&](frmFault& d) {
            d.Command1->click();
            QCOMPARE(env.fake.log.size(), 8);
            QCOMPARE(env.fake.log.mid(6), (QStringList{"exit:0", "end"}));
            d.reject(); // only a recording platform comes back from the end
        });
        mdBomb::Detonate();
        QVERIFY(env.fake.writes.isEmpty());
        QCOMPARE(env.fake.file, QByteArray("[Quorvane]\nHOUR=7\n"));
    }

    // Enter presses the focused button ("閉じる(&C)" when the dialog opens); Esc rescues.
    void keysInTheFaultDialog_data()
    {
        QTest::addColumn<int>("focused"); // 0: as it opens, else the button's number
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("details");
        QTest::addColumn<bool>("open"); // afterwards (only a recording platform survives the end)
        const QStringList sixBeeps(6, QStringLiteral("beep"));
        QTest::newRow("Enter on close")
            << 0 << int(Qt::Key_Return) << sixBeeps + QStringList{"exit:2", "end"} << false << true;
        QTest::newRow("keypad Enter on close")
            << 1 << int(Qt::Key_Enter) << sixBeeps + QStringList{"exit:2", "end"} << false << true;
        QTest::newRow("Enter on rescue")
            << 2 << int(Qt::Key_Return) << QStringList() << false << false;
        QTest::newRow("Enter on details")
            << 3 << int(Qt::Key_Return) << QStringList() << true << true;
        QTest::newRow("Esc") << 0 << int(Qt::Key_Escape) << QStringList() << false << false;
    }
    void keysInTheFaultDialog()
    {
        QFETCH(int, focused);
        QFETCH(int, key);
        QFETCH(QStringList, log);
        QFETCH(bool, details);
        QFETCH(bool, open);
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = 1;
        Settings().EasyMode = 1;
        bool detailsShown = false;
        bool stillOpen = false;
        whenFaultOpens([&](frmFault& d) {
            QPushButton* buttons[] = {d.Command1, d.Command1, d.Command2, d.Command3};
            buttons[focused]->setFocus();
            QTest::keyClick(d.focusWidget(), Qt::Key(key));
            detailsShown = !d.Text1->toPlainText().isEmpty();
            stillOpen = frmFault::instance() == &d && d.isVisible();
        });
        mdBomb::Detonate();
        QCOMPARE(env.fake.log, log);
        QCOMPARE(detailsShown, details);
        QCOMPARE(stillOpen, open);
    }

    void ticksDuringTheDialogOnlyUpdateLabels()
    {
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = 1;
        Settings().EasyMode = 1;
        Settings().ArmHour = QStringLiteral("08");
        Settings().ArmMin = QStringLiteral("00");
        env.fake.timeText = QStringLiteral("8:00:00");
        int opened = 0;
        whenFaultOpens([&](frmFault& d) {
            ++opened;
            const int beepsBefore = env.fake.beeps;
            env.fake.timeText = QStringLiteral("8:00:07");
            env.fake.ticks = 5000;
            // The labels keep up by themselves while the dialog is open.
            QTRY_COMPARE(main.Label1->text(), QStringLiteral("08:00:07"));
            main.Timer1_Timer(); // and a tick delivered inside the modal loop only updates them
            QCOMPARE(main.Label2->text(), QStringLiteral("0時間0分5秒経過"));
            QCOMPARE(env.fake.beeps, beepsBefore);
            mdBomb::Detonate(); // and no second detonation either
            QCOMPARE(frmFault::instance(), &d);
            d.Command2->click();
        });
        main.Timer1_Timer();
        QCOMPARE(opened, 1);
        QCOMPARE(env.fake.beeps, 16); // the chime of 08:00:00 came before the dialog
        QVERIFY(env.fake.exits.empty());
    }

    void windowsClosedBeforeTheFault()
    {
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = 2;
        Settings().EasyMode = 1;
        fmArm::Show();
        frmAbout::ShowModeless();
        QStringList seen;
        whenFaultOpens([&](frmFault& d) {
            seen << (fmArm::instance() == nullptr ? "settings closed" : "settings open");
            seen << (frmAbout::instance() == nullptr ? "about closed" : "about open");
            d.Command2->click();
        });
        mdBomb::Detonate();
        QCOMPARE(seen, (QStringList{"settings closed", "about closed"}));
        QVERIFY(env.fake.writes.isEmpty());
        QVERIFY(!main.isVisible()); // nothing shows the main window again

        // A loaded but hidden settings dialog stays loaded.
        fmArm& hidden = fmArm::Load();
        whenFaultOpens([&](frmFault& d) { d.Command2->click(); });
        mdBomb::Detonate();
        QCOMPARE(fmArm::instance(), &hidden);

        Settings().EasyMode = 0; // an immediate exit closes nothing
        fmArm::Show();
        mdBomb::Detonate();
        QVERIFY(fmArm::instance() != nullptr && fmArm::instance()->isVisible());
    }

    void drawCoversAllTen()
    {
        FakeEnvironment env;
        Main main;
        Settings().BomSetting = 1;
        Settings().EasyMode = 1;
        QSet<QString> firstLines;
        for (int i = 0; i < 10; ++i) {
            env.fake.random = i / 10.0 + 0.05;
            whenFaultOpens([&](frmFault& d) {
                d.Command3_Click();
                firstLines.insert(d.Text1->toPlainText().section(QLatin1Char('\n'), 0, 0));
                d.Command2_Click();
            });
            mdBomb::Detonate();
        }
        QCOMPARE(firstLines.size(), 10);
        env.fake.random = 0.99999;
        whenFaultOpens([&](frmFault& d) {
            d.Command3_Click();
            QVERIFY(d.Text1->toPlainText().startsWith(QStringLiteral("taroの放送禁止用語羅列")));
            d.Command2_Click();
        });
        mdBomb::Detonate();
    }
};

QTEST_MAIN(TestDetonation)
#include "tst_detonation.moc"
