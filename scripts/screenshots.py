"""Renders the program's windows in their interesting states to PNG files, on a private desktop:
    QUORVANE_BIN=build/app/quorvane python3 scripts/screenshots.py docs/screenshots
(or `cmake --build build --target screenshots`)."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Desktop, poll  # noqa: E402

RED = (255, 0, 0)
NORMAL = (1725 - 660) // 15  # the client height below the menu bar, in pixels


def screenshot(desktop, path, rect):
    """The screen's rectangle (left, top, width, height) as a PNG file."""
    subprocess.run(["import", "-window", "root", "-crop", "{2}x{3}+{0}+{1}".format(*rect), path],
                   env=desktop.env, check=True, timeout=30)
    print(path)


def shoot(desktop, out, name, wid):
    screenshot(desktop, os.path.join(out, name + ".png"), desktop.frame(wid))


def start_at(desktop, when):
    """Starts the program with its wall clock standing until its window is up, then at when."""
    desktop.start_program(faked_clock=True)
    window = desktop.window("^Quorvane$")
    desktop.set_clock(when)
    return window


def main(out):
    os.makedirs(out, exist_ok=True)
    desktop = Desktop().start()
    try:
        # The clock window, and the settings dialog over it.
        desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\nDELLMODE=1\n")
        main_window = start_at(desktop, "2026-12-07 07:12:34")
        time.sleep(1)  # the first ticks painted
        shoot(desktop, out, "main", main_window)

        desktop.click(*desktop.tray_icon(), button=3)
        desktop.choose(desktop.popup_menu(), 2)  # 設定画面の表示
        shoot(desktop, out, "settings", desktop.window("^アラーム設定$"))
        desktop.key("Escape")  # no cancel button: the dialog stays
        desktop.key("Tab", "Return")  # from OK to Cancel

        desktop.click(*desktop.tray_icon(), button=3)
        menu = desktop.popup_menu()
        x, y, w, h = desktop.client(menu)
        screenshot(desktop, os.path.join(out, "tray-menu.png"),
                   (x - 4, 0, desktop.client(menu)[2] + 28 + 4, y + h + 4))
        desktop.choose(menu, 4)  # ﾊﾞｰｼﾞｮﾝ情報
        shoot(desktop, out, "about", desktop.window("^Quorvaneのﾊﾞｰｼﾞｮﾝ情報$"))
        desktop.key("Return")
        desktop.kill_programs()

        # The beep alert: the grown window with the alarm-stop button, the clock red.
        desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        main_window = start_at(desktop, "2026-12-07 07:30:00")
        x, y, _, height = poll(lambda: (c := desktop.client(main_window))[3] > NORMAL + 30 and c,
                               what="the alarm-stop button")
        menu_bar = height - (2580 - 660) // 15
        poll(lambda: desktop.pixel(x + 4, y + menu_bar + 4) == RED, interval=0,
             what="the clock red")
        shoot(desktop, out, "alarm", main_window)
        desktop.kill_programs()

        # The gentle mode's fault dialog, collapsed and with its details.
        desktop.write_ini("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=3\nEASYMODE=1\n")
        start_at(desktop, "2026-12-07 07:30:00")
        fault = desktop.window("^Explorer$")
        shoot(desktop, out, "fault", fault)
        desktop.press(fault, "alt+d")  # 詳細(D)>>
        poll(lambda: desktop.client(fault)[3] == (4185 - 375) // 15, what="the details")
        shoot(desktop, out, "fault-details", fault)
        desktop.kill_programs()
    finally:
        desktop.stop()


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "docs/screenshots")
