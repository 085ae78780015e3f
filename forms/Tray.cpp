#include "forms/Tray.h"

#include "forms/MainWindow.h"
#include "platform/Platform.h"

#include <QPointer>

namespace tray
{

bool add(MainWindow& window)
{
    const QPointer<MainWindow> main = &window;
    const auto toMain = [main](TrayEvent event) {
        if (main)
            main->onTrayEvent(event);
    };
    if (!platform().addTrayIcon(window.windowIcon(), QStringLiteral("Quorvane"), toMain)) {
        platform().messageBox(QStringLiteral("時限爆弾の起動に失敗しました"),
                              QStringLiteral("警告"), MessageIcon::Exclamation);
        platform().removeTrayIcon();
        platform().endProcess();
        return false;
    }
    return true;
}

void remove()
{
    platform().removeTrayIcon();
}

} // namespace tray
