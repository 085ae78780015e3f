// Tells the program that the wall clock was set (by the user, a time server or a resume from
// suspend: a CLOCK_REALTIME timer file descriptor cancelled on set) or that the time zone changed
// (the Timezone property of org.freedesktop.timedate1). Reports come from the event loop.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>

class QSocketNotifier;

class ClockWatch : public QObject
{
    Q_OBJECT
public:
    // The system bus is asked for only once the event loop runs: connecting to it blocks, and
    // need not hold up the start.
    explicit ClockWatch(std::function<QDBusConnection()> systemBus, QObject* parent = nullptr);
    ~ClockWatch() override;
    ClockWatch(const ClockWatch&) = delete;
    ClockWatch& operator=(const ClockWatch&) = delete;

    // Starts watching and calls `handler` on every change from now on.
    void watch(std::function<void()> handler);

private slots:
    void onTimedatePropertiesChanged(const QString& interface, const QVariantMap& changed,
                                     const QStringList& invalidated);

private:
    void watchTimezone();
    bool armClockSetTimer();
    void onClockSetTimerReadable();

    std::function<QDBusConnection()> m_systemBus;
    int m_timerFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void()> m_handler;
};
