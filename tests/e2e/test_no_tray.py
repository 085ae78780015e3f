"""A desktop with no tray at all: the warning, and an end before the window is shown."""

from harness import DesktopTest, find, poll


class NoTray(DesktopTest):
    tray = None

    def test_warning_and_end(self):
        self.desktop.write_ini(b"[Quorvane]\nTop=10\n")
        program = self.desktop.start_program()
        seen = []  # main windows seen while the warning comes up
        box = poll(lambda: seen.extend(self.desktop.windows("^Quorvane$")) or
                   self.desktop.windows("^警告$"), what="the warning")[0]
        find("label", "時限爆弾の起動に失敗しました")
        self.desktop.x("xdotool", "windowactivate", "--sync", box)
        self.desktop.key("Return")
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(seen, [], "the main window was shown")
        self.assertEqual(self.desktop.read_ini(), b"[Quorvane]\nTop=10\n")
