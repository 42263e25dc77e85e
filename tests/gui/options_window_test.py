#!/usr/bin/python3
"""The saved options in a real window: a "Tessa.sav" that turns on the seconds, the
hints and the columns shows exactly that on screen, and the always-on-top option is the
window manager's "above" state, switched without moving or resizing the window.

Usage: options_window_test.py BUILD_DIR
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, fake_clock, program_folder, press, screenshot,  # noqa: E402
                     start, start_program, stop_process, wait_for_window,
                     wait_for_window_manager, wait_until, window_geometry)

RED, BLACK = (255, 0, 0), (0, 0, 0)
PX = 15  # twips per pixel
SECONDS_LEFT = 3622 + 10  # the narrow window's width plus 10 twips

# (left, top) of each dot's box in the columns, twips; the circle is centred in 240 x 252.
COLUMNS = [(960, 1200), (960, 1440),
           (1200, 720), (1200, 960), (1200, 1200), (1200, 1440),
           (2160, 960), (2160, 1200), (2160, 1440),
           (2400, 720), (2400, 960), (2400, 1200), (2400, 1440),
           (SECONDS_LEFT, 960), (SECONDS_LEFT, 1200), (SECONDS_LEFT, 1440),
           (SECONDS_LEFT + 240, 720), (SECONDS_LEFT + 240, 960),
           (SECONDS_LEFT + 240, 1200), (SECONDS_LEFT + 240, 1440)]
# Bits of 12:34 by dot: hour tens 1, hour units 2, minute tens 3, minute units 4.
HOUR_MINUTE_BITS = [0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 0]

FAKE_CLOCK = fake_clock("2026-12-10 12:34:10")

report = Report()
check = report.check


def centre(box, dy):
    left, top = box
    return (left + 120) // PX, int((top + 126) / PX) + dy


def columns_shown(img, dy):
    """Whether, with the client area `dy` pixels below the window's top, every hour and
    minute dot has the colour of 12:34 and every seconds dot is shown."""
    for i, box in enumerate(COLUMNS):
        colour = img.getpixel(centre(box, dy))
        if i < len(HOUR_MINUTE_BITS):
            if colour != (RED if HOUR_MINUTE_BITS[i] else BLACK):
                return False
        elif colour not in (RED, BLACK):
            return False
    return True


def hint_pixels(img, box, dy):
    """White pixels of the hint number drawn over a dot."""
    cx, cy = centre(box, dy)
    # Inside the circle only: the window's light background would count as white too.
    return sum(1 for x in range(cx - 6, cx + 7) for y in range(cy - 6, cy + 7)
               if (x - cx) ** 2 + (y - cy) ** 2 <= 36 and min(img.getpixel((x, y))) >= 200)


def columns_with_seconds_and_hints(work, build, display):
    saved = '255,0,16777215,#TRUE#,#TRUE#,#FALSE#,#FALSE#,0,0,"smallworld.wav",#TRUE#\r\n'
    folder = program_folder(os.path.join(work, "columns"), build, preferences=saved)
    proc = start_program(folder, display, FAKE_CLOCK)
    try:
        wait_for_window(display, "Tessaron", proc)
        found = {}

        def shown():
            img = screenshot(display, os.path.join(work, "columns.png"))
            # The menu bar's height is the platform's: every offset that puts the sample
            # points inside the dots matches, and the middle one is the dots' centre.
            matches = [dy for dy in range(0, 60) if columns_shown(img, dy)]
            if not matches:
                return False
            found.update(img=img, dy=matches[len(matches) // 2])
            return True

        try:
            wait_until(shown, 10, 0.3, "the columns of 12:34 with seconds")
            check("columns of 12:34 with both seconds columns", True)
        except TimeoutError as e:
            check("columns of 12:34 with both seconds columns", False,
                  f"{e}; screenshot {work}/columns.png")
            return
        img, dy = found["img"], found["dy"]
        img.save(os.path.join(work, "columns.png"))
        bare = [i for i, box in enumerate(COLUMNS) if hint_pixels(img, box, dy) < 3]
        check("a hint number over every dot", not bare, f"no hint on dots {bare}")
    finally:
        stop_process(proc)


def window_state(display, window):
    env = {"PATH": "/usr/bin:/bin", "DISPLAY": display}
    state = subprocess.run(["xprop", "-id", window, "_NET_WM_STATE"], env=env,
                           capture_output=True, text=True, timeout=5).stdout
    return "_NET_WM_STATE_ABOVE" in state, window_geometry(display, window)


def always_on_top(work, build, display):
    wm = start(["openbox"], {"PATH": "/usr/bin:/bin", "DISPLAY": display,
                             "HOME": work})
    saved = '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#TRUE#,1500,3000,"smallworld.wav",#FALSE#\r\n'
    folder = program_folder(os.path.join(work, "above"), build, preferences=saved)
    proc = None
    try:
        wait_for_window_manager(display)
        proc = start_program(folder, display)
        window = wait_for_window(display, "Tessaron", proc)
        try:
            wait_until(lambda: window_state(display, window)[0], 5, 0.1, "the above state")
        except TimeoutError:
            pass
        above, geometry = window_state(display, window)
        check("saved always-on-top starts above", above)
        for expected in (False, True):
            press(display, window, "ctrl+a")
            try:
                wait_until(lambda: window_state(display, window)[0] == expected, 5, 0.1)
            except TimeoutError:
                pass
            now, moved = window_state(display, window)
            check(f"Ctrl+A turns above {'on' if expected else 'off'}", now == expected)
            check(f"Ctrl+A {'on' if expected else 'off'} neither moves nor resizes",
                  moved == geometry, f"{geometry} became {moved}")
    finally:
        stop_process(proc)
        stop_process(wm)


def main():
    build = os.path.abspath(sys.argv[1])
    xvfb = Xvfb()
    with tempfile.TemporaryDirectory(prefix="tessaron-options-") as work:
        try:
            xvfb.start()
            columns_with_seconds_and_hints(work, build, xvfb.display)
            always_on_top(work, build, xvfb.display)
        finally:
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
