"""The alarm minute: the beep alert, and the gentle mode's fault dialog."""

import subprocess
import signal
import unittest

from harness import (DesktopTest, centre, clock, contents, extents, find, is_sensitive, is_showing, poll,
                     text)

RED, BLUE = (255, 0, 0), (0, 0, 255)


class Alarm(DesktopTest):
    def client_height(self):
        return self.desktop.client(self.main)[3] - extents(find("menu bar"))[3]

    def clock_colour(self):
        x, y, _, _ = extents(clock())
        return self.desktop.pixel(x + 4, y + 4)

    def test_beep_alert(self):
        self.desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        self.start(at="2026-12-07 07:29:58")
        self.assertEqual(self.client_height(), (1725 - 660) // 15)
        label = clock()
        poll(lambda: text(label).startswith("07:30:00"), what="the alarm minute")
        poll(lambda: self.client_height() == (2580 - 660) // 15, timeout=1,
             what="the window grown for the alarm-stop button")
        button = find("push button", "アラームストップ")
        # The clock blinks red and blue, once a second.
        seen = set()
        # (each tick colours it red again, so the blue lasts one tick of the second)
        poll(lambda: seen.add(self.clock_colour()) or {RED, BLUE} <= seen, timeout=8,
             interval=0, what="the clock blinking red and blue")

        # Pressing the button hides it (the window shrinks); the next tick brings it back.
        heights = subprocess.Popen(["xev", "-id", self.main, "-event", "structure"],
                                   env=self.desktop.env, stdout=subprocess.PIPE, text=True)
        try:
            self.desktop.click(*centre(button))
            poll(lambda: is_showing(button), what="the button back after a tick")
        finally:
            heights.terminate()
        sizes = [int(line.split("height ")[1].split(",")[0])
                 for line in heights.stdout.read().splitlines() if "height " in line]
        small = self.desktop.client(self.main)[3] - ((2580 - 1725) // 15)
        self.assertIn(small, sizes, "the window never went back to its normal height")
        self.assertEqual(self.client_height(), (2580 - 660) // 15)

    def test_after_the_minute(self):
        self.desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        self.start(at="2026-12-07 07:30:58")
        button = find("push button", "アラームストップ")
        label = clock()
        poll(lambda: text(label).startswith("07:31:00"), what="the minute after")
        poll(lambda: not is_showing(button) or self.client_height() == (1725 - 660) // 15,
             timeout=1, what="the normal height")
        self.assertEqual(self.client_height(), (1725 - 660) // 15)
        self.assertNotIn(self.clock_colour(), (RED, BLUE))

    def slow_session_lookup(self):
        """logind takes a second to find the caller's session, for as long as the test runs."""
        def lookup(code):
            self.desktop.mock_call("system", "org.freedesktop.login1", "/org/freedesktop/login1",
                                   "AddMethod", "org.freedesktop.login1.Manager",
                                   "GetSessionByPID", "u", "o", code)
        ret = 'ret = "/org/freedesktop/login1/session/c1"'
        lookup("__import__('time').sleep(1); " + ret)
        self.addCleanup(lookup, ret)

    def fault_height(self, wid):
        return self.desktop.client(wid)[3]

    def test_gentle_mode(self):
        before = b"[Quorvane]\r\nHOUR=7\r\nMIN=30\r\nBOMSETTING=3\r\nEASYMODE=1\r\n"
        self.desktop.write_ini(before)
        program = self.start(at="2026-12-07 07:29:53")
        # An open settings dialog and About box are closed when the fault dialog opens.
        self.desktop.click(*centre(clock()), repeat=2)
        self.desktop.window("^アラーム設定$")
        self.desktop.tray_menu(4)
        self.desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$")

        fault = self.desktop.window("^Explorer$", timeout=15)
        self.assertEqual(self.desktop.windows("^アラーム設定$"), [])
        self.assertEqual(self.desktop.windows("ﾊﾞｰｼﾞｮﾝ情報"), [])
        self.assertEqual(self.fault_height(fault), (1920 - 375) // 15)  # collapsed
        self.assertTrue(text(clock(showing=False)).startswith("07:30:0"))  # the window is hidden

        details = find("push button", "詳細\\(D\\)>>")
        self.desktop.click(*centre(details))
        poll(lambda: self.fault_height(fault) == (4185 - 375) // 15, timeout=2,
             what="the details pane")
        poll(lambda: not is_sensitive(details), timeout=2, what="詳細 disabled")
        dump = contents(find("text", "詳細"))
        self.assertEqual(len(dump.splitlines()), 11)
        self.assertTrue(dump.startswith("root"), "the fault line names the user")

        # "救　済" closes it; the next tick of the minute opens it again.
        self.desktop.click(*centre(find("push button", "救　済")))
        poll(lambda: fault not in self.desktop.windows("^Explorer$"), timeout=2,
             what="the dialog closed")
        again = self.desktop.window("^Explorer$", timeout=2)
        self.assertEqual(self.fault_height(again), (1920 - 375) // 15)

        # "閉じる(&C)" logs off through logind and ends the program; the file is not touched,
        # also when the session's SIGTERM comes while the request is still on its way.
        self.slow_session_lookup()
        self.desktop.click(*centre(find("push button", "閉じる\\(C\\)")))
        poll(lambda: self.desktop.logind_calls(), timeout=5, what="the log-off request")
        program.proc.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)
        calls = [c.split(" ")[0] for c in self.desktop.logind_calls()]
        self.assertEqual(calls, ["GetSessionByPID", "Terminate"])
        self.assertEqual(self.desktop.read_ini(), before)


if __name__ == "__main__":
    unittest.main()
