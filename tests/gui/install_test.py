#!/usr/bin/python3
"""The clock as a user gets it: installed into a private root (cmake --install with
DESTDIR) and from the Debian package (cpack, unpacked with dpkg-deb -x), each run from
there under Xvfb with HOME and the XDG folders in a temporary folder. A copy of the build
folder still keeps its preferences beside the executable.

Usage: install_test.py BUILD_DIR
"""

import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from desktop import (Report, Xvfb, press, program_folder, start,  # noqa: E402
                     stop_process, wait_for_menu, wait_for_window, wait_until)

ID = "org.tessaron.Tessaron"
SAVED_FILE = "Tessa.sav"

report = Report()
check = report.check

# Stands in for the sound helper: logs every request and at once reports that nothing
# plays, so the test sees exactly which files the clock asked to hear.
RECORDING_HELPER = """#!/usr/bin/python3
import sys
with open(%r, "a") as log:
    for line in sys.stdin:
        log.write(line)
        log.flush()
        print(line.split()[0], "idle", flush=True)
"""


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, timeout=600, **kw)


class User:
    """A user's HOME with the XDG folders inside it."""

    def __init__(self, work, name):
        self.home = os.path.join(work, name)
        self.config = os.path.join(self.home, "config")
        self.data = os.path.join(self.home, "data")
        self.runtime = os.path.join(self.home, "run")
        os.makedirs(self.home)
        os.makedirs(self.runtime, mode=0o700)

    def saved(self):
        return os.path.join(self.config, "tessaron", SAVED_FILE)

    def start(self, program, display, log_name):
        env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_CONFIG_HOME": self.config,
               "XDG_DATA_HOME": self.data, "XDG_RUNTIME_DIR": self.runtime,
               "DISPLAY": display, "LANG": "C.UTF-8", "QT_QPA_PLATFORM": "xcb"}
        self.log = os.path.join(self.home, log_name)
        return start([program], env, log=open(self.log, "ab"), cwd=self.home)


def read_fields(path):
    with open(path, "rb") as f:
        return f.read().decode("latin-1").rstrip("\r\n").split(",")


def save_and_wait(display, window, path):
    press(display, window, "ctrl+p")
    try:
        wait_until(lambda: os.path.isfile(path), 5, 0.1, path)
        return True
    except TimeoutError:
        return False


def window_class(display, window):
    out = run(["xprop", "-id", window, "WM_CLASS"],
              env={"PATH": "/usr/bin:/bin", "DISPLAY": display}).stdout
    return re.findall(r'"([^"]*)"', out)


def desktop_entry(root):
    with open(os.path.join(root, "usr/share/applications", ID + ".desktop")) as f:
        return dict(line.strip().split("=", 1) for line in f if "=" in line)


def check_installed_files(root, label):
    entry = os.path.join(root, "usr/share/applications", ID + ".desktop")
    r = run(["desktop-file-validate", entry])
    check(f"{label}: desktop-file-validate", r.returncode == 0 and not r.stdout.strip(),
          r.stdout + r.stderr)
    metainfo = os.path.join(root, "usr/share/metainfo", ID + ".metainfo.xml")
    # No address in it that the validator would have to look up.
    r = run(["appstreamcli", "validate", metainfo])
    check(f"{label}: appstreamcli validate", r.returncode == 0, r.stdout + r.stderr)
    expected = ["usr/bin/tessaron", "usr/libexec/tessaron/tessaron_sound",
                "usr/libexec/tessaron/tessaron_browser",
                "usr/share/tessaron/smallworld.wav", "usr/share/tessaron/ding.wav",
                "usr/share/tessaron/Tessa.hlp", "usr/share/tessaron/TSShortcut.hlp",
                f"usr/share/icons/hicolor/scalable/apps/{ID}.svg",
                f"usr/share/icons/hicolor/48x48/apps/{ID}.png",
                f"usr/share/icons/hicolor/256x256/apps/{ID}.png",
                "usr/share/man/man1/tessaron.1.gz",
                "usr/share/doc/tessaron/copyright", "usr/share/doc/tessaron/changelog.gz"]
    missing = [p for p in expected if not os.path.isfile(os.path.join(root, p))]
    check(f"{label}: the installed tree is complete", not missing, f"missing {missing}")
    r = run([os.path.join(root, "usr/bin/tessaron"), "--version"])
    check(f"{label}: --version prints the version", r.returncode == 0 and
          re.fullmatch(r"Tessaron \d+\.\d+\.\d+\n", r.stdout), f"{r.returncode} {r.stdout!r}")
    r = run([os.path.join(root, "usr/bin/tessaron"), "--colour=red"])
    check(f"{label}: another argument is refused with status 2",
          r.returncode == 2 and "colour" in r.stderr, f"{r.returncode} {r.stderr!r}")


