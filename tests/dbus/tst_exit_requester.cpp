// Exit requests against mocked session managers and a mocked login manager on private buses.
#include "platform/ExitRequester.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace
{

const QString kPython = QStringLiteral("/usr/bin/python3");

// A private bus with the mock services started on it; everything ends with the object.
class MockBus
{
public:
    explicit MockBus(const QString& name) : m_name(name)
    {
        m_daemon.setProgram(QStringLiteral("dbus-daemon"));
        m_daemon.setArguments({QStringLiteral("--config-file=/usr/share/dbus-1/session.conf"),
                               QStringLiteral("--print-address=1"), QStringLiteral("--nofork"),
                               QStringLiteral("--nopidfile")});
        m_daemon.start();
        if (!m_daemon.waitForReadyRead(5000))
            return;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, name));
    }
    ~MockBus()
    {
        for (auto& p : m_mocks) {
            p->terminate();
            p->waitForFinished(3000);
        }
        m_bus.reset();
        QDBusConnection::disconnectFromBus(m_name);
        m_daemon.terminate();
        m_daemon.waitForFinished(3000);
    }
    MockBus(const MockBus&) = delete;
    MockBus& operator=(const MockBus&) = delete;

    bool ok() const { return m_bus && m_bus->isConnected(); }
    QDBusConnection& bus() { return *m_bus; }

    // Starts python3-dbusmock with the arguments, on this bus as the given kind, and waits for
    // the service name.
    bool mock(const QString& kind, const QString& service, const QStringList& args,
              const QString& log)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kind == QLatin1String("system") ? QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS")
                                                   : QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   m_address);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(kPython, QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                      QStringLiteral("-l"), log} +
                              args);
        m_mocks.push_back(std::move(p));
        for (int i = 0; i < 200; ++i) {
            if (m_bus->interface()->isServiceRegistered(service))
                return true;
            QTest::qWait(25);
        }
        return false;
    }

    void addMethod(const QString& service, const QString& path, const QString& iface,
                   const QString& method, const QString& in, const QString& out,
                   const QString& code = QString())
    {
        QDBusMessage m = QDBusMessage::createMethodCall(service, path,
                                                        QStringLiteral("org.freedesktop.DBus.Mock"),
                                                        QStringLiteral("AddMethod"));
        m << iface << method << in << out << code;
        QDBusMessage reply = m_bus->call(m);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
    }

private:
    QString m_name;
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<QDBusConnection> m_bus;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
};

QStringList calls(const QString& log)
{
    QFile f(log);
    QStringList out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype space = line.indexOf(' ');
        if (space > 0)
            out << QString::fromUtf8(line.mid(space + 1)).trimmed();
    }
    return out;
}

} // namespace

