#!/usr/bin/python3
"""The saved position in a real window under a window manager: ten rounds of start,
save (Ctrl+P) and end leave the window's outer frame on the pixel it was saved on,
whether the window opens at once, after the music prompt, or after the message about
an unreadable preferences file (which starts from the top-left corner of the screen,
title bar on the screen). The position is the X server's: the client window's place
less the frame extents the window manager reports.

Usage: window_place_test.py BUILD_DIR
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, program_folder, press, settled_position,  # noqa: E402
                     start, start_program, stop_process, wait_for_window,
                     wait_for_window_manager, wait_until,
                     x_env, xdotool)

PX = 15  # twips per pixel
ROUNDS = 10
SAVED = '255,0,16777215,#FALSE#,#FALSE#,{music},#FALSE#,{top},{left},"smallworld.wav",#FALSE#\r\n'

report = Report()
check = report.check


def saved_position(path):
    fields = open(path, "rb").read().decode().split(",")
    return float(fields[8]), float(fields[7])  # left, top


def answer_start_dialog(display, proc, kind):
    """Closes the dialog that `kind` opens before the clock's window shows; returns the
    id of that dialog, if any."""
    if kind == "music prompt":
        prompt = wait_for_window(display, "WAV file Input", proc)
        press(display, prompt, "Escape")  # Cancel: the music stays off, silently
        return prompt
    if kind == "preferences message":
        message = wait_for_window(display, "Tessaron", proc)
        press(display, message, "Return")
        return message
    return None


def main_window(display, proc, dialog):
    def find():
        if proc.poll() is not None:
            raise RuntimeError(f"program exited with status {proc.returncode}")
        found = xdotool(display, "search", "--onlyvisible", "--name", "^Tessaron$") or ""
        others = [w for w in found.split() if w != dialog]
        return others[0] if others else None
    return wait_until(find, 15, 0.05, "the clock's window")


def rounds(work, build, display, kind, start_at):
    """Ten rounds of start, save and end; the test sets only what makes `kind`'s dialog
    open (the music flag, or a damaged file) and keeps the position the clock saved."""
    folder = program_folder(os.path.join(work, kind.replace(" ", "_")), build,
                            files=("smallworld.wav", "ding.wav"))
    path = os.path.join(folder, "Tessa.sav")
    left, top = start_at
    for n in range(1, ROUNDS + 1):
        if kind == "preferences message":
            with open(path, "wb") as f:
                f.write(b"this is not a preferences line\r\n")
            expected = (0, 0)  # the first-start place
        else:
            music = "#TRUE#" if kind == "music prompt" else "#FALSE#"
            with open(path, "wb") as f:
                f.write(SAVED.format(music=music, top=top, left=left).encode())
            expected = (round(left / PX), round(top / PX))
        proc = start_program(folder, display, log_path=os.path.join(work, "program.log"))
        try:
            dialog = answer_start_dialog(display, proc, kind)
            window = main_window(display, proc, dialog)
            shown = settled_position(display, window)
            name = f"{kind}, round {n}: the frame opens at {expected}"
            check(name, shown == expected, f"it opened at {shown}")
            before = open(path, "rb").read()
            press(display, window, "ctrl+p")
            try:
                wait_until(lambda: open(path, "rb").read() != before, 5, 0.05, "the save")
            except TimeoutError:
                pass  # an unchanged file is what the next check reports
            left, top = saved_position(path)
            saved = (round(left / PX), round(top / PX))
            check(f"{kind}, round {n}: Ctrl+P saves where it stands", saved == shown,
                  f"saved {saved} (twips {left}, {top}), shown at {shown}")
        finally:
            stop_process(proc)
        if report.failed:
            return  # one drift is enough to show; the rest would repeat it


def main():
    build = os.path.abspath(sys.argv[1])
    xvfb = Xvfb()
    wm = None
    with tempfile.TemporaryDirectory(prefix="tessaron-place-") as work:
        try:
            xvfb.start()
            wm = start(["openbox"], {**x_env(xvfb.display), "HOME": work})
            wait_for_window_manager(xvfb.display)
            rounds(work, build, xvfb.display, "no dialog", (1500, 3000))
            rounds(work, build, xvfb.display, "music prompt", (2250, 1800))
            rounds(work, build, xvfb.display, "preferences message", (0, 0))
        finally:
            stop_process(wm)
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
