"""A private desktop for real-program tests: Xvfb, a PulseAudio server with one
null sink, and the clock started from a fresh folder of its own. Everything
started here runs in its own session and dies with the test.
"""

import ctypes
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

_libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG = 1


def die_with_parent():
    # A runner's hard kill of the test takes its servers with it.
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)



def script_argument(doc):
    """The script's one argument, made absolute; None after printing the usage line
    (the last line of the script's `doc`) when it is missing."""
    if len(sys.argv) != 2:
        print(doc.strip().splitlines()[-1], file=sys.stderr)
        return None
    return os.path.abspath(sys.argv[1])


def stop_on_sigterm():
    """A timeout from the test runner arrives as SIGTERM; as an exception it still runs
    the finally blocks that stop Xvfb, the sound server and the program."""
    def on_term(signum, frame):
        raise SystemExit(f"stopped by signal {signum}")
    signal.signal(signal.SIGTERM, on_term)

def start(cmd, env, log=subprocess.DEVNULL, **kw):
    return subprocess.Popen(cmd, env=env, stdout=log, stderr=subprocess.STDOUT,
                            stdin=subprocess.DEVNULL, start_new_session=True,
                            preexec_fn=die_with_parent, **kw)


def stop_process(proc):
    if proc is None or proc.poll() is not None:
        return
    for sig, wait in ((signal.SIGTERM, 3), (signal.SIGKILL, 3)):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(timeout=wait)
            return
        except subprocess.TimeoutExpired:
            pass


# Exit status that ctest reads as "skipped" (the tests' SKIP_RETURN_CODE).
SKIPPED = 77


def missing_parts(needs):
    """The Debian packages, of `needs` ({file it installs: package}), whose file is not there."""
    return sorted({package for path, package in needs.items() if not os.path.exists(path)})


def skip_or_fail(needs):
    """None when every file of `needs` is there. Else one line naming the missing packages,
    and the exit status: skipped on a developer's machine, failed under CI (CI set, or
    root, as the CI containers run), where tools/install-deps should have put them."""
    missing = missing_parts(needs)
    if not missing:
        return None
    ci = bool(os.environ.get("CI")) or os.geteuid() == 0
    print(f"{'FAIL' if ci else 'SKIP'}: not installed: {' '.join(missing)} "
          "(tools/install-deps installs them)")
    return 1 if ci else SKIPPED


class Report:
    """PASS/FAIL lines, then the closing "N passed, M failed" line."""

    def __init__(self):
        self.passed = self.failed = 0

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {name}")
        else:
            self.failed += 1
            print(f"FAIL {name}: {detail}")

    def summary(self):
        print(f"{self.passed} passed, {self.failed} failed")
        return 1 if self.failed else 0


def run_test(doc, prefix, body, needs=None):
    """A test script's frame: `body(work, build, report)` in a fresh folder named `prefix`,
    kept with its logs when a check failed; an unexpected error fails the harness check.
    Without the packages of `needs` it is skipped, or failed under CI (skip_or_fail).
    Returns the exit status."""
    build = script_argument(doc)
    if build is None:
        return 2
    status = skip_or_fail(needs or {})
    if status is not None:
        return status
    stop_on_sigterm()
    report = Report()
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        body(work, build, report)
    except (Exception, SystemExit, KeyboardInterrupt) as e:
        report.check("harness", False, repr(e))
    finally:
        if report.failed == 0:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"kept logs in {work}")
    return report.summary()


def wait_until(done, timeout, step=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = done()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"{what} not met within {timeout:.0f} s")
        time.sleep(step)


class Xvfb:
    def __init__(self, size="1280x1024"):
        self.proc = None
        self.display = None
        self.size = size

    def start(self):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.size + "x24",
             "-nolisten", "tcp", "-dpi", "96", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=die_with_parent)
        os.close(write_fd)
        data = b""
        deadline = time.monotonic() + 15
        with os.fdopen(read_fd, "rb") as f:
            os.set_blocking(f.fileno(), False)
            while not data.endswith(b"\n"):
                if time.monotonic() > deadline or self.proc.poll() is not None:
                    raise RuntimeError("Xvfb did not start")
                chunk = f.read()
                if chunk:
                    data += chunk
                else:
                    time.sleep(0.02)
        self.display = ":" + data.decode().strip()

    def stop(self):
        stop_process(self.proc)


