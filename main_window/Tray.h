// The tray icon's record, kept from registration until the orderly exit removes the icon.
#pragma once

class QSystemTrayIcon;

namespace mdBomb
{

struct TrayIconRecord {
    QSystemTrayIcon* icon = nullptr; // null until the icon has been added
};

TrayIconRecord& TrayIconData();

// Removes the tray icon, if one was added.
void DeleteTrayIcon();

} // namespace mdBomb
