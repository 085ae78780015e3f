#include "platform/SystemTray.h"

#include <QTest>

class TestTrayActivity : public QObject
{
    Q_OBJECT
private slots:
    // Activations as Qt reports them, and the tray messages they become (double-click time
    // 400 ms). A step is the reason (Trigger, Context, MiddleClick, DoubleClick, Unknown), the
    // button held (left, right, middle, none) and the time in ms; "^" is a right release.
    void sequences_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("messages");
        QTest::newRow("XEmbed double-click: press, press, double-click") << "Tl0 Tl100 Dl100"
                                                                         << "201 201 203";
        QTest::newRow("XEmbed right click: the menu waits for the release") << "Cr0 ^"
                                                                            << "204 205";
        QTest::newRow("XEmbed right press still held") << "Cr0"
                                                       << "204";
        QTest::newRow("XEmbed middle press") << "Mm0"
                                             << "207";
        QTest::newRow("D-Bus two activations in time") << "T-0 T-400"
                                                       << "201 203";
        QTest::newRow("D-Bus two activations too far apart") << "T-0 T-401"
                                                             << "201 201";
        QTest::newRow("D-Bus three activations: one double-click, then a new first")
            << "T-0 T-100 T-200"
            << "201 203 201";
        QTest::newRow("D-Bus context menu request is already a release") << "C-0 ^"
                                                                         << "205";
        QTest::newRow("unknown") << "U-0"
                                 << "200";
    }
    void sequences()
    {
        QFETCH(QString, steps);
        QFETCH(QString, messages);
        using Reason = QSystemTrayIcon::ActivationReason;
        const QHash<QChar, Reason> reasons{{'T', Reason::Trigger},
                                           {'C', Reason::Context},
                                           {'M', Reason::MiddleClick},
                                           {'D', Reason::DoubleClick},
                                           {'U', Reason::Unknown}};
        const QHash<QChar, Qt::MouseButtons> held{
            {'l', Qt::LeftButton}, {'r', Qt::RightButton}, {'m', Qt::MiddleButton}, {'-', {}}};
        TrayActivity activity;
        QStringList out;
        for (const QString& s : steps.split(' ')) {
            const std::vector<int> made = s == "^" ? activity.rightReleased()
                                                   : activity.activated(reasons[s[0]], held[s[1]],
                                                                        s.mid(2).toLongLong(), 400);
            for (int m : made)
                out << QString::number(m, 16);
        }
        QVERIFY(!activity.awaitingRightRelease() || !steps.endsWith('^'));
        QCOMPARE(out.join(' '), messages);
    }

    // A second right click soon after the first reaches Qt only as a double-click, with no
    // press; its release still opens the menu, and a stray release does nothing.
    void rightDoubleClick()
    {
        TrayActivity activity;
        QList<int> out;
        for (const std::vector<int>& ms :
             {activity.activated(QSystemTrayIcon::Context, Qt::RightButton, 0, 400),
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
