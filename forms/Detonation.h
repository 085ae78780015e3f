// What the program does at the alarm minute, and the hourly chime.
#pragma once

#include <cstdint>

struct AppState;

namespace detonation
{

// Carries out the configured action: the beep alert, an exit request, or in the gentle mode the
// fault dialog, shown modally (after the settings dialog and the About box are closed); nothing
// while an earlier detonation waits for that dialog.
void detonate(AppState& state);
// Six beeps and the exit request that matches the action (1 restart, 2 power off, 3 log off);
// nothing at all for other values.
void beepAndRequestExit(std::int16_t action);
// The hourly chime: sixteen beeps.
void hourlyChime();

} // namespace detonation
