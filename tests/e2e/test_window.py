"""The main window on a real desktop: where the window manager puts it, the blinking beep alert,
the full hour heard (a private sound server records what the program plays), and the gentle
mode's fault dialog whose close button logs off through the mocked logind."""

import math
import os
import signal

import Xlib.X

from harness import SCREEN, DesktopTest, poll, samples, terminate

RED, BLUE = (255, 0, 0), (0, 0, 255)
# Outer heights in twips become client heights below the menu bar without the title bar and
# frame's 660 twips; 15 twips are a pixel.
NORMAL, ALARM = (1725 - 660) // 15, (2580 - 660) // 15
RATE = 44100  # sound samples a second


class Window(DesktopTest):
    sound = True

    def test_placement(self):
        # Placed by the size it is created with: a client area 2985 x 2370 twips below a menu
        # bar, in the designed frame: 3075 x 3030 twips (205 x 202 px) outside, centred on the
        # real screen; from the top left, where the saved position says (kept on the screen).
        for keys, expected in ((None, [round((SCREEN[0] - 205) / 2)]),
                               ("Top=-300\nLeft=150\n", [10, 0])):
            with self.subTest(keys=keys):
                if keys:
                    self.desktop.write_ini("[Quorvane]\n" + keys)
                self.start()
                frame = self.desktop.frame(self.main)
                self.assertEqual(list(frame[:len(expected)]), expected)
                if not keys:  # centred on the real menu bar's height, 18 or 19 px by the font
                    self.assertAlmostEqual(frame[1], (SCREEN[1] - 202) / 2, delta=1)
                self.desktop.kill_programs()

    def test_uptime_in_its_place(self):
        # The uptime label sits where the widest text of its hours' count of digits fits inside
        # the window (136 px): "0時間00分00秒経過" is 110 px (digits 7.5, kanji 12), so at 26; two
        # digits of hours at 18, three at 11. Its text is the first ink in its row, 56 to 68 px
        # below the menu bar; the first digit starts at the label's edge or a pixel after.
        self.start()
        hours = int(float(open("/proc/uptime").read().split()[0])) // 3600
        if len(str(hours)) > 3:
            self.skipTest("this machine has been up for more than 999 hours")
        x, y, width, height = self.desktop.client(self.main)
        top = y + height - NORMAL + 56
        root = self.desktop.xconn().screen().root

        def inked_columns():  # the dark pixels' columns, once the first tick has drawn the text
            strip = root.get_image(x, top, width, 12, Xlib.X.ZPixmap, 0xFFFFFFFF).data
            columns = [i % (4 * width) // 4 for i in range(0, len(strip), 4)
                       if max(strip[i:i + 3]) < 128]
            return 0 not in columns and columns  # (a window not painted yet is black)
        columns = poll(inked_columns, what="the uptime drawn")
        self.assertIn(min(columns) - {1: 26, 2: 18, 3: 11}[len(str(hours))], (0, 1))
        self.assertLess(max(columns), width - 1)  # not cut off: no ink in the last column

    def test_full_width_alarm_time(self):
        # A Japanese input method in full-width mode types "０７" and "３０": the alarm is 07:30,
        # and the file keeps the half-width text. The settings open with a double-click on the
        # clock; each box is clicked, emptied and typed into, then ＯＫ clicked (twips / 15 from
        # the dialog's design: hour box at 40,48, minute box at 96,48, ＯＫ at 128,192).
        self.start()
        x, y, _, height = self.desktop.client(self.main)
        self.desktop.click(x + 20, y + height - NORMAL + 10, repeat=2)
        dialog = self.desktop.window("^アラーム設定$")
        dx, dy, *_ = self.desktop.client(dialog)
        # The full-width digits get keys of their own first: xdotool would otherwise remap one
        # spare key for each character as it types, faster than a program reads the new map.
        self.desktop.xconn().change_keyboard_mapping(250, [(0x100FF10 + n,) for n in (0, 3, 7)])
        self.desktop.xconn().sync()
        for (left, top), text in (((40, 48), "０７"), ((96, 48), "３０")):
            self.desktop.click(dx + left + 16, dy + top + 12)
            self.desktop.key("ctrl+a", "BackSpace")
            self.desktop.x("xdotool", "type", "--delay", "30", text)
        self.desktop.click(dx + 128 + 32, dy + 192 + 12)
        poll(lambda: os.path.exists(self.desktop.ini) and
             b"HOUR=07" in self.desktop.read_ini() and b"MIN=30" in self.desktop.read_ini(),
             what="the alarm written as 07:30")

    def test_beep_alert_after_the_clock_moved(self):
        # The wall clock moved into the alarm minute while the program runs, as a time server or
        # a resume moves it.
        self.desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        self.start(at="2026-12-07 07:30:00")
        x, y, _, height = self.desktop.client(self.main)
        grown = poll(lambda: (h := self.desktop.client(self.main)[3]) >= height + ALARM - NORMAL
                     and h, timeout=10, what="the window grown for the alarm-stop button")
        # The clock fills the client area's top left, below the menu bar. Seen red and blue: each
        # tick paints it red again, so the blue falls between two ticks.
        clock = x + 4, y + grown - ALARM + 4
        seen = set()
        poll(lambda: seen.add(self.desktop.pixel(*clock)) or {RED, BLUE} <= seen,
             timeout=60, interval=0.002, what="the clock blinking red and blue in the minute")

    def test_gentle_mode(self):
        before = b"[Quorvane]\r\nHOUR=7\r\nMIN=30\r\nBOMSETTING=3\r\nEASYMODE=1\r\n"
        self.desktop.write_ini(before)
        program = self.start(at="2026-12-07 07:29:58")
        fault = self.desktop.window("^Explorer$", timeout=15)
        self.assertIn("_NET_WM_STATE_ABOVE", self.desktop.x("xprop", "-id", fault,
                                                             "_NET_WM_STATE"))
        # logind takes a second to find the caller's session; the session's SIGTERM comes while
        # the log-off is still on its way, and must not make the program write anything.
        self.desktop.session_lookup("__import__('time').sleep(1); "
                                    "ret = '/org/freedesktop/login1/session/c1'")
        self.addCleanup(self.desktop.session_lookup)
        # Enter presses "閉じる(C)", which has the focus (again if the key was lost)
        poll(lambda: fault in self.desktop.windows("^Explorer$") and
             self.desktop.press(fault, "Return") or self.desktop.logind_calls(),
             timeout=10, interval=1, what="the log-off request")
        self.assertEqual(terminate(program), 0)
        self.assertEqual(self.desktop.logind_calls(), ["GetSessionByPID", "Terminate"])
        self.assertEqual(self.desktop.read_ini(), before)

    def test_the_full_hour_is_heard(self):
        recorder, path = self.desktop.record()
        self.start(at="2026-12-07 07:59:55")  # the hour five seconds after the window is up
        up = os.path.getsize(path) // 2
        poll(lambda: os.path.getsize(path) // 2 > up + 9 * RATE, timeout=30,
             what="nine seconds recorded")
        self.desktop.end(recorder, signal.SIGINT)
        recorded = samples(path)
        # silence before the hour: the first sound comes seconds after the window is up
        first = next((i for i, s in enumerate(recorded) if s), len(recorded))
        self.assertGreater(first, up + 3 * RATE, "silence before the hour")
        rms = lambda part: math.sqrt(sum(s * s for s in part) / max(len(part), 1)) / 32768
        loudest = max((rms(recorded[i:i + RATE // 2])
                       for i in range(first, len(recorded), RATE // 2)), default=0)
        self.assertGreater(loudest, 0.01, "the chime at the full hour")
