#!/usr/bin/python3
"""The clock in German and in Arabic, in a real window under Xvfb, read as a screen reader
reads it (AT-SPI on a private session bus) and off the screen.

- LANGUAGE=de (C.UTF-8, so no locale is installed): the menu bar reads "Optionen" and
  "Hilfe", every item of the Options menu is in German, the toolbar's buttons have
  German names, and F1 opens the German help page.
- LANGUAGE=ar: the menu bar is mirrored (Options on the right) as Qt mirrors a
  right-to-left language, while the hour dots at 12:34:10 still read 12 from the left
  (the highest bit on the left, as digits are in Arabic text).

Usage: translated_window_test.py BUILD_DIR
"""

import os
import shutil
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, application, program_folder,  # noqa: E402
                     press, start_program, stop_process, under_accessibility_bus,
                     wait_for_window, wait_until, walk, xdotool)

FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
PREFERENCES = '255,0,16777215,#FALSE#,#TRUE#,#FALSE#,#FALSE#,1500,3000,"smallworld.wav",#FALSE#\r\n'
PX = 15  # twips per pixel
ROW_TOP = 828  # the normal row's top, twips
HOUR_LEFT = [240, 480, 720, 960, 1200]  # the hour dots' left edges, twips
RED, BLACK = (255, 0, 0), (0, 0, 0)

# The menu bar's menus, with the Options menu's items.
GERMAN_MENUS = {
    "Optionen": ["Immer im Vordergrund", "Musik", "Zahlen anzeigen (Hinweis)",
                 "Sekunden anzeigen", "Ein-Farbe", "Aus-Farbe", "Transparent",
                 "Andere Zeitzone", "Einstellungen speichern", "Alternative Darstellung",
                 "Vergrößern", "Verkleinern", "Originalgröße", "Beim Anmelden starten"],
    "Hilfe": None,
}
GERMAN_BUTTONS = ["Fenster im Vordergrund halten", "Hintergrundmusik aus einer .WAV-Datei",
                  "Zahlen als Hinweis anzeigen", "Sekunden anzeigen",
                  "Farbe leuchtender Punkte ändern", "Farbe dunkler Punkte ändern",
                  "Dunkle Punkte transparent machen", "Andere Zeitzone anzeigen",
                  "Einstellungen speichern", "Alternative Darstellung"]

report = Report()
check = report.check


def start_clock(work, build, display, env, name, language):
    """A portable copy of the clock with its catalogs and help pages, in `language`."""
    folder = program_folder(os.path.join(work, name), build, preferences=PREFERENCES)
    for tree in ("locale", "help"):
        shutil.copytree(os.path.join(build, tree), os.path.join(folder, tree))
    for page in ("Tessa.hlp", "TSShortcut.hlp"):
        shutil.copy2(os.path.join(build, page), folder)
    env = {**env, "LANG": "C.UTF-8", "LANGUAGE": language, "LD_PRELOAD": FAKETIME,
           "FAKETIME": "2026-12-10 12:34:10", "FAKETIME_DONT_FAKE_MONOTONIC": "1", "TZ": "UTC"}
    return start_program(folder, display, env, log_path=os.path.join(work, name + ".log"))


def menus(pyatspi, app):
    """{menu name: [item names]} of the menu bar, in order."""
    found = {}
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_MENU_BAR:
            # Below each menu, its popup and there its items; a switch is a check box.
            for menu in node:
                found[menu.name] = [n.name for n in walk(menu) if n is not menu and
                                    ("menu item" in n.getRoleName() or
                                     n.getRoleName() == "check box")]
            break
    return found


def german(pyatspi, work, build, display, env):
    proc = start_clock(work, build, display, env, "de", "de")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        app = application(pyatspi, proc)
        try:
            shown = wait_until(lambda: menus(pyatspi, app) or None, 10, 0.2, "the menu bar")
        except TimeoutError:
            shown = {}
        check("the menu bar reads Optionen and Hilfe", list(shown) == list(GERMAN_MENUS),
              f"menus {list(shown)}")
        # The Options menu's items below it, in order. (Qt 6.4's menu bar gives the tree
        # no popup below its last menu, opened or not: the Help menu's items are read
        # offscreen, from the window's own actions, in every language.)
        check("the menu Optionen is in German", shown.get("Optionen") == GERMAN_MENUS["Optionen"],
              f"items {shown.get('Optionen')}")
        bars = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_TOOL_BAR]
        names = [b.name for bar in bars for b in bar
                 if b.getState().contains(pyatspi.STATE_SHOWING)]
        check("the toolbar's buttons have German names", names == GERMAN_BUTTONS,
              f"names {names}")
        press(display, window, "F1")
        try:
            wait_for_window(display, "Tessaron-Hilfe", proc, timeout=10)
            check("F1 opens the German help page", True)
        except Exception as e:  # noqa: BLE001  the window's absence is the finding
            check("F1 opens the German help page", False, str(e))
    finally:
        stop_process(proc)


def hour_on_screen(display, window, work):
    """The hour the hour dots show, read from the left; None when they show none."""
    geometry = xdotool(display, "getwindowgeometry", window) or ""
    x0, y0 = (int(v) for v in geometry.split("Position:")[1].split()[0].split(","))
    path = os.path.join(work, "arabic.png")
    subprocess.run(["import", "-window", "root", path], check=True, timeout=20,
                   env={"PATH": "/usr/bin:/bin", "DISPLAY": display})
    img = Image.open(path).convert("RGB")
    for dy in range(0, 60):
        colours = [img.getpixel((x0 + (left + 120) // PX, y0 + dy + (ROW_TOP + 126) // PX))
                   for left in HOUR_LEFT]
        if all(c in (RED, BLACK) for c in colours):
            return sum(16 >> i for i, c in enumerate(colours) if c == RED)
    return None


def arabic(pyatspi, work, build, display, env):
    proc = start_clock(work, build, display, env, "ar", "ar")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        app = application(pyatspi, proc)
        bar = None
        try:
            bar = wait_until(lambda: next((n for n in walk(app)
                                           if n.getRole() == pyatspi.ROLE_MENU_BAR), None),
                             10, 0.2, "the menu bar")
        except TimeoutError:
            pass
        places = []
        if bar is not None:
            places = [(m.name, m.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x)
                      for m in bar]
        check("the menu bar is in Arabic and mirrored: Options right of Help",
              len(places) == 2 and places[0][0] == "خيارات" and places[0][1] > places[1][1],
              f"menus {places}")
        try:
            hour = wait_until(lambda: hour_on_screen(display, window, work), 10, 0.5,
                              "the hour dots")
        except TimeoutError:
            hour = None
        check("the hour dots read 12 from the left", hour == 12,
              f"hour {hour}; see {work}/arabic.png")
    finally:
        stop_process(proc)


def main():
    under_accessibility_bus(os.path.abspath(sys.argv[1]), "tessaron-i18n-", german, arabic)
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
