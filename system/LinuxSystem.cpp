#include "system/LinuxSystem.h"

#include "seams/Log.h"
#include "system/FileOps.h"

#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <pwd.h>
#include <random>
#include <unistd.h>

namespace
{

// How long an exit request still on its way may hold up the end of the process.
constexpr int kExitSettleMs = 2000;

} // namespace

LinuxSystem::LinuxSystem(std::function<void()> fallbackBell)
    : m_beeper(std::move(fallbackBell)), m_clockWatch(&QDBusConnection::systemBus)
{
}
LinuxSystem::~LinuxSystem() = default;

QString LinuxSystem::settingsFilePath()
{
    // the maker's shared settings file; the program keeps to its own section
    return file_ops::configHome() + QStringLiteral("/velmaris.ini");
}

std::optional<QByteArray> LinuxSystem::readSettingsFile()
{
    return file_ops::readFile(settingsFilePath());
}

bool LinuxSystem::replaceSettingsFile(const QByteArray& bytes)
{
    return file_ops::replaceFile(settingsFilePath(), bytes);
}

QString LinuxSystem::localTimeText()
{
    return QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
}

int LinuxSystem::localMsOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

std::uint32_t LinuxSystem::uptimeMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    const std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms); // wraps, like the 32-bit count it stands for
}

double LinuxSystem::randomUnit()
{
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    std::mt19937_64 gen(static_cast<std::uint64_t>(seed));
    return std::uniform_real_distribution<double>(0.0, 1.0)(gen);
}

void LinuxSystem::prepareBell()
{
    // The sound server's client makes its folder in the runtime folder, and any folder above it
    // that is missing: a runtime folder that is not there is not made for a bell nobody asked
    // for yet.
    const QString runtime = file_ops::runtimeDir();
    if (!runtime.isEmpty() && !QFileInfo::exists(runtime)) {
        qCInfo(lcQuorvane, "the bell is made ready when it first sounds: no runtime folder");
        return;
    }
    m_beeper.prepare();
}

void LinuxSystem::beep()
{
    m_beeper.beep();
}

void LinuxSystem::requestExit(ExitKind kind)
{
    if (!m_exit)
        m_exit = std::make_unique<ExitRequester>(QDBusConnection::sessionBus(),
                                                 QDBusConnection::systemBus());
    m_exit->request(kind);
}

void LinuxSystem::purgeRecentDocuments()
{
    file_ops::purgeRecentDocuments(file_ops::dataHome());
}

QString LinuxSystem::loginName()
{
    const passwd* pw = getpwuid(geteuid());
    return pw != nullptr && pw->pw_name != nullptr ? QString::fromLocal8Bit(pw->pw_name)
                                                   : QString();
}

bool LinuxSystem::acquireSingleInstance()
{
    QString dir = file_ops::runtimeDir();
    if (dir.isEmpty()) {
        dir = file_ops::configHome();
        file_ops::makeFolders(dir);
    }
    return file_ops::lockForLifetime(dir + QStringLiteral("/quorvane.lock"));
}

QString LinuxSystem::executablePath()
{
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const qsizetype slash = exe.lastIndexOf(QLatin1Char('/'));
    QString dir = exe.left(slash);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + exe.mid(slash + 1);
}

void LinuxSystem::callOnClockChange(std::function<void()> handler)
{
    m_clockWatch.watch(std::move(handler));
}

void LinuxSystem::callOnSessionEnd(std::function<void()> handler)
{
    m_sessionEnd.watch(std::move(handler));
}

void LinuxSystem::endProcess()
{
    // The session's end, which the program's own exit request may bring while it is being
    // settled, must not run a second way out.
    m_sessionEnd.stop();
    // An exit request still on its way would be lost with the process.
    if (m_exit && m_exit->pending())
        m_exit->settle(kExitSettleMs);
    std::_Exit(0);
}
