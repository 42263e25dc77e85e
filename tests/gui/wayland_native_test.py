#!/usr/bin/python3
"""The clock on Wayland itself (QT_QPA_PLATFORM=wayland, no X display at all) under
weston's headless backend, read and driven through AT-SPI on a private session bus:

1. It starts, and the tree holds the time it was started at, "12:34".
2. Always on Top is unavailable: its menu item and toolbar button 1 are disabled, and the
   button's description is the tooltip that says why.
3. Save Preferences (Ctrl+P's command; Wayland lets no program type into another's
   window, so it is invoked through the tree) writes the clock's state, Display Seconds
   switched on before it, but keeps the position fields of "Tessa.sav" as they were; at
   a first start, the first-start position.

Usage: /usr/bin/python3 tests/gui/wayland_native_test.py BUILD_DIR
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop  # noqa: E402

QT_PLUGINS = "/usr/lib/x86_64-linux-gnu/qt6/plugins"
NEEDS = {**desktop.Weston.NEEDS,
         f"{QT_PLUGINS}/platforms/libqwayland-generic.so": "qt6-wayland",
         f"{QT_PLUGINS}/wayland-shell-integration/libxdg-shell.so": "qt6-wayland",
         "/usr/libexec/at-spi-bus-launcher": "at-spi2-core",
         "/usr/lib/python3/dist-packages/pyatspi": "python3-pyatspi"}
SAVED = '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1500,3000,"smallworld.wav",#FALSE#\r\n'
NO_KEEP_ON_TOP = ("Always on Top is not available: this desktop does not let a program keep "
                  "its window above others")
TOP, LEFT, SECONDS = 7, 8, 4  # fields of the preferences line

# (case, "Tessa.sav" before, the position fields it must hold after the save)
CASES = [
    ("saved before", SAVED, ["1500", "3000"]),
    ("first start", None, ["0", "0"]),
]


def find_node(app, test):
    return next((n for n in desktop.walk(app) if test(n)), None)


def menu_item(pyatspi, app, name):
    # A switch is a check box in its menu.
    return find_node(app, lambda n: n.name == name and
                     ("menu item" in n.getRoleName() or n.getRoleName() == "check box"))


def enabled(pyatspi, node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def states(node):
    return " ".join(s.value_nick for s in node.getState().getStates())


def press(node):
    """Invokes the node's first action (a menu item's "Press"), as a screen reader does."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if not names:
        raise RuntimeError(f"{node.name!r} has no action")
    action.doAction(0)
    return names


def starts(pyatspi, app, report):
    dots = None
    try:
        dots = desktop.wait_until(
            lambda: find_node(app, lambda n: n.getRoleName() == "status bar" and n.name[:2].isdigit()),
            10, 0.1, "the dots")
        desktop.wait_until(lambda: desktop.text_of(dots) == "12:34", 5, 0.1, "the time")
    except TimeoutError:
        pass  # the check says so
    shown = desktop.text_of(dots) if dots is not None else None
    report.check("on Wayland the tree holds the clock's time", shown == "12:34",
                 f"dots' text {shown!r}")


def no_keep_on_top(pyatspi, app, report):
    item = menu_item(pyatspi, app, "Always on Top")
    report.check("the Always on Top menu item is there, disabled",
                 item is not None and not enabled(pyatspi, item),
                 "missing" if item is None else f"states {states(item)}")
    bar = find_node(app, lambda n: n.getRole() == pyatspi.ROLE_TOOL_BAR)
    buttons = [b for b in bar if b.getState().contains(pyatspi.STATE_SHOWING)] if bar else []
    first = buttons[0] if buttons else None
    report.check("toolbar button 1 is disabled",
                 first is not None and not enabled(pyatspi, first),
                 "missing" if first is None else f"{first.name!r}: {states(first)}")
    report.check("toolbar button 1 says why", first is not None and
                 first.description == NO_KEEP_ON_TOP,
                 "" if first is None else f"description {first.description!r}")


def save_keeps_position(pyatspi, app, path, expected, case, report):
    seconds = menu_item(pyatspi, app, "Display Seconds")
    save = menu_item(pyatspi, app, "Save Preferences")
    if seconds is None or save is None:
        report.check(f"{case}: the menu items are in the tree", False,
                     f"Display Seconds {seconds}, Save Preferences {save}")
        return
    before = desktop.file_stamp(path) if os.path.exists(path) else None
    press(seconds)
    press(save)
    try:
        desktop.wait_until(lambda: os.path.exists(path) and desktop.file_stamp(path) != before,
                           5, 0.05, "the save")
    except TimeoutError:
        report.check(f"{case}: Save Preferences writes Tessa.sav", False, "no new file")
        return
    fields = open(path, "rb").read().decode().split(",")
    report.check(f"{case}: the save holds the clock's state (seconds on)",
                 fields[SECONDS] == "#TRUE#", f"line {fields}")
    report.check(f"{case}: the position fields are kept",
                 [fields[TOP], fields[LEFT]] == expected,
                 f"top, left {fields[TOP]}, {fields[LEFT]}; expected {expected}")


def run(pyatspi, work, build, weston, bus, report):
    env = {**weston.session_env(), **desktop.fake_clock("2026-12-10 12:34:10"),
           "DBUS_SESSION_BUS_ADDRESS": bus.address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
           "QT_QPA_PLATFORM": "wayland"}
    for index, (case, preferences, expected) in enumerate(CASES):
        name = case.replace(" ", "_")
        folder = desktop.program_folder(os.path.join(work, name), build,
                                        preferences=preferences)
        proc = desktop.start_program(folder, None, env,
                                     log_path=os.path.join(work, name + ".log"))
        try:
            app = desktop.application(pyatspi, proc)
            # Its window (a frame on X, a filler on Qt's Wayland), toolbar and all.
            desktop.wait_until(
                lambda: any(w.name == "Tessaron" for w in app) and
                find_node(app, lambda n: n.getRole() == pyatspi.ROLE_TOOL_BAR), 15, 0.1,
                "the clock's window")
            if index == 0:
                starts(pyatspi, app, report)
                no_keep_on_top(pyatspi, app, report)
            save_keeps_position(pyatspi, app, os.path.join(folder, "Tessa.sav"), expected,
                                case, report)
            report.check(f"{case}: the clock runs on", proc.poll() is None)
        finally:
            desktop.stop_process(proc)


def main():
    def body(work, build, report):
        weston = desktop.Weston(work)
        bus = desktop.SessionBus(desktop.private_runtime_dir(work, "bus"), accessibility=True)
        try:
            weston.start()
            bus.start()
            # The registry is read over the session bus: no X display to find it on.
            os.environ.pop("DISPLAY", None)
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.address
            import pyatspi
            run(pyatspi, work, build, weston, bus, report)
        finally:
            bus.stop()
            weston.stop()
    return desktop.run_test(__doc__, "tessaron-wayland-", body, NEEDS)


if __name__ == "__main__":
    sys.exit(main())
