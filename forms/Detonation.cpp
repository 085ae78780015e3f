#include "forms/Detonation.h"

#include "forms/AboutBox.h"
#include "forms/FaultDialog.h"
#include "forms/MainWindow.h"
#include "forms/Settings.h"
#include "forms/SettingsDialog.h"
#include "platform/Platform.h"

#include <QPushButton>
#include <QTimer>

namespace detonation
{

namespace
{

bool g_inProgress = false;

void beeps(int count)
{
    for (int i = 0; i < count; ++i)
        platform().beep();
}

void beepAlert(MainWindow& main)
{
    main.startBlinking();
    main.alarmStopButton->show();
    if (!main.isMinimized())
        main.setOuterHeightTwips(2580);
    beeps(6);
    beeps(6);
}

void showFault()
{
    SettingsDialog::unloadIfVisible();
    AboutBox::unloadIfVisible();
    g_inProgress = true;
    // The clock timer does not fire again while its own tick waits here; a stand-in keeps the
    // clock and uptime labels current meanwhile (such ticks never detonate).
    QTimer standIn;
    if (MainWindow* main = MainWindow::instance()) {
        standIn.setInterval(main->clockTimer->interval());
        QObject::connect(&standIn, &QTimer::timeout, main, &MainWindow::onClockTick);
        standIn.start();
    }
    FaultDialog::showModal();
    g_inProgress = false;
}

} // namespace

void detonate()
{
    if (g_inProgress)
        return;
    const std::int16_t action = settings::record().action;
    if (action == 0) {
        if (MainWindow* main = MainWindow::instance())
            beepAlert(*main);
    } else if (action >= 1 && action <= 3) {
        if (settings::record().gentleMode != 1)
            beepAndRequestExit();
        else
            showFault();
    }
}

void beepAndRequestExit()
{
    ExitKind kind{};
    switch (settings::record().action) {
    case 1:
        kind = ExitKind::Reboot;
        break;
    case 2:
        kind = ExitKind::Shutdown;
        break;
    case 3:
        kind = ExitKind::LogOff;
        break;
    default:
        return;
    }
    beeps(6);
    platform().requestExit(kind);
}

void hourlyChime()
{
    beeps(16);
}

bool inProgress()
{
    return g_inProgress;
}

void reset()
{
    g_inProgress = false;
}

} // namespace detonation
