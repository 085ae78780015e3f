// What the program does at the alarm minute, and the hourly chime.
#pragma once

namespace detonation
{

// Carries out the configured action: the beep alert, an exit request, or in the gentle mode the
// fault dialog, shown modally (after the settings dialog and the About box are closed).
void detonate();
// Six beeps and the exit request that matches action (1 restart, 2 power off, 3 log off);
// nothing at all for other values.
void beepAndRequestExit();
// The hourly chime: sixteen beeps.
void hourlyChime();

// True while a detonation waits for the fault dialog; ticks then must not detonate again.
bool inProgress();

// Back to the state of a fresh process (tests).
void reset();

} // namespace detonation
