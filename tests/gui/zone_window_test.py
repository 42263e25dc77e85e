#!/usr/bin/python3
"""A zone chosen in a real window shows at once: with the clock at 12:34 UTC in the
columns, turning the alternate zone on and choosing Asia/Kolkata (UTC+05:30) lights the
hour and minute dots of 18:04 in the first screenshot taken after the choice, less than
a second later, wherever the second stands; typed as a German user names the city
("Tokio"), Enter takes Asia/Tokyo. While its search field has the keyboard, the
editing keys edit the text (Ctrl+A, Ctrl+C, Ctrl+V from the clipboard, Ctrl+Z, Backspace,
Home, End) and leave the options as they were; right after a choice they are the clock's
shortcuts again.

Usage: zone_window_test.py BUILD_DIR
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, file_stamp, focus, program_folder, screenshot,  # noqa: E402
                     start, start_program, stop_process, wait_for_program, wait_for_window,
                     wait_until, xdotool)
from options_window_test import BLACK, COLUMNS, FAKE_CLOCK, RED, centre  # noqa: E402

# Hour tens, hour units, minute tens, minute units, dot by dot, highest weight first.
BITS_1234 = [0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 0]
BITS_1804 = [0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0]
BITS_2134 = [1, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0]
KOLKATA = "(UTC+05:30) Asia/Kolkata"
PX = 15  # twips per pixel
SELECTOR_TOP = 384 + 20  # below the toolbar, twips

report = Report()
check = report.check


def shows(img, dy, bits):
    return all(img.getpixel(centre(COLUMNS[i], dy)) == (RED if bit else BLACK)
               for i, bit in enumerate(bits))


def choose_zone(work, build, display, typed=KOLKATA, bits=BITS_1804,
                time_there="Kolkata's 18:04", extra_env=None):
    saved = '255,0,16777215,#FALSE#,#TRUE#,#FALSE#,#FALSE#,0,0,"smallworld.wav",#TRUE#\r\n'
    folder = program_folder(work, build, preferences=saved)
    proc = start_program(folder, display, {**FAKE_CLOCK, **(extra_env or {})})
    try:
        window = wait_for_window(display, "Tessaron", proc)
        found = {}

        def local_time_shown():
            img = screenshot(display, os.path.join(work, "before.png"))
            matches = [dy for dy in range(0, 60) if shows(img, dy, BITS_1234)]
            found["dy"] = matches[len(matches) // 2] if matches else None
            return bool(matches)
        try:
            wait_until(local_time_shown, 10, 0.3, "the columns of 12:34")
        except TimeoutError as e:
            check("12:34 UTC shown before the choice", False, str(e))
            return
        dy = found["dy"]
        field = (40, dy + SELECTOR_TOP // PX + 9)
        before = screenshot(display, os.path.join(work, "before.png")).getpixel(field)
        focus(display, window)
        xdotool(display, "key", "--clearmodifiers", "ctrl+z")  # Alternate Time Zone
        wait_until(lambda: screenshot(display, os.path.join(work, "selector.png"))
                   .getpixel(field) != before, 10, 0.05, "the zone selector drawn")
        # Into the selector's text, replace it with the zone's name.
        xdotool(display, "mousemove", str(field[0]), str(field[1]), "click", "1")
        xdotool(display, "key", "--clearmodifiers", "End", "shift+Home")
        xdotool(display, "type", "--delay", "20", typed)
        wait_for_program(display, window)  # the name in full before Enter
        chosen = time.monotonic()
        xdotool(display, "key", "--clearmodifiers", "Return")
        img = screenshot(display, os.path.join(work, "after.png"))
        taken = time.monotonic() - chosen
        check("the screenshot came within a second of the choice", taken < 1.0,
              f"{taken:.2f} s")
        check(f"{time_there} on the hour and minute dots at once", shows(img, dy, bits),
              f"screenshot {work}/after.png ({taken:.2f} s after the choice)")
    finally:
        stop_process(proc)


def clipboard(build, display, *args):
    return subprocess.run([os.path.join(build, "clipboard_tool"), *args], capture_output=True,
                          text=True, timeout=10,
                          env={"PATH": "/usr/bin:/bin", "DISPLAY": display,
                               "QT_QPA_PLATFORM": "xcb"}).stdout


def saved_options(path, before):
    """(Always, Vertical) from the "Tessa.sav" that a save after `before` (the file's
    stamp) wrote."""
    wait_until(lambda: file_stamp(path) != before, 5, 0.05, "a save")
    with open(path, "rb") as f:
        fields = f.read().decode().split(",")
    return fields[6], fields[10].strip()


def edit_search_field(work, build, display):
    saved = '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,0,"smallworld.wav",#TRUE#\r\n'
    folder = program_folder(os.path.join(work, "edit"), build, preferences=saved)
    sav = os.path.join(folder, "Tessa.sav")
    proc = start_program(folder, display, FAKE_CLOCK)
    owners = []
    try:
        window = wait_for_window(display, "Tessaron", proc)

        said = os.path.join(work, "clipboard_tool.out")

        def owner_said(word):
            with open(said, "rb") as f:
                return word.encode() + b"\n" in f.read()

        def own(text):
            """Puts `text` on the clipboard, from a program of its own."""
            for owner in owners:
                stop_process(owner)
            owners[:] = [start([os.path.join(build, "clipboard_tool"), "set", text],
                               {"PATH": "/usr/bin:/bin", "DISPLAY": display,
                                "QT_QPA_PLATFORM": "xcb"}, log=open(said, "wb"))]
            try:
                return wait_until(lambda: owner_said("ready"), 10, 0.02, "the clipboard owned")
            except TimeoutError:
                return False

        def keys(*names):
            xdotool(display, "key", "--clearmodifiers", "--delay", "60", *names)
            wait_for_program(display, window)

        def field_text():
            placeholder = "(nothing copied)"
            own(placeholder)
            keys("ctrl+a", "ctrl+c")

            def copied():  # the copy takes the clipboard from its owner
                text = clipboard(build, display, "get")
                return (text,) if text != placeholder else None
            try:
                return wait_until(copied, 5, 0.05, "a copy")[0]
            except TimeoutError:
                return placeholder

        focus(display, window)
        keys("ctrl+z")  # Alternate Time Zone: its search field takes the keyboard
        xdotool(display, "type", "--delay", "40", "Tokyo")
        wait_for_program(display, window)
        check("the clipboard holds Kolkata", own("Kolkata"))
        keys("ctrl+a", "ctrl+v")
        try:  # the paste has fetched the text: its owner may go
            wait_until(lambda: owner_said("served"), 5, 0.02, "the paste")
        except TimeoutError:
            pass  # the check says it
        wait_for_program(display, window)
        check("Ctrl+A, Ctrl+V put the clipboard's text in the field",
              field_text() == "Kolkata")
        keys("ctrl+z")
        check("Ctrl+Z undoes the paste", field_text() == "Tokyo")
        keys("End", "BackSpace", "Home", "X")
        check("End, Backspace and Home edit", field_text() == "XToky")
        before = file_stamp(sav)
        keys("ctrl+p")  # no editing key: the clock saves
        check("the options are as they were (not on top, columns)",
              saved_options(sav, before) == ("#FALSE#", "#TRUE#"))
        xdotool(display, "type", "--delay", "40", "Kolkata")
        keys("Return")
        before = file_stamp(sav)
        keys("ctrl+a", "ctrl+p")
        check("right after a choice Ctrl+A is Always on Top",
              saved_options(sav, before)[0] == "#TRUE#")
    finally:
        for owner in owners:
            stop_process(owner)
        stop_process(proc)


def main():
    build = os.path.abspath(sys.argv[1])
    xvfb = Xvfb()
    with tempfile.TemporaryDirectory(prefix="tessaron-zone-") as work:
        try:
            xvfb.start()
            choose_zone(work, build, xvfb.display)
            # A German user types the city as German has it: Enter takes the first zone found.
            german = os.path.join(work, "de")
            os.makedirs(german)
            choose_zone(german, build, xvfb.display, "Tokio", BITS_2134,
                        "Tokyo's 21:34, typed in German", {"LANGUAGE": "de"})
            edit_search_field(work, build, xvfb.display)
        finally:
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