class PulseNullSink:
    """A PulseAudio server of our own (as root too: -n skips the default
    configuration, and the socket lives in our folder), with one null sink
    whose monitor can be recorded."""

    SINK = "tessaron_test"

    def __init__(self, folder):
        self.folder = folder
        self.proc = None
        self.socket = os.path.join(folder, "native")
        self.server = "unix:" + self.socket

    def env(self):
        return {"PATH": "/usr/bin:/bin", "HOME": self.folder,
                "XDG_RUNTIME_DIR": self.folder, "PULSE_SERVER": self.server}

    def start(self):
        self.proc = start(
            ["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
             "--use-pid-file=no", "--disallow-exit", "--log-target=stderr",
             f"--load=module-null-sink sink_name={self.SINK} rate=44100 channels=2",
             f"--load=module-native-protocol-unix auth-anonymous=1 socket={self.socket}"],
            self.env(), log=open(os.path.join(self.folder, "pulseaudio.log"), "wb"))

        def ready():
            if self.proc.poll() is not None:
                raise RuntimeError("pulseaudio exited; see " + self.folder)
            r = subprocess.run(["pactl", "list", "short", "sinks"], env=self.env(),
                               capture_output=True, text=True, timeout=5)
            return r.returncode == 0 and self.SINK in r.stdout
        wait_until(ready, 15, 0.1, "the PulseAudio null sink")

    def record(self, path, rate):
        """Starts recording the sink's monitor as raw mono 16-bit samples."""
        return start(["parec", "-d", self.SINK + ".monitor", "--format=s16le",
                      f"--rate={rate}", "--channels=1", "--raw", "--latency-msec=20", path],
                     self.env())

    def recording(self, recorder):
        """Whether the server has the stream of `recorder` (a process from record())."""
        r = subprocess.run(["pactl", "list", "source-outputs"], env=self.env(),
                           capture_output=True, text=True, timeout=5)
        return f'application.process.id = "{recorder.pid}"' in r.stdout

    def stop(self):
        stop_process(self.proc)


def program_folder(work, build, files=(), preferences=None):
    """A fresh program folder holding the clock, its sound helper and `files` from the
    build folder."""
    folder = os.path.join(work, "app")
    os.makedirs(folder)
    for name in ("tessaron", "tessaron_sound") + tuple(files):
        shutil.copy2(os.path.join(build, name), folder)
    if preferences is not None:
        with open(os.path.join(folder, "Tessa.sav"), "wb") as f:
            f.write(preferences.encode())
    return folder


# The clock's time of day fixed at `when` ("2026-12-10 12:34:10") when it starts, then running.
def fake_clock(when):
    return {"LD_PRELOAD": "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
            "FAKETIME": f"@{when}", "FAKETIME_DONT_FAKE_MONOTONIC": "1", "TZ": "UTC"}


# The authority file of each display started with one ({":1": path}).
X_AUTHORITY = {}


def x_env(display):
    """The environment that X tools need to reach `display`."""
    env = {"PATH": "/usr/bin:/bin", "DISPLAY": display}
    if display in X_AUTHORITY:
        env["XAUTHORITY"] = X_AUTHORITY[display]
    return env


def start_program(folder, display, extra_env=None, log_path=None):
    home = os.path.join(os.path.dirname(folder), "home")
    runtime = os.path.join(os.path.dirname(folder), "run")
    os.makedirs(home, exist_ok=True)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = {**x_env(display), "HOME": home, "XDG_RUNTIME_DIR": runtime, "LANG": "C.UTF-8",
           "QT_QPA_PLATFORM": "xcb"}
    # None in `extra_env` takes a variable away (display None: no X at all).
    env.update(extra_env or {})
    env = {k: v for k, v in env.items() if v is not None}
    log = open(log_path or os.path.join(os.path.dirname(folder), "program.log"), "wb")
    return start([os.path.join(folder, "tessaron")], env, log=log, cwd=folder)


def xdotool(display, *args, timeout=5):
    r = subprocess.run(["xdotool", *args], env=x_env(display),
                       capture_output=True, text=True, timeout=timeout)
    return r.stdout.strip() if r.returncode == 0 else None


