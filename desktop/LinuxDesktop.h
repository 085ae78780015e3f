// The desktop on Linux: Qt's message boxes, window flags and screens, the tray (a status-notifier
// item or an XEmbed icon) and the desktop's handler for addresses.
#pragma once

#include "desktop/SystemTray.h"
#include "seams/Desktop.h"

class LinuxDesktop : public Desktop
{
public:
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override;
    void setTopmost(QWidget* window, bool on) override;
    QSize screenSize() override;
    void takeFocus(QWidget* window) override;
    void popUpMenu(QMenu* menu) override;
    bool addTrayIcon(const QIcon& icon, const QString& tip, QMenu* menu,
                     std::function<void(TrayEvent)> onEvent) override;
    void removeTrayIcon() override { m_tray.remove(); }
    void openUrl(const QUrl& url) override;

private:
    SystemTray m_tray;
};
