// The system's D-Bus services as the program uses them: exit requests against mocked session
// managers and a mocked login manager, and the clock's changes (a mocked time-date service, the
// kernel's clock-set notice). CTest runs this under its own bus (dbus-run-session), which stands
// in for both the session and the system bus.
#include "seams/Log.h"
#include "system/ClockWatch.h"
#include "system/ExitRequester.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <memory>

namespace
{

// The desktops' session managers: bus name, object path, interface, methods (name:signature).
const char* const kKde[] = {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown",
                            "logout: logoutAndShutdown: logoutAndReboot:"};
const char* const kOldKde[] = {"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface",
                               "logout:iii"};
const char* const kXfce[] = {"org.xfce.SessionManager", "/org/xfce/SessionManager",
                             "org.xfce.Session.Manager", "Logout:bb Restart:b Shutdown:b"};
const char* const kLxqt[] = {"org.lxqt.session", "/LXQtSession", "org.lxqt.session",
                             "logout: reboot: powerOff:"};
const char* const kGnome[] = {"org.gnome.SessionManager", "/org/gnome/SessionManager",
                              "org.gnome.SessionManager", "Logout:u"};
const char* const kTimedate[] = {"org.freedesktop.timedate1", "/org/freedesktop/timedate1",
                                 "org.freedesktop.timedate1", ""};
const char* const kLogind[] = {"org.freedesktop.login1", "/org/freedesktop/login1",
                               "org.freedesktop.login1.Manager", ""};

using enum ExitKind; // LogOff, Shutdown (power off), Reboot

// What each route must make: the session manager's call, or logind's where none answers for it.
const struct {
    const char* name;
    const char* const* manager;
    ExitKind kind;
    const char* call;
    bool toLogind;
} kRoutes[] = {
    {"KDE log off", kKde, LogOff, "logout", false},
    {"KDE power off", kKde, Shutdown, "logoutAndShutdown", false},
    {"KDE restart", kKde, Reboot, "logoutAndReboot", false},
    {"old KDE log off", kOldKde, LogOff, "logout 0 0 -1", false},
    {"old KDE restart", kOldKde, Reboot, "logout 0 1 -1", false},
    {"old KDE power off", kOldKde, Shutdown, "logout 0 2 -1", false},
    {"Xfce log off", kXfce, LogOff, "Logout False True", false},
    {"Xfce restart", kXfce, Reboot, "Restart True", false},
    {"Xfce power off", kXfce, Shutdown, "Shutdown True", false},
    {"LXQt log off", kLxqt, LogOff, "logout", false},
    {"LXQt power off", kLxqt, Shutdown, "powerOff", false},
    {"GNOME log off", kGnome, LogOff, "Logout 1", false},
    {"GNOME restart goes to logind", kGnome, Reboot, "Reboot True", true},
    {"logind power off", nullptr, Shutdown, "PowerOff True", true},
    {"logind restart", nullptr, Reboot, "Reboot True", true},
    {"logind log off ends the own session", nullptr, LogOff, "Terminate", true},
};

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

// A python3-dbusmock service (`what`: bus name, path, interface, methods), or with `args` a
// template, that logs its calls; it ends with the object.
struct Mock {
    Mock(const char* const* what, const QString& log, QStringList args = {}) : what(what), log(log)
    {
        if (args.isEmpty())
            args =
                QStringList{QLatin1String(what[0]), QLatin1String(what[1]), QLatin1String(what[2])};
        process.start(QStringLiteral("/usr/bin/python3"),
                      QStringList{"-m", "dbusmock", "--session", "-l", log} + args);
        QTRY_VERIFY2_WITH_TIMEOUT(bus().interface()->isServiceRegistered(what[0]), what[0], 5000);
        for (const QString& m : QString::fromLatin1(what[3]).split(' ', Qt::SkipEmptyParts))
            tell("AddMethod", {QLatin1String(what[2]), m.section(':', 0, 0), m.section(':', 1),
                               QString(), QString()});
    }
    ~Mock()
    {
        process.kill();
        process.waitForFinished();
    }
    bool tell(const char* method, const QVariantList& args)
    {
        QDBusMessage m =
            QDBusMessage::createMethodCall(what[0], what[1], "org.freedesktop.DBus.Mock", method);
        m.setArguments(args);
        return bus().call(m).type() == QDBusMessage::ReplyMessage;
    }
    // The calls logged so far whose method is the first word of `call`, "Method args".
    QStringList calls(const QString& call) const
    {
        QFile f(log);
        QStringList out;
        for (const QByteArray& line :
             f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QByteArrayList{}) {
            const QString made = QString::fromUtf8(line.mid(line.indexOf(' ') + 1)).trimmed();
            if (made.section(' ', 0, 0) == call.section(' ', 0, 0))
                out << made;
        }
        return out;
    }
    const char* const* what;
    QString log;
    QProcess process;
};

} // namespace

