#include "support/FakePlatform.h"

#include "forms/AboutBox.h"
#include "forms/FormLifetime.h"
#include "forms/SettingsDialog.h"

#include <QCoreApplication>

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

void FakePlatform::messageBox(const QString& text, const QString& caption, MessageIcon icon)
{
    log << QStringLiteral("message:") + text;
    lastCaption = caption + (icon == MessageIcon::Exclamation ? QStringLiteral("!") : QString());
    if (onMessage)
        onMessage();
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
