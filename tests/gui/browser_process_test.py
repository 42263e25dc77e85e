#!/usr/bin/python3
"""The support browser as its own program, driven through the real clock under Xvfb
with a window manager (openbox):

1. Help > Support > Web Support opens a browser window in a process of its own; the
   clock never maps the web engine. Closing the window ends the browser, and the
   clock's resident memory is back within 10 % of its figure at rest (both printed).
2. A browser window outlives the clock: closing the clock leaves it open and working,
   and closing it then ends the browser.
3. A damaged web engine (its library cut short, found first through
   LD_LIBRARY_PATH) and a damaged browser program: Web Support says the browser
   could not start, and the clock runs on.

Usage: /usr/bin/python3 tests/gui/browser_process_test.py BUILD_DIR
"""

import os
import shutil
import signal
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().split(") ")[1][0] != "Z"
    except OSError:
        return False


def settled_rss_kb(pid, timeout=20):
    """The resident size once it holds still: two readings half a second apart within 1 %."""
    last = [None]

    def steady():
        now = rss_kb(pid)
        held = last[0] is not None and abs(now - last[0]) <= last[0] * 0.01
        last[0] = now
        return now if held else None
    return desktop.wait_until(steady, timeout, 0.5, "a steady resident size")


def clock_link(pid):
    """The browser's end of its socket to the clock, or None once the browser has let it
    go (it closes it when it finds the clock gone)."""
    with open(f"/proc/{pid}/cmdline", "rb") as f:
        args = f.read().decode(errors="replace").split("\0")
    fd = next((a.split("=", 1)[1] for a in args if a.startswith("--clock-fd=")), None)
    return fd if fd is not None and os.path.exists(f"/proc/{pid}/fd/{fd}") else None


def maps_web_engine(pid):
    with open(f"/proc/{pid}/maps") as f:
        return any("WebEngine" in line for line in f)


def browser_windows(display, pid):
    found = desktop.xdotool(display, "search", "--onlyvisible", "--pid", str(pid))
    return found.split() if found else []


ENGINE = "/usr/lib/x86_64-linux-gnu/libQt6WebEngineCore.so.6"


def cut_copy(source, target, size):
    with open(source, "rb") as f, open(target, "wb") as out:
        out.write(f.read(size))
    os.chmod(target, 0o755)


