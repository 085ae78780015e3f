// The widget-free seam to the operating system: the settings file, the clock and the uptime, the
// bell, the requests that end the session, the lock and the process's end. The program reaches
// them only through this interface; main.cpp hands the Linux implementation to the program and
// the tests a recording fake.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The three ways of ending the session; the values are the request flags the program has always
// used (log off 0, shut down 1, restart 2).
enum class ExitKind { LogOff = 0, Shutdown = 1, Reboot = 2 };

class System
{
public:
    virtual ~System() = default;

    // The settings file's bytes: empty when there is no file, nullopt when one exists but cannot
    // be read (no permission, not a regular file), which must never be overwritten.
    virtual std::optional<QByteArray> readSettingsFile() = 0;
    // Replaces the settings file as a whole, atomically. False when the write failed and the
    // old file was left as it was.
    virtual bool replaceSettingsFile(const QByteArray& bytes) = 0;

    // Local time of day, 24-hour "H:mm:ss" (no leading zero on the hour), as the window first
    // shows it.
    virtual QString localTimeText() = 0;
    // The same time in milliseconds since midnight: a number that costs nothing to compare, and
    // tells how far the next second is.
    virtual int localMsOfDay() = 0;
    // Milliseconds since boot, kept to 32 bits: it wraps after 49.7 days.
    virtual std::uint32_t uptimeMs() = 0;
    // Calls the handler from the event loop when the wall clock is set (by the user, a time
    // server, or a resume from suspend) or the time zone changes.
    virtual void callOnClockChange(std::function<void()> handler) = 0;
    // A uniform draw in [0, 1) from a generator reseeded from the clock.
    virtual double randomUnit() = 0;

    // Makes the bell ready in the background, so that the first one sounds on time.
    virtual void prepareBell() = 0;
    // One short alert; never blocks.
    virtual void beep() = 0;
    // Asks the desktop to end the session; asynchronous, result ignored.
    virtual void requestExit(ExitKind kind) = 0;
    // Empties the desktop's list of recently used documents.
    virtual void purgeRecentDocuments() = 0;

    // Login name of the effective user, empty when there is none.
    virtual QString loginName() = 0;
    // Takes the single-instance lock for the life of the process; false when another instance
    // holds it.
    virtual bool acquireSingleInstance() = 0;
    // Directory of the running executable, a "/" unless it already ends in one, and its name.
    virtual QString executablePath() = 0;

    // Calls the handler from the event loop when the desktop session ends the program (its
    // session manager quits the application, or SIGTERM or SIGHUP arrives); never once the
    // process has begun to end.
    virtual void callOnSessionEnd(std::function<void()> handler) = 0;
    // Ends the process at once: no handler runs after it. A recording fake returns.
    virtual void endProcess() = 0;
};
