#!/usr/bin/python3
"""The clock as a blind user hears it: Debian's Orca screen reader and the real clock under
Xvfb, on a private session bus with the accessibility bus, in a private home. Orca's speech
is read from its debug log, whose "SPEECH OUTPUT:" lines it writes whether or not a speech
server answers (none is started: its autospawn command is /bin/false).

- The clock starts at 12:34:40 (faketime), seconds shown: Orca says the window is a frame
  and, once Tab is pressed, the time on the focused dots ("12:34:4x statusbar").
- When the minute turns, Orca says "12:35:00 statusbar", once; no other second is spoken
  in the seconds that follow.
- Every window as a blind user walks it, keyboard only, on the clock started anew without
  the faked time: the Options menu says Music is a
  switch that is off ("not checked"); Ctrl+M and the prompt's Enter say "Music on", and
  the menu then says it is checked; Ctrl+S says "Seconds hidden"; the arrows in the zone
  box speak the zone it shows, and it still shows it after a tick; Help (F1) reads the
  line the caret moves to, and Ctrl+W closes it; Help > Support > Web Support opens the
  browser, read by its title, its page read as a document that has the keyboard, and
  Orca's review (keypad 8) reads the page's first line (the pages served here, as the
  web engine's proxy), and Tab its link; Enter in the address opens another, read the same
  way, and Tab from it reaches Back, as does Shift+Tab from the address, read by its name.
  The whole walk, as Orca spoke it, is written to orca-walk.txt beside its log.

Usage: screen_reader_test.py BUILD_DIR
"""

import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (PulseNullSink, Report, SessionBus, Xvfb, fake_clock,  # noqa: E402
                     program_folder, script_argument, start, start_program, stop_on_sigterm,
                     stop_process, text_of, wait_for_menu, wait_for_window, wait_until, walk,
                     xdotool)

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

    def since(self, mark):
        """What Orca has said after its first `mark` lines, as one text."""
        return " ".join(self.spoken()[mark:])

    def quiet(self, still=0.5, timeout=10):
        """Returns once Orca has written nothing for `still` seconds (at most `timeout`): a
        key pressed while it still works through a window's events is read after the focus
        has already moved, and Orca then takes the move as known and says nothing."""
        def size():
            try:
                return os.path.getsize(self.path)
            except FileNotFoundError:
                return 0
        last = [size(), time.monotonic()]

        def settled():
            now = size()
            if now != last[0]:
                last[:] = [now, time.monotonic()]
            return time.monotonic() - last[1] >= still
        try:
            wait_until(settled, timeout, 0.05, "Orca to be idle")
        except TimeoutError:
            pass

    def wait_for(self, what, timeout, proc):
        def said():
            if proc.poll() is not None:
                raise RuntimeError(f"Orca exited with status {proc.returncode}")
            return what(self)
        try:
            return wait_until(said, timeout, 0.1, "Orca's speech")
        except TimeoutError:
            return None


def no_other_orca():
    return subprocess.run(["pgrep", "-x", "orca"], capture_output=True).returncode != 0


def start_orca(work, bus):
    # Orca will not start while another of the same user's runs, whatever bus that one is
    # on: another screen-reader test on this machine is waited for.
    wait_until(no_other_orca, 150, 0.5, "no other Orca running")
    home = os.path.join(work, "orca-home")
    os.makedirs(home)
    env = {**bus.env(), "HOME": home, "XDG_CONFIG_HOME": os.path.join(home, "config"),
           "XDG_DATA_HOME": os.path.join(home, "data"), "XDG_CACHE_HOME": os.path.join(home, "cache"),
           "GSETTINGS_BACKEND": "memory", "LANG": "C.UTF-8", "SPEECHD_CMD": "/bin/false"}
    log = OrcaLog(os.path.join(work, "orca-debug.log"))
    proc = start(["/usr/bin/python3", "-c", ORCA, log.path], env,
                 log=open(os.path.join(work, "orca.out"), "wb"))
    return proc, log


SUPPORT_PAGE = (b"<html><head><title>Tessa Support Page</title></head><body>"
                b"<p>Write to us about Tessa.</p>"
                b"<p><a href='/second.html'>Questions and answers</a></p></body></html>")
SECOND_PAGE = b"<html><head><title>Second Page</title></head><body><p>Page two.</p></body></html>"


