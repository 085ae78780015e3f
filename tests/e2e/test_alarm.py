"""The alarm minute seen on a real desktop: the blinking beep alert, and the gentle mode's fault
dialog whose close button logs off through the mocked logind."""

import signal

from harness import DesktopTest, centre, clock, extents, find, poll, text

RED, BLUE = (255, 0, 0), (0, 0, 255)


class Alarm(DesktopTest):
    def test_beep_alert(self):
        self.desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        self.start(at="2026-12-07 07:29:58")
        client_height = lambda: self.desktop.client(self.main)[3] - extents(find("menu bar"))[3]
        self.assertEqual(client_height(), (1725 - 660) // 15)
        label = clock()
        poll(lambda: text(label).startswith("07:30:00"), what="the alarm minute")
        poll(lambda: client_height() == (2580 - 660) // 15, timeout=1,
             what="the window grown for the alarm-stop button")
        find("push button", "アラームストップ")
        # Seen red and blue: each tick paints it red again, so the blue falls between two ticks.
        x, y, _, _ = extents(label)
        seen = set()
        poll(lambda: seen.add(self.desktop.pixel(x + 4, y + 4)) or {RED, BLUE} <= seen,
             timeout=8, interval=0, what="the clock blinking red and blue")

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
        self.desktop.click(*centre(find("push button", "閉じる\\(C\\)")))
        poll(self.desktop.logind_calls, timeout=5, what="the log-off request")
        program.proc.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(self.desktop.logind_calls(), ["GetSessionByPID", "Terminate"])
        self.assertEqual(self.desktop.read_ini(), before)
