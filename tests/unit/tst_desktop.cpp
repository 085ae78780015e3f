// The desktop's parts: tray activations and the events they become, the bell and its sound
// library, and the application font that draws Japanese without a fallback search.
#include "desktop/Fonts.h"
#include "desktop/SystemTray.h"
#include "system/Beeper.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

namespace
{
bool mapped(const char* library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    // Activations as Qt reports them, and the tray events they become (double-click time
    // 400 ms). A step is the reason (Trigger, Context, MiddleClick, DoubleClick, Unknown), the
    // button held (left, right, middle, none) and the time in ms; "^" is a right release, "R" a
    // right double-click (a second right click soon after the first reaches Qt only as that, with
    // no press).
    void traySequences()
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
        QVERIFY(!tray.add(QIcon(), QStringLiteral("Quorvane"), nullptr, [](TrayEvent) {}));
    }

    // The sound library is opened when the bell is made ready or first sounds, not at start-up,
    // and offers every function the bell uses (a misspelt name would silence the program for
    // good). With no sound server every bell is the desktop's own, also when the first one is
    // asked for while the bell is being made ready in the background.
    void bell()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/pulse");
        {
            Beeper beeper([] {}); // made and destroyed without a bell
        }
        QVERIFY(!mapped("libcanberra.so"));
        int fallbacks = 0;
        {
            Beeper beeper([&fallbacks] { ++fallbacks; });
            beeper.prepare();
            beeper.beep();
            beeper.beep();
        }
        QCOMPARE(fallbacks, 2);
        QVERIFY(Beeper::soundLibraryLoads());
    }

    // The application font draws Japanese without a fallback search: the desktop's installed, named
    // families stay first; generic and uninstalled names go; one installed family that writes
    // Japanese follows.
    void applicationFontWritesJapanese()
    {
        const std::pair<QStringList, QStringList> rows[] = {
            {{"Sans Serif"}, {}}, // a generic name
            {{"No Such Face", "monospace", "DejaVu Sans"}, {"DejaVu Sans"}}};
        for (const auto& [desktop, kept] : rows) {
            const QFont saved = QGuiApplication::font();
            QFont font = saved;
            font.setFamilies(desktop);
            QGuiApplication::setFont(font);
            fonts::useJapaneseFallback();
            fonts::useJapaneseFallback(); // twice: nothing added again
            const QStringList families = QGuiApplication::font().families();
            QGuiApplication::setFont(saved);
            QCOMPARE(families.mid(0, kept.size()), kept);
            QCOMPARE(families.size(), kept.size() + 1);
            QVERIFY(
                QFontDatabase::writingSystems(families.last()).contains(QFontDatabase::Japanese));
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
