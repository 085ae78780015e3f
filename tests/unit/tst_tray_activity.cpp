#include "platform/SystemTray.h"

#include <QTest>

using Reason = QSystemTrayIcon::ActivationReason;

namespace
{

struct Step {
    Reason reason;
    Qt::MouseButtons held;
    qint64 at; // ms
};

} // namespace

class TestTrayActivity : public QObject
{
    Q_OBJECT
private slots:
    // Sequences as Qt reports them, and the tray messages they become (double-click time 400 ms).
    void sequences_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<bool>("release"); // a right release follows
        QTest::addColumn<QList<int>>("messages");
        const Qt::MouseButtons none = Qt::NoButton;
        QTest::newRow("XEmbed double-click: press, press, double-click")
            << QList<Step>{{Reason::Trigger, Qt::LeftButton, 0},
                           {Reason::Trigger, Qt::LeftButton, 100},
                           {Reason::DoubleClick, Qt::LeftButton, 100}}
            << false << QList<int>{0x201, 0x201, 0x203};
        QTest::newRow("XEmbed right click: the menu waits for the release")
            << QList<Step>{{Reason::Context, Qt::RightButton, 0}} << true
            << QList<int>{0x204, 0x205};
        QTest::newRow("XEmbed right press still held")
            << QList<Step>{{Reason::Context, Qt::RightButton, 0}} << false << QList<int>{0x204};
        QTest::newRow("XEmbed middle press")
            << QList<Step>{{Reason::MiddleClick, Qt::MiddleButton, 0}} << false
            << QList<int>{0x207};
        QTest::newRow("D-Bus single activation")
            << QList<Step>{{Reason::Trigger, none, 0}} << false << QList<int>{0x201};
        QTest::newRow("D-Bus two activations in time")
            << QList<Step>{{Reason::Trigger, none, 0}, {Reason::Trigger, none, 400}} << false
            << QList<int>{0x201, 0x203};
        QTest::newRow("D-Bus two activations too far apart")
            << QList<Step>{{Reason::Trigger, none, 0}, {Reason::Trigger, none, 401}} << false
            << QList<int>{0x201, 0x201};
        QTest::newRow("D-Bus three activations: one double-click, then a new first")
            << QList<Step>{{Reason::Trigger, none, 0},
                           {Reason::Trigger, none, 100},
                           {Reason::Trigger, none, 200}}
            << false << QList<int>{0x201, 0x203, 0x201};
        QTest::newRow("D-Bus context menu request is already a release")
            << QList<Step>{{Reason::Context, none, 0}} << true << QList<int>{0x205};
        QTest::newRow("unknown") << QList<Step>{{Reason::Unknown, none, 0}} << false
                                 << QList<int>{0x200};
    }
    void sequences()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(bool, release);
        QFETCH(QList<int>, messages);
        TrayActivity activity;
        QList<int> out;
        for (const Step& s : steps) {
            for (int m : activity.activated(s.reason, s.held, s.at, 400))
                out << m;
        }
        if (release) {
            for (int m : activity.rightReleased())
                out << m;
            QVERIFY(!activity.awaitingRightRelease());
        }
        QCOMPARE(out, messages);
    }

    // A second right click soon after the first reaches Qt only as a double-click, with no
    // press; its release still opens the menu, and a stray release does nothing.
    void rightDoubleClick()
    {
        TrayActivity activity;
        QList<int> out;
        for (const std::vector<int>& ms :
             {activity.activated(Reason::Context, Qt::RightButton, 0, 400),
              activity.rightReleased(), activity.rightDoubleClicked(), activity.rightReleased(),
              activity.rightReleased()}) {
            for (int m : ms)
                out << m;
        }
        QCOMPARE(out, (QList<int>{0x204, 0x205, 0x206, 0x205}));
    }
};

QTEST_MAIN(TestTrayActivity)
#include "tst_tray_activity.moc"
