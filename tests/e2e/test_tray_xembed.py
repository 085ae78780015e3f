"""The tray icon as an XEmbed tray host (trayer) reports it."""

import time

from harness import DesktopTest, exit_status, poll


class XEmbed(DesktopTest):
    def test_mouse_and_exit(self):
        program = self.start()
        self.desktop.choose(self.desktop.open_menu(self.main, "alt+f"), 1)  # ﾀｽｸﾄﾚｲに入れる
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")
        icon_window = self.desktop.tray_icon()
        x, y, width, height = self.desktop.client(icon_window)
        icon = x + width // 2, y + height // 2
        # a single click, a middle click and a right press do nothing: once the program has
        # handled them, and the window manager anything the program asked of it meanwhile, no
        # window and no menu is shown
        self.desktop.click(*icon)
        self.desktop.click(*icon, button=2)
        self.desktop.x("xdotool", "mousemove", *map(str, icon), "mousedown", "3")
        self.desktop.round_trip(icon_window)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        self.assertIsNone(self.desktop.popup_menu_if_open())
        # the menu opens on the release, and again on a right click soon after it closed, whose
        # press reaches the program as a double-click (within 400 ms of the last press, after a
        # press that was not one): clicked again until that came, at least once
        self.desktop.x("xdotool", "mouseup", "3")
        pressed, after_double, doubles = None, False, 0
        for attempt in range(12):
            menu = self.desktop.popup_menu()
            self.desktop.key("Escape")
            poll(lambda: "IsViewable" not in self.desktop.x("xwininfo", "-id", menu),
                 what="the menu closed")
            if doubles:
                break
            now = time.monotonic()
            self.desktop.x("xdotool", "click", "3")
            double = pressed is not None and now - pressed < 0.3 and not after_double
            doubles, after_double, pressed = doubles + double, double, now
        self.assertGreater(doubles, 0, "no right click came soon enough to be a double-click")
        self.desktop.click(*icon, repeat=2)  # a double-click shows the window
        self.desktop.window("^Quorvane$")
        self.desktop.click(*icon, button=3)  # the menu's last item ends the program, and the icon goes
        self.desktop.choose(self.desktop.popup_menu(), 5)
        self.assertEqual(exit_status(program), 0)
        poll(lambda: '"quorvane"' not in self.desktop.x("xwininfo", "-root", "-tree"),
             what="the icon gone")
