#!/usr/bin/python3
"""The clock under GNOME's compositor: mutter, headless on one virtual 1280x1024 monitor,
serving XWayland. The clock is given what a GNOME session on Wayland gives it (DISPLAY and
WAYLAND_DISPLAY, no QT_QPA_PLATFORM) and must pick X itself.

1. It opens on XWayland, its outer frame on the pixel saved in "Tessa.sav".
2. Always on Top (Ctrl+A) is mutter's "above" state: a window mapped after it, and one
   raised and activated after it, stay below it. With it off, the raised window comes
   above (the check can fail).
3. Moved elsewhere, saved (Ctrl+P), ended and started again, it opens on the same pixel.
4. F1 opens the help window; Help > Support > Web Support opens a browser window.

Usage: /usr/bin/python3 tests/gui/mutter_xwayland_test.py BUILD_DIR
"""

import os
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402

PX = 15  # twips per pixel
TOP, LEFT = 1500, 3000  # twips: 100 px down, 200 px in
SAVED = f'255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,{TOP},{LEFT},"smallworld.wav",#FALSE#\r\n'
NEEDS = {**desktop.Mutter.NEEDS, "/usr/bin/xdotool": "xdotool", "/usr/bin/xmessage": "x11-utils",
         "/usr/bin/xprop": "x11-utils"}


def root_list(display, name):
    """The window ids in a root window property that lists windows, bottom first."""
    r = subprocess.run(["xprop", "-root", name], env=desktop.x_env(display),
                       capture_output=True, text=True, timeout=5)
    _, _, ids = r.stdout.partition("#")
    return [int(w, 16) for w in ids.replace(",", " ").split()]


def wm_state(display, window):
    r = subprocess.run(["xprop", "-id", window, "_NET_WM_STATE"], env=desktop.x_env(display),
                       capture_output=True, text=True, timeout=5)
    return r.stdout


def above(display, upper, lower):
    """Whether the window manager stacks window `upper` over window `lower`."""
    stack = root_list(display, "_NET_CLIENT_LIST_STACKING")
    return int(upper) in stack and int(lower) in stack and \
        stack.index(int(upper)) > stack.index(int(lower))


def bring_forward(display, window):
    """Raises and activates `window` as a task bar would; done once the window manager has
    made it the active window (it handles the raise first, as it came first)."""
    desktop.xdotool(display, "windowraise", window)
    desktop.xdotool(display, "windowactivate", window)
    desktop.wait_until(lambda: root_list(display, "_NET_ACTIVE_WINDOW") == [int(window)], 10,
                       0.05, "the other window to become active")


def start_clock(folder, mutter, work):
    # The session's variables as GNOME gives them; QT_QPA_PLATFORM unset.
    return desktop.start_program(folder, mutter.display,
                                 {**mutter.session_env(), "QT_QPA_PLATFORM": None},
                                 log_path=os.path.join(work, "program.log"))


def other_window(display, title, procs):
    """A plain X window over the clock's place, mapped now."""
    proc = desktop.start(["xmessage", "-title", title, "-geometry", "500x400+100+50",
                          "over the clock"], desktop.x_env(display))
    procs.append(proc)
    return desktop.wait_for_window(display, title, proc)


def keeps_on_top(mutter, work, clock, report):
    display = mutter.display

    def stack():
        return f"stack {root_list(display, '_NET_CLIENT_LIST_STACKING')}"

    procs = []
    try:
        first = other_window(display, "first-window", procs)
        desktop.press(display, clock, "ctrl+a")
        try:
            desktop.wait_until(lambda: "_NET_WM_STATE_ABOVE" in wm_state(display, clock), 5,
                               0.05, "the above state")
        except TimeoutError:
            pass  # the check says so
        report.check("Ctrl+A puts the clock in mutter's above state",
                     "_NET_WM_STATE_ABOVE" in wm_state(display, clock),
                     wm_state(display, clock).strip())
        second = other_window(display, "second-window", procs)
        report.check("the clock stays above a window mapped after it",
                     above(display, clock, second), stack())
        bring_forward(display, first)
        report.check("the clock stays above a window raised and activated after it",
                     above(display, clock, first), stack())

        desktop.press(display, clock, "ctrl+a")
        desktop.wait_until(lambda: "_NET_WM_STATE_ABOVE" not in wm_state(display, clock), 5,
                           0.05, "the above state to go")
        bring_forward(display, first)
        report.check("with Always on Top off, the other window comes above the clock",
                     above(display, first, clock), stack())
    finally:
        for proc in procs:
            desktop.stop_process(proc)


