// Exit requests against mocked session managers and a mocked login manager on private buses.
#include "platform/ExitRequester.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace
{

// A private bus; it ends with the object, and so does every mock started on it.
class Bus
{
public:
    Bus(const QString& kind, const QString& logFolder) : m_kind(kind)
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=/usr/share/dbus-1/session.conf"),
                        QStringLiteral("--print-address=1"), QStringLiteral("--nofork")});
        m_daemon.waitForReadyRead(5000);
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_connection = QDBusConnection::connectToBus(m_address, kind);
        m_log = logFolder + QLatin1Char('/') + kind + QStringLiteral(".log");
    }
    ~Bus()
    {
        QDBusConnection::disconnectFromBus(m_kind);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    QDBusConnection& connection() { return m_connection; }

    // Starts python3-dbusmock as `service` with these arguments, logging its calls to the bus's
    // log; returns it once the service is on the bus.
    std::unique_ptr<QProcess> mock(const QString& service, const QStringList& args)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_%1_BUS_ADDRESS").arg(m_kind.toUpper()), m_address);
        p->setProcessEnvironment(env);
        p->start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                             QStringLiteral("--") + m_kind, QStringLiteral("-l"), m_log} +
                     args);
        for (int i = 0; i < 200 && !m_connection.interface()->isServiceRegistered(service); ++i)
            QTest::qWait(25);
        return m_connection.interface()->isServiceRegistered(service) ? std::move(p) : nullptr;
    }

    // Asks a mock to do something: AddMethod, AddSession.
    void tell(const QString& service, const QString& path, const QString& what,
              const QVariantList& args)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Mock"), what);
        m.setArguments(args);
        const QDBusMessage reply = m_connection.call(m);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

    // The calls logged so far, "Method args", the oldest first.
    QStringList calls() const
    {
        QFile f(m_log);
        QStringList out;
        for (const QByteArray& line :
             f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QByteArrayList{}) {
            if (const qsizetype space = line.indexOf(' '); space > 0)
                out << QString::fromUtf8(line.mid(space + 1)).trimmed();
        }
        return out;
    }

private:
    QString m_kind;
    QProcess m_daemon;
    QString m_address;
    QDBusConnection m_connection{QString()};
    QString m_log;
};

// The desktops' session managers: bus name, object path, interface, methods (name:signature).
struct Manager {
    const char* service;
    const char* path;
    const char* interface;
    const char* methods;
};
const Manager kKde{"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown",
                   "logout: logoutAndShutdown: logoutAndReboot:"};
const Manager kOldKde{"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface",
                      "logout:iii"};
const Manager kXfce{"org.xfce.SessionManager", "/org/xfce/SessionManager",
                    "org.xfce.Session.Manager", "Logout:bb Restart:b Shutdown:b"};
const Manager kLxqt{"org.lxqt.session", "/LXQtSession", "org.lxqt.session",
                    "logout: reboot: powerOff:"};
const Manager kGnome{"org.gnome.SessionManager", "/org/gnome/SessionManager",
                     "org.gnome.SessionManager", "Logout:u"};
const Manager kNone{"", "", "", ""};

constexpr int kLogOff = 0, kPowerOff = 1, kRestart = 2;

// What each route must make: the session manager's call, or logind's where none answers for it.
const struct {
    const char* name;
    const Manager& manager;
    int kind;
    const char* sessionCall;
    const char* logindCall;
} kRoutes[] = {
    {"KDE log off", kKde, kLogOff, "logout", nullptr},
    {"KDE power off", kKde, kPowerOff, "logoutAndShutdown", nullptr},
    {"KDE restart", kKde, kRestart, "logoutAndReboot", nullptr},
    {"old KDE restart", kOldKde, kRestart, "logout 0 1 -1", nullptr},
    {"Xfce log off", kXfce, kLogOff, "Logout False True", nullptr},
    {"Xfce restart", kXfce, kRestart, "Restart True", nullptr},
    {"Xfce power off", kXfce, kPowerOff, "Shutdown True", nullptr},
    {"LXQt log off", kLxqt, kLogOff, "logout", nullptr},
    {"LXQt power off", kLxqt, kPowerOff, "powerOff", nullptr},
    {"GNOME log off", kGnome, kLogOff, "Logout 1", nullptr},
    {"GNOME restart goes to logind", kGnome, kRestart, nullptr, "Reboot True"},
    {"logind power off", kNone, kPowerOff, nullptr, "PowerOff True"},
    {"logind restart", kNone, kRestart, nullptr, "Reboot True"},
    {"logind log off ends the own session", kNone, kLogOff, nullptr, "Terminate"},
};

} // namespace

