#include "forms/Detonation.h"

#include "forms/AboutBox.h"
#include "forms/AppState.h"
#include "forms/FaultDialog.h"
#include "forms/MainWindow.h"
#include "forms/SettingsDialog.h"
#include "platform/Platform.h"

#include <QPushButton>

namespace detonation
{

namespace
{

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

void showFault(AppState& state)
{
    SettingsDialog::unloadIfVisible(state);
    AboutBox::unloadIfVisible(state);
    state.detonating = true;
    if (MainWindow* main = state.mainWindow)
        main->keepTickingThroughWait();
    FaultDialog::showModal(state);
    state.detonating = false;
}

} // namespace

void detonate(AppState& state)
{
    if (state.detonating)
        return;
    const std::int16_t action = state.settings.action;
    if (action == 0) {
        if (MainWindow* main = state.mainWindow)
            beepAlert(*main);
    } else if (action >= 1 && action <= 3) {
        if (state.settings.gentleMode != 1)
            beepAndRequestExit(action);
        else
            showFault(state);
    }
}

void beepAndRequestExit(std::int16_t action)
{
    ExitKind kind{};
    switch (action) {
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

} // namespace detonation
