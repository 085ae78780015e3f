#include "forms/Tray.h"

#include "forms/MainWindow.h"
#include "platform/Platform.h"

#include <QPointer>

namespace tray
{

bool add(QWidget* /*form: the events always go to the main window*/)
{
    QPointer<MainWindow> main = MainWindow::instance();
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

void remove()
{
    platform().removeTrayIcon();
}

} // namespace tray
