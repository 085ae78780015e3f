// The program's life: the single-instance guard, where the main window is placed, and the one
// orderly exit that remembers the window's position.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace mdShell
{

// The remembered position, in twips.
struct RememberedPosition {
    std::int32_t SavedTop = 0;
    std::int32_t SavedLeft = 0;
};
RememberedPosition& Position();
void ResetPosition();

// Ends the process with the message "すでに起動してます" when another instance runs. False when
// the process was ended (only a recording platform returns from that).
bool EnsureSingleInstance();
// Places the main window from the Top and Left keys, centring an axis that has none.
void PlaceMainWindow();

// Remembers the main window's position, then hides it.
void HideMainWindow();

// Writes MyPath, Top and Left, removes the tray icon and ends the process.
void ExitApplication();

// Where one axis of the window goes: centred when nothing was read, else the number read, kept
// on the screen (saved receives the number as read).
double PlaceAxis(const QByteArray& text, int windowExtent, int screenExtent, std::int32_t& saved);
// Where a window's edge goes so that the window stays on the screen: a negative edge at 0, one
// that would leave the far side out of sight pulled back to it.
int KeepOnScreen(std::int32_t edge, int windowExtent, int screenExtent);

} // namespace mdShell