def wait_for_window(display, title, proc, timeout=15):
    """The id of a visible window named exactly `title`."""
    def find():
        if proc.poll() is not None:
            raise RuntimeError(f"program exited with status {proc.returncode}")
        found = xdotool(display, "search", "--onlyvisible", "--name", f"^{title}$")
        return found.split()[0] if found else None
    return wait_until(find, timeout, 0.05, f"a window named {title!r}")


def wait_for_menu(display, proc, timeout=10):
    """Returns once one of the program's windows showing is a menu: its window type says so,
    or it is a popup the window manager leaves alone (override-redirect). Qt gives a menu
    its type when the menu first shows; one shown again after its items changed (a switch's
    caption) can come back as a plain override-redirect window."""
    def shown():
        if proc.poll() is not None:
            raise RuntimeError(f"program exited with status {proc.returncode}")
        found = xdotool(display, "search", "--onlyvisible", "--pid", str(proc.pid)) or ""
        for window in found.split():
            r = subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"],
                               env=x_env(display), capture_output=True, text=True, timeout=5)
            if "MENU" in r.stdout:
                return True
            r = subprocess.run(["xwininfo", "-id", window], env=x_env(display),
                               capture_output=True, text=True, timeout=5)
            if "Override Redirect State: yes" in r.stdout:
                return True
        return False
    wait_until(shown, timeout, 0.05, "a menu")


def window_geometry(display, window):
    """(x, y, width, height) of `window` on the screen, in pixels."""
    r = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True, timeout=5,
                       env=x_env(display))
    g = {}
    for line in r.stdout.splitlines():
        key, _, value = line.strip().partition(":")
        g[key] = value.strip()
    return (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]),
            int(g["Width"]), int(g["Height"]))


def screenshot(display, path):
    """The whole screen, saved to `path` and returned as an RGB image."""
    from PIL import Image  # only the tests that read pixels need it
    subprocess.run(["import", "-window", "root", path], check=True, timeout=20,
                   env=x_env(display))
    return Image.open(path).convert("RGB")


def file_stamp(path):
    """What tells one save of `path` from the next: a save replaces the file whole, so a
    new file, whatever it holds."""
    info = os.stat(path)
    return info.st_ino, info.st_mtime_ns


def wait_for_window_manager(display, timeout=15):
    """Returns once a window manager manages the screen. It names its check window on the
    root early in its start-up; the list of the windows it manages comes at the end of it
    (with openbox, most of a second later), and a program started in between can lose its
    connection."""
    def managed():
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST"],
                           env=x_env(display), capture_output=True, text=True, timeout=5)
        return "window id #" in r.stdout and "_NET_CLIENT_LIST(WINDOW)" in r.stdout
    wait_until(managed, timeout, 0.05, "the window manager")


def focus(display, window, timeout=5):
    """Gives `window` the keyboard focus and returns once the X server says it has it: the
    keys sent from then on reach the window after its focus-in."""
    def focused():
        if xdotool(display, "getwindowfocus") == window:
            return True
        xdotool(display, "windowfocus", window)
        return False
    wait_until(focused, timeout, 0.02, f"the keyboard focus on window {window}")


def press(display, window, *keys):
    """Gives `window` the keyboard focus and types `keys` (xdotool key names)."""
    focus(display, window)
    xdotool(display, "key", "--clearmodifiers", *keys)


def outer_position(display, window):
    """(left, top) of the window's outer frame in pixels, or None before the window
    manager has framed it: the client window's place less the frame extents."""
    env = x_env(display)
    info = subprocess.run(["xwininfo", "-id", window], env=env, capture_output=True,
                          text=True, timeout=5).stdout
    values = {}
    for line in info.splitlines():
        key, _, value = line.strip().partition(":")
        values[key] = value.strip()
    extents = subprocess.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], env=env,
                             capture_output=True, text=True, timeout=5).stdout
    if "=" not in extents:
        return None
    left, _, top, _ = (int(v) for v in extents.split("=")[1].split(","))
    return (int(values["Absolute upper-left X"]) - left,
            int(values["Absolute upper-left Y"]) - top)


