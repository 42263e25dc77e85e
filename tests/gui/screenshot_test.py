#!/usr/bin/python3
"""Starts the real clock under a private Xvfb at fixed (faked) times of day and
reads the dot row back from a screenshot of the screen.

Usage: /usr/bin/python3 tests/gui/screenshot_test.py <path-to-tessaron>
"""

import os
import shutil
import sys
import tempfile
import time
from dataclasses import dataclass

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, fake_clock, program_folder, screenshot,  # noqa: E402
                     start_program, stop_on_sigterm, stop_process, wait_for_window,
                     window_geometry)

RED = (255, 0, 0)
BLACK = (0, 0, 0)
TWIPS_PER_PX = 15

# Box left edges in twips; the circle is centred in a 240 x 252 box at Top = 828.
HOUR_LEFTS = [240, 480, 720, 960, 1200]
MINUTE_LEFTS = [1680, 1920, 2160, 2400, 2640, 2880]
SECOND_LEFTS = [3632 + 240 * k for k in range(6)]
DOT_TOP = 828


def centre_x(left):
    return (left + 120) // TWIPS_PER_PX


CENTRE_Y_IN_CLIENT = (DOT_TOP + 126) / TWIPS_PER_PX
# The client area starts at or below the window's top, so no row of the
# circles can lie higher than this in the window.
HIGHEST_DOT_ROW = int(CENTRE_Y_IN_CLIENT - 120 / TWIPS_PER_PX)
HOUR_MINUTE_XS = [centre_x(l) for l in HOUR_LEFTS + MINUTE_LEFTS]
SECOND_XS = [centre_x(l) for l in SECOND_LEFTS]

# The circle is 16 px high, so its centre column holds well over this many
# rows of solid colour; a run this long does not happen by chance elsewhere.
MIN_ROW_RUN = 8

WINDOW_TIMEOUT_S = 10.0
FIRST_PATTERN_TIMEOUT_S = 5.0
NEXT_PATTERN_TIMEOUT_S = 15.0


def dot_labels():
    hours = [f"hour dot {i} (weight {16 >> i})" for i in range(5)]
    minutes = [f"minute dot {5 + i} (weight {32 >> i})" for i in range(6)]
    return hours + minutes


DOT_LABELS = dot_labels()


def expected_colours(hour, minute):
    bits = [(hour >> (4 - i)) & 1 for i in range(5)]
    bits += [(minute >> (5 - i)) & 1 for i in range(6)]
    return [RED if b else BLACK for b in bits]


def decode(colours):
    """Reads hour:minute back from 11 pure red/black pixels, for messages."""
    bits = [1 if c == RED else 0 for c in colours]
    hour = int("".join(map(str, bits[:5])), 2)
    minute = int("".join(map(str, bits[5:])), 2)
    return f"{hour:02d}:{minute:02d}"


def colour_name(c):
    return {RED: "red", BLACK: "black"}.get(c, f"rgb{c}")


@dataclass
class Case:
    start: str                # faked wall-clock time at program start (UTC)
    shows: list               # (hour, minute) values the dots must show, in order
    why: str = ""


# Every dot is seen both lit and dark across the table, and 12:34 is not a
# palindrome in either field, so a reversed bit order is caught. Start seconds
# leave at least 30 s before the minute changes, except in the roll-over case.
CASES = [
    Case("12:34:10", [(12, 34)], "asymmetric bits in hour and minute"),
    Case("23:59:30", [(23, 59)], "largest hour, nearly every bit lit"),
    Case("00:00:30", [(0, 0)], "midnight: every dot dark"),
    Case("07:07:30", [(7, 7)], "low bits only"),
    Case("15:59:50", [(15, 59), (16, 0)], "the dots follow the clock across an hour carry"),
]

FAKE_DATE = "2026-12-10"


def find_dot_row(img, geom, want):
    """Middle y of the longest run of rows where every dot centre has exactly
    the wanted colour, if that run is long enough to be a row of dots."""
    x0, y0, w, h = geom
    px = img.load()
    xs = [x0 + x for x in HOUR_MINUTE_XS]
    if max(xs) >= min(img.width, x0 + w):
        return None
    bottom = min(img.height, y0 + h)
    best_start, best_len, run_start = None, 0, None
    for y in range(y0 + HIGHEST_DOT_ROW, bottom + 1):
        ok = y < bottom and all(px[x, y] == c for x, c in zip(xs, want))
        if ok and run_start is None:
            run_start = y
        elif not ok and run_start is not None:
            if y - run_start > best_len:
                best_start, best_len = run_start, y - run_start
            run_start = None
    if best_len >= MIN_ROW_RUN:
        return best_start + best_len // 2
    return None


