#include "main_window/Tray.h"

#include "main_window/Main.h"

namespace mdBomb
{

namespace
{

NotifyIconData g_tray;

// The tooltip field holds 64 characters: the text, a NUL, then blanks; the tray shows the text.
constexpr int kTipLength = 64;

QString tipField(const QString& text)
{
    return (text + QChar(0)).leftJustified(kTipLength, QLatin1Char(' '), true);
}

} // namespace

NotifyIconData& TrayIconData()
{
    return g_tray;
}

void ResetTray()
{
    g_tray = NotifyIconData{};
}

bool AddTrayIcon(QWidget* /*form: the record always names the main window*/)
{
    Main* main = Main::instance();
    g_tray.cbSize = 88;
    g_tray.hWnd = main->DummyPicture;
    g_tray.uID = 1;
    g_tray.uFlags = 7;             // message, icon and tip are set
    g_tray.uCallbackMessage = 512; // reported as mouse moves over the picture box
    g_tray.hIcon = main->windowIcon();
    g_tray.szTip = tipField(QStringLiteral("Quorvane"));

    if (!platform().notifyIcon(NotifyIconMessage::Add, g_tray)) {
        platform().messageBox(QStringLiteral("時限爆弾の起動に失敗しました"),
                              QStringLiteral("警告"), MessageIcon::Exclamation);
        platform().notifyIcon(NotifyIconMessage::Delete, g_tray);
        platform().endProcess();
        return false;
    }
    platform().notifyIcon(NotifyIconMessage::Modify, g_tray);
    return true;
}

void DeleteTrayIcon()
{
    platform().notifyIcon(NotifyIconMessage::Delete, g_tray);
}

} // namespace mdBomb
