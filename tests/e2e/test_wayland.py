"""A Wayland desktop with no X server at all: the program runs natively on Wayland."""

import os

from harness import BINARY, DesktopTest, mock, poll, terminate


class NativeWayland(DesktopTest):
    display, tray = "wayland", "dbus"

    def test_starts_and_exits_in_order(self):
        program = self.desktop.start_program()
        poll(lambda: mock(self.desktop.watcher, "GetMethodCalls", "RegisterStatusNotifierItem"),
             what="the tray icon")
        self.assertEqual(terminate(program), 0)
        self.assertIn(b"MyPath=%s\n" % os.path.realpath(BINARY).encode(), self.desktop.read_ini())
