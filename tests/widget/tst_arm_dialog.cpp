#include "about/frmAbout.h"
#include "bomb/frmFault.h"
#include "main_window/Main.h"
#include "platform/IniDocument.h"
#include "platform/Twips.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"
#include "support/FakePlatform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using mdBomb::Settings;

namespace
{

// The check boxes and option buttons as one comparable row: "hour minute option1 option2 checks".
QString state(const fmArm& d)
{
    auto selected = [](QRadioButton* const* buttons, int count) {
        for (int i = 0; i < count; ++i) {
            if (buttons[i]->isChecked())
                return QString::number(i);
        }
        return QStringLiteral("-");
    };
    QString checks;
    for (const QCheckBox* c : {d.Check1, d.Check2, d.Check3})
        checks += c->isChecked() ? QLatin1Char('x') : QLatin1Char('.');
    return QStringList{d.ArmTxt[0]->text(), d.ArmTxt[1]->text(), selected(d.Option1, 2),
                       selected(d.Option2, 4), checks}
        .join(QLatin1Char(' '));
}

QByteArray key(const FakePlatform& fake, const char* name)
{
    return ini::value(fake.file, "Quorvane", name).value_or("<missing>");
}

// The caption a user or a screen reader gets, whether or not the toolkit broke it in two.
QString caption(const QAbstractButton* b)
{
    return b->accessibleName().isEmpty() ? b->text() : b->accessibleName();
}

} // namespace

