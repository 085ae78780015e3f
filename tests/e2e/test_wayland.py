"""A Wayland desktop with no X server at all: the program runs natively on Wayland."""

import signal

from harness import DesktopTest, clock, poll, text


class NativeWayland(DesktopTest):
    display, tray = "wayland", "dbus"

    def test_starts_ticks_and_exits_in_order(self):
        program = self.desktop.start_program(at="2026-12-07 07:12:34")
        poll(lambda: any(c.startswith("RegisterStatusNotifierItem ")
                         for c in self.desktop.mock_calls(self.desktop.watcher_log)),
             what="the tray icon")
        label = clock()
        poll(lambda: text(label).startswith("07:12:3"), what="the clock")
        program.proc.send_signal(signal.SIGTERM)
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn(b"MyPath=", self.desktop.read_ini())
