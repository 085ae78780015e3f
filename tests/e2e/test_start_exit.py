"""Where the real window manager puts the window at start-up, and what the exits write."""

import os
import signal
import unittest

from harness import BINARY, SCREEN, DesktopTest, clock, extents, find, poll, text

FOREIGN = b"; kept as it is\r\n[Other]\r\nTop=1\r\n\r\n[Quorvane]\r\nHOUR=7\r\n[Tail]\r\nx=y"


class StartAndExit(DesktopTest):
    def outer_when_placed(self):
        """The outer size the window has when it is placed: a client area 2985 twips wide and
        2370 high below the menu bar, in the design frame (6 px wide, 25 px high)."""
        return 2985 // 15 + 6, 2370 // 15 + extents(find("menu bar", ""))[3] + 25

    def test_placement(self):
        centred = lambda w, h: (round((SCREEN[0] - w) / 2), round((SCREEN[1] - h) / 2))
        cases = [
            (None, centred),
            ("Top=-300\nLeft=150\n", lambda w, h: (10, 0)),
            ("Top=99999\nLeft=99999\n", lambda w, h: (SCREEN[0] - w, SCREEN[1] - h)),
            ("Left=3000\n", lambda w, h: (200, centred(w, h)[1])),
        ]
        for keys, expected in cases:
            with self.subTest(keys=keys):
                if keys:
                    self.desktop.write_ini("[Quorvane]\n" + keys)
                self.start(at="2026-12-07 07:12:34")
                self.assertEqual(self.desktop.frame(self.main)[:2],
                                 expected(*self.outer_when_placed()))
                label = clock()
                poll(lambda: text(label).startswith("07:12:3"), what="the faked time")
                self.desktop.kill_programs()

    def expected_after_exit(self):
        x, y = self.desktop.frame(self.main)[:2]
        written = (b"MyPath=" + os.path.realpath(BINARY).encode() + b"\r\n"
                   + b"Top=%d\r\nLeft=%d\r\n" % (y * 15, x * 15))
        return FOREIGN.replace(b"HOUR=7\r\n", b"HOUR=7\r\n" + written)

    def test_exits(self):
        def signal_(sig):
            def send(program):
                program.proc.send_signal(sig)
                return program.wait_exit()
            return send
        for name, end in (("close box", lambda p: self.desktop.close_box(self.main, p)),
                          ("SIGTERM", signal_(signal.SIGTERM)),
                          ("SIGHUP", signal_(signal.SIGHUP))):
            with self.subTest(name):
                self.desktop.kill_programs()  # nothing left of a failed round
                self.desktop.write_ini(FOREIGN)
                program = self.start()
                expected = self.expected_after_exit()
                self.assertEqual(end(program), 0)
                self.assertEqual(self.desktop.read_ini(), expected)


if __name__ == "__main__":
    unittest.main()