def installed_run(work, build, display):
    root = os.path.join(work, "root")
    r = run(["cmake", "--install", build, "--prefix", "/usr"],
            env={**os.environ, "DESTDIR": root})
    if r.returncode != 0:
        check("cmake --install into DESTDIR", False, r.stdout + r.stderr)
        return
    check_installed_files(root, "installed")
    # What an installed clock may not write to; the superuser could, so look afterwards.
    before = sorted(os.path.join(d, f) for d, _, fs in os.walk(root) for f in fs)

    helper = os.path.join(root, "usr/libexec/tessaron/tessaron_sound")
    requests = os.path.join(work, "sound-requests.log")
    with open(helper, "w") as f:
        f.write(RECORDING_HELPER % requests)
    os.chmod(helper, stat.S_IRWXU | stat.S_IRGRP | stat.S_IXGRP | stat.S_IROTH | stat.S_IXOTH)

    user = User(work, "user")
    program = os.path.join(root, "usr/bin/tessaron")
    proc = user.start(program, display, "first.log")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        entry = desktop_entry(root)
        classes = window_class(display, window)
        check("StartupWMClass is the window's class", entry.get("StartupWMClass") in classes[1:],
              f"{entry.get('StartupWMClass')} vs WM_CLASS {classes}")

        try:
            wait_until(lambda: os.path.isfile(requests), 5, 0.1, "a sound request")
        except TimeoutError:
            pass
        heard = []
        if os.path.isfile(requests):
            with open(requests) as f:
                heard = [line.split()[2] for line in f if len(line.split()) == 3]
        paths = [p[len("file://"):] for p in heard]
        check("the closing sound at start comes from share/tessaron",
              paths == [os.path.join(root, "usr/share/tessaron/ding.wav")], f"{heard}")
        check("every sound asked for exists", all(os.path.isfile(p) for p in paths), f"{heard}")

        press(display, window, "alt+h")
        wait_for_menu(display, proc)
        press(display, window, "Return")
        try:
            wait_for_window(display, "Tessaron Help", proc, timeout=10)
            check("Help finds Tessa.hlp in share/tessaron", True)
        except TimeoutError as e:
            check("Help finds Tessa.hlp in share/tessaron", False, str(e))
        window = wait_for_window(display, "Tessaron", proc)

        press(display, window, "ctrl+h")  # hints on; the save's Ctrl+P comes after it
        saved = save_and_wait(display, window, user.saved())
        check("Save Preferences writes $XDG_CONFIG_HOME/tessaron/Tessa.sav", saved,
              f"nothing in {user.config}; log {user.log}")
        if saved:
            check("the saved file holds the hints switched on",
                  read_fields(user.saved())[3] == "#TRUE#", str(read_fields(user.saved())))
    except (TimeoutError, RuntimeError) as e:
        check("the installed clock starts", False, f"{e}; log {user.log}")
        return
    finally:
        stop_process(proc)

    after = sorted(os.path.join(d, f) for d, _, fs in os.walk(root) for f in fs)
    check("nothing is written into the installed tree", after == before,
          f"{sorted(set(after) - set(before))}")

    # The second start restores the hints: saved again at once, the file says so again.
    proc = user.start(program, display, "second.log")
    try:
        window = wait_for_window(display, "Tessaron", proc)  # shown once the file is read
        if os.path.exists(user.saved()):
            os.remove(user.saved())
        saved = save_and_wait(display, window, user.saved())
        check("a second start restores the saved options",
              saved and read_fields(user.saved())[3] == "#TRUE#",
              str(read_fields(user.saved())) if saved else "nothing saved")
    except (TimeoutError, RuntimeError) as e:
        check("the installed clock starts a second time", False, f"{e}; log {user.log}")
    finally:
        stop_process(proc)


