#include "support/FakePlatform.h"

#include "forms/AboutBox.h"
#include "forms/FormLifetime.h"
#include "forms/SettingsDialog.h"

#include <QCoreApplication>
#include <QTime>
#include <QUrl>

std::optional<QByteArray> FakePlatform::readSettingsFile()
{
    ++reads;
    if (unreadable)
        return std::nullopt;
    return file;
}

bool FakePlatform::replaceSettingsFile(const QByteArray& bytes)
{
    if (writesFail)
        return false;
    file = bytes;
    log << QStringLiteral("write");
    return true;
}

void FakePlatform::setTime(const QString& text)
{
    msOfDay =
        QTime::fromString(text, text.contains(QLatin1Char('.')) ? QStringLiteral("H:mm:ss.zzz")
                                                                : QStringLiteral("H:mm:ss"))
            .msecsSinceStartOfDay();
}

QString FakePlatform::localTimeText()
{
    return QTime::fromMSecsSinceStartOfDay(msOfDay).toString(QStringLiteral("H:mm:ss"));
}

void FakePlatform::requestExit(ExitKind kind)
{
    log << QStringLiteral("exit:%1").arg(static_cast<int>(kind));
}

void FakePlatform::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    log << QStringLiteral("message:") + text;
    lastCaption = caption + (icon == MessageIcon::Exclamation ? QStringLiteral("!") : QString());
    if (onMessage)
        onMessage();
}

void FakePlatform::setTopmost(QWidget* window, bool on)
{
    log << QStringLiteral("topmost:%1=%2").arg(window->objectName()).arg(on ? 1 : 0);
}

void FakePlatform::popUpMenu(QMenu* menu)
{
    log << QStringLiteral("popup");
    if (onPopUp)
        onPopUp(menu);
}

bool FakePlatform::addTrayIcon(const QIcon& /*icon*/, const QString& /*tip*/,
                               std::function<void(TrayEvent)> onEvent)
{
    log << QStringLiteral("tray:add");
    if (!trayAvailable)
        return false;
    trayEvents = std::move(onEvent);
    return true;
}

void FakePlatform::removeTrayIcon()
{
    log << QStringLiteral("tray:remove");
    trayEvents = nullptr;
}

void FakePlatform::openUrl(const QUrl& url)
{
    log << QStringLiteral("url:") + url.toString();
}

FakeEnvironment::FakeEnvironment()
{
    setPlatform(&fake);
}

FakeEnvironment::~FakeEnvironment()
{
    unloadForm(state.aboutBox);
    unloadForm(state.settingsDialog);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    setPlatform(nullptr);
}
