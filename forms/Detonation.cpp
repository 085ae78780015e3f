#include "forms/Detonation.h"

#include "forms/AboutBox.h"
#include "forms/AppState.h"
#include "forms/FaultDialog.h"
#include "forms/FormLifetime.h"
#include "forms/MainWindow.h"
#include "forms/SettingsDialog.h"
#include "platform/Platform.h"

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
    main.showBeepAlert();
    beeps(6);
    beeps(6);
}

void showFault(AppState& state)
{
    unloadFormIfVisible(state.settingsDialog);
    unloadFormIfVisible(state.aboutBox);
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
    const settings::Action action = state.settings.action;
    switch (action) {
    case settings::Action::Beep:
        if (MainWindow* main = state.mainWindow)
            beepAlert(*main);
        break;
    case settings::Action::Restart:
    case settings::Action::PowerOff:
    case settings::Action::LogOff:
        if (settings::isOn(state.settings.gentleMode))
            showFault(state);
        else
            beepAndRequestExit(action);
        break;
    }
}

void beepAndRequestExit(settings::Action action)
{
    ExitKind kind{};
    switch (action) {
    case settings::Action::Restart:
        kind = ExitKind::Reboot;
        break;
    case settings::Action::PowerOff:
        kind = ExitKind::Shutdown;
        break;
    case settings::Action::LogOff:
        kind = ExitKind::LogOff;
        break;
    case settings::Action::Beep:
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
