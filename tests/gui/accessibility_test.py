#!/usr/bin/python3
"""The clock as a screen reader finds it, and the zone picker by keyboard, in a real
window under Xvfb with a private session bus and the AT-SPI registry started here.

- With the time frozen at 12:34:10 UTC, the window is a frame and the tree holds the dots'
  time "12:34:10", focusable; every toolbar button has a name.
- Ctrl+Z shows the zone selector; typing "tok" and Enter picks Asia/Tokyo; Ctrl+S works at
  once (the window widens for the seconds); the dots come to show Tokyo's time (hour 21,
  read from the screen) and the tree names the zone.

Usage: accessibility_test.py BUILD_DIR
"""

import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, application, program_folder,  # noqa: E402
                     press, start_program, stop_process, text_of, under_accessibility_bus,
                     wait_for_window, wait_until, walk, xdotool)

FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
SECONDS_ON = '255,0,16777215,#FALSE#,#TRUE#,#FALSE#,#FALSE#,1500,3000,"smallworld.wav",#FALSE#\r\n'
SECONDS_OFF = SECONDS_ON.replace("#FALSE#,#TRUE#,", "#FALSE#,#FALSE#,", 1)
PX = 15  # twips per pixel
ROW_TOP = 828  # the normal row's top, twips
HOUR_LEFT = [240, 480, 720, 960, 1200]  # the hour dots' left edges, twips
RED, BLACK = (255, 0, 0), (0, 0, 0)

report = Report()
check = report.check


def named_texts(pyatspi, app):
    """Names of the labels of the clock's window (the zone label)."""
    return [n.name for n in walk(app) if n.getRole() == pyatspi.ROLE_LABEL]


def dots_node(pyatspi, app):
    """The dots: a status bar named by the time they show."""
    for n in walk(app):
        if n.getRole() == pyatspi.ROLE_STATUS_BAR and n.name[:2].isdigit():
            return n
    return None


def zone_selector(pyatspi, app):
    """(whether the zone selector shows, the text in its field); (False, None) before it
    is first made."""
    def combo(node, depth=0):
        for child in node:
            role = child.getRole()
            if role == pyatspi.ROLE_COMBO_BOX:
                return child
            # The lists of zones and the menus hold hundreds of items and no selector.
            if depth < 10 and role not in (pyatspi.ROLE_LIST, pyatspi.ROLE_MENU_BAR):
                found = combo(child, depth + 1)
                if found is not None:
                    return found
        return None
    selector = combo(app)
    if selector is None:
        return False, None
    field = next((c for c in selector if c.getRole() == pyatspi.ROLE_TEXT), None)
    return (selector.getState().contains(pyatspi.STATE_SHOWING),
            text_of(field) if field is not None else None)


def screenshot(display, path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=20,
                   env={"PATH": "/usr/bin:/bin", "DISPLAY": display})
    return Image.open(path).convert("RGB")


