#include "about/frmAbout.h"
#include "app/mdShell.h"
#include "main_window/Main.h"
#include "main_window/Tray.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using mdBomb::Settings;

namespace
{

// Captions of a menu's items in order, separators as "-", object names after a '|'.
QStringList items(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text()) + '|' + a->objectName();
    return out;
}

} // namespace

class TestTrayMenus : public QObject
{
    Q_OBJECT
private slots:
    void addTrayIcon()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        QCOMPARE(env.fake.log.filter(QStringLiteral("tray")), (QStringList{"tray:0", "tray:1"}));
        for (const auto& [message, data] : env.fake.trayRequests) {
            QCOMPARE(data.cbSize, 88);
            QCOMPARE(data.hWnd.data(), main.DummyPicture);
            QCOMPARE(data.uID, 1u);
            QCOMPARE(data.uFlags, 7u);
            QCOMPARE(data.uCallbackMessage, 512u);
            QVERIFY(!data.hIcon.isNull());
            QCOMPARE(data.szTip.size(), 64);
            QCOMPARE(data.szTip.section(QChar(0), 0, 0), QStringLiteral("Quorvane"));
            QCOMPARE(data.szTip.mid(9).trimmed(), QString());
        }
        // The orderly exit removes the icon with the same record.
        mdShell::ExitApplication();
        QCOMPARE(env.fake.trayRequests.back().first, NotifyIconMessage::Delete);
        QCOMPARE(env.fake.trayRequests.back().second.hWnd.data(), main.DummyPicture);
    }

    void noTrayEndsBeforeTheWindowIsShown()
    {
        FakeEnvironment env;
        env.fake.trayAvailable = false;
        env.fake.file = "[Quorvane]\nTop=10\nDELLMODE=1\n";
        Main main;
        bool ticking = true;
        env.fake.onMessage = [&] { ticking = main.Timer1->isActive() || main.Timer3->isActive(); };
        QVERIFY(!main.Form_Load());
        QVERIFY(!ticking); // nothing runs behind the warning
        QCOMPARE(env.fake.log, (QStringList{"tray:0", "message", "tray:2", "end"}));
        QCOMPARE(env.fake.messages[0].text, QStringLiteral("時限爆弾の起動に失敗しました"));
        QCOMPARE(env.fake.messages[0].caption, QStringLiteral("警告"));
        QCOMPARE(env.fake.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(!main.isVisible());
        QVERIFY(env.fake.writes.isEmpty());
    }

    void trayMessages_data()
    {
        QTest::addColumn<int>("message");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("left double-click") << 0x203 << true << QStringList{};
        QTest::newRow("right release") << 0x205 << false << QStringList{"foreground", "popup"};
        QTest::newRow("move") << 0x200 << false << QStringList{};
        QTest::newRow("left press") << 0x201 << false << QStringList{};
        QTest::newRow("left release") << 0x202 << false << QStringList{};
        QTest::newRow("right press") << 0x204 << false << QStringList{};
        QTest::newRow("right double-click") << 0x206 << false << QStringList{};
        QTest::newRow("middle press") << 0x207 << false << QStringList{};
    }
    void trayMessages()
    {
        QFETCH(int, message);
        QFETCH(bool, shown);
        QFETCH(QStringList, log);
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        env.fake.log.clear();
        QMenu* popped = nullptr;
        env.fake.onPopUp = [&](QMenu* m) { popped = m; };
        env.fake.trayMessage(message);
        QCOMPARE(main.isVisible(), shown);
        QCOMPARE(env.fake.log, log);
        if (!log.isEmpty()) {
            QCOMPARE(popped, main.MnuPopUp);
            QCOMPARE(env.fake.foregrounds.at(0).data(), main.DummyPicture);
        }
        // A double-click on a window that is up changes nothing.
        if (shown) {
            env.fake.trayMessage(message);
            QVERIFY(main.isVisible());
        }
    }

    void trayMessageIsTheXPositionInPixels_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<bool>("shown");
        QTest::newRow("exact") << 7725.0f << true;
        QTest::newRow("remainder dropped") << 7739.0f << true;
        QTest::newRow("next pixel") << 7740.0f << false;
        QTest::newRow("half rounds to even, down") << 7724.5f << false;
        QTest::newRow("half rounds to even, up") << 7723.5f << false; // 7724 -> 514
        QTest::newRow("above half") << 7724.6f << true;
    }
    void trayMessageIsTheXPositionInPixels()
    {
        QFETCH(float, x);
        QFETCH(bool, shown);
        FakeEnvironment env;
        Main main;
        main.DummyPicture_MouseMove(0, 0, x, 0);
        QCOMPARE(main.isVisible(), shown);
    }

    void menus()
    {
        FakeEnvironment env;
        Main main;
        const QList<QAction*> bar = main.menuBar()->actions();
        QCOMPARE(bar.size(), 2); // the pop-up menu is never on the bar
        QCOMPARE(bar[0]->menu(), main.MnuForm);
        QCOMPARE(bar[1]->menu(), main.MnuOpt);
        QCOMPARE(main.MnuForm->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(main.MnuOpt->title(), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
        QCOMPARE(items(main.MnuForm), (QStringList{"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)|MnuFormFin", "-|MnuFormBer",
                                                   "ﾀｽｸﾄﾚｲに入れる|MnuFormMin"}));
        QCOMPARE(items(main.MnuOpt), (QStringList{"各種設定|MnuOptTim", "ﾊﾞｰｼﾞｮﾝ情報|MnuOptVer"}));
        QCOMPARE(items(main.MnuPopUp),
                 (QStringList{"基本画面の表示|MnuPopUpDsp", "設定画面の表示|MnuPopUpTime",
                              "｢最近使ったﾌｧｲﾙ｣削除|MnuPopUpDel", "-|MnuPopUpBer1",
                              "ﾊﾞｰｼﾞｮﾝ情報|MnuPopUpVer", "-|MnuPopUpBer2",
                              "ｱﾌﾟﾘｹｰｼｮﾝの終了|MnuPopUpEnd"}));
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("startShown");
        QTest::addColumn<bool>("shown");      // Main afterwards
        QTest::addColumn<QString>("dialog");  // "settings", "about" or ""
        QTest::addColumn<int>("armFromTray"); // -1: untouched (it starts at 5)
        QTest::addColumn<QStringList>("log"); // what reached the platform
        QTest::newRow("exit") << "MnuFormFin" << true << true << "" << -1
                              << QStringList{"write", "write", "write", "tray:2", "end"};
        QTest::newRow("to the tray") << "MnuFormMin" << true << false << "" << -1 << QStringList{};
        QTest::newRow("settings") << "MnuOptTim" << true << false << "settings" << 0
                                  << QStringList{};
        QTest::newRow("version") << "MnuOptVer" << true << false << "about" << -1 << QStringList{};
        QTest::newRow("show") << "MnuPopUpDsp" << false << true << "" << -1 << QStringList{};
        QTest::newRow("settings from tray, shown")
            << "MnuPopUpTime" << true << true << "settings" << 1 << QStringList{};
        QTest::newRow("settings from tray, hidden")
            << "MnuPopUpTime" << false << false << "settings" << 1 << QStringList{};
        QTest::newRow("purge") << "MnuPopUpDel" << true << true << "" << -1 << QStringList{"purge"};
        QTest::newRow("exit from tray") << "MnuPopUpEnd" << false << false << "" << -1
                                        << QStringList{"write", "write", "write", "tray:2", "end"};
    }
    void menuItems()
    {
        QFETCH(QString, item);
        QFETCH(bool, startShown);
        QFETCH(bool, shown);
        QFETCH(QString, dialog);
        QFETCH(int, armFromTray);
        QFETCH(QStringList, log);
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        main.setVisible(startShown);
        Settings().ArmFromTray = 5;
        env.fake.log.clear();
        main.findChild<QAction*>(item)->trigger();
        QCOMPARE(main.isVisible(), shown);
        QCOMPARE(fmArm::instance() != nullptr && fmArm::instance()->isVisible(),
                 dialog == QLatin1String("settings"));
        QCOMPARE(frmAbout::instance() != nullptr, dialog == QLatin1String("about"));
        QCOMPARE(Settings().ArmFromTray, std::int16_t(armFromTray < 0 ? 5 : armFromTray));
        QCOMPARE(env.fake.log, log);
    }

    void versionFromTheBarRecordsThePosition()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        main.show();
        main.move(40, 60);
        main.MnuOptVer->trigger();
        QCOMPARE(mdShell::Position().SavedLeft, 600);
        QCOMPARE(mdShell::Position().SavedTop, 900);
        QVERIFY(!frmAbout::instance()->isModal());
        frmAbout::instance()->cmdOK->click();
        QCOMPARE(frmAbout::instance(), nullptr);
        QVERIFY(!main.isVisible()); // closing the box never brings the window back
    }

    void versionFromTheTrayWaits()
    {
        FakeEnvironment env;
        Main main;
        QVERIFY(main.Form_Load());
        main.show();
        main.move(40, 60);
        bool wasModal = false;
        // chosen from the pop-up menu that a right release opened
        env.fake.onPopUp = [&](QMenu*) {
            QTimer::singleShot(0, [&] {
                frmAbout* box = frmAbout::instance();
                QVERIFY(box != nullptr);
                wasModal = box->isModal() && QApplication::activeModalWidget() == box;
                box->reject();
            });
            main.MnuPopUpVer->trigger();
        };
        env.fake.trayMessage(0x205);
        QVERIFY(wasModal);
        QCOMPARE(frmAbout::instance(), nullptr);
        QVERIFY(main.isVisible());
        QCOMPARE(mdShell::Position().SavedLeft, 0); // nothing recorded
    }
};

QTEST_MAIN(TestTrayMenus)
#include "tst_tray_menus.moc"
