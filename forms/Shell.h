// The program's life: the single-instance guard, where the main window is placed, and the one
// orderly exit that remembers the window's position.
#pragma once

#include <cstdint>

struct AppState;

namespace shell
{

// Ends the process with the message "すでに起動してます" when another instance runs. False when
// the process was ended (only a recording platform returns from that).
bool ensureSingleInstance();
// Places the main window from the Top and Left keys, centring an axis that has none.
void placeMainWindow(AppState& state);

// Remembers the main window's position, then hides it.
void hideMainWindow(AppState& state);

// Writes MyPath, Top and Left, removes the tray icon and ends the process.
void exitApplication(AppState& state);

// Where a window's edge goes so that the window stays on the screen: a negative edge at 0, one
// that would leave the far side out of sight pulled back to it.
int keepOnScreen(std::int32_t edge, int windowExtent, int screenExtent);

} // namespace shell