def settled_position(display, window):
    """The outer position once it has stayed put for half a second."""
    last, since = None, time.monotonic()
    deadline = since + 10
    while time.monotonic() < deadline:
        now = outer_position(display, window)
        if now != last:
            last, since = now, time.monotonic()
        elif now is not None and time.monotonic() - since >= 0.5:
            return now
        time.sleep(0.05)
    return last


def children(pid, comm):
    """Pids of the running children of `pid` named `comm` (the kernel keeps 15 bytes)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                stat = f.read()
        except OSError:
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        fields = stat[stat.rindex(")") + 2:].split()
        if name == comm[:15] and fields[0] != "Z" and int(fields[1]) == pid:
            found.append(int(entry))
    return found


def web_support(display, clock, proc):
    """Help > Support, then the Web Support button."""
    press(display, clock, "alt+h")
    wait_for_menu(display, proc)
    xdotool(display, "key", "Up", "Return")
    support = wait_for_window(display, "Tessaron Support", proc)
    focus(display, support)  # framed, placed and taking input
    # The button's centre: (960 + 1092 / 2, 1920 + 492 / 2) twips, 15 to a pixel.
    xdotool(display, "mousemove", "--window", support, "100", "144", "click", "1")


class SessionBus:
    """A session bus of our own; with `accessibility`, also the accessibility bus launcher
    on it (which starts the accessibility bus) and the AT-SPI registry."""

    def __init__(self, folder, display=None, accessibility=False):
        self.folder = folder
        self.display = display
        self.accessibility = accessibility
        self.procs = []
        self.address = None

    def env(self):
        env = {"PATH": "/usr/bin:/bin", "HOME": self.folder, "XDG_RUNTIME_DIR": self.folder,
               "DBUS_SESSION_BUS_ADDRESS": self.address}
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def start(self):
        read_fd, write_fd = os.pipe()
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", f"--print-address={write_fd}",
             f"--address=unix:path={self.folder}/bus"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, preexec_fn=die_with_parent)
        self.procs.append(bus)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.address = f.readline().strip()
        if not self.address:
            raise RuntimeError("dbus-daemon gave no address")
        if self.accessibility:
            log = open(os.path.join(self.folder, "atspi.log"), "wb")
            self.procs.append(start(["/usr/libexec/at-spi-bus-launcher",
                                     "--launch-immediately"], self.env(), log=log))
            self.procs.append(start(["/usr/libexec/at-spi2-registryd"], self.env(), log=log))

    def stop(self):
        for proc in reversed(self.procs):
            stop_process(proc)


def under_accessibility_bus(build, prefix, *walks):
    """Runs each walk(pyatspi, work, build, display, env) under one Xvfb and a private
    session bus with the accessibility bus; `env` is what a program started there needs to
    be read through it. TESSARON_KEEP names a folder to keep the work folder's files in."""
    xvfb = Xvfb()
    keep = os.environ.get("TESSARON_KEEP")
    with tempfile.TemporaryDirectory(prefix=prefix, dir=keep) as work:
        bus = None
        try:
            xvfb.start()
            bus = SessionBus(work, xvfb.display, accessibility=True)
            bus.start()
            os.environ.update(DISPLAY=xvfb.display, DBUS_SESSION_BUS_ADDRESS=bus.address)
            import pyatspi
            env = {"DBUS_SESSION_BUS_ADDRESS": bus.address,
                   "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
            for each in walks:
                each(pyatspi, work, build, xvfb.display, env)
        finally:
            if bus is not None:
                bus.stop()
            xvfb.stop()


def walk(node, depth=0):
    """Every accessible below `node` (AT-SPI), depth first."""
    if node is None or depth > 30:
        return
    yield node
    try:
        children = list(node)
    except Exception:  # a child that went away while we looked
        return
    for child in children:
        yield from walk(child, depth + 1)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def application(pyatspi, proc):
    """The program `proc` as the AT-SPI registry lists it, once it is there."""
    def find():
        if proc.poll() is not None:
            raise RuntimeError(f"program exited with status {proc.returncode}")
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == proc.pid:
                    return app
            except Exception:
                pass
        return None
    return wait_until(find, 15, 0.1, "the clock in the accessibility tree")


def private_runtime_dir(folder, name):
    """A runtime folder as a session has one: its owner's alone."""
    path = os.path.join(folder, name)
    os.makedirs(path, mode=0o700)
    os.chmod(path, 0o700)  # whatever the umask left
    return path


class Mutter:
    """GNOME's compositor, headless, one virtual 1280x1024 monitor, on a session bus of
    our own (without one it aborts). It starts XWayland on an X display of its own
    choosing, which its log names, with an authority file in the runtime folder."""

    WAYLAND = "wayland-tessaron"
    NEEDS = {"/usr/bin/mutter": "mutter", "/usr/bin/Xwayland": "xwayland",
             "/usr/bin/dbus-daemon": "dbus"}

    def __init__(self, folder):
        self.folder = folder
        self.runtime = private_runtime_dir(folder, "mutter-run")
        self.log = os.path.join(folder, "mutter.log")
        self.bus = SessionBus(self.runtime)
        self.proc = None
        self.display = None
        self.numbers = ()  # the public X display's and the one for mutter's own services

    def start(self):
        self.bus.start()
        env = {**self.bus.env(), "HOME": self.folder}
        self.proc = start(["mutter", "--headless", "--wayland", "--virtual-monitor",
                           "1280x1024", f"--wayland-display={self.WAYLAND}"],
                          env, log=open(self.log, "wb"))

        def x_display():
            if self.proc.poll() is not None:
                raise RuntimeError(f"mutter exited with status {self.proc.returncode}; "
                                   f"see {self.log}")
            with open(self.log, errors="replace") as f:
                found = re.search(r"Using public X11 display :(\d+), \(using :(\d+)", f.read())
            authority = glob.glob(os.path.join(self.runtime, ".mutter-Xwaylandauth.*"))
            return found and authority and (found.groups(), authority[0])
        self.numbers, authority = wait_until(x_display, 20, 0.05, "mutter's XWayland display")
        self.display = ":" + self.numbers[0]
        X_AUTHORITY[self.display] = authority

        def managing():  # the window manager has claimed the screen
            r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                               env=x_env(self.display), capture_output=True, text=True,
                               timeout=5)
            return "window id" in r.stdout
        wait_until(managing, 20, 0.05, "mutter managing the X screen")

    def session_env(self):
        """What a program finds in a GNOME session on Wayland: both displays."""
        return {**x_env(self.display), "WAYLAND_DISPLAY": self.WAYLAND,
                "XDG_SESSION_TYPE": "wayland", "XDG_CURRENT_DESKTOP": "GNOME",
                "XDG_RUNTIME_DIR": self.runtime,
                "DBUS_SESSION_BUS_ADDRESS": self.bus.address}

    def stop(self):
        # Asked alone, mutter ends XWayland and takes the displays' lock files and sockets
        # with it; the group's stop is for what is left after that.
        if self.proc is not None and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                pass
        stop_process(self.proc)
        self.bus.stop()
        X_AUTHORITY.pop(self.display, None)
        # A mutter that was killed leaves them behind. (A hard kill of the test ends the bus,
        # and mutter with it, before it can clear them: the next X server takes them over.)
        for number in self.numbers:
            lock = f"/tmp/.X{number}-lock"
            try:
                with open(lock) as f:
                    ours = int(f.read().strip()) == self.proc.pid
            except (OSError, ValueError):
                continue
            if ours:
                for path in (lock, f"/tmp/.X11-unix/X{number}"):
                    try:
                        os.remove(path)
                    except OSError:
                        pass


