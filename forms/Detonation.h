// What the program does at the alarm minute, and the hourly chime.
#pragma once

#include "rules/Settings.h"

struct AppState;

namespace detonation
{

// Carries out the configured action: the beep alert, an exit request, or in the gentle mode the
// fault dialog, shown modally (after the settings dialog and the About box are closed); nothing
// while an earlier detonation waits for that dialog.
void detonate(AppState& state);
// Six beeps and the exit request that matches the action (restart, power off, log off); nothing
// at all for the beep alert or a stored number that names no action.
void beepAndRequestExit(settings::Action action);
// The hourly chime: sixteen beeps.
void hourlyChime();

} // namespace detonation
