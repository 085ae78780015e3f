"""The tray icon as a StatusNotifierItem host (a mocked watcher) calls it."""

import time

import dbus

from harness import DesktopTest, poll

SETTLE = 0.6  # how long "nothing happens" is watched for; more than the double-click time


class StatusNotifierItem(DesktopTest):
    tray = "dbus"

    def test_activations_and_menu(self):
        program = self.start()
        def registered():  # the bus name the program registered its icon under
            for call in self.desktop.mock_calls(self.desktop.watcher_log):
                name = call.split(" ", 1)[-1].strip('"')
                if call.startswith("RegisterStatusNotifierItem ") and f"uint32 {program.pid}," \
                        in self.desktop.gdbus("session", "org.freedesktop.DBus", "/",
                                              "org.freedesktop.DBus.GetConnectionUnixProcessID",
                                              name):
                    return name
        item = poll(registered, what="the icon's registration")
        host = lambda method, *args: self.desktop.gdbus("session", item, "/StatusNotifierItem",
                                                        method, *args)
        self.assertIn("'Quorvane'", host("org.freedesktop.DBus.Properties.Get",
                                         "org.kde.StatusNotifierItem", "ToolTip"))
        self.desktop.open_menu(self.main, "alt+f")
        self.desktop.key("Down", "Return")  # ﾀｽｸﾄﾚｲに入れる
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")
        # one activation is a single click: nothing; two in the double-click time show it
        host("org.kde.StatusNotifierItem.Activate", "0", "0")
        time.sleep(SETTLE)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        # the double-click's two activations over one connection, as a tray host sends them
        bus = dbus.bus.BusConnection(self.desktop.env["DBUS_SESSION_BUS_ADDRESS"])
        icon = bus.get_object(item, "/StatusNotifierItem")
        for _ in range(2):
            icon.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
        self.desktop.window("^Quorvane$")
        # the context menu opens at the pointer
        self.desktop.x("xdotool", "mousemove", "1200", "10")
        host("org.kde.StatusNotifierItem.ContextMenu", "1200", "10")
        x, y, _, _ = self.desktop.client(self.desktop.popup_menu())
        self.assertLess(abs(x - 1200) + abs(y - 10), 300)
