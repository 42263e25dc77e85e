#!/usr/bin/python3
"""The clock at rest beside a minimal Qt clock (BUILD_DIR/minimal_clock: a QLabel set to
hh:mm:ss by an 850 ms timer), the clock twice, with seconds shown and with them hidden,
side by side on one private Xvfb for one run of SECONDS (default 60):

- CPU milliseconds per minute, all threads (/proc/PID/task/*/schedstat, nanoseconds);
- the main thread's voluntary context switches per minute (its wake-ups);
- the delay from each true change of the wall-clock second to the repaint, from the X
  server's damage events on each window, stamped by this script's wall clock as they
  arrive; and the longest time one second stayed on screen.

Beside them run the floors of any clock on Qt, BUILD_DIR/minimal_timer: a window woken once
a second that paints nothing (its event loop's wake-ups alone), and with --paint one that
repaints one small dot each second (the least a clock whose seconds change can do).

Each figure is printed beside its aim and whether it holds: with seconds shown, at most 61
wake-ups a minute and at most 0.68 times the minimal clock's CPU; with them hidden, at
most 2 wake-ups a minute and at most 0.05 times its CPU. It fails only when it cannot run.

Usage: bench/tick_cost.py BUILD_DIR [SECONDS]
"""

import ctypes
import os
import select
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "gui"))
from desktop import (Xvfb, program_folder, start, start_program, stop_process,  # noqa: E402
                     wait_for_window, wait_until, xdotool)

SECONDS_SHOWN = '255,0,16777215,#FALSE#,#TRUE#,#FALSE#,#FALSE#,1500,1500,"smallworld.wav",#FALSE#\r\n'
SECONDS_HIDDEN = SECONDS_SHOWN.replace("#FALSE#,#TRUE#", "#FALSE#,#FALSE#", 1)

# name -> (wake-ups a minute at most, CPU at most this times the minimal clock's)
AIMS = {"tessaron": (61, 0.68), "tessaron_nosec": (2, 0.05)}


def window_of(display, title, proc, timeout=15):
    """The id of the visible window named `title` of one process, where two share a title."""
    def find():
        if proc.poll() is not None:
            raise RuntimeError(f"program exited with status {proc.returncode}")
        found = xdotool(display, "search", "--all", "--onlyvisible", "--pid", str(proc.pid),
                        "--name", f"^{title}$")
        return found.split()[0] if found else None
    return wait_until(find, timeout, 0.05, f"a window named {title!r} of {proc.pid}")