class TestArmDialog : public QObject
{
    Q_OBJECT
private slots:
    void loadsFromTheRecord_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("sweep"); // the recent-documents timer after loading
        QTest::addColumn<int>("bomSetting");
        QTest::newRow("first run: every box cleared")
            << QByteArray() << "00 00 0 0 ..." << false << 0;
        QTest::newRow("all set") << QByteArray("[Quorvane]\nHOUR=7\nMIN=30\nDSPTIME=1\n"
                                               "BOMSETTING=3\nDELLMODE=1\nEASYMODE=1\nTOPMOST=1\n")
                                 << "07 30 1 3 xxx" << true << 3;
        QTest::newRow("only the sweep") << QByteArray("[Quorvane]\nHOUR=23\nMIN=59\nDELLMODE=1\n")
                                        << "23 59 0 0 x.." << true << 0;
        QTest::newRow("values without a control")
            << QByteArray("[Quorvane]\nDSPTIME=5\nBOMSETTING=7\nDELLMODE=2\nTOPMOST=-1\n")
            << "00 00 0 0 ..." << false << 7;
    }
    void loadsFromTheRecord()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QFETCH(bool, sweep);
        QFETCH(int, bomSetting);
        FakeEnvironment env;
        env.fake.file = file;
        Main main;
        QVERIFY(main.Form_Load());
        SetTimerEnabled(main.Timer3, true); // as if the sweep ran before the dialog was opened
        fmArm::Show();
        fmArm* d = fmArm::instance();
        QVERIFY(d != nullptr && d->isVisible());
        QCOMPARE(state(*d), shown);
        QCOMPARE(main.Timer3->isActive(), sweep);
        QCOMPARE(Settings().BomSetting, std::int16_t(bomSetting)); // loading changes nothing
        QVERIFY(env.fake.writes.isEmpty());
    }

    void layout()
    {
        FakeEnvironment env;
        Main main;
        fmArm& d = fmArm::Load();
        QVERIFY(!d.isVisible()); // loading alone does not show it
        QCOMPARE(d.windowTitle(), QStringLiteral("アラーム設定"));
        QCOMPARE(d.size(), QSize(3975, 3315) / twips::perPixel);
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.windowType(), Qt::Tool);
        QVERIFY(!d.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!d.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // centred on the screen by its outer size (design frame until framed)
        const QSize outer = twips::outerSize(&d);
        QCOMPARE(d.pos(),
                 QPoint(twips::toPixels((env.fake.screen.width() - outer.width()) / 2.0),
                        twips::toPixels((env.fake.screen.height() - outer.height()) / 2.0)));

        const QList<std::pair<QGroupBox*, QString>> frames{{d.Frame1, "時間設定"},
                                                           {d.Frame2, "経過時表示"},
                                                           {d.Frame3, "爆弾設定"},
                                                           {d.Frame4, "オプション"}};
        for (const auto& [frame, title] : frames)
            QCOMPARE(frame->title(), title);
        QCOMPARE(d.Frame3->geometry(), twips::rect(0, 1320, 1815, 1935));
        QCOMPARE(d.Label1->text(),
                 QStringLiteral("２４時間表示で爆弾を爆発させる時間を入力して下さい"));
        QCOMPARE(d.Label3[0]->text(), QStringLiteral("時"));
        QCOMPARE(d.Label3[1]->text(), QStringLiteral("分"));
        const QList<std::pair<QAbstractButton*, QString>> captions{
            {d.Option1[0], "時間"},
            {d.Option1[1], "秒"},
            {d.Option2[0], "BEEPアラート"},
            {d.Option2[1], "Windows再起動"},
            {d.Option2[2], "Windows終了"},
            {d.Option2[3], "ログオフ"},
            {d.Check1, "Recentファイル削除機能を使う"},
            {d.Check2, "優しい設定を使う"},
            {d.Check3, "最前面表示する"},
            {d.Command1, "ＯＫ"},
            {d.Command2, "Cancel"}};
        for (const auto& [button, text] : captions) {
            QCOMPARE(caption(button), text);
            // a caption broken in two keeps every character, and fits its frame
            QCOMPARE(button->text().remove(QLatin1Char('\n')), text);
            QVERIFY2(button->geometry().right() < button->parentWidget()->width(),
                     qPrintable(text));
        }
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(d.ArmTxt[i]->parentWidget(), d.Frame1);
            QCOMPARE(d.ArmTxt[i]->maxLength(), 2);
            QCOMPARE(d.ArmTxt[i]->alignment(), Qt::AlignCenter);
            QVERIFY(!d.ArmTxt[i]->accessibleName().isEmpty());
        }
        QCOMPARE(d.ArmTxt[0]->geometry(), twips::rect(600, 720, 495, 375));
        QCOMPARE(d.ArmTxt[1]->geometry(), twips::rect(1440, 720, 495, 375));
        QCOMPARE(d.Command1->geometry(), twips::rect(1920, 2880, 975, 375));
        QVERIFY(!d.Command1->isDefault() && !d.Command2->isDefault());
    }

    void tabOrderAndKeys()
    {
        FakeEnvironment env;
        Main main;
        fmArm::Show();
        fmArm* d = fmArm::instance();
        QCOMPARE(d->focusWidget(), d->Command1);
        QList<QWidget*> chain;
        QWidget* w = d->Command1;
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w;
            w = w->nextInFocusChain();
        } while (w != d->Command1);
        const QList<QWidget*> expected{d->Command1,   d->Command2,   d->ArmTxt[1],  d->ArmTxt[0],
                                       d->Option1[0], d->Option1[1], d->Option2[0], d->Option2[1],
                                       d->Option2[2], d->Option2[3], d->Check1,     d->Check2,
                                       d->Check3};
        QCOMPARE(chain, expected);

        // No default and no cancel button: Enter in a box and Esc leave the dialog open.
        QTest::keyClicks(d->ArmTxt[0], QStringLiteral("123"));
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("12")); // two characters at most
        QTest::keyClick(d->ArmTxt[0], Qt::Key_Return);
        QTest::keyClick(d, Qt::Key_Escape);
        QCOMPARE(fmArm::instance(), d);
        QVERIFY(env.fake.writes.isEmpty());
    }

    void clickHandlersActAtOnce()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nDELLMODE=1\n";
        Main main;
        QVERIFY(main.Form_Load());
        fmArm::Show();
        fmArm* d = fmArm::instance();

        d->Option2[2]->click();
        QCOMPARE(Settings().BomSetting, std::int16_t(2));
        d->Check1->click();
        QVERIFY(!main.Timer3->isActive());
        d->Check1->click();
        QVERIFY(main.Timer3->isActive());

        // Either uptime button centres the uptime label on the window's outer width.
        main.Label2->move(0, main.Label2->y());
        d->Option1[1]->click();
        const double centre =
            (main.outerWidthTwips() - twips::fromPixels(main.Label2->width())) / 2.0;
        QCOMPARE(main.Label2->x(), twips::toPixels(centre));
        QCOMPARE(Settings().DspTime, std::int16_t(0)); // the form changes only with OK
        QVERIFY(env.fake.writes.isEmpty());
    }

    // An option button's click runs its handler also when it is already selected.
    void clickOnTheSelectedOptionButton()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nBOMSETTING=7\n"; // no button for it: the first one shows
        Main main;
        QVERIFY(main.Form_Load());
        fmArm::Show();
        fmArm* d = fmArm::instance();
        QVERIFY(d->Option2[0]->isChecked() && d->Option1[0]->isChecked());
        QCOMPARE(Settings().BomSetting, std::int16_t(7));
        QTest::mouseClick(d->Option2[0], Qt::LeftButton);
        main.Label2->move(0, main.Label2->y());
        QTest::mouseClick(d->Option1[0], Qt::LeftButton);
        QVERIFY(main.Label2->x() > 0); // centred again
        d->Command2->click();
        QCOMPARE(Settings().BomSetting, std::int16_t(0)); // the beep alarm, though cancelled
    }

    // A stored alarm longer than two characters shows whole, so OK reports it; typing stays
    // limited to two.
    void longStoredAlarmShowsWhole()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=100\nMIN=5\n";
        Main main;
        QVERIFY(main.Form_Load());
        fmArm::Show();
        fmArm* d = fmArm::instance();
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("100"));
        QTest::keyClick(d->ArmTxt[0], Qt::Key_End);
        QTest::keyClicks(d->ArmTxt[0], QStringLiteral("7"));
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("100"));
        QTest::keyClick(d->ArmTxt[0], Qt::Key_Backspace);
        QTest::keyClicks(d->ArmTxt[0], QStringLiteral("7"));
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("10"));
        QTest::keyClick(d->ArmTxt[0], Qt::Key_Backspace);
        QTest::keyClick(d->ArmTxt[0], Qt::Key_Backspace);
        QTest::keyClicks(d->ArmTxt[0], QStringLiteral("100"));
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("10"));

        d->ArmTxt[0]->setText(QStringLiteral("x")); // only the check box is changed: back to
        d->Command2->click();                       // the stored 100, then OK
        fmArm::Show();
        d = fmArm::instance();
        d->Check3->click();
        d->Command1->click();
        QCOMPARE(int(env.fake.messages.size()), 1); // the range error, and nothing written
        QVERIFY(env.fake.writes.isEmpty());
        QCOMPARE(Settings().ArmHour, QStringLiteral("100"));
    }

    // Enter presses the button that has the focus; there is no default button.
    void enterPressesTheFocusedButton()
    {
        for (int button : {1, 2}) {
            FakeEnvironment env;
            Main main;
            fmArm::Show();
            fmArm* d = fmArm::instance();
            QPushButton* focused = button == 1 ? d->Command1 : d->Command2;
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key_Return);
            QCOMPARE(fmArm::instance(), nullptr);
            QCOMPARE(env.fake.writes.size(), button == 1 ? 7 : 0); // OK saved, Cancel did not
        }
    }

    // The alarm goes off while OK's error message waits; it unloads the dialog, whose OK then
    // must not touch it.
    void unloadedWhileItsMessageWaits()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n";
        env.fake.timeText = QStringLiteral("7:29:59");
        Main main;
        QVERIFY(main.Form_Load());
        main.MnuOptTim->trigger();
        QPointer<fmArm> d = fmArm::instance();
        d->ArmTxt[0]->setText(QStringLiteral("24"));
        env.fake.onMessage = [&] {
            env.fake.onMessage = nullptr;
            env.fake.timeText = QStringLiteral("7:30:00");
            QTimer::singleShot(0, [] { frmFault::instance()->Command2->click(); });
            main.Timer1_Timer();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            fmArm::Load(); // loaded afresh meanwhile, hidden, as the About box does
        };
        d->Command1->click();
        QVERIFY(d.isNull());
        QVERIFY(env.fake.writes.isEmpty());
        QVERIFY(main.isVisible()); // the rest of OK still ran
        QCOMPARE(Settings().ArmFromTray, std::int16_t(0));
        QVERIFY(fmArm::instance() != nullptr); // and left the fresh dialog alone
    }

    void ok_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QByteArray>("written"); // HOUR:MIN as stored, empty when nothing
        QTest::addColumn<bool>("mainShown");
        QTest::newRow("menu, valid") << "menu"
                                     << "7"
                                     << "5" << 0 << QByteArray("7:5") << true;
        QTest::newRow("clock, valid") << "clock"
                                      << "23"
                                      << "59" << 0 << QByteArray("23:59") << true;
        QTest::newRow("tray, valid") << "tray"
                                     << "0"
                                     << "0" << 0 << QByteArray("0:0") << false;
        QTest::newRow("menu, hour 24") << "menu"
                                       << "24"
                                       << "0" << 1 << QByteArray() << true;
        QTest::newRow("tray, minute 60") << "tray"
                                         << "1"
                                         << "60" << 1 << QByteArray() << false;
        QTest::newRow("menu, not a number") << "menu"
                                            << "ab"
                                            << "5" << 1 << QByteArray("00:00") << true;
    }
    void ok()
    {
        QFETCH(QString, opener);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(int, messages);
        QFETCH(QByteArray, written);
        QFETCH(bool, mainShown);
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=6\nMIN=6\nDELLMODE=1\n";
        Main main;
        QVERIFY(main.Form_Load());
        main.show();
        main.Command1->show(); // the alarm-stop button was up
        if (opener == QLatin1String("menu"))
            main.MnuOptTim->trigger();
        else if (opener == QLatin1String("clock"))
            QTest::mouseDClick(main.Label1, Qt::LeftButton);
        else
            main.MnuPopUpTime->trigger();
        QCOMPARE(main.isVisible(), opener == QLatin1String("tray"));
        fmArm* d = fmArm::instance();
        QVERIFY(d != nullptr && d->isVisible());
        if (opener == QLatin1String("tray"))
            main.hide(); // hidden to the tray meanwhile: OK must not bring it back

        d->ArmTxt[0]->setText(hour);
        d->ArmTxt[1]->setText(minute);
        d->Option2[1]->click();
        d->Check1->click(); // sweep off
        d->Check3->click(); // on top
        env.fake.topmost.clear();
        d->Command1->click();

        QCOMPARE(int(env.fake.messages.size()), messages);
        if (messages > 0) {
            QCOMPARE(env.fake.messages[0].text, QStringLiteral("数値が正しくないです！！"));
            QCOMPARE(env.fake.messages[0].caption, QStringLiteral("アラーム設定のエラー"));
        }
        if (written.isEmpty()) {
            QVERIFY(env.fake.writes.isEmpty());
            QCOMPARE(Settings().DellMode, std::int16_t(1)); // the record keeps its switches
        } else {
            QCOMPARE(key(env.fake, "HOUR") + ':' + key(env.fake, "MIN"), written);
            QCOMPARE(key(env.fake, "BOMSETTING"), QByteArray("1"));
            QCOMPARE(key(env.fake, "DELLMODE"), QByteArray("0"));
            QCOMPARE(key(env.fake, "TOPMOST"), QByteArray("1"));
        }
        QCOMPARE(Settings().BomSetting, std::int16_t(1)); // clicked, so in force either way
        QCOMPARE(main.isVisible(), mainShown);
        QCOMPARE(main.Command1->isHidden(), opener != QLatin1String("tray"));
        QCOMPARE(Settings().ArmFromTray, std::int16_t(0));
        // the switches as the record now holds them
        QCOMPARE(main.Timer3->isActive(), written.isEmpty());
        QCOMPARE(env.fake.topmost.size(), size_t(1));
        QCOMPARE(env.fake.topmost[0].window, QPointer<QWidget>(&main));
        QCOMPARE(env.fake.topmost[0].on, !written.isEmpty());
        QCOMPARE(fmArm::instance(), nullptr);
    }

    void cancelAndCloseBoxKeepWhatTheClicksDid()
    {
        for (bool closeBox : {false, true}) {
            FakeEnvironment env;
            env.fake.file = "[Quorvane]\nDELLMODE=1\nBOMSETTING=0\n";
            Main main;
            QVERIFY(main.Form_Load());
            main.MnuOptTim->trigger();
            fmArm* d = fmArm::instance();
            d->Option2[3]->click();
            d->Check1->click();
            d->ArmTxt[0]->setText(QStringLiteral("9"));
            if (closeBox)
                d->close();
            else
                d->Command2->click();
            QCOMPARE(fmArm::instance(), nullptr);
            QVERIFY(env.fake.writes.isEmpty());
            QCOMPARE(Settings().BomSetting, std::int16_t(3));
            QCOMPARE(Settings().DellMode, std::int16_t(1));
            QVERIFY(!main.Timer3->isActive());
            QVERIFY(!main.isVisible()); // stays hidden
            QCOMPARE(Settings().ArmHour, QStringLiteral("00"));
        }
    }

    void reopenWhileOpenKeepsTheInput()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        main.show();
        main.MnuPopUpTime->trigger();
        fmArm* d = fmArm::instance();
        d->ArmTxt[1]->setText(QStringLiteral("45"));
        Settings().ArmHour = QStringLiteral("11"); // a reload would show this
        main.MnuOptTim->trigger();
        QCOMPARE(fmArm::instance(), d);
        QCOMPARE(d->ArmTxt[1]->text(), QStringLiteral("45"));
        QCOMPARE(d->ArmTxt[0]->text(), QStringLiteral("00"));
        QCOMPARE(Settings().ArmFromTray, std::int16_t(0)); // the latest opener's value
        QVERIFY(!main.isVisible());
    }

    void trayCancelThenClockOkKeepsTheWindowHidden()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        main.show();
        main.MnuPopUpTime->trigger();
        fmArm::instance()->Command2->click();
        QCOMPARE(Settings().ArmFromTray, std::int16_t(1));
        QTest::mouseDClick(main.Label1, Qt::LeftButton); // leaves the flag as it is
        QVERIFY(!main.isVisible());
        fmArm::instance()->Command1->click();
        QVERIFY(!main.isVisible());
        QCOMPARE(Settings().ArmFromTray, std::int16_t(0));
    }

    void aboutBoxLoadsItHidden()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nDELLMODE=0\nTOPMOST=1\n";
        Main main;
        QVERIFY(main.Form_Load());
        SetTimerEnabled(main.Timer3, true);
        main.MnuOptVer->trigger();
        fmArm* d = fmArm::instance();
        QVERIFY(d != nullptr && !d->isVisible());
        QVERIFY(!main.Timer3->isActive()); // its load ran the sweep switch's handler
        d->Check2->click();                // state that a reload would lose
        main.MnuPopUpTime->trigger();
        QCOMPARE(fmArm::instance(), d);
        QVERIFY(d->isVisible());
        QVERIFY(d->Check2->isChecked());
    }
};

QTEST_MAIN(TestArmDialog)
#include "tst_arm_dialog.moc"
