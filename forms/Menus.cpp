#include "forms/Menus.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <span>

namespace
{

// A menu's items in order: object name, caption and intent; a row without a caption is a
// separator.
struct MenuRow {
    const char* name;
    const char* caption = nullptr;
    std::function<void()> MenuIntents::*intent = nullptr;
};

void addItems(QMenu* menu, const char* name, std::span<const MenuRow> rows,
              const MenuIntents& intents)
{
    menu->setObjectName(QLatin1String(name));
    for (const MenuRow& row : rows) {
        QAction* item = row.caption != nullptr ? menu->addAction(QString::fromUtf8(row.caption))
                                               : menu->addSeparator();
        item->setObjectName(QLatin1String(row.name));
        if (row.intent != nullptr)
            QObject::connect(item, &QAction::triggered, menu, intents.*row.intent);
    }
}

} // namespace

QMenu* buildMenus(QMainWindow& window, const MenuIntents& intents)
{
    static const MenuRow kFileMenu[] = {{"exitItem", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", &MenuIntents::exit},
                                        {"fileSeparator"},
                                        {"toTrayItem", "ﾀｽｸﾄﾚｲに入れる", &MenuIntents::toTray}};
    static const MenuRow kOptionsMenu[] = {{"settingsItem", "各種設定", &MenuIntents::settings},
                                           {"versionItem", "ﾊﾞｰｼﾞｮﾝ情報", &MenuIntents::about}};
    static const MenuRow kTrayMenu[] = {
        {"trayShowItem", "基本画面の表示", &MenuIntents::trayShow},
        {"traySettingsItem", "設定画面の表示", &MenuIntents::traySettings},
        {"trayPurgeItem", "｢最近使ったﾌｧｲﾙ｣削除", &MenuIntents::trayPurge},
        {"traySeparator1"},
        {"trayVersionItem", "ﾊﾞｰｼﾞｮﾝ情報", &MenuIntents::trayAbout},
        {"traySeparator2"},
        {"trayExitItem", "ｱﾌﾟﾘｹｰｼｮﾝの終了", &MenuIntents::trayExit}};
    addItems(window.menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "fileMenu", kFileMenu, intents);
    addItems(window.menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)")), "optionsMenu", kOptionsMenu,
             intents);
    auto* trayMenu = new QMenu(QStringLiteral("ポップアップ"), &window);
    addItems(trayMenu, "trayMenu", kTrayMenu, intents);
    return trayMenu;
}
