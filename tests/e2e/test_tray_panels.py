"""The tray icon in real desktop panels that host status-notifier items and draw their menus
themselves: Xfce's panel (GTK) and LXQt's (Qt)."""

import dbus
import Xlib.X

from harness import DesktopTest, exit_status, poll

# The tray menu as the program offers it: captions in order, "-" for a separator.
TRAY_MENU = ["基本画面の表示", "設定画面の表示", "｢最近使ったﾌｧｲﾙ｣削除", "-", "ﾊﾞｰｼﾞｮﾝ情報", "-",
             "ｱﾌﾟﾘｹｰｼｮﾝの終了"]
ITEM = "org.kde.StatusNotifierItem"
ICON = (12, 15)  # inside the first item at the left end of the 30 px panel along the top


class Panel:
    def registered_item(self):
        """The bus name and object path of the one item the panel's watcher lists."""
        items = self.desktop.watcher_property("RegisteredStatusNotifierItems") or []
        if len(items) != 1:
            return None
        name, _, path = str(items[0]).partition("/")
        return name, "/" + path

    def item(self):
        """The program's status-notifier item, as the panel sees it."""
        name, path = poll(self.registered_item, what="the icon registered")
        return self.desktop.bus().get_object(name, path)

    def exported_menu(self, item):
        """The item's D-Bus menu, as a host reads it: captions in order, "-" for a separator."""
        menu_path = item.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
        _, layout = self.desktop.bus().get_object(item.bus_name, menu_path).GetLayout(
            0, -1, dbus.Array([], signature="s"), dbus_interface="com.canonical.dbusmenu")
        return ["-" if props.get("type") == "separator" else str(props.get("label"))
                for _, props, _ in layout[2]]

    def open_menu_if_shown(self):
        """A viewable pop-up window at least 100 px high, as a menu of seven items is."""
        for window in self.desktop.xconn().screen().root.query_tree().children:
            attributes = window.get_attributes()
            if attributes.override_redirect and attributes.map_state == Xlib.X.IsViewable and \
                    window.get_geometry().height >= 100:
                return window
        return None

    def choose_from_tray_menu(self, downs):
        """Right-clicks the icon, waits for the panel's menu and chooses an item by keys."""
        self.desktop.click(*ICON, button=3)
        self.desktop.choose(poll(self.open_menu_if_shown, what="the panel's menu"), downs)

    def test_menu_double_click_and_restart(self):
        program = self.start()
        item = self.item()
        self.assertEqual(self.exported_menu(item), TRAY_MENU)
        self.assertEqual(str(item.Get(ITEM, "ToolTip", dbus_interface=dbus.PROPERTIES_IFACE)[2]),
                         "Quorvane")
        # a host that asks the item to show its menu gets the program's own, at the pointer
        self.desktop.x("xdotool", "mousemove", "1200", "300")
        item.ContextMenu(1200, 300, dbus_interface=ITEM)
        menu = self.desktop.popup_menu()
        x, y, _, _ = self.desktop.client(menu)
        self.assertLess(abs(x - 1200) + abs(y - 300), 300)
        self.desktop.key("Escape")
        poll(lambda: "IsViewable" not in self.desktop.x("xwininfo", "-id", menu),
             what="the menu closed")
        self.desktop.choose(self.desktop.open_menu(self.main, "alt+f"), 1)  # ﾀｽｸﾄﾚｲに入れる
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden")
        self.desktop.click(*ICON, repeat=2)  # a double-click shows the window
        self.desktop.window("^Quorvane$")
        self.desktop.choose(self.desktop.open_menu(self.main, "alt+f"), 1)
        poll(lambda: not self.desktop.windows("^Quorvane$"), what="the window hidden again")
        # 設定画面の表示 opens the settings; the hidden window stays hidden
        self.choose_from_tray_menu(2)
        self.desktop.window("^アラーム設定$")
        self.assertEqual(self.desktop.windows("^Quorvane$"), [])
        # a restarted panel shows the icon again, with its menu, whose last item ends the program
        # (the settings dialog still open)
        self.desktop.restart_panel()
        poll(self.registered_item, what="the icon registered again")
        self.choose_from_tray_menu(5)
        self.assertEqual(exit_status(program), 0)
        self.assertRegex(self.desktop.read_ini().decode(),
                         r"^\[Quorvane\]\nMyPath=.*/quorvane\nTop=\d+\nLeft=\d+\n$")


class Xfce(Panel, DesktopTest):
    tray = "xfce"


class LXQt(Panel, DesktopTest):
    tray = "lxqt"
