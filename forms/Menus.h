// The program's menus in one place: the menu bar's "ﾌｧｲﾙ(&F)" and "ｵﾌﾟｼｮﾝ(&O)" menus and the tray's
// pop-up menu, each item an intent the program carries out.
#pragma once

#include <functional>

class QMainWindow;
class QMenu;

struct MenuIntents {
    // the menu bar's
    std::function<void()> exit, toTray, settings, about;
    // the tray's
    std::function<void()> trayShow, traySettings, trayPurge, trayAbout, trayExit;
};

// Builds the menu bar's menus on the window, and returns the tray's pop-up menu: a child of the
// window that is never on its menu bar.
QMenu* buildMenus(QMainWindow& window, const MenuIntents& intents);
