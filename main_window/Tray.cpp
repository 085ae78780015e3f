#include "main_window/Tray.h"

#include "main_window/Main.h"
#include "platform/Platform.h"

#include <QPointer>

namespace mdBomb
{

bool AddTrayIcon(QWidget* /*form: the events always go to the main window*/)
{
    QPointer<Main> main = Main::instance();
    const auto toMain = [main](TrayEvent event) {
        if (main)
            main->onTrayEvent(event);
    };
    if (!platform().addTrayIcon(main->windowIcon(), QStringLiteral("Quorvane"), toMain)) {
        platform().messageBox(QStringLiteral("時限爆弾の起動に失敗しました"),
                              QStringLiteral("警告"), MessageIcon::Exclamation);
        platform().removeTrayIcon();
        platform().endProcess();
        return false;
    }
    return true;
}

void DeleteTrayIcon()
{
    platform().removeTrayIcon();
}

} // namespace mdBomb
