#!/usr/bin/python3
""""Tessa.sav" in hostile places, with the real clock under Xvfb:

1. A 1 GB sparse "Tessa.sav", the clock under a 1 GB address-space limit: the
   message comes up (the time it took is printed; the check allows 15 s), then
   the window, and the file is untouched.
2. The program folder on a full file system (a small tmpfs; skipped where it
   cannot be mounted): Ctrl+P says the save failed and the old file keeps
   every byte.
3. The clock under a 40-byte file-size limit: the same.

Usage: /usr/bin/python3 tests/gui/preferences_file_test.py BUILD_DIR
"""

import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402

SAVED = '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,"smallworld.wav",#FALSE#\r\n'


def windows_named(display, title):
    found = desktop.xdotool(display, "search", "--onlyvisible", "--name", f"^{title}$")
    return found.split() if found else []


def start_limited(folder, display, limit, value):
    """The clock with one resource limit set before it runs."""
    def limited():
        desktop.die_with_parent()
        resource.setrlimit(limit, (value, value))
    home = os.path.join(os.path.dirname(folder), "home")
    os.makedirs(home, exist_ok=True)
    env = {"PATH": "/usr/bin:/bin", "HOME": home, "DISPLAY": display, "LANG": "C.UTF-8",
           "QT_QPA_PLATFORM": "xcb"}
    log = open(os.path.join(os.path.dirname(folder), "program.log"), "wb")
    return subprocess.Popen([os.path.join(folder, "tessaron")], env=env, stdout=log,
                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                            start_new_session=True, preexec_fn=limited, cwd=folder)


def huge_file(work, build, xvfb, report):
    folder = desktop.program_folder(os.path.join(work, "huge"), build)
    path = os.path.join(folder, "Tessa.sav")
    with open(path, "wb") as f:
        f.truncate(1 << 30)
    started = time.monotonic()
    proc = start_limited(folder, xvfb.display, resource.RLIMIT_AS, 1 << 30)
    try:
        message = desktop.wait_for_window(xvfb.display, "Tessaron", proc, timeout=15)
        took = time.monotonic() - started
        print(f"1 GB Tessa.sav under a 1 GB address-space limit: message after {took:.2f} s")
        desktop.press(xvfb.display, message, "Return")
        window = desktop.wait_until(lambda: windows_named(xvfb.display, "Tessaron"), 15, 0.1,
                                    "the clock's window")[0]
        # Running on is answering: Ctrl+S (seconds) changes the window's width. Nothing is
        # saved by it.
        width = desktop.window_geometry(xvfb.display, window)[2]
        desktop.press(xvfb.display, window, "ctrl+s")
        try:
            desktop.wait_until(lambda: desktop.window_geometry(xvfb.display, window)[2] != width,
                               10, 0.05, "the seconds switched")
        except (TimeoutError, KeyError):
            pass  # the check says it
        report.check("a 1 GB Tessa.sav gives the message and the window",
                     proc.poll() is None and
                     desktop.window_geometry(xvfb.display, window)[2] != width)
        report.check("the 1 GB file is left as it was", os.path.getsize(path) == 1 << 30)
    finally:
        desktop.stop_process(proc)


def save_fails(name, work, folder, xvfb, report, proc):
    path = os.path.join(folder, "Tessa.sav")
    try:
        clock = desktop.wait_for_window(xvfb.display, "Tessaron", proc)
        desktop.press(xvfb.display, clock, "ctrl+p")
        desktop.wait_until(lambda: len(windows_named(xvfb.display, "Tessaron")) >= 2, 10, 0.1,
                           "a message beside the clock")
        report.check(f"{name}: the failed save is told", proc.poll() is None)
    finally:
        desktop.stop_process(proc)
    with open(path, "rb") as f:
        kept = f.read()
    report.check(f"{name}: the old file keeps every byte", kept == SAVED.encode(), repr(kept))
    report.check(f"{name}: no temporary file is left",
                 sorted(n for n in os.listdir(folder) if n.startswith(".")) == [])


def full_disk(work, build, xvfb, report):
    mount = os.path.join(work, "full")
    os.makedirs(mount)
    # Room for the program and little more; the filler takes the rest.
    room = sum(os.path.getsize(os.path.join(build, n)) for n in ("tessaron", "tessaron_sound"))
    size_kb = room // 1024 + 1024
    if subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size_kb}k", "tessaron-test", mount],
                      capture_output=True).returncode != 0:
        print("SKIP full disk: cannot mount a tmpfs here")
        return
    try:
        folder = desktop.program_folder(mount, build, preferences=SAVED)
        # Unbuffered: nothing is left to write, and fail, when the file closes.
        with open(os.path.join(mount, "filler"), "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass
        proc = desktop.start_program(folder, xvfb.display,
                                     log_path=os.path.join(work, "full-program.log"))
        save_fails("full disk", work, folder, xvfb, report, proc)
    finally:
        subprocess.run(["umount", "-l", mount])


def size_limit(work, build, xvfb, report):
    folder = desktop.program_folder(os.path.join(work, "limit"), build, preferences=SAVED)
    proc = start_limited(folder, xvfb.display, resource.RLIMIT_FSIZE, 40)
    save_fails("file-size limit", work, folder, xvfb, report, proc)


def main():
    build = desktop.script_argument(__doc__)
    if build is None:
        return 2
    desktop.stop_on_sigterm()

    report = desktop.Report()
    work = tempfile.mkdtemp(prefix="tessaron-prefs-")
    xvfb = desktop.Xvfb()
    try:
        xvfb.start()
        huge_file(work, build, xvfb, report)
        full_disk(work, build, xvfb, report)
        size_limit(work, build, xvfb, report)
    except (Exception, SystemExit, KeyboardInterrupt) as e:
        report.check("harness", False, repr(e))
    finally:
        xvfb.stop()
        if report.failed == 0:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"kept logs in {work}")
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