def hour_on_screen(display, window, work):
    """The hour the hour dots show, read from a screenshot; None when they show none."""
    geometry = xdotool(display, "getwindowgeometry", window) or ""
    x0, y0 = (int(v) for v in geometry.split("Position:")[1].split()[0].split(","))
    img = screenshot(display, os.path.join(work, "picker.png"))
    for dy in range(0, 60):  # the menu bar's height is the platform's
        colours = [img.getpixel((x0 + (left + 120) // PX, y0 + dy + (ROW_TOP + 126) // PX))
                   for left in HOUR_LEFT]
        if all(c in (RED, BLACK) for c in colours):
            return sum(16 >> i for i, c in enumerate(colours) if c == RED)
    return None


def window_width(display, window):
    geometry = xdotool(display, "getwindowgeometry", window) or ""
    return int(geometry.split("Geometry:")[1].split("x")[0]) if "Geometry:" in geometry else 0


def start_clock(work, build, display, bus_env, name, preferences, faketime):
    """The clock from a folder of its own, on the bus, its clock set by `faketime`."""
    folder = program_folder(os.path.join(work, name), build, preferences=preferences)
    env = {**bus_env, "LD_PRELOAD": FAKETIME, "FAKETIME": faketime,
           "FAKETIME_DONT_FAKE_MONOTONIC": "1", "TZ": "UTC"}
    return start_program(folder, display, env, log_path=os.path.join(work, name + ".log"))


def frozen_tree(pyatspi, work, build, display, bus_env):
    proc = start_clock(work, build, display, bus_env, "frozen", SECONDS_ON, "2026-12-10 12:34:10")
    try:
        wait_for_window(display, "Tessaron", proc)
        app = application(pyatspi, proc)
        dots = None
        try:
            dots = wait_until(lambda: dots_node(pyatspi, app), 10, 0.2, "the dots")
            # The first tick comes less than a second after the window.
            wait_until(lambda: text_of(dots) == "12:34:10", 5, 0.1, "the frozen time")
        except TimeoutError:
            pass
        shown = text_of(dots) if dots is not None else None
        check("the dots' text is the frozen time", shown == "12:34:10",
              f"text {shown!r}; roles {[(n.getRoleName(), n.name) for n in walk(app)][:40]}")
        check("the dots are named by that time", dots is not None and dots.name == "12:34:10")
        windows = [(w.getRoleName(), w.name) for w in app]
        check("the clock's window is a frame", ("frame", "Tessaron") in windows,
              f"windows {windows}")
        state = dots.getState() if dots is not None else None
        check("the dots take the keyboard focus",
              state is not None and state.contains(pyatspi.STATE_FOCUSABLE), f"dots {dots}")
        bars = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_TOOL_BAR]
        buttons = [b for bar in bars for b in bar
                   if b.getState().contains(pyatspi.STATE_SHOWING)]
        names = [b.name for b in buttons]
        check("the toolbar has ten buttons", len(buttons) == 10, f"found {names}")
        check("every toolbar button has a name", buttons and all(names), f"names {names}")
        # Commands are plain push buttons; a switch tells whether it is on (Qt 6.4's
        # bridge gives a checkable button no toggle-button role: a check box says it).
        roles = [b.getRoleName() for b in buttons]
        expected = ["check box" if i in (1, 2, 3, 4, 8, 10) else "push button"
                    for i in range(1, 11)]
        check("commands are push buttons and switches say whether they are on",
              roles == expected, f"roles {list(zip(names, roles))}")
    finally:
        stop_process(proc)


def zone_picker(pyatspi, work, build, display, bus_env):
    # The minute turns a few seconds in: the hour dots are drawn anew at every new minute.
    proc = start_clock(work, build, display, bus_env, "picker", SECONDS_OFF,
                       "@2026-12-10 12:34:52")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        app = application(pyatspi, proc)
        narrow = window_width(display, window)
        press(display, window, "ctrl+z")
        wait_until(lambda: zone_selector(pyatspi, app)[0], 10, 0.05, "the zone selector")
        xdotool(display, "type", "--delay", "80", "tok")
        wait_until(lambda: zone_selector(pyatspi, app) == (True, "tok"), 10, 0.05,
                   "tok in the zone selector")
        xdotool(display, "key", "Return")
        wait_until(lambda: not zone_selector(pyatspi, app)[0], 10, 0.05,
                   "the zone selector to close")
        xdotool(display, "key", "ctrl+s")
        try:
            wait_until(lambda: window_width(display, window) > narrow, 3, 0.1, "a wider window")
            check("Ctrl+S works at once after the choice", True)
        except TimeoutError:
            check("Ctrl+S works at once after the choice", False,
                  f"width stayed {window_width(display, window)}")
        try:
            hour = wait_until(lambda: hour_on_screen(display, window, work) == 21, 15, 0.5,
                              "hour 21 on the dots")
            check("the dots show Tokyo's hour", hour)
        except TimeoutError:
            check("the dots show Tokyo's hour", False,
                  f"hour {hour_on_screen(display, window, work)}; see {work}/picker.png")
        dots = dots_node(pyatspi, app)
        shown = text_of(dots) if dots is not None else None
        check("the tree names the chosen zone", shown is not None and "Asia/Tokyo" in shown,
              f"dots' text {shown!r}")
        texts = named_texts(pyatspi, app)
        check("the zone label is in the tree with its text", "(UTC+09:00)" in texts,
              f"labels {texts}")
    finally:
        stop_process(proc)


def main():
    under_accessibility_bus(os.path.abspath(sys.argv[1]), "tessaron-a11y-", frozen_tree, zone_picker)
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
