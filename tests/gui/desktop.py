"""A private desktop for real-program tests: Xvfb, a PulseAudio server with one
null sink, and the clock started from a fresh folder of its own. Everything
started here runs in its own session and dies with the test.
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
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
    def __init__(self):
        self.proc = None
        self.display = None

    def start(self):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
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


class AccessibilityBus:
    """A session bus of our own with the accessibility bus launcher on it; the launcher
    starts the accessibility bus, which starts the registry when first asked."""

    def __init__(self, folder, display):
        self.folder = folder
        self.display = display
        self.procs = []
        self.address = None

    def env(self):
        return {"PATH": "/usr/bin:/bin", "HOME": self.folder, "XDG_RUNTIME_DIR": self.folder,
                "DISPLAY": self.display, "DBUS_SESSION_BUS_ADDRESS": self.address}

    def start(self):
        read_fd, write_fd = os.pipe()
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", f"--print-address={write_fd}",
             f"--address=unix:path={self.folder}/bus"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.procs.append(bus)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.address = f.readline().strip()
        if not self.address:
            raise RuntimeError("dbus-daemon gave no address")
        log = open(os.path.join(self.folder, "atspi.log"), "wb")
        self.procs.append(start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                self.env(), log=log))
        self.procs.append(start(["/usr/libexec/at-spi2-registryd"], self.env(), log=log))

    def stop(self):
        for proc in reversed(self.procs):
            stop_process(proc)


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


def start_program(folder, display, extra_env=None, log_path=None):
    home = os.path.join(os.path.dirname(folder), "home")
    runtime = os.path.join(os.path.dirname(folder), "run")
    os.makedirs(home, exist_ok=True)
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = {"PATH": "/usr/bin:/bin", "HOME": home, "XDG_RUNTIME_DIR": runtime,
           "DISPLAY": display, "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "xcb"}
    env.update(extra_env or {})
    log = open(log_path or os.path.join(os.path.dirname(folder), "program.log"), "wb")
    return start([os.path.join(folder, "tessaron")], env, log=log, cwd=folder)


def xdotool(display, *args, timeout=5):
    r = subprocess.run(["xdotool", *args], env={"PATH": "/usr/bin:/bin", "DISPLAY": display},
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


def window_geometry(display, window):
    """(x, y, width, height) of `window` on the screen, in pixels."""
    r = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True, timeout=5,
                       env={"PATH": "/usr/bin:/bin", "DISPLAY": display})
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
                   env={"PATH": "/usr/bin:/bin", "DISPLAY": display})
    return Image.open(path).convert("RGB")


def file_stamp(path):
    """What tells one save of `path` from the next: a save replaces the file whole, so a
    new file, whatever it holds."""
    info = os.stat(path)
    return info.st_ino, info.st_mtime_ns


def press(display, window, *keys):
    """Gives `window` the keyboard focus and types `keys` (xdotool key names)."""
    xdotool(display, "windowfocus", window)
    time.sleep(0.2)
    xdotool(display, "key", "--clearmodifiers", *keys)
