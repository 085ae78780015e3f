#include "system/ClockWatch.h"

#include "seams/Log.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace
{

const QString kTimedateService = QStringLiteral("org.freedesktop.timedate1");
const QString kTimedatePath = QStringLiteral("/org/freedesktop/timedate1");
// The timer itself never matters, only its cancellation (which the kernel reports on every set of
// the clock, with no new arming): it is armed this far ahead.
constexpr time_t kFarAheadSeconds = 366L * 24 * 3600;

} // namespace

ClockWatch::ClockWatch(std::function<QDBusConnection()> systemBus, QObject* parent)
    : QObject(parent), m_systemBus(std::move(systemBus))
{
}

ClockWatch::~ClockWatch()
{
    if (m_timerFd >= 0)
        ::close(m_timerFd);
}

void ClockWatch::watch(std::function<void()> handler)
{
    m_handler = std::move(handler);
    if (m_timerFd < 0) {
        m_timerFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
        if (m_timerFd >= 0 && armClockSetTimer()) {
            m_notifier = new QSocketNotifier(m_timerFd, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this,
                    &ClockWatch::onClockSetTimerReadable);
        } else {
            qCWarning(lcQuorvane, "a set clock will be seen at the next tick only: %s",
                      std::strerror(errno));
        }
    }
    QTimer::singleShot(0, this, &ClockWatch::watchTimezone);
}

void ClockWatch::watchTimezone()
{
    if (!m_systemBus().connect(
            kTimedateService, kTimedatePath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"), this,
            SLOT(onTimedatePropertiesChanged(QString, QVariantMap, QStringList))))
        qCWarning(lcQuorvane, "a changed time zone will be seen at the next tick only");
}

bool ClockWatch::armClockSetTimer()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    itimerspec expiry{};
    expiry.it_value.tv_sec = now.tv_sec + kFarAheadSeconds;
    return ::timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry,
                             nullptr) == 0;
}

void ClockWatch::onClockSetTimerReadable()
{
    std::uint64_t expirations = 0;
    const bool cancelled =
        ::read(m_timerFd, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
    if (!cancelled) {
        armClockSetTimer(); // its own expiry, a year on, means nothing: the watch goes on
        return;
    }
    if (m_handler)
        m_handler();
}

void ClockWatch::onTimedatePropertiesChanged(const QString& interface, const QVariantMap& changed,
                                             const QStringList& invalidated)
{
    const QString zone = QStringLiteral("Timezone");
    if (interface == kTimedateService && (changed.contains(zone) || invalidated.contains(zone)) &&
        m_handler)
        m_handler();
}
