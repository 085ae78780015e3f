// What the scenarios cannot say in a line: a long uptime kept in the window, tool windows without
// an icon, the tab order, every control in sight, and the settings dialog unloaded while its own
// message box waits.
#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/MainWindow.h"
#include "forms/SettingsDialog.h"
#include "resources/Icons.h"
#include "rules/Settings.h"
#include "support/Controls.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestForms : public QObject
{
    Q_OBJECT
private slots:
    void longUptimeStaysInTheWindow()
    {
        FakeEnvironment env;
        MainWindow main(env.state);
        QVERIFY(main.startUp());
        main.show();
        const int designed = control<QLabel>(&main, "Label2")->x();
        env.fake.ticks = 1000u * (100 * 3600 + 17 * 60 + 19); // 100時間17分19秒経過
        fire(&main, "Timer1");
        QCOMPARE(control<QLabel>(&main, "Label2")->geometry().right(), main.width() - 1);
        env.fake.ticks = 1000u * 61; // short again: back at its place
        fire(&main, "Timer1");
        QCOMPARE(control<QLabel>(&main, "Label2")->x(), designed);
    }

    // The settings dialog and the About box are tool windows without the program's bomb.
    void toolWindowsHaveNoIcon()
    {
        FakeEnvironment env;
        QApplication::setWindowIcon(icons::bomb()); // as the program sets it for its windows
        MainWindow main(env.state);
        SettingsDialog::open(env.state);
        AboutBox::openModeless(env.state);
        QVERIFY(!main.windowIcon().pixmap(16).isNull());
        QVERIFY(env.state.settingsDialog->windowIcon().pixmap(16).isNull());
        QVERIFY(env.state.aboutBox->windowIcon().pixmap(16).isNull());
    }

    // OK first, then Cancel, then the minute box before the hour box.
    void settingsTabOrder()
    {
        FakeEnvironment env;
        MainWindow main(env.state);
        SettingsDialog::open(env.state);
        SettingsDialog* d = env.state.settingsDialog.data();
        QStringList chain;
        QWidget* w = d->focusWidget();
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != d->focusWidget());
        QCOMPARE(chain.join(' '), "Command1 Command2 ArmTxt1 ArmTxt0 Option1_0 Option1_1 Option2_0 "
                                  "Option2_1 Option2_2 Option2_3 Check1 Check2 Check3");
    }

    // Every control lies within its window and shows its whole caption, in every window and at
    // the heights where controls must be seen: the alarm-stop button at 2580 twips, the details
    // pane at 4185.
    void everythingInSight()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=1\nEASYMODE=1\n";
        MainWindow main(env.state);
        QVERIFY(main.startUp());
        main.setOuterHeightTwips(2580);
        SettingsDialog::open(env.state);
        AboutBox::openModeless(env.state);
        QStringList outOfSight;
        auto check = [&](QWidget* window) {
            for (QWidget* w : window->findChildren<QWidget*>()) {
                const bool isControl = w->inherits("QAbstractButton") || w->inherits("QLabel") ||
                                       w->inherits("QLineEdit") || w->inherits("QPlainTextEdit");
                if (!isControl || (w->isHidden() && w != control<QPushButton>(&main, "Command1")))
                    continue;
                const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
                // a push button's caption is centred in it; a check box's or option button's
                // follows its mark
                int needed = 0;
                if (auto* push = qobject_cast<QPushButton*>(w))
                    needed = push->fontMetrics().horizontalAdvance(push->text().remove('&'));
                else if (auto* button = qobject_cast<QAbstractButton*>(w))
                    needed = button->sizeHint().width();
                if (!window->rect().contains(inWindow) || needed > w->width())
                    outOfSight << window->objectName() + '.' + w->objectName();
            }
        };
        for (QWidget* window :
             {static_cast<QWidget*>(&main), static_cast<QWidget*>(env.state.settingsDialog.data()),
              static_cast<QWidget*>(env.state.aboutBox.data())})
            check(window);
        QTimer::singleShot(0, [&] {
            FaultDialog* fault = env.state.faultDialog.data();
            control<QPushButton>(fault, "Command3")->click();
            check(fault);
            fault->reject();
        });
        env.fake.setTime(QStringLiteral("7:30:00"));
        fire(&main, "Timer1");
        QVERIFY2(outOfSight.isEmpty(), qPrintable(outOfSight.join(QLatin1Char(' '))));
    }

    // The alarm goes off while OK's error message waits; it unloads the dialog, whose OK then
    // must touch neither it nor a dialog loaded afresh meanwhile.
    void unloadedWhileItsMessageWaits()
    {
        FakeEnvironment env;
        env.fake.file = "[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n";
        env.fake.setTime(QStringLiteral("7:29:59"));
        MainWindow main(env.state);
        QVERIFY(main.startUp());
        main.findChild<QAction*>(QStringLiteral("MnuOptTim"))->trigger();
        QPointer<SettingsDialog> d = env.state.settingsDialog.data();
        control<QLineEdit>(d, "ArmTxt0")->setText(QStringLiteral("24"));
        env.fake.onMessage = [&] {
            env.fake.onMessage = nullptr;
            env.fake.setTime(QStringLiteral("7:30:00"));
            QTimer::singleShot(0, [&env] {
                control<QPushButton>(env.state.faultDialog.data(), "Command2")->click();
            });
            fire(&main, "Timer1");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            SettingsDialog::load(env.state); // as the About box does
        };
        control<QPushButton>(d, "Command1")->click();
        QVERIFY(d.isNull());
        QVERIFY(main.isVisible()); // the rest of OK still ran
        QVERIFY(env.state.settingsDialog.data() != nullptr);
        QCOMPARE(env.state.settings.openedFromTray, std::int16_t(0));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
