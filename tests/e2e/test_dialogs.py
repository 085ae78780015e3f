"""The settings dialog and the About box, typed into and clicked as a user would."""

import unittest

from harness import DesktopTest, centre, find, poll, text

KEYS = ("HOUR", "MIN", "DSPTIME", "BOMSETTING", "DELLMODE", "EASYMODE", "TOPMOST")


class Dialogs(DesktopTest):
    def open_settings(self):
        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+o")
        find("menu item", "各種設定")
        self.desktop.key("Return")
        return self.desktop.window("^アラーム設定$")

    def fill(self, hour, minute):
        for name, value in (("アラームの時", hour), ("アラームの分", minute)):
            self.desktop.click(*centre(find("text", name)))
            self.desktop.key("ctrl+a", "BackSpace")
            self.desktop.type(value)

    def press(self, role, name):
        self.desktop.click(*centre(find(role, name)))

    def test_ok_writes_the_settings(self):
        self.desktop.write_ini(b"; mine\n[Quorvane]\nHOUR=5\n")
        self.start()
        self.open_settings()
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])  # hidden while it is open
        self.fill("7", "5")
        self.press("radio button", "秒")
        self.press("radio button", "Windows終了")
        self.press("check box", "Recentファイル削除機能を使う")
        self.press("check box", "最前面表示する")
        self.press("push button", "ＯＫ")
        poll(lambda: not self.desktop.windows("^アラーム設定$"), what="the dialog closed")
        self.assertEqual(self.desktop.read_ini(),
                         b"; mine\n[Quorvane]\nHOUR=7\nMIN=5\nDSPTIME=1\nBOMSETTING=2\n"
                         b"DELLMODE=1\nEASYMODE=0\nTOPMOST=1\n")
        main = self.desktop.window("^Quorvane$")  # back, and on top now
        poll(lambda: "_NET_WM_STATE_ABOVE" in self.desktop.x("xprop", "-id", main,
                                                              "_NET_WM_STATE"),
             what="the window kept on top")
        label = find("label", description="起動してからの時間")
        poll(lambda: text(label).endswith("秒経過") and "時間" not in text(label),
             what="the uptime in seconds")

    def rejected(self, hour, minute):
        self.start()
        self.open_settings()
        self.fill(hour, minute)
        self.press("push button", "ＯＫ")
        box = self.desktop.window("^アラーム設定のエラー$")
        self.assertTrue(find("label", "数値が正しくないです！！"))
        self.desktop.x("xdotool", "windowactivate", "--sync", box)
        self.desktop.key("Return")
        poll(lambda: not self.desktop.windows("^アラーム設定"), what="both closed")
        self.desktop.window("^Quorvane$")

    def test_hour_out_of_range(self):
        self.rejected("24", "0")
        self.assertIsNone(self.desktop.read_ini())  # nothing written

    def test_not_a_number(self):
        self.rejected("ab", "5")
        ini = self.desktop.read_ini().decode()
        self.assertEqual([line.split("=")[0] for line in ini.split()[1:]], list(KEYS))
        self.assertIn("HOUR=00\nMIN=00\n", ini)  # the boxes were reset and saved

    def test_about_box(self):
        self.desktop.write_ini(b"[Quorvane]\nTop=1500\nLeft=3000\n")
        self.start()
        for close in ("Return", "Escape"):
            with self.subTest(close=close):
                self.desktop.tray_menu(4)
                box = self.desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$")
                self.assertEqual(self.desktop.frame(box)[:2], (200, 100))
                self.assertTrue(find("label", "ﾊﾞｰｼﾞｮﾝ 0.23"))
                self.assertTrue(find("label", "Quorvane"))
                self.desktop.x("xdotool", "windowactivate", "--sync", box)
                self.desktop.key(close)
                poll(lambda: not self.desktop.windows("ﾊﾞｰｼﾞｮﾝ情報"), what="the box closed")
        self.assertTrue(self.desktop.windows("^Quorvane$"))

    def test_about_box_from_the_menu_bar_takes_the_windows_place(self):
        self.start()
        where = self.desktop.frame(self.main)[:2]
        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+o")
        find("menu item", "ﾊﾞｰｼﾞｮﾝ情報")
        self.desktop.key("Down", "Return")
        box = self.desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$")
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        self.assertEqual(self.desktop.frame(box)[:2], where)
        self.press("push button", "OK")
        poll(lambda: not self.desktop.windows("ﾊﾞｰｼﾞｮﾝ情報"), what="the box closed")
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])  # stays in the tray


if __name__ == "__main__":
    unittest.main()
