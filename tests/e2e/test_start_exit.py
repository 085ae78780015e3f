"""Where the real window manager puts the window at start-up, and what the exits write."""

import os
import signal

from harness import BINARY, SCREEN, DesktopTest, clock, extents, find, poll, text

FOREIGN = b"; kept as it is\r\n[Other]\r\nTop=1\r\n\r\n[Quorvane]\r\nHOUR=7\r\n[Tail]\r\nx=y"


class StartAndExit(DesktopTest):
    def test_placement(self):
        # the outer size when placed: a client area 2985 twips wide and 2370 high below the menu
        # bar, in the design frame (6 px wide, 25 px high)
        centred = lambda w, h: (round((SCREEN[0] - w) / 2), round((SCREEN[1] - h) / 2))
        for keys, expected in ((None, centred), ("Top=-300\nLeft=150\n", lambda w, h: (10, 0)),
                               ("Top=99999\nLeft=99999\n", lambda w, h: (SCREEN[0] - w,
                                                                         SCREEN[1] - h)),
                               ("Left=3000\n", lambda w, h: (200, centred(w, h)[1]))):
            with self.subTest(keys=keys):
                if keys:
                    self.desktop.write_ini("[Quorvane]\n" + keys)
                self.start(at="2026-12-07 07:12:34")
                outer = 2985 // 15 + 6, 2370 // 15 + extents(find("menu bar", ""))[3] + 25
                self.assertEqual(self.desktop.frame(self.main)[:2], expected(*outer))
                label = clock()
                poll(lambda: text(label).startswith("07:12:3"), what="the faked time")
                self.desktop.kill_programs()

    def test_exits(self):
        def signal_(sig):
            return lambda program: program.proc.send_signal(sig) or program.wait_exit()
        for name, end in (("close box", lambda p: self.desktop.close_box(self.main, p)),
                          ("SIGTERM", signal_(signal.SIGTERM)), ("SIGHUP", signal_(signal.SIGHUP))):
            with self.subTest(name):
                self.desktop.kill_programs()  # nothing left of a failed round
                self.desktop.write_ini(FOREIGN)
                program = self.start()
                x, y = self.desktop.frame(self.main)[:2]
                written = b"MyPath=%s\r\nTop=%d\r\nLeft=%d\r\n" % (
                    os.path.realpath(BINARY).encode(), y * 15, x * 15)
                self.assertEqual(end(program), 0)
                self.assertEqual(self.desktop.read_ini(),
                                 FOREIGN.replace(b"HOUR=7\r\n", b"HOUR=7\r\n" + written))
