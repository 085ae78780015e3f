#include "platform/desktop/SystemTray.h"

#include <QTest>

class TestTrayActivity : public QObject
{
    Q_OBJECT
private slots:
    // Activations as Qt reports them, and the tray events they become (double-click time
    // 400 ms). A step is the reason (Trigger, Context, MiddleClick, DoubleClick, Unknown), the
    // button held (left, right, middle, none) and the time in ms; "^" is a right release, "R" a
    // right double-click (a second right click soon after the first reaches Qt only as that, with
    // no press).
    void sequences()
    {
        const char* const rows[][3] = {
            {"XEmbed double-click: press, press, double-click", "Tl0 Tl100 Dl100", "- - double"},
            {"XEmbed right click: the menu waits for the release", "Cr0 ^", "- menu"},
            {"XEmbed right press still held", "Cr0", "-"},
            {"XEmbed middle press", "Mm0", "-"},
            {"D-Bus two activations in time", "T-0 T-400", "- double"},
            {"D-Bus two activations too far apart", "T-0 T-401", "- -"},
            {"D-Bus four activations: two double-clicks", "T-0 T-100 T-200 T-300",
             "- double - double"},
            {"D-Bus context menu request is already a release", "C-0 ^", "menu -"},
            {"unknown", "U-0", "-"},
            {"XEmbed right double-click: its release opens the menu, a stray one nothing",
             "Cr0 ^ R ^ ^", "- menu - menu -"}};
        using Reason = QSystemTrayIcon::ActivationReason;
        const QHash<QChar, Reason> reasons{{'T', Reason::Trigger},
                                           {'C', Reason::Context},
                                           {'M', Reason::MiddleClick},
                                           {'D', Reason::DoubleClick},
                                           {'U', Reason::Unknown}};
        const QHash<QChar, Qt::MouseButtons> held{
            {'l', Qt::LeftButton}, {'r', Qt::RightButton}, {'m', Qt::MiddleButton}, {'-', {}}};
        for (const auto& [name, steps, events] : rows) {
            TrayActivity activity;
            QStringList out;
            for (const QString& s : QString::fromLatin1(steps).split(' ')) {
                const std::optional<TrayEvent> made =
                    s == "^" ? activity.rightReleased()
                    : s == "R"
                        ? (activity.rightDoubleClicked(), std::nullopt)
                        : activity.activated(reasons[s[0]], held[s[1]], s.mid(2).toLongLong(), 400);
                out << (!made ? "-" : made == TrayEvent::DoubleClick ? "double" : "menu");
            }
            QVERIFY2(out.join(' ') == QLatin1String(events),
                     qPrintable(QLatin1String(name) + ": " + out.join(' ')));
        }
    }

    // Where no tray is available (as on this offscreen platform) no icon is added, which makes
    // the program warn and end.
    void noTrayNoIcon()
    {
        SystemTray tray;
        QVERIFY(!tray.add(QIcon(), QStringLiteral("Quorvane"), [](TrayEvent) {}));
    }
};

QTEST_MAIN(TestTrayActivity)
#include "tst_tray_activity.moc"
