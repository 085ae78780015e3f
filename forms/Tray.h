// The tray icon, from registration until the orderly exit removes it.
#pragma once

class MainWindow;

namespace tray
{

// Adds the tray icon with the bomb icon and the tooltip "Quorvane", its events going to the main
// window. When the desktop refuses, shows the
// warning and ends the process at once, saving nothing; false then (only a recording platform
// returns from that).
bool add(MainWindow& window);

// Removes the tray icon.
void remove();

} // namespace tray
