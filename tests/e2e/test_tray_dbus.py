"""The tray icon on a D-Bus (StatusNotifierItem) tray: the desktop's host calls the icon."""

import time
import unittest

from harness import DesktopTest, find, poll

SETTLE = 0.6  # how long "nothing happens" is watched for; more than the double-click time


class TrayDBus(DesktopTest):
    tray = "dbus"

    def item(self):
        """The bus name the running program registered its icon under."""
        def registered():
            for call in self.desktop.mock_calls(self.desktop.watcher_log):
                name = call.split(" ", 1)[-1].strip('"')
                owner = self.desktop.gdbus("session", "org.freedesktop.DBus", "/",
                                           "org.freedesktop.DBus.GetConnectionUnixProcessID",
                                           name)
                if call.startswith("RegisterStatusNotifierItem ") and \
                        f"uint32 {self.program.proc.pid}," in owner:
                    return name
            return None
        return poll(registered, what="the icon's registration")

    def host(self, method, *args):
        self.desktop.gdbus("session", self.item(), "/StatusNotifierItem",
                           "org.kde.StatusNotifierItem." + method, *args)

    def test_icon_and_clicks(self):
        self.program = self.start()
        self.assertEqual(self.desktop.windows("^Quorvane$"), [self.main])
        tooltip = self.desktop.gdbus("session", self.item(), "/StatusNotifierItem",
                                     "org.freedesktop.DBus.Properties.Get",
                                     "org.kde.StatusNotifierItem", "ToolTip")
        self.assertIn("'Quorvane'", tooltip)

        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+f")
        find("menu item", "ﾀｽｸﾄﾚｲに入れる")
        self.desktop.key("Down", "Return")
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")

        # one activation is a single click: nothing
        self.host("Activate", "0", "0")
        time.sleep(SETTLE)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        # two in the double-click time show the window
        self.host("Activate", "0", "0")
        self.host("Activate", "0", "0")
        self.desktop.window("^Quorvane$")

    def test_context_menu(self):
        program = self.program = self.start()
        self.desktop.x("xdotool", "mousemove", "1200", "10")
        self.host("ContextMenu", "1200", "10")
        menu = self.desktop.popup_menu()
        x, y, _, _ = self.desktop.client(menu)
        self.assertLess(abs(x - 1200) + abs(y - 10), 300, "the menu opens at the pointer")
        self.desktop.key(*["Down"] * 2, "Return")  # 設定画面の表示
        self.desktop.window("^アラーム設定$")
        self.host("ContextMenu", "1200", "10")
        self.desktop.popup_menu()
        self.desktop.key(*["Down"] * 5, "Return")  # ｱﾌﾟﾘｹｰｼｮﾝの終了
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn(b"MyPath=", self.desktop.read_ini())


if __name__ == "__main__":
    unittest.main()