class SupportPages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        # Asked as the web engine's proxy: the path is the whole address.
        body = SUPPORT_PAGE if "/tessa/tssupport.php" in self.path else SECOND_PAGE
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def page_text(pyatspi, clock_pid, words):
    """A node of another program than the clock (its browser) whose name or text holds
    `words`, or None."""
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is None or app.get_process_id() == clock_pid:
                continue
            for n in walk(app):
                try:
                    said = (n.name or "") + " " + (text_of(n) or "")
                except Exception:  # a node without text, or one that went away
                    continue
                if words in said:
                    return n
        except Exception:
            pass
    return None


def zone_field(pyatspi, pid):
    """The text field of the zone box, or None."""
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is None or app.get_process_id() != pid:
                continue
            for n in walk(app):
                if n.getRole() == pyatspi.ROLE_COMBO_BOX:
                    for c in n:
                        if c.getRole() == pyatspi.ROLE_TEXT:
                            return c
        except Exception:
            pass
    return None


def walk_every_window(pyatspi, display, clock, orca, log, dots):
    """The blind user's walk through every window, checked as it goes."""
    def key(*keys):
        xdotool(display, "key", "--clearmodifiers", *keys)

    def window_named(title, timeout=15):
        """The window, given the keyboard as a window manager would; None if it never shows."""
        try:
            found = wait_for_window(display, title, clock, timeout)
        except TimeoutError:
            return None
        xdotool(display, "windowfocus", found)
        return found

    def hear(mark, words, timeout=15):
        return log.wait_for(lambda l: words in l.since(mark), timeout, orca)

    def open_menu(keys, first_item):
        """Opens a menu by `keys` until it shows, and gives Orca time to read `first_item`.
        Without a window manager, a menu opened while the window is still taking the focus
        can close again at once: opened again if it is gone once Orca has read it."""
        for _ in range(3):
            mark = len(log.spoken())
            key(keys)
            try:
                wait_for_menu(display, clock, 5)
                hear(mark, first_item, 3)
                wait_for_menu(display, clock, 1)
            except TimeoutError:
                continue
            return True
        return False

    def options_menu():
        return open_menu("F10", "Always on Top")

    def menu_item(mark, name):
        """What Orca said for the menu item `name`, moved to by Down from wherever the menu
        opened (a loaded machine can leave the menu on its second item), or None."""
        def said(l):
            return next((s for s in l.spoken()[mark:] if s.startswith(name)), None)
        for _ in range(4):
            if said(log):
                break
            key("Down")
            log.wait_for(said, 3, orca)
        return said(log)

    # A switch that is off says so, as a switch.
    mark = len(log.spoken())
    check("F10 opens the Options menu", options_menu())
    music = menu_item(mark, "Music")
    check("the Music switch is read by its name as not checked",
          music and "not checked" in music, f"spoken {log.since(mark)!r}")
    key("Escape", "Escape")

    # On: the prompt, then the word, then the menu says it is checked.
    mark = len(log.spoken())
    key("ctrl+m")
    window_named("WAV file Input")
    hear(mark, "WAV file Input")
    mark = len(log.spoken())
    key("Return")
    check("Ctrl+M and Enter in its prompt say the music is on", hear(mark, "Music on"),
          f"spoken {log.since(mark)!r}")
    window_named("Tessaron")
    mark = len(log.spoken())
    options_menu()
    music = menu_item(mark, "Music")
    check("the Music switch is read as checked once on",
          music and "checked" in music and "not checked" not in music,
          f"spoken {log.since(mark)!r}")
    key("Escape", "Escape")

    # The zone box: what the arrows show is what is spoken, and it stays shown.
    key("ctrl+z")
    field = None
    try:
        field = wait_until(lambda: zone_field(pyatspi, clock.pid), 15, 0.2, "the zone box")
    except TimeoutError:
        pass
    chosen = text_of(field) if field is not None else None
    mark = len(log.spoken())
    key("Down")
    try:
        shown = wait_until(lambda: field is not None and text_of(field) != chosen and
                           text_of(field), 10, 0.1, "another zone shown")
    except TimeoutError:
        shown = None
    spoken = hear(mark, shown) if shown else None
    # Two ticks on, read from the dots' own text.
    try:
        for _ in range(2):
            before = text_of(dots) if dots is not None else ""
            wait_until(lambda: dots is None or text_of(dots)[:8] > (before or "")[:8], 5, 0.1,
                       "a tick")
    except TimeoutError:
        pass
    still = text_of(field) if field is not None else None
    check("the arrow in the closed zone box shows and speaks the same zone",
          shown is not None and spoken and still == shown,
          f"chosen {chosen!r}, shown {shown!r}, after a tick {still!r}, "
          f"spoken {log.since(mark)!r}")
    key("Escape")
    key("Tab")  # back to the dots, where Ctrl+Z hides the box (in it, Ctrl+Z undoes typing)
    key("ctrl+z")

    # After the zone box, whose check waits for the seconds to tick.
    mark = len(log.spoken())
    key("ctrl+s")
    check("Ctrl+S is followed by its confirmation", hear(mark, "Seconds hidden"),
          f"spoken {log.since(mark)!r}")

    # Help: a caret that reads the line it reaches, and Ctrl+W.
    mark = len(log.spoken())
    key("F1")
    window_named("Tessaron Help")
    hear(mark, "Tessaron Help")
    log.wait_for(lambda l: "read only" in l.since(mark), 5, orca)
    check("Help opens on its first line, not the whole page in one burst",
          "Reading the time" not in log.since(mark), f"spoken {log.since(mark)!r}")
    mark = len(log.spoken())
    key("Down")
    line = log.wait_for(lambda l: l.since(mark).strip(), 10, orca)
    check("Help reads the line the caret moves to", line and "binary clock" in line,
          f"spoken {log.since(mark)!r}")
    key("ctrl+w")
    try:
        wait_until(lambda: not xdotool(display, "search", "--onlyvisible", "--name",
                                       "^Tessaron Help$"), 10, 0.1, "Help closed")
        closed = True
    except TimeoutError:
        closed = False
    check("Ctrl+W closes Help", closed)
    window_named("Tessaron")

    # Web Support, from the menu: F10 opens the first menu, and Left goes round to the last,
    # Help. (Alt+H, pressed with no window manager while the reader holds each key, had its
    # menu closed again at once, three tries running, on a loaded machine.)
    mark = len(log.spoken())
    options_menu()
    heard = len(log.spoken())
    key("Left")
    # On once Orca has spoken of the move (the menu's title or where the keyboard went).
    log.wait_for(lambda l: len(l.spoken()) > heard, 5, orca)
    key("Up", "Return")
    window_named("Tessaron Support")
    mark = len(log.spoken())
    key("Return")  # the Web Support button has the focus
    window_named("Tessa Support Page", 60)
    check("the browser is announced by its title", hear(mark, "Tessa Support Page", 30),
          f"spoken {log.since(mark)!r}")
    # The page has the keyboard once loaded: Orca names it, and its review (the keypad's 8,
    # "read the current line") reads the page's own first line. Where it does not, whether
    # the text is in the reader's tree at all tells the two faults apart.
    check("... and its page, which has the keyboard, as a document",
          hear(mark, "Tessa Support Page document web", 30), f"spoken {log.since(mark)!r}")
    mark = len(log.spoken())
    key("KP_Up")
    heard = hear(mark, "Write to us about Tessa.", 10)
    check("Orca's review of the page reads its first line", heard,
          f"spoken {log.since(mark)!r}; the text in the tree: "
          f"{bool(heard) or page_text(pyatspi, clock.pid, 'Write to us about Tessa') is not None}")
    mark = len(log.spoken())
    key("Tab")
    check("Tab in the page reaches its link, read by its text",
          hear(mark, "Questions and answers link", 10), f"spoken {log.since(mark)!r}")
    # Another page, so that Back has somewhere to go; then from the address back to it.
    key("ctrl+l")
    xdotool(display, "type", "--delay", "20", "http://tessaron.example/second.html")
    mark = len(log.spoken())
    key("Return")
    check("Enter in the address opens the page, read as a document",
          hear(mark, "Second Page document web", 30), f"spoken {log.since(mark)!r}")
    # A page with nothing to focus hands the keyboard on to the first button to press.
    mark = len(log.spoken())
    key("Tab")
    check("Tab from the page goes on to Back, read by its name",
          hear(mark, "Back push button", 10), f"spoken {log.since(mark)!r}")
    key("ctrl+l")
    mark = len(log.spoken())
    # Its name before its kind, as Orca speaks a name: a button without one is only a "push
    # button", and a tooltip read after it is no name.
    back = "Back push button"
    for _ in range(6):
        if back in log.since(mark):
            break
        heard = len(log.spoken())
        key("shift+Tab")
        # On once Orca has spoken of wherever the keyboard went.
        log.wait_for(lambda l: back in l.since(mark) or len(l.spoken()) > heard, 2, orca)
    check("Shift+Tab from the address reaches Back, read by its name",
          back in log.since(mark), f"spoken {log.since(mark)!r}")
    key("ctrl+w")


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
        bus = orca = clock = pulse = pages = log = walk_start = None
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

            folder = program_folder(os.path.join(work, "clock"), build, preferences=SECONDS_ON,
                                    files=("tessaron_browser", "smallworld.wav", "ding.wav",
                                           "Tessa.hlp", "TSShortcut.hlp"))
            pulse = PulseNullSink(os.path.join(work, "pulse"))
            os.makedirs(pulse.folder)
            pulse.start()
            pages = http.server.ThreadingHTTPServer(("127.0.0.1", 0), SupportPages)
            threading.Thread(target=pages.serve_forever, daemon=True).start()
            # As on a desktop whose accessibility is on before the clock starts, twenty
            # seconds before a minute turns (Orca reads the dots a second or two after start). The support
            # pages come from the test's own server, the browser's web engine's proxy.
            env = {"DBUS_SESSION_BUS_ADDRESS": bus.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                   "PULSE_SERVER": pulse.server,
                   "QTWEBENGINE_CHROMIUM_FLAGS": f"--proxy-server=http://127.0.0.1:{pages.server_port}",
                   **fake_clock("2026-12-10 12:34:40")}
            clock = start_program(folder, xvfb.display, env)
            window = wait_for_window(xvfb.display, "Tessaron", clock)
            xdotool(xvfb.display, "windowfocus", window)  # no window manager to do it
            framed = log.wait_for(lambda l: "Tessaron frame." in l.spoken(), 15, orca)
            check("the window is read as a frame", framed, f"spoken {log.spoken()}")

            log.quiet()
            xdotool(xvfb.display, "key", "Tab")
            first = log.wait_for(lambda l: l.times(), 15, orca)
            check("the focused dots are read as the time shown",
                  first and "12:34:40" <= first[0] <= "12:34:59", f"spoken {log.spoken()}")
            dots = dots_of(pyatspi, clock.pid)
            state = dots.getState() if dots is not None else None
            check("Tab leaves the keyboard on the dots",
                  state is not None and state.contains(pyatspi.STATE_FOCUSED),
                  f"dots {dots}")

            turned = log.wait_for(lambda l: "12:35:00" in l.times(), 45, orca)
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

            # The walk on the real clock: the web engine's processes would inherit the faked
            # one, under which it does not start.
            stop_process(clock)
            env = {k: v for k, v in env.items() if k not in fake_clock("")}
            walk_start = len(log.spoken())
            clock = start_program(folder, xvfb.display, env)
            window = wait_for_window(xvfb.display, "Tessaron", clock)
            xdotool(xvfb.display, "windowfocus", window)
            log.wait_for(lambda l: "Tessaron frame" in l.since(walk_start), 15, orca)
            xdotool(xvfb.display, "key", "Tab")
            try:
                dots = wait_until(lambda: dots_of(pyatspi, clock.pid), 10, 0.2, "the dots")
            except TimeoutError:
                dots = None
            walk_every_window(pyatspi, xvfb.display, clock, orca, log, dots)
        finally:
            if log is not None and walk_start is not None:
                # The walk as Orca spoke it, kept where TESSARON_KEEP says (else shown).
                walked = "\n".join(log.spoken()[walk_start:]) + "\n"
                if keep:
                    with open(os.path.join(keep, "orca-walk.txt"), "w", encoding="utf-8") as f:
                        f.write(walked)
                    shutil.copy(log.path, keep)
                else:
                    print("Orca's words on the walk:\n" + walked)
            for proc in (clock, orca):
                stop_process(proc)
            if pulse is not None:
                pulse.stop()
            if pages is not None:
                pages.shutdown()
            if bus is not None:
                bus.stop()
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
