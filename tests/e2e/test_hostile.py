"""The real program in hostile surroundings: missing buses, odd settings files and folders,
many starts at once. It must neither crash, hang nor lose data."""

import os
import signal
import time
import unittest

from harness import DesktopTest, poll

SETTLE = 1.5  # how long a program that should keep running is watched


class Hostile(DesktopTest):
    def run_and_close(self, env_changes=None):
        """Starts the program, waits for its window, closes it; returns its exit status."""
        program = self.desktop.start_program(env_changes=env_changes)
        return self.desktop.close_box(self.desktop.window("^Quorvane$"), program)

    def test_no_session_bus(self):
        program = self.desktop.start_program(
            env_changes={"DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/bus"})
        self.desktop.window("^Quorvane$")
        self.desktop.tray_icon()  # the XEmbed tray needs no bus
        self.assertTrue(program.running())

    def test_no_system_bus_exit_request_fails_silently(self):
        self.desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=2\n")
        program = self.desktop.start_program(
            at="2026-12-07 07:30:00",
            env_changes={"DBUS_SYSTEM_BUS_ADDRESS": "unix:path=/nonexistent/bus"})
        self.desktop.window("^Quorvane$")
        time.sleep(SETTLE)  # the minute's ticks keep asking, and keep failing
        self.assertTrue(program.running())
        self.assertEqual(self.desktop.logind_calls(), [])

    def test_settings_path_is_not_a_plain_file(self):
        ini, target = self.desktop.ini, os.path.join(self.desktop.config, "elsewhere", "x.ini")
        cases = [  # what is there, how it is made, how it must be left, how it is removed
            ("FIFO", os.mkfifo, lambda: not os.path.isfile(ini), os.remove),
            ("folder", os.mkdir, lambda: os.path.isdir(ini), os.rmdir),
            ("dangling link", lambda p: os.symlink("elsewhere/x.ini", p),
             lambda: os.path.islink(ini) and b"MyPath=" in open(target, "rb").read(), os.remove),
        ]
        for name, make, left, remove in cases:
            with self.subTest(name):
                make(ini)
                self.assertEqual(self.run_and_close(), 0)  # a FIFO never blocks a read
                self.assertTrue(left())  # never replaced; a link stays a link
                remove(ini)

    def test_unreadable_and_read_only_settings_file(self):
        # neither is changed by the exit's writes, also when the program runs as root
        for mode in (0o000, 0o444):
            with self.subTest(mode=oct(mode)):
                self.desktop.write_ini(b"[Quorvane]\nTop=0\n")
                os.chmod(self.desktop.ini, mode)
                self.assertEqual(self.run_and_close(), 0)
                self.assertEqual(os.stat(self.desktop.ini).st_mode & 0o777, mode)
                os.chmod(self.desktop.ini, 0o600)
                self.assertEqual(self.desktop.read_ini(), b"[Quorvane]\nTop=0\n")

    def test_very_large_settings_file(self):
        junk = b"".join(b"; %08d some text the user keeps in the same file\n" % i
                        for i in range(1_000_000))  # about 50 MB
        self.desktop.write_ini(junk + b"[Quorvane]\nTop=150\nLeft=300\n")
        started = time.monotonic()
        program = self.desktop.start_program()
        main = self.desktop.window("^Quorvane$")
        self.assertLess(time.monotonic() - started, 15)
        # placed from the keys at the end (the window manager may count the position for the
        # window or for its frame when the start is slow)
        x, y = self.desktop.client(main)[:2]
        self.assertLessEqual(abs(x - 20) + abs(y - 10), 30)
        self.assertEqual(self.desktop.close_box(main, program, timeout=30), 0)
        after = self.desktop.read_ini()
        self.assertTrue(after.startswith(junk))
        self.assertIn(b"MyPath=", after[len(junk):])

    def test_folders(self):
        cases = [
            ("config folder missing", {"XDG_CONFIG_HOME": os.path.join(self.desktop.root, "new",
                                                                        "config")}, True),
            ("config folder unwritable", {"XDG_CONFIG_HOME": "/proc/quorvane"}, False),
            ("config folder unset", {"XDG_CONFIG_HOME": None}, True),
            ("HOME unset", {"HOME": None}, True),
            ("data folder missing", {"XDG_DATA_HOME": "/nonexistent/data"}, True),
            ("runtime folder unset", {"XDG_RUNTIME_DIR": None}, True),
            ("runtime folder missing", {"XDG_RUNTIME_DIR": "/nonexistent/run"}, True),
        ]
        for name, changes, writes in cases:
            with self.subTest(name):
                config = changes.get("XDG_CONFIG_HOME", self.desktop.config) or \
                    os.path.join(self.desktop.home, ".config")
                ini = os.path.join(config, "velmaris.ini")
                self.assertEqual(self.run_and_close(changes), 0)
                self.assertEqual(os.path.exists(ini), writes, ini)
                if name == "config folder missing":  # both folders made, private to the user
                    for folder in (config, os.path.dirname(config)):
                        self.assertEqual(os.stat(folder).st_mode & 0o777, 0o700, folder)
                if writes:
                    os.remove(ini)

    def test_twenty_simultaneous_starts(self):
        programs = [self.desktop.start_program() for _ in range(20)]
        # one window and nineteen messages, all titled Quorvane
        poll(lambda: len(self.desktop.windows("^Quorvane$")) == 20, timeout=60,
             what="twenty windows")
        # dismiss every message box: the windows that are not the main window (it has a menu)
        for wid in self.desktop.windows("^Quorvane$"):
            if "_NET_WM_WINDOW_TYPE_DIALOG" in self.desktop.x("xprop", "-id", wid,
                                                             "_NET_WM_WINDOW_TYPE"):
                self.desktop.x("xdotool", "windowactivate", "--sync", wid)
                self.desktop.key("Return")
        poll(lambda: sum(p.running() for p in programs) == 1, timeout=60,
             what="one instance left")
        survivors = [p for p in programs if p.running()]
        self.assertEqual(len(survivors), 1)
        for p in programs:
            if p is not survivors[0]:
                self.assertEqual(p.proc.returncode, 0)
        self.assertEqual(len(self.desktop.windows("^Quorvane$")), 1)

    def test_start_right_after_a_kill(self):
        first = self.desktop.start_program()
        self.desktop.window("^Quorvane$")
        os.killpg(first.proc.pid, signal.SIGKILL)
        first.proc.wait(timeout=5)
        second = self.desktop.start_program()
        main = self.desktop.window("^Quorvane$")
        time.sleep(SETTLE)
        self.assertTrue(second.running())
        self.assertEqual(self.desktop.windows("^Quorvane$"), [main])  # no "already running"


if __name__ == "__main__":
    unittest.main()
