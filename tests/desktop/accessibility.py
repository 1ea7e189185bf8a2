#!/usr/bin/env python3
"""Lists every control of the running main window over AT-SPI with its role
and name, fails for a control without a name, then types a duplicate call and
waits for the status line's change to reach assistive technology."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Parts of controls that carry no name of their own in any toolkit.
UNNAMED_ROLES = {"scroll bar", "filler", "viewport", "separator", "menu bar", "list item", "unknown", "page tab list"}


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def walk(node, depth, out):
    try:
        role = node.getRoleName()
        name = node.name or ""
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # an object gone while walked
        return
    out.append((depth, role, name, showing))
    for child in node:
        if child is not None:
            walk(child, depth + 1, out)


def main():
    app = None
    for _ in range(60):  # the bridge registers a moment after the window shows
        app = find_app(sys.argv[1])
        if app is not None and any(w is not None and w.name.startswith("VELNOR") for w in app):
            break
        time.sleep(0.25)
    if app is None:
        names = [a.name for a in pyatspi.Registry.getDesktop(0) if a is not None]
        print("FAIL: the program is not on the accessibility bus; there: %s" % names)
        return 1
    rows = []
    for window in app:
        if window is not None and window.name.startswith("VELNOR"):
            walk(window, 0, rows)
    if not rows:
        print("FAIL: the main window is not on the accessibility bus")
        return 1
    unnamed = 0
    for depth, role, name, showing in rows:
        print("%s%s: %s%s" % ("  " * depth, role, name, "" if showing else " (hidden)"))
        if showing and not name.strip() and role not in UNNAMED_ROLES:
            unnamed += 1
    print("%d accessible objects, %d showing controls without a name" % (len(rows), unnamed))

    heard = []

    def on_name(event):
        if "DUPLICATE" in (event.source.name or ""):
            heard.append(event.source.name)
            GLib.idle_add(pyatspi.Registry.stop)

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    # The call was checked in at start; typed again it is a duplicate.
    def type_duplicate():
        subprocess.run(["xdotool", "type", "--delay", "30", "w9abc"])
        subprocess.run(["xdotool", "key", "Return"])
        return False

    GLib.timeout_add(500, type_duplicate)
    GLib.timeout_add(10000, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    print("heard: %s" % (heard[0] if heard else "nothing"))
    if unnamed:
        print("FAIL: controls without a name")
        return 1
    if not heard or heard[0] != "Status: W9ABC DUPLICATE":
        print("FAIL: the duplicate was not announced")
        return 1
    print("accessibility: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