def start_clock(work, build, name, xvfb, damage=None):
    folder = desktop.program_folder(os.path.join(work, name), build, ("tessaron_browser",))
    env = {}
    if damage == "engine":
        libs = os.path.join(work, name, "libs")
        os.makedirs(libs)
        cut_copy(os.path.realpath(ENGINE), os.path.join(libs, os.path.basename(ENGINE)),
                 os.path.getsize(os.path.realpath(ENGINE)) // 3)
        env["LD_LIBRARY_PATH"] = libs
    elif damage == "program":
        path = os.path.join(folder, "tessaron_browser")
        cut_copy(os.path.join(build, "tessaron_browser"), path, 8 * 1024)
    proc = desktop.start_program(folder, xvfb.display, env)
    clock = desktop.wait_for_window(xvfb.display, "Tessaron", proc)
    return proc, clock


def open_and_close(work, build, xvfb, report):
    proc, clock = start_clock(work, build, "memory", xvfb)
    try:
        resting = settled_rss_kb(proc.pid)  # start-up memory handed back
        desktop.web_support(xvfb.display, clock, proc)
        browser = desktop.wait_until(lambda: desktop.children(proc.pid, "tessaron_browser"), 20, 0.1,
                                     "the browser process")[0]
        window = desktop.wait_until(lambda: browser_windows(xvfb.display, browser), 60, 0.2,
                                    "the browser window")[0]
        report.check("the browser runs in a process of its own, the clock maps no web engine",
                     not maps_web_engine(proc.pid) and maps_web_engine(browser))
        with_browser = settled_rss_kb(proc.pid)
        desktop.press(xvfb.display, window, "alt+F4")
        desktop.wait_until(lambda: not alive(browser), 20, 0.1, "the browser to end")
        after = settled_rss_kb(proc.pid)
        report.check("closing the last browser window ends the browser", not alive(browser))
        print(f"clock resident memory: at rest {resting} kB, with the browser open "
              f"{with_browser} kB, after it closed {after} kB")
        report.check("the clock's memory is back within 10 % of its figure at rest",
                     after <= resting * 1.10, f"{resting} kB at rest, {after} kB after")
        report.check("the clock runs on", proc.poll() is None)
    finally:
        desktop.stop_process(proc)


def outlives_the_clock(work, build, xvfb, report):
    proc, clock = start_clock(work, build, "outlives", xvfb)
    browser = None
    try:
        desktop.web_support(xvfb.display, clock, proc)
        browser = desktop.wait_until(lambda: desktop.children(proc.pid, "tessaron_browser"), 20, 0.1,
                                     "the browser process")[0]
        window = desktop.wait_until(lambda: browser_windows(xvfb.display, browser), 60, 0.2,
                                    "the browser window")[0]
        desktop.press(xvfb.display, clock, "alt+F4")
        proc.wait(timeout=10)
        # The browser finds the clock gone when its socket closes; it lets the socket go
        # then, and would end then if it ended with the clock.
        desktop.wait_until(lambda: not alive(browser) or clock_link(browser) is None, 10, 0.05,
                           "the browser to find the clock gone")
        report.check("closing the clock leaves the browser window open",
                     alive(browser) and window in browser_windows(xvfb.display, browser))
        desktop.press(xvfb.display, window, "alt+F4")
        desktop.wait_until(lambda: not alive(browser), 20, 0.1, "the browser to end")
        report.check("the browser ends with its last window", not alive(browser))
    finally:
        desktop.stop_process(proc)
        if browser is not None and alive(browser):
            os.kill(browser, signal.SIGKILL)


def damaged_browser(work, build, xvfb, report, damage):
    proc, clock = start_clock(work, build, "damaged-" + damage, xvfb, damage)
    try:
        desktop.web_support(xvfb.display, clock, proc)

        # A message under the application's title.
        message = desktop.wait_for_window(xvfb.display, "Tessa", proc, timeout=20)
        # Running on is answering: the message closes and Ctrl+P saves.
        desktop.press(xvfb.display, message, "Return")
        desktop.wait_until(lambda: not desktop.xdotool(xvfb.display, "search", "--onlyvisible",
                                                       "--name", "^Tessa$"),
                           10, 0.05, "the message to close")
        saved = os.path.join(work, "damaged-" + damage, "app", "Tessa.sav")
        desktop.press(xvfb.display, clock, "ctrl+p")
        try:
            desktop.wait_until(lambda: os.path.exists(saved), 10, 0.05, "a save")
        except TimeoutError:
            pass  # the check says it
        report.check(f"a damaged {damage} leaves the clock running and says so",
                     proc.poll() is None and os.path.exists(saved),
                     f"running: {proc.poll() is None}; saved: {os.path.exists(saved)}")
    finally:
        desktop.stop_process(proc)


def main():
    build = desktop.script_argument(__doc__)
    if build is None:
        return 2
    desktop.stop_on_sigterm()

    report = desktop.Report()
    work = tempfile.mkdtemp(prefix="tessaron-browser-")
    xvfb = desktop.Xvfb()
    wm = None
    try:
        xvfb.start()
        wm = desktop.start(["openbox"], {"PATH": "/usr/bin:/bin", "DISPLAY": xvfb.display,
                                         "HOME": work})
        desktop.wait_for_window_manager(xvfb.display)
        open_and_close(work, build, xvfb, report)
        outlives_the_clock(work, build, xvfb, report)
        if os.path.exists(ENGINE):
            damaged_browser(work, build, xvfb, report, "engine")
        damaged_browser(work, build, xvfb, report, "program")
    except (Exception, SystemExit, KeyboardInterrupt) as e:
        report.check("harness", False, repr(e))
    finally:
        desktop.stop_process(wm)
        xvfb.stop()
        if report.failed == 0:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"kept logs in {work}")
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