class TestServices : public QObject
{
    Q_OBJECT
    QTemporaryDir m_logs;
    std::unique_ptr<Mock> m_logind;

private slots:
    void initTestCase()
    {
        m_logind = std::make_unique<Mock>(kLogind, m_logs.filePath("logind"),
                                          QStringList{"--template", "logind"});
        QVERIFY2(m_logind->tell("AddMethod", {kLogind[2], "GetSessionByPID", "u", "o",
                                              "ret = '/org/freedesktop/login1/session/c1'"}),
                 "needs python3-dbusmock and a bus: CTest runs it under dbus-run-session");
        QVERIFY(m_logind->tell("AddSession", {"c1", "seat0", 0u, "root", true}));
    }

    void routes()
    {
        for (const auto& r : kRoutes) {
            qInfo("%s", r.name);
            std::unique_ptr<Mock> manager;
            if (r.manager)
                manager = std::make_unique<Mock>(r.manager, m_logs.filePath(r.name));
            const Mock& asked = r.toLogind ? *m_logind : *manager;
            const QString expected = QLatin1String(r.call);
            const qsizetype before = asked.calls(expected).size();
            const auto machineCalls = [this] {
                return m_logind->calls("Reboot").size() + m_logind->calls("PowerOff").size();
            };
            const qsizetype machineBefore = machineCalls();

            ExitRequester requester(bus(), bus());
            requester.request(r.kind);
            requester.request(r.kind); // dropped: one is in flight
            QVERIFY(requester.pending());
            requester.settle(10000);
            QVERIFY(!requester.pending());
            QTRY_COMPARE(asked.calls(expected).size(), before + 1);
            const QString made = asked.calls(expected).last();
            QCOMPARE(r.toLogind ? made.left(expected.size()) : made, expected);
            if (!r.toLogind) // nothing restarted or powered off behind it
                QCOMPARE(machineCalls(), machineBefore);
            // Once answered, the next request goes out again.
            requester.request(r.kind);
            requester.settle(10000);
            QTRY_COMPARE(asked.calls(expected).size(), before + 2);
            if (manager) { // gone from the bus before the next row asks
                manager.reset();
                QTRY_VERIFY(!bus().interface()->isServiceRegistered(r.manager[0]));
            }
        }
    }

    // Quietly, unless the log is switched on: then each failure says why.
    // Without a bus every request fails at once, quietly, and the requester is ready for the
    // next one; the alarm minute asks on every tick, and the same refusal is written once.
    void noBusFailsQuietly()
    {
        QVERIFY(!lcQuorvane().isInfoEnabled());
        QLoggingCategory::setFilterRules(QStringLiteral("quorvane.*=true"));
        static QStringList lines;
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
                lines << text.section(QLatin1Char(':'), 0, 0);
            });
        QDBusConnection none = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
        ExitRequester requester(none, none);
        for (const ExitKind kind :
             {ExitKind::Reboot, ExitKind::Reboot, ExitKind::Shutdown, ExitKind::LogOff}) {
            requester.request(kind);
            requester.settle(5000);
            QVERIFY(!requester.pending()); // failed, and ready for the next one
        }
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(lines, QStringList({"request refused", "no login session to end"}));
    }

    // A new time zone from the time-date service is a change; its other properties are not.
    void zoneChangeIsHeard()
    {
        const Mock timedate(kTimedate, m_logs.filePath("timedate"), {"--template", "timedated"});
        ClockWatch watch(bus);
        int heard = 0;
        watch.watch([&heard] { ++heard; });
        QCoreApplication::processEvents(); // the zone is watched from the event loop on
        const auto set = [](const char* method, const QVariantList& args) {
            QDBusMessage m =
                QDBusMessage::createMethodCall(kTimedate[0], kTimedate[1], kTimedate[2], method);
            m.setArguments(args);
            return bus().call(m).type() == QDBusMessage::ReplyMessage;
        };
        QVERIFY(set("SetNTP", {false, false}));
        QVERIFY(set("SetTimezone", {"Asia/Tokyo", false}));
        QTRY_COMPARE(heard, 1); // the NTP change, sent first, would have come first
    }

    // Setting the wall clock, here to what it reads (a step of microseconds), is heard at once,
    // and again the next time: the cancelled timer is armed anew.
    void clockSetIsHeard()
    {
        ClockWatch watch(bus);
        int heard = 0;
        watch.watch([&heard] { ++heard; });
        for (int set = 1; set <= 2; ++set) {
            timespec now{};
            ::clock_gettime(CLOCK_REALTIME, &now);
            if (::clock_settime(CLOCK_REALTIME, &now) != 0)
                QSKIP("setting the clock needs CAP_SYS_TIME");
            QTRY_COMPARE(heard, set);
        }
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
