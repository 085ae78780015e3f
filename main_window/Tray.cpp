#include "main_window/Tray.h"

#include <QSystemTrayIcon>

namespace mdBomb
{

TrayIconRecord& TrayIconData()
{
    static TrayIconRecord record;
    return record;
}

void DeleteTrayIcon()
{
    TrayIconRecord& record = TrayIconData();
    if (record.icon == nullptr)
        return;
    record.icon->hide();
    delete record.icon;
    record.icon = nullptr;
}

} // namespace mdBomb