def saved_pixels(path):
    fields = open(path, "rb").read().decode().split(",")
    return round(float(fields[8]) / PX), round(float(fields[7]) / PX)  # left, top


def position_round_trip(mutter, work, folder, proc, clock, report):
    """Moves the clock, saves, ends it and starts it again; returns the new process."""
    display = mutter.display
    path = os.path.join(folder, "Tessa.sav")
    opened = desktop.settled_position(display, clock)
    desktop.xdotool(display, "windowmove", clock, "420", "330")
    desktop.wait_until(lambda: desktop.outer_position(display, clock) != opened, 10, 0.05,
                       "the clock to move")
    moved = desktop.settled_position(display, clock)
    before = desktop.file_stamp(path)
    desktop.press(display, clock, "ctrl+p")
    desktop.wait_until(lambda: desktop.file_stamp(path) != before, 5, 0.05, "the save")
    report.check("Ctrl+P saves the moved position", saved_pixels(path) == moved,
                 f"saved {saved_pixels(path)}, shown at {moved}")
    desktop.stop_process(proc)
    proc = start_clock(folder, mutter, work)
    clock = desktop.wait_for_window(display, "Tessaron", proc)
    shown = desktop.settled_position(display, clock)
    report.check("started again, the clock opens on the pixel it was saved on", shown == moved,
                 f"opened at {shown}, saved at {moved}")
    return proc, clock


def help_and_browser(mutter, proc, clock, report, browsers):
    display = mutter.display
    desktop.press(display, clock, "F1")
    try:
        desktop.wait_for_window(display, "Tessaron Help", proc, timeout=10)
        report.check("F1 opens the help window", True)
    except TimeoutError as e:
        report.check("F1 opens the help window", False, str(e))
    desktop.web_support(display, clock, proc)
    try:
        browser = desktop.wait_until(lambda: desktop.children(proc.pid, "tessaron_browser"),
                                     20, 0.1, "the browser process")[0]
        browsers.append(browser)
        desktop.wait_until(
            lambda: desktop.xdotool(display, "search", "--onlyvisible", "--pid", str(browser)),
            30, 0.2, "the browser window")
        report.check("Web Support opens a browser window", True)
    except TimeoutError as e:
        report.check("Web Support opens a browser window", False, str(e))


def run(work, build, mutter, report):
    folder = desktop.program_folder(work, build, ("Tessa.hlp", "tessaron_browser"), SAVED)
    proc = start_clock(folder, mutter, work)
    browsers = []
    try:
        try:
            clock = desktop.wait_for_window(mutter.display, "Tessaron", proc)
        except TimeoutError:
            report.check("the clock picks XWayland (its window is an X window)", False,
                         "no X window named Tessaron")
            return
        report.check("the clock picks XWayland (its window is an X window)", True)
        shown = desktop.settled_position(mutter.display, clock)
        report.check("it opens where it was saved", shown == (LEFT // PX, TOP // PX),
                     f"opened at {shown}")
        keeps_on_top(mutter, work, clock, report)
        proc, clock = position_round_trip(mutter, work, folder, proc, clock, report)
        help_and_browser(mutter, proc, clock, report, browsers)
    finally:
        desktop.stop_process(proc)
        for browser in browsers:  # it outlives the clock by design
            try:
                os.kill(browser, signal.SIGKILL)
            except ProcessLookupError:
                pass


def main():
    def body(work, build, report):
        mutter = desktop.Mutter(work)
        try:
            mutter.start()
            run(work, build, mutter, report)
        finally:
            mutter.stop()
    return desktop.run_test(__doc__, "tessaron-mutter-", body, NEEDS)


if __name__ == "__main__":
    sys.exit(main())
