#!/usr/bin/env python3
"""Prints the net the main window shows, as a screen reader reads it: the
stations with what is said after each (times, checked out), the counters and
both search lists. Used to compare a net before a kill with the net brought
back, and one seat's net with another's.

    shown_net.py APP_NAME [--pid PID] [--share-line]

--pid picks one of several running copies; --share-line prints only the
line that says how the net is shared."""
import sys
import time

import pyatspi

LISTS = {"Stations in the net": "line", "Unknown calls": "unknown", "Suggested members": "suggest"}
COUNTERS = ("Check-ins", "Traffic", "Members")


def main_window(app_name, pid):
    for _ in range(80):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == app_name and (pid is None or app.get_process_id() == pid):
                for window in app:
                    if window is not None and window.name.startswith("VELNOR"):
                        return window
        time.sleep(0.25)
    return None


def collect(node, out):
    try:
        name = node.name or ""
        role = node.getRoleName()
    except Exception:  # gone while walked
        return
    if role == "list" and name in LISTS:
        for item in node:
            if item is not None:
                out.append("%s [%s] %s" % (LISTS[name], item.name, item.description or ""))
        return
    if role == "label" and name.split(":")[0] in COUNTERS:
        out.append("counter %s" % name)
    if role == "label" and name.split(":")[0] == "Sharing":
        out.append("share %s" % name)
    for child in node:
        if child is not None:
            collect(child, out)


def main():
    args = sys.argv[1:]
    pid = int(args[args.index("--pid") + 1]) if "--pid" in args else None
    window = main_window(args[0], pid)
    if window is None:
        print("FAIL: the main window is not on the accessibility bus")
        return 1
    out = []
    collect(window, out)
    if "--share-line" in args:
        print("\n".join(l[len("share "):] for l in out if l.startswith("share ")))
        return 0
    out = [l for l in out if not l.startswith("share ")]
    # Counters first, in a fixed order; lists in their own order.
    print("\n".join(sorted(l for l in out if l.startswith("counter")) + [l for l in out if not l.startswith("counter")]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