def build_folder_run(work, build, display):
    folder = program_folder(os.path.join(work, "portable"), build,
                            files=("ding.wav", "smallworld.wav", "Tessa.hlp", "TSShortcut.hlp"))
    user = User(work, "portable-user")
    proc = user.start(os.path.join(folder, "tessaron"), display, "portable.log")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        saved = save_and_wait(display, window, os.path.join(folder, SAVED_FILE))
        check("a build folder's clock saves beside its executable", saved,
              f"no {SAVED_FILE} in {folder}")
        check("and leaves the user's configuration folder alone",
              not os.path.exists(user.config), user.config)
    except (TimeoutError, RuntimeError) as e:
        check("the build folder's clock starts", False, f"{e}; log {user.log}")
    finally:
        stop_process(proc)


def package_run(work, build, display):
    out = os.path.join(work, "package")
    r = run(["cpack", "-G", "DEB", "-B", out], cwd=build)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")] if os.path.isdir(out) else []
    if r.returncode != 0 or len(debs) != 1:
        check("cpack builds one .deb", False, r.stdout + r.stderr)
        return
    deb = os.path.join(out, debs[0])
    print(f"package {debs[0]}: {os.path.getsize(deb)} bytes")
    info = run(["dpkg-deb", "-I", deb]).stdout
    depends = next((line.split(":", 1)[1] for line in info.splitlines()
                    if line.strip().startswith("Depends:")), "")
    # dpkg-shlibdeps names each library's package with the lowest version the binaries need.
    for library in ("libqt6core6", "libqt6widgets6", "libqt6svg6", "libpulse0",
                    "libqt6webenginewidgets6", "libc6"):
        check(f"the package depends on {library}, versioned by dpkg-shlibdeps",
              re.search(re.escape(library) + r" \(>= [^)]+\)", depends), depends)

    if shutil.which("lintian"):
        r = run(["lintian", deb])
        findings = [line for line in r.stdout.splitlines() if line[:2] in ("E:", "W:")]
        check("lintian finds no error and no warning in the package",
              r.returncode == 0 and not findings, r.stdout + r.stderr)
    else:
        print("SKIP lintian: not installed (tools/install-deps installs it)")

    root = os.path.join(work, "unpacked")
    r = run(["dpkg-deb", "-x", deb, root])
    check("dpkg-deb -x unpacks the package", r.returncode == 0, r.stderr)
    check_installed_files(root, "unpacked package")
    user = User(work, "package-user")
    proc = user.start(os.path.join(root, "usr/bin/tessaron"), display, "package.log")
    try:
        window = wait_for_window(display, "Tessaron", proc)
        saved = save_and_wait(display, window, user.saved())
        check("the unpacked clock saves to $XDG_CONFIG_HOME/tessaron", saved, user.log)
    except (TimeoutError, RuntimeError) as e:
        check("the unpacked clock starts", False, f"{e}; log {user.log}")
    finally:
        stop_process(proc)
    with open(user.log, errors="replace") as f:
        log = f.read()
    check("the unpacked clock finds its sound helper", "cannot start" not in log, log)


def main():
    build = os.path.abspath(sys.argv[1])
    xvfb = Xvfb()
    with tempfile.TemporaryDirectory(prefix="tessaron-install-") as work:
        try:
            xvfb.start()
            installed_run(work, build, xvfb.display)
            build_folder_run(work, build, xvfb.display)
            package_run(work, build, xvfb.display)
        finally:
            xvfb.stop()
    return report.summary()


if __name__ == "__main__":
    sys.exit(main())