def describe_mismatch(img, geom, want):
    """Says which dots differ, from the row that comes closest to the wanted one."""
    x0, y0, w, h = geom
    px = img.load()
    area = img.crop((x0, y0, min(img.width, x0 + w), min(img.height, y0 + h)))
    extrema = area.getextrema()
    if all(lo == hi for lo, hi in extrema):
        return f"the window area is uniformly rgb{tuple(lo for lo, _ in extrema)}: nothing painted"
    xs = [x0 + x for x in HOUR_MINUTE_XS if x0 + x < min(img.width, x0 + w)]
    if len(xs) < len(HOUR_MINUTE_XS):
        return f"window is {w} px wide, too narrow for the hour and minute dots"
    best_y, best_score = None, -1
    for y in range(y0, min(img.height, y0 + h)):
        got = [px[x, y] for x in xs]
        dots = sum(c in (RED, BLACK) for c in got)
        right = sum(g == c for g, c in zip(got, want))
        score = dots * 100 + right
        if score > best_score:
            best_y, best_score = y, score
    got = [px[x, best_y] for x in xs]
    wrong = [f"{DOT_LABELS[i]} at x={xs[i]} is {colour_name(g)}, expected {colour_name(c)}"
             for i, (g, c) in enumerate(zip(got, want)) if g != c]
    seen = ""
    if all(g in (RED, BLACK) for g in got):
        seen = f" (the row reads {decode(got)})"
    if not wrong:
        last = best_y
        while last + 1 < min(img.height, y0 + h) and \
                all(px[x, last + 1] == c for x, c in zip(xs, want)):
            last += 1
        if best_y < y0 + HIGHEST_DOT_ROW:
            return (f"the dots are drawn at y={best_y}..{last}, higher than the dot row "
                    f"can be (at least {HIGHEST_DOT_ROW} px below the window's top)")
        return (f"the right colours fill only rows y={best_y}..{last} at the dot centres, "
                f"too few for a whole 16 px dot: covered or clipped")
    return f"closest row y={best_y}{seen}: " + "; ".join(wrong)


def seconds_shown(img, geom, row_y):
    x0, y0, w, h = geom
    px = img.load()
    shown = []
    for k, x in enumerate(SECOND_XS):
        sx = x0 + x
        # With no window manager nothing else is on screen, so a centre
        # beyond the window's right edge cannot be a drawn dot.
        if sx >= x0 + w:
            continue
        c = px[sx, row_y]
        if c in (RED, BLACK):
            shown.append(f"seconds dot {11 + k} at x={sx} is {colour_name(c)}")
    return shown


def run_case(case, exe, display, work, report):
    name = case.start
    case_dir = os.path.join(work, name.replace(":", ""))
    os.makedirs(case_dir)
    shot = os.path.join(case_dir, "screen.png")
    folder = program_folder(case_dir, os.path.dirname(exe))
    proc = start_program(folder, display, fake_clock(f"{FAKE_DATE} {case.start}"),
                         os.path.join(case_dir, "program.log"))
    try:
        try:
            win = wait_for_window(display, "Tessaron", proc, WINDOW_TIMEOUT_S)
        except (RuntimeError, TimeoutError) as e:
            report.check(f"{name} window", False, f"{e}; log: {case_dir}/program.log")
            for hour, minute in case.shows:
                report.check(f"{name} dots show {hour:02d}:{minute:02d}", False, "no window")
            report.check(f"{name} seconds hidden", False, "no window")
            return
        geom = window_geometry(display, win)
        report.check(f"{name} window", geom[:2] == (0, 0),
                     f"first start opened at {geom[:2]}, expected (0, 0)")

        row_y = None
        timeout = FIRST_PATTERN_TIMEOUT_S
        for hour, minute in case.shows:
            want = expected_colours(hour, minute)
            deadline = time.monotonic() + timeout
            row_y = None
            exited = None
            while True:
                img = screenshot(display, shot)
                row_y = find_dot_row(img, geom, want)
                if row_y is not None or time.monotonic() > deadline:
                    break
                if proc.poll() is not None:
                    exited = proc.returncode
                    break
                time.sleep(0.1)
            detail = ""
            if exited is not None:
                detail = (f"the program exited (status {exited}) before showing it; "
                          f"log: {case_dir}/program.log; screenshot: {shot}")
            elif row_y is None:
                detail = (f"not shown within {timeout:.0f} s; "
                          f"{describe_mismatch(img, geom, want)}; screenshot: {shot}")
            report.check(f"{name} dots show {hour:02d}:{minute:02d}", row_y is not None, detail)
            if row_y is None:
                break
            timeout = NEXT_PATTERN_TIMEOUT_S

        if row_y is None:
            report.check(f"{name} seconds hidden", False, "dot row not found")
        else:
            shown = seconds_shown(img, geom, row_y)
            report.check(f"{name} seconds hidden", not shown,
                         "; ".join(shown) + f" (window {geom[2]}x{geom[3]}); screenshot: {shot}")
    finally:
        stop_process(proc)


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    exe = os.path.abspath(sys.argv[1])
    if not os.access(exe, os.X_OK):
        print(f"not an executable: {exe}", file=sys.stderr)
        return 2

    stop_on_sigterm()

    report = Report()
    work = tempfile.mkdtemp(prefix="tessaron-gui-")
    xvfb = Xvfb()
    try:
        xvfb.start()
        for case in CASES:
            run_case(case, exe, xvfb.display, work, report)
    except (Exception, SystemExit, KeyboardInterrupt) as e:
        # A broken or interrupted run counts as a failure, not a crash.
        report.check("harness", False, repr(e))
    finally:
        xvfb.stop()
        if report.failed == 0:
            shutil.rmtree(work, ignore_errors=True)
        else:
            # Screenshots and program logs are kept for the failure messages above.
            for d in os.listdir(work):
                shutil.rmtree(os.path.join(work, d, "app"), ignore_errors=True)
            print(f"kept screenshots and logs in {work}")
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
