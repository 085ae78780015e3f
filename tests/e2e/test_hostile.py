"""The real program in hostile surroundings: missing buses and folders, many starts at once. It
must neither crash, hang nor lose data."""

import os
import time

from harness import DesktopTest, poll

SETTLE = 1.5  # how long a program that should keep running is watched


class Hostile(DesktopTest):
    def test_no_session_bus(self):
        program = self.desktop.start_program(
            env_changes={"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"})
        self.desktop.window("^Quorvane$")
        self.desktop.tray_icon()  # the XEmbed tray needs no bus
        self.assertTrue(program.running())

    def test_folders(self):
        new = os.path.join(self.desktop.root, "new", "config")
        for name, changes, config in (
                ("config folder missing", {"XDG_CONFIG_HOME": new}, new),
                ("config folder unwritable", {"XDG_CONFIG_HOME": "/proc/quorvane"}, None),
                ("config folder unset", {"XDG_CONFIG_HOME": None}, self.desktop.config),
                ("HOME unset", {"HOME": None}, self.desktop.config),
                ("data folder missing", {"XDG_DATA_HOME": "/nonexistent/data"}, self.desktop.config),
                ("runtime folder unset", {"XDG_RUNTIME_DIR": None}, self.desktop.config),
                ("runtime folder missing", {"XDG_RUNTIME_DIR": "/nonexistent/run"},
                 self.desktop.config)):
            with self.subTest(name):
                program = self.desktop.start_program(env_changes=changes)
                self.assertEqual(self.desktop.close_box(self.desktop.window("^Quorvane$"),
                                                        program), 0)
                if config:
                    os.remove(os.path.join(config, "velmaris.ini"))  # it was written there
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
                self.desktop.x("xdotool", "windowactivate", "--sync", wid)
                self.desktop.key("Return")
        poll(lambda: sum(p.running() for p in programs) == 1, timeout=60,
             what="one instance left")
        self.assertEqual([p.proc.returncode for p in programs if not p.running()], [0] * 19)
        self.assertEqual(len(self.desktop.windows("^Quorvane$")), 1)

    def test_start_right_after_a_kill(self):
        first = self.desktop.start_program()
        self.desktop.window("^Quorvane$")
        self.desktop.end(first.proc)
        second = self.desktop.start_program()
        main = self.desktop.window("^Quorvane$")
        time.sleep(SETTLE)
        self.assertTrue(second.running())
        self.assertEqual(self.desktop.windows("^Quorvane$"), [main])  # no "already running"
