"""Restart, power-off and log-off at the alarm minute reach the mocked logind; other settings
ask nothing."""

import unittest

from harness import DesktopTest, clock, poll, text


class ExitRequests(DesktopTest):
    def test_logind(self):
        for setting, expected in ((1, ["Reboot"]), (2, ["PowerOff"]),
                                  (3, ["GetSessionByPID", "Terminate"]), (4, [])):
            with self.subTest(setting=setting):
                self.desktop.mark_logs()
                self.desktop.write_ini(f"[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING={setting}\n")
                self.start(at="2026-12-07 07:30:00")
                if expected:
                    poll(lambda: len(self.desktop.logind_calls()) >= len(expected), timeout=5,
                         what="the request")
                else:
                    label = clock()
                    poll(lambda: text(label).startswith("07:30:01"), what="a second of it")
                self.desktop.kill_programs()
                calls = [c.split(" ")[0] for c in self.desktop.logind_calls()]
                # the request repeats on the ticks of the minute, always the same one
                self.assertEqual(calls[:len(expected)], expected)
                self.assertEqual(set(calls), set(expected))
                if setting in (1, 2):
                    self.assertIn(expected[0] + " True", self.desktop.logind_calls())


if __name__ == "__main__":
    unittest.main()
