#!/usr/bin/python3
"""The clock as a blind user hears it: Debian's Orca screen reader and the real clock under
Xvfb, on a private session bus with the accessibility bus, in a private home. Orca's speech
is read from its debug log, whose "SPEECH OUTPUT:" lines it writes whether or not a speech
server answers (none is started: its autospawn command is /bin/false).

- The clock starts at 12:34:45 (faketime), seconds shown: Orca says the window is a frame
  and, once Tab is pressed, the time on the focused dots ("12:34:4x statusbar").
- When the minute turns, Orca says "12:35:00 statusbar", once; no other second is spoken
  in the seconds that follow.

Usage: screen_reader_test.py BUILD_DIR
"""

import os
import re
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, SessionBus, Xvfb, fake_clock, program_folder,  # noqa: E402
                     script_argument, start, start_program, stop_on_sigterm, stop_process,
                     wait_for_window, wait_until, xdotool)

SECONDS_ON = '255,0,16777215,#FALSE#,#TRUE#,#FALSE#,#FALSE#,1500,3000,"smallworld.wav",#FALSE#\r\n'
SPOKEN = re.compile(r"SPEECH OUTPUT: '([^']*)'")
TIME = re.compile(r"^(\d\d:\d\d:\d\d) statusbar")

# Orca opens its debug file block-buffered; line-buffered here, so that each spoken line
# can be waited for as Orca writes it. The rest is /usr/bin/orca itself.
ORCA = """
import runpy, sys
from orca import debug
debug.debugLevel = debug.LEVEL_ALL
debug.eventDebugLevel = debug.LEVEL_OFF
debug.debugFile = open(sys.argv[1], "w", buffering=1)
sys.argv = ["orca"]
runpy.run_path("/usr/bin/orca", run_name="__main__")
"""

report = Report()
check = report.check


class OrcaLog:
    def __init__(self, path):
        self.path = path

    def spoken(self):
        """Everything Orca has said so far, in order."""
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                return SPOKEN.findall(f.read())
        except FileNotFoundError:
            return []

    def times(self):
        """The dots' times Orca has said, in order."""
        return [m.group(1) for m in map(TIME.match, self.spoken()) if m]

    def wait_for(self, what, timeout, proc):
        def said():
            if proc.poll() is not None:
                raise RuntimeError(f"Orca exited with status {proc.returncode}")
            return what(self)
        try:
            return wait_until(said, timeout, 0.1, "Orca's speech")
        except TimeoutError:
            return None


def start_orca(work, bus):
    home = os.path.join(work, "orca-home")
    os.makedirs(home)
    env = {**bus.env(), "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
           "XDG_DATA_HOME": os.path.join(home, "data"), "XDG_CACHE_HOME": os.path.join(home, "cache"),
           "GSETTINGS_BACKEND": "memory", "LANG": "C.UTF-8", "SPEECHD_CMD": "/bin/false"}
    log = OrcaLog(os.path.join(work, "orca-debug.log"))
    proc = start(["/usr/bin/python3", "-c", ORCA, log.path], env,
                 log=open(os.path.join(work, "orca.out"), "wb"))
    return proc, log


def dots_of(pyatspi, pid):
    """The clock's dots in the accessibility tree (a status bar), or None."""
    def walk(node, depth=0):
        if node is None or depth > 12:
            return
        yield node
        for child in node:
            yield from walk(child, depth + 1)
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                for n in walk(app):
                    if n.getRole() == pyatspi.ROLE_STATUS_BAR:
                        return n
        except Exception:  # an application that went away while we looked
            pass
    return None


def main():
    build = script_argument(__doc__)
    if build is None:
        return 2
    stop_on_sigterm()
    keep = os.environ.get("TESSARON_KEEP")  # a folder to keep Orca's log in
    xvfb = Xvfb()
    with tempfile.TemporaryDirectory(prefix="tessaron-orca-", dir=keep) as work:
        bus = orca = clock = None
        try:
            xvfb.start()
            bus = SessionBus(work, xvfb.display, accessibility=True)
            bus.start()
            os.environ.update(DISPLAY=xvfb.display, DBUS_SESSION_BUS_ADDRESS=bus.address)
            import pyatspi

            orca, log = start_orca(work, bus)
            ready = log.wait_for(lambda l: "Screen reader on." in l.spoken(), 30, orca)
            check("Orca starts and speaks", ready, f"see {log.path}")
            if not ready:
                return report.summary()

            folder = program_folder(os.path.join(work, "clock"), build, preferences=SECONDS_ON)
            # As on a desktop whose accessibility is on before the clock starts.
            env = {"DBUS_SESSION_BUS_ADDRESS": bus.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                   **fake_clock("2026-12-10 12:34:45")}
            clock = start_program(folder, xvfb.display, env)
            window = wait_for_window(xvfb.display, "Tessaron", clock)
            xdotool(xvfb.display, "windowfocus", window)  # no window manager to do it
            framed = log.wait_for(lambda l: "Tessaron frame." in l.spoken(), 15, orca)
            check("the window is read as a frame", framed, f"spoken {log.spoken()}")

            xdotool(xvfb.display, "key", "Tab")
            first = log.wait_for(lambda l: l.times(), 15, orca)
            check("the focused dots are read as the time shown",
                  first and "12:34:45" <= first[0] <= "12:34:59", f"spoken {log.spoken()}")
            dots = dots_of(pyatspi, clock.pid)
            state = dots.getState() if dots is not None else None
            check("Tab leaves the keyboard on the dots",
                  state is not None and state.contains(pyatspi.STATE_FOCUSED),
                  f"dots {dots}")

            turned = log.wait_for(lambda l: "12:35:00" in l.times(), 30, orca)
            check("the new minute is spoken", turned, f"spoken {log.spoken()}")
            # A few seconds on, read from the clock itself: none of them was spoken.
            try:
                wait_until(lambda: dots is None or dots.queryText().getText(0, -1) >= "12:35:03",
                           10, 0.2, "12:35:03 on the dots")
            except TimeoutError:
                pass
            times = log.times()
            check("each second is not spoken, the new minute once",
                  times == (first or [])[:1] + ["12:35:00"], f"times spoken {times}")
        finally:
            for proc in (clock, orca):
                stop_process(proc)
            if bus is not None:
                bus.stop()
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
