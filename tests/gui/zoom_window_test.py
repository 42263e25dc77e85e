#!/usr/bin/python3
"""The zoom in a real window: with the clock at 12:34 in the columns, Ctrl+Plus three
times draws every dot twice as far from the window's corner and twice as big (read off
a screenshot), the window grows with it and cannot be resized or maximised, the zoom is
there again after a restart, Ctrl+0 brings the normal size back, and "Tessa.sav" saved
at 200 % is byte for byte the one saved at 100 %. A Plasma user's 18 pt font draws the
clock twice as large. On a screen of 800 x 600 a saved 400 % opens at the largest step
that fits, wholly on the screen, Ctrl+Plus goes no further, and the file keeps 400.

Usage: zoom_window_test.py BUILD_DIR
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, file_stamp, focus, program_folder, screenshot,  # noqa: E402
                     set_window_state, start, start_program, stop_process,
                     sync_window_manager, wait_for_window, wait_for_window_manager,
                     wait_until, window_geometry, xdotool)
from options_window_test import BLACK, COLUMNS, FAKE_CLOCK, HOUR_MINUTE_BITS, RED  # noqa: E402

PX = 15  # twips per pixel at 100 %
SAVED = '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1500,3000,"smallworld.wav",#TRUE#\r\n'

report = Report()
check = report.check


def dots_at(img, origin, zoom, dy):
    """Whether the hour and minute dots show 12:34 at `zoom`, sampled at each dot's centre
    and, inside it, a third of its radius from the rim."""
    x0, y0 = origin
    for i, bit in enumerate(HOUR_MINUTE_BITS):
        left, top = COLUMNS[i]
        cx = x0 + (left + 120) * zoom / PX
        cy = y0 + dy + (top + 126) * zoom / PX
        inner = 120 * zoom / PX * 2 / 3
        for x, y in ((cx, cy), (cx - inner, cy), (cx + inner, cy)):
            if img.getpixel((round(x), round(y))) != (RED if bit else BLACK):
                return False
    return True


def shows(display, work, window, zoom, name):
    """The menu bar's height in pixels when the dots show 12:34 at `zoom`; None if not."""
    found = {}

    def look():
        x, y, _, _ = window_geometry(display, window)
        img = screenshot(display, os.path.join(work, name))
        # The menu bar's height is the platform's: the middle of the offsets that fit.
        matches = [dy for dy in range(0, 60) if dots_at(img, (x, y), zoom, dy)]
        found["dy"] = matches[len(matches) // 2] if matches else None
        return bool(matches)
    try:
        wait_until(look, 10, 0.3, f"12:34 at {zoom * 100:.0f} %")
    except TimeoutError:
        return None
    return found["dy"]


def keys(display, window, *names):
    focus(display, window)
    xdotool(display, "key", "--clearmodifiers", "--delay", "80", *names)


def save(display, window, path):
    """What Ctrl+P writes to `path`."""
    before = file_stamp(path)
    keys(display, window, "ctrl+p")
    wait_until(lambda: file_stamp(path) != before, 5, 0.05, "a save")
    with open(path, "rb") as f:
        return f.read()


def zoom(work, build, display):
    wm = start(["openbox"], {"PATH": "/usr/bin:/bin", "DISPLAY": display, "HOME": work})
    folder = program_folder(work, build, preferences=SAVED)
    sav = os.path.join(folder, "Tessa.sav")
    proc = None
    try:
        wait_for_window_manager(display)
        proc = start_program(folder, display, FAKE_CLOCK)
        window = wait_for_window(display, "Tessaron", proc)
        check("12:34 at 100 %", shows(display, work, window, 1, "100.png") is not None,
              f"screenshot {work}/100.png")
        _, _, w100, h100 = window_geometry(display, window)
        unzoomed = save(display, window, sav)

        keys(display, window, "ctrl+plus", "ctrl+plus", "ctrl+plus")
        check("12:34 at 200 % after Ctrl+Plus three times",
              shows(display, work, window, 2, "200.png") is not None,
              f"screenshot {work}/200.png")
        _, _, w200, h200 = window_geometry(display, window)
        check("the window grows with the dots", abs(w200 - 2 * w100) <= 2 and h200 > h100 * 1.7,
              f"{w100}x{h100} became {w200}x{h200}")
        check("the zoom is kept beside Tessa.sav",
              open(os.path.join(folder, "Tessa.view")).read() == "zoom=200\n")
        check("Tessa.sav saved at 200 % is the one saved at 100 %",
              save(display, window, sav) == unzoomed)

        # Neither a maximise nor a drag changes it.
        xdotool(display, "windowsize", window, "200", "40")
        set_window_state(display, window, True, "MAXIMIZED_VERT", "MAXIMIZED_HORZ")
        sync_window_manager(display, window)
        check("neither resized nor maximised",
              window_geometry(display, window)[2:] == (w200, h200),
              f"{window_geometry(display, window)[2:]} instead of {(w200, h200)}")

        stop_process(proc)
        proc = start_program(folder, display, FAKE_CLOCK)
        window = wait_for_window(display, "Tessaron", proc)
        check("200 % again after a restart",
              shows(display, work, window, 2, "restart.png") is not None,
              f"screenshot {work}/restart.png")
        keys(display, window, "ctrl+0")
        check("Ctrl+0 shows 12:34 at 100 % again",
              shows(display, work, window, 1, "back.png") is not None,
              f"screenshot {work}/back.png")
        check("and the window is its normal size",
              window_geometry(display, window)[2:] == (w100, h100))
    finally:
        stop_process(proc)
        stop_process(wm)


def large_font(work, build, display):
    """An 18 pt application font as Plasma keeps it (kdeglobals, read by Qt's KDE theme):
    the dots stand where they stand at 200 %."""
    base = os.path.join(work, "font18")
    folder = program_folder(base, build, preferences=SAVED)
    config = os.path.join(base, "home", ".config")
    os.makedirs(config)
    with open(os.path.join(config, "kdeglobals"), "w") as f:
        f.write("[General]\nfont=DejaVu Sans,18,-1,5,50,0,0,0,0,0\n")
    proc = start_program(folder, display, {**FAKE_CLOCK, "XDG_CONFIG_HOME": config,
                                           "XDG_CURRENT_DESKTOP": "KDE",
                                           "KDE_SESSION_VERSION": "5"})
    try:
        window = wait_for_window(display, "Tessaron", proc)
        check("with an 18 pt font, 12:34 drawn twice as large",
              shows(display, base, window, 2, "font18.png") is not None,
              f"screenshot {base}/font18.png")
    finally:
        stop_process(proc)


def small_screen(work, build):
    """A saved 400 % on a screen too small for it."""
    xvfb = Xvfb("800x600")
    base = os.path.join(work, "small")
    folder = program_folder(base, build, preferences=SAVED)
    view = os.path.join(folder, "Tessa.view")
    with open(view, "w") as f:
        f.write("zoom=400\n")
    proc = wm = None
    try:
        xvfb.start()
        display = xvfb.display
        wm = start(["openbox"], {"PATH": "/usr/bin:/bin", "DISPLAY": display, "HOME": base})
        wait_for_window_manager(display)
        proc = start_program(folder, display, FAKE_CLOCK)
        window = wait_for_window(display, "Tessaron", proc)
        shown = None
        for step in (3, 2, 1.5, 1.25):
            if shows(display, base, window, step, f"small-{step}.png") is not None:
                shown = step
                break
        check("a saved 400 % opens at a smaller step that fits", shown is not None,
              f"screenshot {base}/small-1.25.png")
        x, y, w, h = window_geometry(display, window)
        check("the window is wholly on the 800 x 600 screen",
              x >= 0 and y >= 0 and x + w <= 800 and y + h <= 600, f"{w}x{h} at {x},{y}")
        keys(display, window, "ctrl+plus")
        sync_window_manager(display, window)
        check("Ctrl+Plus goes no further", window_geometry(display, window) == (x, y, w, h),
              f"{window_geometry(display, window)} instead of {(x, y, w, h)}")
        check("the file still says 400", open(view).read() == "zoom=400\n")
    finally:
        stop_process(proc)
        stop_process(wm)
        xvfb.stop()


def main():
    build = os.path.abspath(sys.argv[1])
    xvfb = Xvfb()
    with tempfile.TemporaryDirectory(prefix="tessaron-zoom-") as work:
        try:
            xvfb.start()
            zoom(work, build, xvfb.display)
            large_font(work, build, xvfb.display)
        finally:
            xvfb.stop()
        small_screen(work, build)
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
