#include "system/ExitRequester.h"

#include "seams/Log.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <unistd.h>

namespace
{

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");

} // namespace

ExitRequester::ExitRequester(QDBusConnection sessionBus, QDBusConnection systemBus, QObject* parent)
    : QObject(parent), m_session(std::move(sessionBus)), m_system(std::move(systemBus))
{
}

void ExitRequester::request(ExitKind kind)
{
    if (m_pending)
        return;
    m_pending = true;
    QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    whenDone(m_session.asyncCall(list), [this, kind](const QDBusMessage& reply) {
        QStringList names;
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            names = reply.arguments().constFirst().toStringList();
        route(kind, names);
    });
}

void ExitRequester::route(ExitKind kind, const QStringList& names)
{
    const auto has = [&names](const char* name) { return names.contains(QLatin1String(name)); };
    if (has("org.kde.Shutdown")) {
        const char* method = kind == ExitKind::LogOff     ? "logout"
                             : kind == ExitKind::Shutdown ? "logoutAndShutdown"
                                                          : "logoutAndReboot";
        send(m_session, "org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", method);
    } else if (has("org.kde.ksmserver")) {
        // logout(confirm = no, type = none/reboot/halt, mode = default)
        const int type = kind == ExitKind::LogOff ? 0 : kind == ExitKind::Reboot ? 1 : 2;
        send(m_session, "org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface", "logout",
             {0, type, -1});
    } else if (has("org.xfce.SessionManager")) {
        const QString path = QStringLiteral("/org/xfce/SessionManager");
        const QString iface = QStringLiteral("org.xfce.Session.Manager");
        if (kind == ExitKind::LogOff)
            send(m_session, "org.xfce.SessionManager", path, iface, "Logout", {false, true});
        else
            send(m_session, "org.xfce.SessionManager", path, iface,
                 kind == ExitKind::Reboot ? "Restart" : "Shutdown", {true});
    } else if (has("org.lxqt.session")) {
        const char* method = kind == ExitKind::LogOff     ? "logout"
                             : kind == ExitKind::Shutdown ? "powerOff"
                                                          : "reboot";
        send(m_session, "org.lxqt.session", "/LXQtSession", "org.lxqt.session", method);
    } else if (has("org.gnome.SessionManager") && kind == ExitKind::LogOff) {
        // 1: no confirmation dialog
        send(m_session, "org.gnome.SessionManager", "/org/gnome/SessionManager",
             "org.gnome.SessionManager", "Logout", {1u});
    } else if (kind == ExitKind::LogOff) {
        terminateOwnSession();
    } else {
        callLogind(kind);
    }
}

void ExitRequester::callLogind(ExitKind kind)
{
    // interactive: polkit may ask the user
    send(m_system, kLogin1, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
         kind == ExitKind::Reboot ? "Reboot" : "PowerOff", {true});
}

void ExitRequester::terminateOwnSession()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kLogin1, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("GetSessionByPID"));
    get << static_cast<uint>(::getpid());
    whenDone(m_system.asyncCall(get), [this](const QDBusMessage& reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            qCInfo(lcQuorvane) << "no login session to end:" << reply.errorName()
                               << reply.errorMessage();
            m_pending = false;
            return;
        }
        const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
        send(m_system, kLogin1, path, "org.freedesktop.login1.Session", "Terminate");
    });
}

void ExitRequester::send(QDBusConnection& bus, const QString& service, const QString& path,
                         const QString& interface, const QString& method, const QVariantList& args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(args);
    call.setInteractiveAuthorizationAllowed(true);
    whenDone(bus.asyncCall(call), [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ErrorMessage)
            reportRefusal(reply);
        m_pending = false;
    });
}

void ExitRequester::whenDone(const QDBusPendingCall& call,
                             std::function<void(const QDBusMessage&)> next)
{
    if (call.isFinished()) {
        // Already failed (no bus): the watcher would never report it.
        QTimer::singleShot(0, this, [call, next = std::move(next)] { next(call.reply()); });
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, next = std::move(next)] {
        watcher->deleteLater();
        next(watcher->reply());
    });
}

void ExitRequester::reportRefusal(const QDBusMessage& reply)
{
    // The alarm minute asks again on every tick: the same refusal is written once a minute.
    constexpr qint64 kRepeatAfterMs = 60'000;
    if (reply.errorName() == m_lastRefusal && m_sinceRefusal.isValid() &&
        !m_sinceRefusal.hasExpired(kRepeatAfterMs))
        return;
    m_lastRefusal = reply.errorName();
    m_sinceRefusal.start();
    qCInfo(lcQuorvane) << "request refused:" << reply.errorName() << reply.errorMessage();
}

void ExitRequester::settle(int timeoutMs)
{
    constexpr int kPollMs = 10;
    QElapsedTimer clock;
    clock.start();
    while (m_pending && clock.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (m_pending)
        qCInfo(lcQuorvane) << "no answer to the exit request within" << timeoutMs << "ms";
}