class TestExitRequester : public QObject
{
    Q_OBJECT
    QTemporaryDir m_logs;
    std::unique_ptr<Bus> m_system, m_session;
    std::unique_ptr<QProcess> m_logind;

private slots:
    void initTestCase()
    {
        m_system = std::make_unique<Bus>(QStringLiteral("system"), m_logs.path());
        m_session = std::make_unique<Bus>(QStringLiteral("session"), m_logs.path());
        const QString login1 = QStringLiteral("org.freedesktop.login1");
        const QString path = QStringLiteral("/org/freedesktop/login1");
        m_logind = m_system->mock(login1, {QStringLiteral("--template"), QStringLiteral("logind")});
        QVERIFY2(m_logind, "python3-dbusmock is needed (scripts/deps.sh installs it)");
        m_system->tell(login1, path, QStringLiteral("AddMethod"),
                       {QStringLiteral("org.freedesktop.login1.Manager"),
                        QStringLiteral("GetSessionByPID"), QStringLiteral("u"), QStringLiteral("o"),
                        QStringLiteral("ret = '/org/freedesktop/login1/session/c1'")});
        m_system->tell(
            login1, path, QStringLiteral("AddSession"),
            {QStringLiteral("c1"), QStringLiteral("seat0"), 0u, QStringLiteral("root"), true});
    }
    void cleanupTestCase()
    {
        m_logind->kill();
        m_logind->waitForFinished();
        m_session.reset();
        m_system.reset();
    }

    void routes_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRoutes)); ++i)
            QTest::newRow(kRoutes[i].name) << i;
    }
    void routes()
    {
        QFETCH(int, row);
        const auto& r = kRoutes[row];
        const QString service = QLatin1String(r.manager.service);
        std::unique_ptr<QProcess> manager;
        if (!service.isEmpty()) {
            manager = m_session->mock(service, {service, QLatin1String(r.manager.path),
                                                QLatin1String(r.manager.interface)});
            QVERIFY(manager);
            for (const QString& m : QString::fromLatin1(r.manager.methods).split(QLatin1Char(' ')))
                m_session->tell(service, QLatin1String(r.manager.path), QStringLiteral("AddMethod"),
                                {QLatin1String(r.manager.interface),
                                 m.section(QLatin1Char(':'), 0, 0), m.section(QLatin1Char(':'), 1),
                                 QString(), QString()});
        }
        Bus& bus = r.sessionCall ? *m_session : *m_system;
        const QString expected = QLatin1String(r.sessionCall ? r.sessionCall : r.logindCall);
        const QString method = expected.section(QLatin1Char(' '), 0, 0);
        const qsizetype sessionBefore = m_session->calls().size();
        const qsizetype systemBefore = m_system->calls().size();
        const qsizetype before = &bus == m_session.get() ? sessionBefore : systemBefore;
        const auto made = [&] {
            QStringList hits;
            for (const QString& call : bus.calls().mid(before)) {
                if (call.section(QLatin1Char(' '), 0, 0) == method)
                    hits << call;
            }
            return hits;
        };

        ExitRequester requester(m_session->connection(), m_system->connection());
        requester.request(static_cast<ExitKind>(r.kind));
        requester.request(static_cast<ExitKind>(r.kind)); // dropped: one is in flight
        QVERIFY(requester.pending());
        requester.settle(10000);
        QVERIFY(!requester.pending());
        QTRY_COMPARE(made().size(), 1);
        QCOMPARE(made()[0].left(expected.size()), expected);
        if (r.sessionCall) { // the whole call, and nothing restarted or powered off behind it
            QCOMPARE(made()[0], expected);
            const QString system = m_system->calls().mid(systemBefore).join(QLatin1Char('|'));
            QVERIFY2(!system.contains(QLatin1String("Reboot")) &&
                         !system.contains(QLatin1String("PowerOff")),
                     qPrintable(system));
        }
        // Once answered, the next request goes out again.
        requester.request(static_cast<ExitKind>(r.kind));
        requester.settle(10000);
        QTRY_COMPARE(made().size(), 2);

        if (manager) { // gone from the bus before the next row asks
            manager->kill();
            manager->waitForFinished();
            QTRY_VERIFY(!m_session->connection().interface()->isServiceRegistered(service));
        }
    }

    void noBusFailsQuietly()
    {
        QDBusConnection none = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
        ExitRequester requester(none, none);
        requester.request(ExitKind::Reboot);
        requester.settle(5000);
        QVERIFY(!requester.pending()); // failed, and ready for the next one
    }
};

QTEST_GUILESS_MAIN(TestExitRequester)
#include "tst_exit_requester.moc"
