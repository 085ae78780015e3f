#include "about/MakerInfo.h"
#include "about/frmAbout.h"
#include "app/mdShell.h"
#include "main_window/Main.h"
#include "platform/Twips.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void versionText_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<QString>("text");
        QTest::newRow("this release") << QList<int>{0, 2, 3} << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.23");
        QTest::newRow("no separator before the revision")
            << QList<int>{1, 10, 12} << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.1012");
        QTest::newRow("no leading zeros") << QList<int>{0, 0, 0} << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.00");
    }
    void versionText()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(QString, text);
        QCOMPARE(VersionText(numbers[0], numbers[1], numbers[2]), text);
    }

    void texts()
    {
        FakeEnvironment env;
        Main main;
        frmAbout::ShowModeless();
        frmAbout* box = frmAbout::instance();
        QVERIFY(box != nullptr && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("Quorvaneのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box->lblTitle->text(), QStringLiteral("Quorvane"));
        QCOMPARE(box->lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.23"));
        QVERIFY(box->lblVersion->width() >= box->lblVersion->sizeHint().width()); // readable
        QCOMPARE(box->Label2->text(), QString::fromUtf8(maker::BrandLabel));
        QCOMPARE(box->Label4->text(), QString::fromUtf8(maker::Author));
        QCOMPARE(box->HPaddress->text(), QString::fromUtf8(maker::HomePageShown));
        QCOMPARE(box->Mailaddress->text(), QString::fromUtf8(maker::MailAddress));
        QVERIFY(!box->Image1->pixmap().isNull());
        QCOMPARE(box->size(), QSize(3480, 2160) / twips::perPixel);
        QCOMPARE(box->windowType(), Qt::Tool);
        QVERIFY(box->cmdOK->isDefault());
        QCOMPARE(box->cmdOK->text(), QStringLiteral("OK"));
        for (const QLabel* link :
             {static_cast<QLabel*>(box->HPaddress), static_cast<QLabel*>(box->Mailaddress)}) {
            QVERIFY(link->font().underline());
            QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(link->cursor().shape(), Qt::UpArrowCursor);
            QVERIFY(link->geometry().right() < box->width()); // the whole address is seen
        }
        // the etched separator: white drawn over grey, one pixel lower
        QCOMPARE(box->Line1[1]->y() + 1, box->Line1[0]->y());
        QCOMPARE(box->Line1[1]->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(box->Line1[0]->palette().color(QPalette::Window), QColor(255, 255, 255));
    }

    void placement_data()
    {
        QTest::addColumn<int>("savedLeft");
        QTest::addColumn<int>("savedTop");
        // pixels; screen 1024 x 768, box 238 x 169 with the design frame (it is not framed yet)
        QTest::addColumn<QPoint>("at");
        QTest::newRow("nothing remembered: the corner") << 0 << 0 << QPoint(0, 0);
        QTest::newRow("remembered") << 1500 << 3000 << QPoint(100, 200);
        QTest::newRow("negative") << -300 << -15 << QPoint(0, 0);
        QTest::newRow("exactly at the far edges")
            << 15 * (1024 - 238) << 15 * (768 - 169) << QPoint(1024 - 238, 768 - 169);
        QTest::newRow("past the far edges")
            << 15 * 1000 << 15 * 760 << QPoint(1024 - 238, 768 - 169);
        QTest::newRow("far past") << 2147483647 << 2147483647 << QPoint(1024 - 238, 768 - 169);
    }
    void placement()
    {
        QFETCH(int, savedLeft);
        QFETCH(int, savedTop);
        QFETCH(QPoint, at);
        FakeEnvironment env;
        Main main;
        mdShell::Position().SavedLeft = savedLeft;
        mdShell::Position().SavedTop = savedTop;
        frmAbout::ShowModeless();
        frmAbout* box = frmAbout::instance();
        QCOMPARE(box->pos(), at);
    }

    void topmostFollowsTheSettingsCheckBox_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("dialog"); // 0 not loaded, 1 open with Check3 clicked
        QTest::addColumn<bool>("onTop");
        QTest::newRow("setting on") << QByteArray("[Quorvane]\nTOPMOST=1\n") << 0 << true;
        QTest::newRow("setting off") << QByteArray("[Quorvane]\nTOPMOST=0\n") << 0 << false;
        QTest::newRow("setting 2") << QByteArray("[Quorvane]\nTOPMOST=2\n") << 0 << false;
        QTest::newRow("ticked in the open dialog, unsaved")
            << QByteArray("[Quorvane]\nTOPMOST=0\n") << 1 << true;
        QTest::newRow("cleared in the open dialog, unsaved")
            << QByteArray("[Quorvane]\nTOPMOST=1\n") << 1 << false;
    }
    void topmostFollowsTheSettingsCheckBox()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, dialog);
        QFETCH(bool, onTop);
        FakeEnvironment env;
        env.fake.file = file;
        Main main;
        mdBomb::LoadSettings();
        if (dialog == 1) {
            fmArm::Show();
            fmArm::instance()->Check3->click();
        }
        frmAbout::ShowModeless();
        QVERIFY(fmArm::instance() != nullptr); // loaded (hidden) to be read
        QCOMPARE(fmArm::instance()->isVisible(), dialog == 1);
        std::vector<bool> calls;
        for (const auto& t : env.fake.topmost) {
            if (t.window == frmAbout::instance())
                calls.push_back(t.on);
        }
        QCOMPARE(calls, onTop ? std::vector<bool>{true} : std::vector<bool>{});
    }

    void links()
    {
        FakeEnvironment env;
        Main main;
        frmAbout::ShowModeless();
        frmAbout* box = frmAbout::instance();
        box->HPaddress->setText(QStringLiteral("somewhere else")); // the captions are not read
        QTest::mouseClick(box->HPaddress, Qt::LeftButton);
        QTest::mouseClick(box->Mailaddress, Qt::LeftButton);
        QTest::mouseClick(box->Mailaddress, Qt::RightButton); // not a click on the link
        const std::vector<QUrl> expected{
            QUrl(QString::fromUtf8(maker::HomePage)),
            QUrl(QStringLiteral("mailto:") + QString::fromUtf8(maker::MailAddress))};
        QCOMPARE(env.fake.urls, expected);
        QVERIFY(expected[0].toString().startsWith(QString::fromUtf8(maker::HomePageShown)));
        QVERIFY(expected[0].toString() != QString::fromUtf8(maker::HomePageShown));
        QCOMPARE(frmAbout::instance(), box); // links leave it open
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "ok";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("close box") << "close";
    }
    void closes()
    {
        QFETCH(QString, how);
        FakeEnvironment env;
        Main main;
        frmAbout::ShowModeless();
        QPointer<frmAbout> box = frmAbout::instance();
        if (how == QLatin1String("ok"))
            box->cmdOK->click();
        else if (how == QLatin1String("enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else if (how == QLatin1String("esc"))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
        QCOMPARE(frmAbout::instance(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box.isNull()); // unloaded: the next opening loads afresh
        QVERIFY(!main.isVisible());
    }

    void requestedWhileOpen()
    {
        FakeEnvironment env;
        Main main;
        frmAbout::ShowModeless();
        frmAbout* box = frmAbout::instance();
        box->move(5, 5);
        mdShell::Position().SavedLeft = 3000; // a fresh load would move it
        frmAbout::ShowModeless();
        frmAbout::ShowModal(); // returns at once rather than waiting on the open one
        QCOMPARE(frmAbout::instance(), box);
        QCOMPARE(box->pos(), QPoint(5, 5));
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget* w) { return qobject_cast<frmAbout*>(w) != nullptr; }),
                 1);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
