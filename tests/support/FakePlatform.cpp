#include "support/FakePlatform.h"

#include "forms/AboutBox.h"
#include "forms/FormLifetime.h"
#include "forms/SettingsDialog.h"

#include <QCoreApplication>

void FakePlatform::setTime(const QString& text)
{
    msOfDay =
        QTime::fromString(text, text.contains(QLatin1Char('.')) ? QStringLiteral("H:mm:ss.zzz")
                                                                : QStringLiteral("H:mm:ss"))
            .msecsSinceStartOfDay();
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
