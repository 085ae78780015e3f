"""What only the real window manager shows of the dialogs: the window kept on top after OK, and
the About box standing where the main window's frame stood."""

import unittest

from harness import DesktopTest, centre, find, poll


class Dialogs(DesktopTest):
    def menu(self, key, item, downs=0):
        self.desktop.open_menu(self.main, key, item)
        self.desktop.key(*["Down"] * downs, "Return")

    def test_kept_on_top_after_ok(self):
        self.start()
        self.menu("alt+o", "各種設定")
        self.desktop.window("^アラーム設定$")
        self.desktop.click(*centre(find("check box", "最前面表示する")))
        self.desktop.click(*centre(find("push button", "ＯＫ")))
        main = self.desktop.window("^Quorvane$")
        poll(lambda: "_NET_WM_STATE_ABOVE" in self.desktop.x("xprop", "-id", main,
                                                              "_NET_WM_STATE"),
             what="the window kept on top")
        self.assertIn(b"TOPMOST=1", self.desktop.read_ini())

    def test_about_box_takes_the_windows_place(self):
        self.start()
        where = self.desktop.frame(self.main)[:2]
        self.menu("alt+o", "ﾊﾞｰｼﾞｮﾝ情報", downs=1)
        box = self.desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$")
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        self.assertEqual(self.desktop.frame(box)[:2], where)


if __name__ == "__main__":
    unittest.main()
