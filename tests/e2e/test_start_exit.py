"""Start-up placement, the single instance, and the orderly exit."""

import os
import signal
import unittest

from harness import BINARY, SCREEN, DesktopTest, clock, extents, find, poll, text


def twips(px):
    return px * 15


class StartAndExit(DesktopTest):
    def design_outer(self):
        """The window's outer size when it is placed: its first client area, 2985 twips wide
        and 2370 high below the menu bar, in the design frame (6 px wide, 25 px high)."""
        menu_bar = extents(find("menu bar", ""))[3]
        return 2985 // 15 + 6, 2370 // 15 + menu_bar + 25

    def test_first_start_is_centred_and_shows_the_time(self):
        program = self.start(at="2026-12-07 07:12:34")
        w, h = self.design_outer()
        left = round((twips(SCREEN[0]) - twips(w)) / 2 / 15)
        top = round((twips(SCREEN[1]) - twips(h)) / 2 / 15)
        self.assertEqual(self.desktop.frame(self.main)[:2], (left, top))
        label = clock()
        poll(lambda: text(label).startswith("07:12:3"), what="the faked time on the clock")
        self.assertTrue(program.running())
        self.assertIsNone(self.desktop.read_ini())

    def test_second_start_shows_the_message_and_ends(self):
        first = self.start()
        before = self.desktop.frame(self.main)
        second = self.desktop.start_program()
        message = find("label", "すでに起動してます")
        self.assertTrue(message)
        box = poll(lambda: [w for w in self.desktop.windows("^Quorvane$") if w != self.main],
                   what="the message box")[0]
        self.desktop.x("xdotool", "windowactivate", "--sync", box)
        self.desktop.key("Return")
        self.assertEqual(second.wait_exit(), 0)
        self.assertTrue(first.running())
        self.assertEqual(self.desktop.frame(self.main), before)
        self.assertIsNone(self.desktop.read_ini())  # the second start wrote nothing

    def test_remembered_position(self):
        cases = [
            ("Top=-300\nLeft=150\n", lambda w, h: (10, 0)),
            ("Top=1500\nLeft=3000\n", lambda w, h: (200, 100)),
            ("Top=99999\nLeft=99999\n", lambda w, h: (SCREEN[0] - w, SCREEN[1] - h)),
            ("Top=-1e9\nLeft=-0.4\n", lambda w, h: (0, 0)),
        ]
        for keys, expected in cases:
            with self.subTest(keys=keys):
                self.desktop.write_ini("[Quorvane]\n" + keys)
                self.start()
                self.assertEqual(self.desktop.frame(self.main)[:2],
                                 expected(*self.design_outer()))
                self.desktop.kill_programs()

    FOREIGN = b"; kept as it is\r\n[Other]\r\nTop=1\r\n\r\n[Quorvane]\r\nHOUR=7\r\n[Tail]\r\nx=y"

    def expected_after_exit(self):
        x, y = self.desktop.frame(self.main)[:2]
        written = (b"MyPath=" + os.path.realpath(BINARY).encode() + b"\r\n"
                   + b"Top=%d\r\nLeft=%d\r\n" % (twips(y), twips(x)))
        return self.FOREIGN.replace(b"HOUR=7\r\n", b"HOUR=7\r\n" + written)

    def test_exit_from_the_close_box(self):
        self.desktop.write_ini(self.FOREIGN)
        program = self.start()
        expected = self.expected_after_exit()
        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+F4")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(self.desktop.read_ini(), expected)

    def test_end_of_the_session(self):
        for sig in (signal.SIGTERM, signal.SIGHUP):
            with self.subTest(signal=sig.name):
                self.desktop.write_ini(self.FOREIGN)
                program = self.start()
                expected = self.expected_after_exit()
                program.proc.send_signal(sig)
                self.assertEqual(program.wait_exit(), 0)
                self.assertEqual(self.desktop.read_ini(), expected)

    def test_exit_from_the_menu(self):
        self.desktop.write_ini(self.FOREIGN)
        self.desktop.write_ini(self.FOREIGN)
        program = self.start()
        expected = self.expected_after_exit()
        self.desktop.x("xdotool", "windowactivate", "--sync", self.main)
        self.desktop.key("alt+f")
        find("menu item", "ｱﾌﾟﾘｹｰｼｮﾝの終了\\(X\\)")
        self.desktop.key("x")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(self.desktop.read_ini(), expected)


if __name__ == "__main__":
    unittest.main()
