"""The tray icon as a StatusNotifierItem host (a mocked watcher) calls it."""

import time

import dbus

from harness import DesktopTest, mock, poll

SETTLE = 0.6  # how long "nothing happens" is watched for; more than the double-click time
ITEM = "org.kde.StatusNotifierItem"


class StatusNotifierItem(DesktopTest):
    tray = "dbus"

    def test_activations_and_menu(self):
        self.start()
        calls = poll(lambda: mock(self.desktop.watcher, "GetMethodCalls",
                                  "RegisterStatusNotifierItem"), what="the icon's registration")
        # the bus name the icon was registered under; one connection, as a tray host has
        bus = dbus.bus.BusConnection(self.desktop.env["DBUS_SESSION_BUS_ADDRESS"])
        icon = bus.get_object(str(calls[0][1][0]), "/StatusNotifierItem")
        tooltip = icon.Get(ITEM, "ToolTip", dbus_interface=dbus.PROPERTIES_IFACE)
        self.assertEqual(str(tooltip[2]), "Quorvane")
        self.desktop.open_menu(self.main, "alt+f")
        self.desktop.key("Down", "Return")  # ﾀｽｸﾄﾚｲに入れる
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")
        # one activation is a single click: nothing; two in the double-click time show it
        icon.Activate(0, 0, dbus_interface=ITEM)
        time.sleep(SETTLE)
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        for _ in range(2):
            icon.Activate(0, 0, dbus_interface=ITEM)
        self.desktop.window("^Quorvane$")
        # the context menu opens at the pointer
        self.desktop.x("xdotool", "mousemove", "1200", "10")
        icon.ContextMenu(1200, 10, dbus_interface=ITEM)
        x, y, _, _ = self.desktop.client(self.desktop.popup_menu())
        self.assertLess(abs(x - 1200) + abs(y - 10), 300)
