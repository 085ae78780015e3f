#include "support/FakePlatform.h"

#include "about/frmAbout.h"
#include "app/mdShell.h"
#include "bomb/mdBomb.h"
#include "main_window/Tray.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTime>

std::optional<QByteArray> FakePlatform::readProfileFile()
{
    ++reads;
    if (unreadable)
        return std::nullopt;
    return file;
}

bool FakePlatform::replaceProfileFile(const QByteArray& bytes)
{
    if (writesFail)
        return false;
    file = bytes;
    writes.append(bytes);
    log << QStringLiteral("write");
    return true;
}

int FakePlatform::localSecondOfDay()
{
    // the time text's second (parsed once per text, so that asking costs no allocation); a
    // text that is no time counts as a new second on every call
    if (timeText != m_parsedText) {
        m_parsedText = timeText;
        const QTime t = QTime::fromString(timeText, QStringLiteral("H:mm:ss"));
        m_parsedSecond = t.isValid() ? t.msecsSinceStartOfDay() / 1000 : -1;
    }
    return m_parsedSecond;
}

void FakePlatform::beep()
{
    ++beeps;
    log << QStringLiteral("beep");
}

void FakePlatform::requestExit(ExitKind kind)
{
    exits.push_back(kind);
    log << QStringLiteral("exit:%1").arg(static_cast<int>(kind));
}

void FakePlatform::purgeRecentDocuments()
{
    ++purges;
    log << QStringLiteral("purge");
}

void FakePlatform::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    messages.push_back({text, caption, icon});
    log << QStringLiteral("message");
    if (onMessage)
        onMessage();
}

void FakePlatform::setTopmost(QWidget* window, bool on)
{
    topmost.push_back({window, on});
}

void FakePlatform::setForegroundWindow(QWidget* window)
{
    foregrounds.emplace_back(window);
    log << QStringLiteral("foreground");
}

void FakePlatform::popUpMenu(QMenu* menu)
{
    log << QStringLiteral("popup");
    if (onPopUp)
        onPopUp(menu);
}

bool FakePlatform::notifyIcon(NotifyIconMessage message, const NotifyIconData& data)
{
    trayRequests.emplace_back(message, data);
    log << QStringLiteral("tray:%1").arg(static_cast<int>(message));
    return message != NotifyIconMessage::Add || trayAvailable;
}

void FakePlatform::openUrl(const QUrl& url)
{
    urls.push_back(url);
}

void FakePlatform::trayMessage(int message)
{
    for (auto it = trayRequests.rbegin(); it != trayRequests.rend(); ++it) {
        if (it->first == NotifyIconMessage::Add) {
            postTrayMessage(it->second, message);
            break;
        }
    }
    QCoreApplication::sendPostedEvents();
}

void FakePlatform::endProcess()
{
    ++ends;
    log << QStringLiteral("end");
}

FakeEnvironment::FakeEnvironment()
{
    setPlatform(&fake);
    mdBomb::ResetSettings();
    mdBomb::ResetDetonation();
    mdShell::ResetPosition();
    mdBomb::ResetTray();
}

FakeEnvironment::~FakeEnvironment()
{
    frmAbout::Unload();
    fmArm::Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    setPlatform(nullptr);
}
