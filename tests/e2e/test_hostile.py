"""The real program in hostile surroundings: missing buses and folders, many starts at once. It
must neither crash, hang nor lose data."""

import os

from harness import DesktopTest, poll, terminate


class Hostile(DesktopTest):
    def test_surroundings(self):
        new = os.path.join(self.desktop.root, "new", "config")
        for name, changes, config in (
                ("no session bus", {"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"},
                 self.desktop.config),
                ("config folder missing", {"XDG_CONFIG_HOME": new}, new),
                ("config folder unwritable", {"XDG_CONFIG_HOME": "/proc/quorvane"}, None),
                ("config folder unset", {"XDG_CONFIG_HOME": None}, self.desktop.config),
                ("runtime folder unset", {"XDG_RUNTIME_DIR": None}, self.desktop.config),
                ("runtime folder missing", {"XDG_RUNTIME_DIR": "/nonexistent/run"},
                 self.desktop.config)):
            with self.subTest(name):
                self.desktop.kill_programs()  # a start left hanging must not fail the next rows
                program = self.desktop.start_program(env_changes=changes)
                self.desktop.window("^Quorvane$")
                self.desktop.tray_icon()  # the XEmbed tray needs no bus
                self.assertEqual(terminate(program), 0)  # an orderly end, which writes
                if config:
                    os.remove(os.path.join(config, "velmaris.ini"))  # it was written there
        self.assertFalse(os.path.exists("/nonexistent"))  # a missing runtime folder is not made
        # both folders made, private to the user
        self.assertEqual([os.stat(f).st_mode & 0o777 for f in (new, os.path.dirname(new))],
                         [0o700, 0o700])

    def test_twenty_simultaneous_starts(self):
        programs = [self.desktop.start_program() for _ in range(20)]
        # one window and nineteen messages, all titled Quorvane
        poll(lambda: len(self.desktop.windows("^Quorvane$")) == 20, timeout=60,
             what="twenty windows")
        for wid in self.desktop.windows("^Quorvane$"):  # dismiss every message box
            if "_NET_WM_WINDOW_TYPE_DIALOG" in self.desktop.x("xprop", "-id", wid,
                                                             "_NET_WM_WINDOW_TYPE"):
                self.desktop.press(wid, "Return")
        poll(lambda: sum(p.poll() is None for p in programs) == 1, timeout=60,
             what="one instance left")
        self.assertEqual([p.returncode for p in programs if p.poll() is not None], [0] * 19)
        # the X server removes an ended program's windows a moment after it ends
        poll(lambda: len(self.desktop.windows("^Quorvane$")) == 1, what="one window left")
