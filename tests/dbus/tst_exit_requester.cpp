// Exit requests against mocked session managers and a mocked login manager. CTest runs this
// under its own bus (dbus-run-session), which stands in for both the session and the system bus.
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

constexpr int kLogOff = 0, kPowerOff = 1, kRestart = 2;

// What each route must make: the session manager's call, or logind's where none answers for it.
const struct {
    const char* name;
    const char* const* manager;
    int kind;
    const char* call;
    bool toLogind;
} kRoutes[] = {
    {"KDE log off", kKde, kLogOff, "logout", false},
    {"KDE power off", kKde, kPowerOff, "logoutAndShutdown", false},
    {"KDE restart", kKde, kRestart, "logoutAndReboot", false},
    {"old KDE restart", kOldKde, kRestart, "logout 0 1 -1", false},
    {"Xfce log off", kXfce, kLogOff, "Logout False True", false},
    {"Xfce restart", kXfce, kRestart, "Restart True", false},
    {"Xfce power off", kXfce, kPowerOff, "Shutdown True", false},
    {"LXQt log off", kLxqt, kLogOff, "logout", false},
    {"LXQt power off", kLxqt, kPowerOff, "powerOff", false},
    {"GNOME log off", kGnome, kLogOff, "Logout 1", false},
    {"GNOME restart goes to logind", kGnome, kRestart, "Reboot True", true},
    {"logind power off", nullptr, kPowerOff, "PowerOff True", true},
    {"logind restart", nullptr, kRestart, "Reboot True", true},
    {"logind log off ends the own session", nullptr, kLogOff, "Terminate", true},
};

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

// A python3-dbusmock service on the bus, logging its calls; it ends with the object.
struct Mock {
    Mock(const QString& service, const QStringList& args, const QString& log) : log(log)
    {
        process.start(QStringLiteral("/usr/bin/python3"),
                      QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                  QStringLiteral("--session"), QStringLiteral("-l"), log} +
                          args);
        for (int i = 0; i < 200 && !bus().interface()->isServiceRegistered(service); ++i)
            QTest::qWait(25);
    }
    ~Mock()
    {
        process.kill();
        process.waitForFinished();
    }
    // Adds a method, or with `what` another mock call such as AddSession.
    bool tell(const QString& service, const QString& path, const QVariantList& args,
              const QString& what = QStringLiteral("AddMethod"))
    {
        QDBusMessage m = QDBusMessage::createMethodCall(
            service, path, QStringLiteral("org.freedesktop.DBus.Mock"), what);
        m.setArguments(args);
        return bus().call(m).type() == QDBusMessage::ReplyMessage;
    }
    // The calls logged so far, "Method args", the oldest first.
    QStringList calls() const
    {
        QFile f(log);
        QStringList out;
        for (const QByteArray& line :
             f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QByteArrayList{}) {
            if (const qsizetype space = line.indexOf(' '); space > 0)
                out << QString::fromUtf8(line.mid(space + 1)).trimmed();
        }
        return out;
    }
    QProcess process;
    QString log;
};

} // namespace

class TestExitRequester : public QObject
{
    Q_OBJECT
    QTemporaryDir m_logs;
    std::unique_ptr<Mock> m_logind;

private slots:
    void initTestCase()
    {
        const QString login1 = QStringLiteral("org.freedesktop.login1");
        const QString path = QStringLiteral("/org/freedesktop/login1");
        m_logind = std::make_unique<Mock>(
            login1, QStringList{QStringLiteral("--template"), QStringLiteral("logind")},
            m_logs.filePath(QStringLiteral("logind")));
        QVERIFY2(bus().interface()->isServiceRegistered(login1),
                 "needs python3-dbusmock and a bus: CTest runs it under dbus-run-session");
        QVERIFY(m_logind->tell(login1, path,
                               {QStringLiteral("org.freedesktop.login1.Manager"),
                                QStringLiteral("GetSessionByPID"), QStringLiteral("u"),
                                QStringLiteral("o"),
                                QStringLiteral("ret = '/org/freedesktop/login1/session/c1'")}));
        QVERIFY(m_logind->tell(
            login1, path,
            {QStringLiteral("c1"), QStringLiteral("seat0"), 0u, QStringLiteral("root"), true},
            QStringLiteral("AddSession")));
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
        std::unique_ptr<Mock> manager;
        if (r.manager) {
            const QString service = QLatin1String(r.manager[0]);
            manager = std::make_unique<Mock>(
                service,
                QStringList{service, QLatin1String(r.manager[1]), QLatin1String(r.manager[2])},
                m_logs.filePath(QString::number(row)));
            for (const QString& m : QString::fromLatin1(r.manager[3]).split(QLatin1Char(' ')))
                QVERIFY(
                    manager->tell(service, QLatin1String(r.manager[1]),
                                  {QLatin1String(r.manager[2]), m.section(QLatin1Char(':'), 0, 0),
                                   m.section(QLatin1Char(':'), 1), QString(), QString()}));
        }
        const QString expected = QLatin1String(r.call);
        const QString method = expected.section(QLatin1Char(' '), 0, 0);
        const Mock& asked = r.toLogind ? *m_logind : *manager;
        const qsizetype before = asked.calls().size(), logindBefore = m_logind->calls().size();
        const auto made = [&] {
            QStringList hits;
            for (const QString& call : asked.calls().mid(before)) {
                if (call.section(QLatin1Char(' '), 0, 0) == method)
                    hits << call;
            }
            return hits;
        };

        ExitRequester requester(bus(), bus());
        requester.request(static_cast<ExitKind>(r.kind));
        requester.request(static_cast<ExitKind>(r.kind)); // dropped: one is in flight
        QVERIFY(requester.pending());
        requester.settle(10000);
        QVERIFY(!requester.pending());
        QTRY_COMPARE(made().size(), 1);
        QCOMPARE(made()[0].left(expected.size()), expected);
        if (!r.toLogind) { // the whole call, and nothing restarted or powered off behind it
            QCOMPARE(made()[0], expected);
            const QString logind = m_logind->calls().mid(logindBefore).join(QLatin1Char('|'));
            QVERIFY2(!logind.contains(QLatin1String("Reboot")) &&
                         !logind.contains(QLatin1String("PowerOff")),
                     qPrintable(logind));
        }
        // Once answered, the next request goes out again.
        requester.request(static_cast<ExitKind>(r.kind));
        requester.settle(10000);
        QTRY_COMPARE(made().size(), 2);
        if (manager) { // gone from the bus before the next row asks
            manager.reset();
            QTRY_VERIFY(!bus().interface()->isServiceRegistered(QLatin1String(r.manager[0])));
        }
    }

    void noBusFailsQuietly()
    {
        QDBusConnection none = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
        ExitRequester requester(none, none);
        for (const ExitKind kind : {ExitKind::Reboot, ExitKind::Shutdown, ExitKind::LogOff}) {
            requester.request(kind);
            requester.settle(5000);
            QVERIFY(!requester.pending()); // failed, and ready for the next one
        }
    }
};

QTEST_GUILESS_MAIN(TestExitRequester)
#include "tst_exit_requester.moc"