def cpu_ns(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # a thread that ended meanwhile
    return total


def main_thread_wakes(pid):
    with open(f"/proc/{pid}/task/{pid}/status") as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    return 0


class DamageWatch:
    """X damage events of some windows, each stamped with the wall clock on arrival."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xd = ctypes.CDLL("libXdamage.so.1")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        for f in ("XPending", "XFlush", "XConnectionNumber"):
            getattr(self.x, f).argtypes = [ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.xd.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_void_p,
                                                  ctypes.c_void_p]
        self.xd.XDamageCreate.restype = ctypes.c_ulong
        self.xd.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open " + display)
        base, error = ctypes.c_int(), ctypes.c_int()
        if not self.xd.XDamageQueryExtension(self.dpy, ctypes.byref(base), ctypes.byref(error)):
            raise RuntimeError("no DAMAGE extension")
        self.notify = base.value  # XDamageNotify is the extension's first event
        self.events = {}  # window -> [wall-clock seconds]

    def watch(self, window):
        self.xd.XDamageCreate(self.dpy, window, 0)  # raw rectangles: one event per drawing
        self.events[window] = []
        self.x.XFlush(self.dpy)

    def run(self, seconds, fresh=True):
        """Stamps the events of `seconds`; `fresh`: the damage objects are new."""
        event = (ctypes.c_long * 24)()
        fd = self.x.XConnectionNumber(self.dpy)
        # A new damage object reports the whole window once: that is no repaint.
        if fresh:
            self.x.XSync(self.dpy, 0)
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, event)
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            select.select([fd], [], [], 0.2)
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, event)
                now = time.time()
                kind = ctypes.c_int.from_buffer(event).value & 0x7f
                drawable = event[4]  # type, serial, send_event, display, drawable
                if kind == self.notify and drawable in self.events:
                    self.events[drawable].append(now)


def repaints(stamps):
    """One repaint per burst of damage: events within 50 ms belong to one drawing."""
    out = []
    for t in stamps:
        if not out or t - out[-1] > 0.05:
            out.append(t)
    return out


def main():
    build = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60.0
    xvfb = Xvfb()
    procs = []
    with tempfile.TemporaryDirectory(prefix="tessaron-tick-") as work:
        try:
            xvfb.start()
            clocks = {}
            for name, preferences in (("tessaron", SECONDS_SHOWN),
                                      ("tessaron_nosec", SECONDS_HIDDEN)):
                own = os.path.join(work, name)
                os.makedirs(own)
                clocks[name] = start_program(program_folder(own, build, preferences=preferences),
                                             xvfb.display)
                procs.append(clocks[name])
            minimal = start([os.path.join(build, "minimal_clock")],
                            {"PATH": "/usr/bin:/bin", "DISPLAY": xvfb.display,
                             "HOME": work, "QT_QPA_PLATFORM": "xcb"})
            procs.append(minimal)
            floors = {}
            for name, args in (("minimal_timer", []), ("minimal_dot", ["--paint"])):
                floors[name] = start([os.path.join(build, "minimal_timer")] + args,
                                     {"PATH": "/usr/bin:/bin", "DISPLAY": xvfb.display,
                                      "HOME": work, "QT_QPA_PLATFORM": "xcb"})
                procs.append(floors[name])
            windows = {name: int(window_of(xvfb.display, "Tessaron", p))
                       for name, p in clocks.items()}
            windows["minimal_clock"] = int(wait_for_window(xvfb.display, "Minimal clock",
                                                           minimal))
            wait_for_window(xvfb.display, "Minimal timer", floors["minimal_timer"])
            wait_for_window(xvfb.display, "Minimal dot", floors["minimal_dot"])
            pids = {name: p.pid for name, p in clocks.items()}
            pids["minimal_clock"] = minimal.pid
            pids.update({name: p.pid for name, p in floors.items()})
            time.sleep(3)  # start-up is over
            watch = DamageWatch(xvfb.display)
            for w in windows.values():
                watch.watch(w)
            before = {n: (cpu_ns(p), main_thread_wakes(p)) for n, p in pids.items()}
            watch.run(seconds)
            after = {n: (cpu_ns(p), main_thread_wakes(p)) for n, p in pids.items()}
        finally:
            for p in procs:
                stop_process(p)
            xvfb.stop()

    per_minute = 60.0 / seconds
    cpu = {n: (after[n][0] - before[n][0]) / 1e6 * per_minute for n in pids}
    print(f"one run of {seconds:.0f} s, no window manager; tessaron with seconds shown, "
          f"tessaron_nosec with them hidden, minimal_clock with seconds")
    print(f"{'':16}{'CPU ms/min':>11}{'wakes/min':>11}{'repaints':>10}"
          f"{'delay median':>14}{'p95':>8}{'max':>8}{'longest second':>16}")
    for name in pids:
        if name not in windows:  # paints nothing: its cost only
            wakes = (after[name][1] - before[name][1]) * per_minute
            print(f"{name:16}{cpu[name]:11.1f}{wakes:11.0f}{'-':>10}")
            continue
        shown = repaints(watch.events[windows[name]])
        delays = sorted((t - int(t)) * 1000 for t in shown)
        gaps = [b - a for a, b in zip(shown, shown[1:])]
        wakes = (after[name][1] - before[name][1]) * per_minute
        if delays:
            p95 = delays[min(len(delays) - 1, int(len(delays) * 0.95))]
            print(f"{name:16}{cpu[name]:11.1f}{wakes:11.0f}{len(shown):10d}"
                  f"{statistics.median(delays):12.1f}ms{p95:6.1f}ms{delays[-1]:6.1f}ms"
                  f"{max(gaps, default=0):15.3f}s")
        else:
            print(f"{name:16}{cpu[name]:11.1f}{wakes:11.0f}{0:10d}   (no repaint seen)")
    minimal_cpu = max(cpu['minimal_clock'], 1e-9)
    print(f"CPU ratio clock/minimal: {cpu['tessaron'] / minimal_cpu:.2f} "
          f"(a Qt program that only wakes once a second: {cpu['minimal_timer'] / minimal_cpu:.2f}, "
          f"one that repaints a dot each second: {cpu['minimal_dot'] / minimal_cpu:.2f})")
    for name, (max_wakes, max_ratio) in AIMS.items():
        wakes = (after[name][1] - before[name][1]) * per_minute
        ratio = cpu[name] / minimal_cpu
        print(f"aim {name}: wake-ups/min {wakes:.0f} (at most {max_wakes}: "
              f"{'holds' if wakes <= max_wakes else 'DOES NOT HOLD'}), "
              f"CPU {ratio:.3f} x minimal clock (at most {max_ratio}: "
              f"{'holds' if ratio <= max_ratio else 'DOES NOT HOLD'})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
