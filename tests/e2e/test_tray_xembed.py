"""The tray icon on an XEmbed tray (trayer): mouse decoding and every pop-up menu item."""

import time
import unittest

from harness import DesktopTest, find, poll, text

SETTLE = 0.6  # how long "nothing happens" is watched for


class TrayXEmbed(DesktopTest):
    tray = "xembed"

    def hide_to_tray(self):
        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+f")
        find("menu item", "ﾀｽｸﾄﾚｲに入れる")
        self.desktop.key("Down", "Return")
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")

    def test_mouse(self):
        self.start()
        self.hide_to_tray()
        icon = self.desktop.tray_icon()
        # a single click, a middle click and a right press do nothing
        self.desktop.click(*icon)
        self.desktop.click(*icon, button=2)
        self.desktop.x("xdotool", "mousemove", *map(str, icon), "mousedown", "3")
        time.sleep(SETTLE)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        self.assertIsNone(self.desktop.popup_menu_if_open())
        # the menu opens on the release
        self.desktop.x("xdotool", "mouseup", "3")
        menu = self.desktop.popup_menu()
        self.desktop.key("Escape")
        poll(lambda: "IsViewable" not in self.desktop.x("xwininfo", "-id", menu),
             what="the menu closed")
        time.sleep(SETTLE)  # past the double-click time
        # a right click right after the menu closed (Qt sees a double-click) opens it again
        for _ in range(2):
            self.desktop.x("xdotool", "click", "3")
            menu = self.desktop.popup_menu()
            self.desktop.key("Escape")
            poll(lambda: "IsViewable" not in self.desktop.x("xwininfo", "-id", menu),
                 what="the menu closed")
        # a double-click shows the window; another one changes nothing
        self.desktop.click(*icon, repeat=2)
        main = self.desktop.window("^Quorvane$")
        frame = self.desktop.frame(main)
        self.desktop.click(*icon, repeat=2)
        time.sleep(SETTLE)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [main])
        self.assertEqual(self.desktop.frame(main), frame)

    def test_show_and_settings(self):
        self.start()
        self.hide_to_tray()
        self.desktop.tray_menu(1)  # 基本画面の表示
        self.desktop.window("^Quorvane$")
        self.desktop.tray_menu(2)  # 設定画面の表示: the window keeps its visibility
        self.desktop.window("^アラーム設定$")
        self.assertTrue(self.desktop.windows("^Quorvane$"))

    def test_version_waits_for_the_box(self):
        self.start()
        self.desktop.tray_menu(4)
        box = self.desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$")
        self.assertIn("_NET_WM_STATE_MODAL", self.desktop.x("xprop", "-id", box,
                                                            "_NET_WM_STATE"))
        self.assertEqual(text(find("label", "ﾊﾞｰｼﾞｮﾝ 0.23")), "ﾊﾞｰｼﾞｮﾝ 0.23")
        self.assertTrue(self.desktop.windows("^Quorvane$"))  # the window stays as it was

    def test_exit(self):
        program = self.start()
        self.desktop.tray_menu(5)
        self.assertEqual(program.wait_exit(), 0)
        ini = self.desktop.read_ini().decode()
        self.assertRegex(ini, r"^\[Quorvane\]\r?\nMyPath=.*\r?\nTop=\d+\r?\nLeft=\d+\r?\n$")
        # the icon went with the program
        poll(lambda: '"quorvane"' not in self.desktop.x("xwininfo", "-root", "-tree"),
             what="the icon gone")


if __name__ == "__main__":
    unittest.main()
