#include "system/SessionEnd.h"

#include "seams/Log.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// The signal handler only writes a byte here; the event loop reads it.
int g_signalPipe[2] = {-1, -1};

void onSignal(int /*signal*/)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent) {}

SessionEndWatcher::~SessionEndWatcher() = default;

void SessionEndWatcher::watch(std::function<void()> handler)
{
    m_handler = std::move(handler);
    if (m_notifier != nullptr)
        return;
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCInfo(lcQuorvane) << "no signal pipe: SIGTERM and SIGHUP end the program unsaved"
                           << ::strerror(errno);
        return;
    }
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        report();
    });
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP}) {
        if (::sigaction(signal, &action, nullptr) != 0)
            qCInfo(lcQuorvane) << "no handler for signal" << signal << ::strerror(errno);
    }
    // The session manager ends a program by quitting its event loop.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &SessionEndWatcher::report);
}

void SessionEndWatcher::stop()
{
    m_stopped = true;
}

void SessionEndWatcher::report()
{
    if (m_stopped || !m_handler)
        return;
    m_stopped = true; // once
    m_handler();
}
