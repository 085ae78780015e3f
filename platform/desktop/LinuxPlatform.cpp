#include "platform/desktop/LinuxPlatform.h"

#include "platform/FileOps.h"

#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTime>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <pwd.h>
#include <random>
#include <unistd.h>

LinuxPlatform::LinuxPlatform() = default;
LinuxPlatform::~LinuxPlatform() = default;

QString LinuxPlatform::settingsFilePath()
{
    // the maker's shared settings file; the program keeps to its own section
    return fileops::configHome() + QStringLiteral("/velmaris.ini");
}

std::optional<QByteArray> LinuxPlatform::readSettingsFile()
{
    return fileops::readFile(settingsFilePath());
}

bool LinuxPlatform::replaceSettingsFile(const QByteArray& bytes)
{
    return fileops::replaceFile(settingsFilePath(), bytes);
}

QString LinuxPlatform::localTimeText()
{
    return QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
}

int LinuxPlatform::localMsOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay();
}

std::uint32_t LinuxPlatform::uptimeMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    const std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                             static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms); // wraps, like the 32-bit count it stands for
}

double LinuxPlatform::randomUnit()
{
    const auto seed = std::chrono::system_clock::now().time_since_epoch().count();
    std::mt19937_64 gen(static_cast<std::uint64_t>(seed));
    return std::uniform_real_distribution<double>(0.0, 1.0)(gen);
}

void LinuxPlatform::beep()
{
    m_beeper.beep();
}

void LinuxPlatform::requestExit(ExitKind kind)
{
    if (!m_exit)
        m_exit = std::make_unique<ExitRequester>(QDBusConnection::sessionBus(),
                                                 QDBusConnection::systemBus());
    m_exit->request(kind);
}

void LinuxPlatform::purgeRecentDocuments()
{
    fileops::purgeRecentDocuments(fileops::dataHome());
}

QString LinuxPlatform::loginName()
{
    const passwd* pw = getpwuid(geteuid());
    return pw != nullptr && pw->pw_name != nullptr ? QString::fromLocal8Bit(pw->pw_name)
                                                   : QString();
}

bool LinuxPlatform::acquireSingleInstance()
{
    QString dir = fileops::runtimeDir();
    if (dir.isEmpty()) {
        dir = fileops::configHome();
        fileops::makeFolders(dir);
    }
    return fileops::lockForLifetime(dir + QStringLiteral("/quorvane.lock"));
}

QString LinuxPlatform::executablePath()
{
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const qsizetype slash = exe.lastIndexOf(QLatin1Char('/'));
    QString dir = exe.left(slash);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + exe.mid(slash + 1);
}

void LinuxPlatform::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok);
    box.exec();
}

void LinuxPlatform::setTopmost(QWidget* window, bool on)
{
    // On the QWindow, so the window is neither hidden nor moved (QWidget::setWindowFlag would
    // recreate it); a hidden window takes the state when it is shown.
    window->winId();
    QWindow* handle = window->windowHandle();
    if (handle == nullptr)
        return;
    handle->setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(handle->flags());
}

QSize LinuxPlatform::screenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
}

void LinuxPlatform::takeFocus(QWidget* window)
{
    QWidget* top = window->window();
    if (top->isVisible())
        top->activateWindow();
}

void LinuxPlatform::popUpMenu(QMenu* menu)
{
    menu->exec(QCursor::pos());
}

bool LinuxPlatform::addTrayIcon(const QIcon& icon, const QString& tip, QMenu* menu,
                                std::function<void(TrayEvent)> onEvent)
{
    return m_tray.add(icon, tip, menu, std::move(onEvent));
}

void LinuxPlatform::openUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

void LinuxPlatform::callOnSessionEnd(std::function<void()> handler)
{
    m_sessionEnd.watch(std::move(handler));
}

void LinuxPlatform::endProcess()
{
    // The session's end, which the program's own exit request may bring while it is being
    // settled, must not run a second way out.
    m_sessionEnd.stop();
    // An exit request still on its way would be lost with the process.
    if (m_exit && m_exit->pending())
        m_exit->settle(2000);
    std::_Exit(0);
}