class Weston:
    """The reference Wayland compositor on its headless backend, with no X at all."""

    WAYLAND = "wayland-tessaron"
    NEEDS = {"/usr/bin/weston": "weston",
             "/usr/lib/x86_64-linux-gnu/libweston-10/headless-backend.so": "weston"}

    def __init__(self, folder):
        self.folder = folder
        self.runtime = private_runtime_dir(folder, "weston-run")
        self.log = os.path.join(folder, "weston.log")
        self.proc = None

    def start(self):
        env = {"PATH": "/usr/bin:/bin", "HOME": self.folder, "XDG_RUNTIME_DIR": self.runtime}
        self.proc = start(["weston", "--backend=headless-backend.so", "--width=1280",
                           "--height=1024", f"--socket={self.WAYLAND}", "--no-config",
                           "--idle-time=0"], env, log=open(self.log, "wb"))
        socket = os.path.join(self.runtime, self.WAYLAND)

        def listening():
            if self.proc.poll() is not None:
                raise RuntimeError(f"weston exited with status {self.proc.returncode}; "
                                   f"see {self.log}")
            return os.path.exists(socket)
        wait_until(listening, 20, 0.05, "weston's socket")

    def session_env(self):
        return {"WAYLAND_DISPLAY": self.WAYLAND, "XDG_RUNTIME_DIR": self.runtime}

    def stop(self):
        stop_process(self.proc)

