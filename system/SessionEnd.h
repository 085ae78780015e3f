// Tells the program that the desktop session is ending it: the session manager quits the
// application, or SIGTERM or SIGHUP arrives. The report comes from the event loop, never from
// inside a signal handler.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

class SessionEndWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SessionEndWatcher(QObject* parent = nullptr);
    ~SessionEndWatcher() override;
    SessionEndWatcher(const SessionEndWatcher&) = delete;
    SessionEndWatcher& operator=(const SessionEndWatcher&) = delete;

    // Installs the signal handlers and calls `handler` once the session ends the program.
    void watch(std::function<void()> handler);
    // Nothing is reported from now on: the process is ending by a route of its own.
    void stop();

private:
    void report();

    QSocketNotifier* m_notifier = nullptr;
    std::function<void()> m_handler;
    bool m_stopped = false;
};
