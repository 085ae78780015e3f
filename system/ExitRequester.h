// Asks the desktop to log the user off, power off or restart, over D-Bus and without blocking.
// The desktop's session manager is asked first, so that applications are asked to close in the
// normal way; restart and power-off elsewhere go to logind, and log-off without a session manager
// terminates the caller's logind session. At most one request is in flight: a request made while
// one is pending is dropped. Results are ignored.
#pragma once

#include "seams/System.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

class QDBusPendingCall;

class ExitRequester : public QObject
{
    Q_OBJECT
public:
    ExitRequester(QDBusConnection sessionBus, QDBusConnection systemBus, QObject* parent = nullptr);

    void request(ExitKind kind);
    bool pending() const { return m_pending; }
    // Waits, with the event loop running, until the pending request has been answered or
    // timeoutMs has passed; used before the process ends so the request is not lost with it.
    void settle(int timeoutMs);

private:
    void route(ExitKind kind, const QStringList& sessionNames);
    void callLogind(ExitKind kind);
    void terminateOwnSession();
    void send(QDBusConnection& bus, const QString& service, const QString& path,
              const QString& interface, const QString& method, const QVariantList& args = {});
    void whenDone(const QDBusPendingCall& call, std::function<void(const QDBusMessage&)> next);
    void reportRefusal(const QDBusMessage& reply);

    QDBusConnection m_session;
    QDBusConnection m_system;
    bool m_pending = false;
    QString m_lastRefusal; // the last refusal's error name, and how long ago it was written
    QElapsedTimer m_sinceRefusal;
};