class TestExitRequester : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // A system bus with logind, and a session bus with an optional session manager.
    struct Buses {
        std::unique_ptr<MockBus> system;
        std::unique_ptr<MockBus> session;
        QString systemLog;
        QString sessionLog;
    };

    Buses start(const QString& manager, const QStringList& managerArgs)
    {
        static int round = 0;
        ++round;
        Buses b;
        b.system = std::make_unique<MockBus>(QStringLiteral("system%1").arg(round));
        b.session = std::make_unique<MockBus>(QStringLiteral("session%1").arg(round));
        b.systemLog = m_dir.filePath(QStringLiteral("system%1.log").arg(round));
        b.sessionLog = m_dir.filePath(QStringLiteral("session%1.log").arg(round));
        if (!b.system->ok() || !b.session->ok())
            return b;
        const QString login1 = QStringLiteral("org.freedesktop.login1");
        if (!b.system->mock(QStringLiteral("system"), login1,
                            {QStringLiteral("--template"), QStringLiteral("logind")}, b.systemLog))
            return b;
        b.system->addMethod(login1, QStringLiteral("/org/freedesktop/login1"),
                            QStringLiteral("org.freedesktop.login1.Manager"),
                            QStringLiteral("GetSessionByPID"), QStringLiteral("u"),
                            QStringLiteral("o"),
                            QStringLiteral("ret = '/org/freedesktop/login1/session/c1'"));
        QDBusMessage add = QDBusMessage::createMethodCall(
            login1, QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddSession"));
        add << QStringLiteral("c1") << QStringLiteral("seat0") << 0u << QStringLiteral("root")
            << true;
        b.system->bus().call(add);
        if (!manager.isEmpty())
            b.session->mock(QStringLiteral("session"), manager,
                            QStringList{QStringLiteral("--session")} + managerArgs, b.sessionLog);
        return b;
    }

private slots:
    void initTestCase()
    {
        if (!QFile::exists(kPython) ||
            QProcess::execute(kPython, {QStringLiteral("-c"), QStringLiteral("import dbusmock")}) !=
                0)
            QFAIL("python3-dbusmock is needed (scripts/deps.sh installs it)");
    }

    void routes_data()
    {
        QTest::addColumn<QString>("manager");
        QTest::addColumn<QStringList>("mockArgs"); // service, path, interface
        QTest::addColumn<QStringList>("methods");  // name, in signature
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("sessionCall");
        QTest::addColumn<QString>("systemCall");

        const QStringList kde{"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown"};
        const QStringList kdeMethods{"logout", "", "logoutAndShutdown", "", "logoutAndReboot", ""};
        QTest::newRow("KDE log off") << "org.kde.Shutdown" << kde << kdeMethods << 0 << "logout"
                                     << "";
        QTest::newRow("KDE power off")
            << "org.kde.Shutdown" << kde << kdeMethods << 1 << "logoutAndShutdown"
            << "";
        QTest::newRow("KDE restart")
            << "org.kde.Shutdown" << kde << kdeMethods << 2 << "logoutAndReboot"
            << "";
        const QStringList ksm{"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface"};
        QTest::newRow("old KDE restart")
            << "org.kde.ksmserver" << ksm << QStringList{"logout", "iii"} << 2 << "logout 0 1 -1"
            << "";
        const QStringList xfce{"org.xfce.SessionManager", "/org/xfce/SessionManager",
                               "org.xfce.Session.Manager"};
        const QStringList xfceMethods{"Logout", "bb", "Restart", "b", "Shutdown", "b"};
        QTest::newRow("Xfce log off")
            << "org.xfce.SessionManager" << xfce << xfceMethods << 0 << "Logout False True"
            << "";
        QTest::newRow("Xfce restart")
            << "org.xfce.SessionManager" << xfce << xfceMethods << 2 << "Restart True"
            << "";
        QTest::newRow("Xfce power off")
            << "org.xfce.SessionManager" << xfce << xfceMethods << 1 << "Shutdown True"
            << "";
        const QStringList lxqt{"org.lxqt.session", "/LXQtSession", "org.lxqt.session"};
        const QStringList lxqtMethods{"logout", "", "reboot", "", "powerOff", ""};
        QTest::newRow("LXQt log off") << "org.lxqt.session" << lxqt << lxqtMethods << 0 << "logout"
                                      << "";
        QTest::newRow("LXQt power off")
            << "org.lxqt.session" << lxqt << lxqtMethods << 1 << "powerOff"
            << "";
        const QStringList gnome{"org.gnome.SessionManager", "/org/gnome/SessionManager",
                                "org.gnome.SessionManager"};
        QTest::newRow("GNOME log off")
            << "org.gnome.SessionManager" << gnome << QStringList{"Logout", "u"} << 0 << "Logout 1"
            << "";
        QTest::newRow("GNOME restart goes to logind")
            << "org.gnome.SessionManager" << gnome << QStringList{"Logout", "u"} << 2 << ""
            << "Reboot True";
        QTest::newRow("logind power off") << "" << QStringList{} << QStringList{} << 1 << ""
                                          << "PowerOff True";
        QTest::newRow("logind restart") << "" << QStringList{} << QStringList{} << 2 << ""
                                        << "Reboot True";
        QTest::newRow("logind log off ends the own session")
            << "" << QStringList{} << QStringList{} << 0 << ""
            << "Terminate";
    }
    void routes()
    {
        QFETCH(QString, manager);
        QFETCH(QStringList, mockArgs);
        QFETCH(QStringList, methods);
        QFETCH(int, kind);
        QFETCH(QString, sessionCall);
        QFETCH(QString, systemCall);
        Buses b = start(manager, mockArgs);
        QVERIFY(b.system && b.system->ok() && b.session && b.session->ok());
        for (qsizetype i = 0; i + 1 < methods.size(); i += 2)
            b.session->addMethod(mockArgs[0], mockArgs[1], mockArgs[2], methods[i], methods[i + 1],
                                 QString());

        ExitRequester requester(b.session->bus(), b.system->bus());
        requester.request(static_cast<ExitKind>(kind));
        requester.request(static_cast<ExitKind>(kind)); // dropped: one is in flight
        QVERIFY(requester.pending());
        requester.settle(10000);
        QVERIFY(!requester.pending());

        // The mock logs "method args"; a route's call is the expected line, the log the bus it
        // must reach.
        const QString& expected = sessionCall.isEmpty() ? systemCall : sessionCall;
        const QString& log = sessionCall.isEmpty() ? b.systemLog : b.sessionLog;
        const QString method = expected.section(QLatin1Char(' '), 0, 0);
        const auto made = [&] {
            QStringList hits;
            for (const QString& line : calls(log)) {
                if (line == method || line.startsWith(method + QLatin1Char(' ')))
                    hits << line;
            }
            return hits;
        };
        QTRY_COMPARE(made().size(), 1);
        QVERIFY2(made()[0].startsWith(expected), qPrintable(made()[0]));
        if (!sessionCall.isEmpty()) {
            QCOMPARE(made()[0], sessionCall);
            const QString system = calls(b.systemLog).join(QStringLiteral(" | "));
            QVERIFY2(!system.contains(QLatin1String("Reboot")) &&
                         !system.contains(QLatin1String("PowerOff")),
                     qPrintable(system));
        }

        // Once answered, the next request goes out again.
        requester.request(static_cast<ExitKind>(kind));
        requester.settle(10000);
        QTRY_COMPARE(made().size(), 2);
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