class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]  # an XEvent's size


def _xlib():
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.c_void_p]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


CLIENT_MESSAGE = 33
SUBSTRUCTURE = (1 << 19) | (1 << 20)  # SubstructureNotify | SubstructureRedirect


def wait_for_program(display, window, timeout=10):
    """Returns once the program has read every event that reached `window` before (keys,
    clicks): it answers a window manager's ping in turn, after them, to the root window."""
    x = _xlib()
    dpy = x.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    try:
        root = x.XDefaultRootWindow(dpy)
        ping = x.XInternAtom(dpy, b"_NET_WM_PING", 0)
        # The reply comes as structure (or, in older Qt, substructure) notification.
        x.XSelectInput(dpy, root, (1 << 17) | (1 << 19))
        token = int(time.monotonic() * 1000) & 0xFFFFFFFF
        event = _ClientMessage(type=CLIENT_MESSAGE, send_event=1, display=dpy,
                               window=int(window), format=32,
                               message_type=x.XInternAtom(dpy, b"WM_PROTOCOLS", 0))
        event.data[:] = [ping, token, int(window), 0, 0]
        x.XSendEvent(dpy, int(window), 0, 0, ctypes.byref(event))
        x.XFlush(dpy)
        reply = _ClientMessage()

        def answered():
            while x.XPending(dpy):
                x.XNextEvent(dpy, ctypes.byref(reply))
                if (reply.type == CLIENT_MESSAGE and reply.data[0] == ping
                        and reply.data[1] == token and reply.data[2] == int(window)):
                    return True
            return False
        wait_until(answered, timeout, 0.01, f"window {window}'s answer to a ping")
    finally:
        x.XCloseDisplay(dpy)


def set_window_state(display, window, add, *states):
    """Asks the window manager to add (or remove) `states` ("MAXIMIZED_VERT", ...) to the
    window's _NET_WM_STATE, as a pager or a user's click does. This xdotool has no such
    command."""
    x = _xlib()
    dpy = x.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    try:
        atoms = [x.XInternAtom(dpy, f"_NET_WM_STATE_{name}".encode(), 0) for name in states]
        event = _ClientMessage(type=CLIENT_MESSAGE, send_event=1, display=dpy,
                               window=int(window), format=32,
                               message_type=x.XInternAtom(dpy, b"_NET_WM_STATE", 0))
        event.data[:] = [1 if add else 0, atoms[0], atoms[1] if len(atoms) > 1 else 0, 2, 0]
        x.XSendEvent(dpy, x.XDefaultRootWindow(dpy), 0, SUBSTRUCTURE, ctypes.byref(event))
    finally:
        x.XCloseDisplay(dpy)  # flushes and waits until the server has the request


def sync_window_manager(display, window, timeout=5):
    """Returns once the window manager has handled every request sent to it before: it
    handles them in order, so a state it is asked to set last shows when it has got that
    far. The state asked for (left out of pagers) is taken off again."""
    def state():
        r = subprocess.run(["xprop", "-id", window, "_NET_WM_STATE"], env=x_env(display),
                           capture_output=True, text=True, timeout=5)
        return "_NET_WM_STATE_SKIP_PAGER" in r.stdout
    set_window_state(display, window, True, "SKIP_PAGER")
    wait_until(state, timeout, 0.02, "the window manager's reply")
    set_window_state(display, window, False, "SKIP_PAGER")
    wait_until(lambda: not state(), timeout, 0.02, "the window manager's reply")
