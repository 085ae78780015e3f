// The tray icon: its record, kept from registration until the orderly exit removes the icon.
#pragma once

#include "platform/Platform.h"

namespace mdBomb
{

NotifyIconData& TrayIconData();
// Back to the state of a fresh process (tests).
void ResetTray();

// Adds the tray icon for the main window (whichever form is passed) with the bomb icon and the
// tooltip "Quorvane", mouse activity going to its hidden picture box. When the desktop refuses,
// shows the warning and ends the process at once, saving nothing; false then (only a recording
// platform returns from that).
bool AddTrayIcon(QWidget* form);

// Removes the tray icon with the record it was added with.
void DeleteTrayIcon();

} // namespace mdBomb
