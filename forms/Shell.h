// The program's life: the single-instance guard, and where a window's remembered edge puts it.
#pragma once

#include <QByteArray>
#include <cstdint>

class Desktop;
class System;

namespace shell
{

// Ends the process with the message "すでに起動してます" when another instance runs. False when
// the process was ended (only a recording system returns from that).
bool ensureSingleInstance(System& system, Desktop& desktop);

// Where one axis of the main window goes, in twips: centred when the key's text is empty, else
// the number read (saved receives it) kept on the screen.
double placeAxis(const QByteArray& text, int windowExtent, int screenExtent, std::int32_t& saved);

// Where a window's edge goes so that the window stays on the screen: a negative edge at 0, one
// that would leave the far side out of sight pulled back to it.
int keepOnScreen(std::int32_t edge, int windowExtent, int screenExtent);

} // namespace shell
