"""Restart, power-off and log-off at the alarm minute, through each desktop's session manager
and through logind."""

import time
import unittest

from harness import DesktopTest, clock, poll, text

# route: (bus name, object path, interface,
#         {setting: (method, its signature, the call as the mock logs it)})
SESSION_MANAGERS = {
    "KDE": ("org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown",
            {1: ("logoutAndReboot", "", "logoutAndReboot"),
             2: ("logoutAndShutdown", "", "logoutAndShutdown"),
             3: ("logout", "", "logout")}),
    "Xfce": ("org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager",
             {1: ("Restart", "b", "Restart True"),
              2: ("Shutdown", "b", "Shutdown True"),
              3: ("Logout", "bb", "Logout False True")}),
    "LXQt": ("org.lxqt.session", "/LXQtSession", "org.lxqt.session",
             {1: ("reboot", "", "reboot"), 2: ("powerOff", "", "powerOff"),
              3: ("logout", "", "logout")}),
    "GNOME": ("org.gnome.SessionManager", "/org/gnome/SessionManager",
              "org.gnome.SessionManager", {3: ("Logout", "u", "Logout 1")}),
}
LOGIND = {1: "Reboot True", 2: "PowerOff True"}
REPLY_DELAY = 0.5  # the mocked session managers take this long to answer


class ExitRequests(DesktopTest):
    def detonate(self, setting):
        self.desktop.write_ini(f"[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING={setting}\n")
        self.start(at="2026-12-07 07:30:00")
        return time.monotonic()

    def test_session_managers(self):
        for route, (name, path, iface, methods) in SESSION_MANAGERS.items():
            for setting in (1, 2, 3):
                with self.subTest(route=route, setting=setting):
                    self.desktop.mark_logs()
                    log = self.desktop.mock("session", [name, path, iface])
                    manager = self.desktop.groups[-1]
                    try:
                        self.desktop.wait_for_name("session", name)
                        for method, signature, _ in methods.values():
                            self.desktop.mock_call(
                                "session", name, path, "AddMethod", iface, method, signature,
                                "", f"__import__('time').sleep({REPLY_DELAY})")
                        started = self.detonate(setting)
                        if setting in methods:
                            expected = methods[setting][2]
                            calls = poll(lambda: len(self.desktop.mock_calls(log)) >= 2 and
                                         self.desktop.mock_calls(log), timeout=5,
                                         what=f"{expected} twice")
                            elapsed = time.monotonic() - started
                            self.desktop.kill_programs()
                            calls = self.desktop.mock_calls(log)
                            self.assertEqual(set(calls), {expected})
                            # one request in flight: the next goes after the reply
                            self.assertLessEqual(len(calls), elapsed / REPLY_DELAY + 2)
                            self.assertEqual(self.desktop.logind_calls(), [])
                        else:  # GNOME restarts and powers off through logind
                            poll(lambda: self.desktop.logind_calls(), timeout=5,
                                 what="a logind request")
                            self.desktop.kill_programs()
                            self.assertEqual(set(self.desktop.logind_calls()),
                                             {LOGIND[setting]})
                            self.assertEqual(self.desktop.mock_calls(log), [])
                    finally:
                        self.desktop.kill_programs()
                        self.desktop.end(manager)

    def test_logind_without_a_session_manager(self):
        for setting, expected in ((1, ["Reboot True"]), (2, ["PowerOff True"]),
                                  (3, ["GetSessionByPID", "Terminate"])):
            with self.subTest(setting=setting):
                self.desktop.mark_logs()
                self.detonate(setting)
                poll(lambda: len(self.desktop.logind_calls()) >= len(expected) + 1, timeout=5,
                     what="repeated requests")
                self.desktop.kill_programs()
                calls = [c.split(" ")[0] if c.startswith("GetSessionByPID") else c
                         for c in self.desktop.logind_calls()]
                # the request repeats on the ticks of the minute, always the same one
                self.assertEqual(calls[:len(expected)], expected)
                self.assertEqual(set(calls), set(expected))

    def test_other_settings_request_nothing(self):
        for setting in (4, -1):
            with self.subTest(setting=setting):
                self.desktop.mark_logs()
                self.detonate(setting)
                label = clock()
                poll(lambda: text(label).startswith("07:30:01"), what="a second of the minute")
                self.assertEqual(self.desktop.logind_calls(), [])
                self.desktop.kill_programs()


if __name__ == "__main__":
    unittest.main()
