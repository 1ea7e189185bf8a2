#!/usr/bin/env python3
"""Prints the net the main window shows, as a screen reader reads it: the
stations with what is said after each (times, checked out), the counters and
both search lists. Used to compare a net before a kill with the net brought
back."""
import sys
import time

import pyatspi

LISTS = {"Stations in the net": "line", "Unknown calls": "unknown", "Suggested members": "suggest"}
COUNTERS = ("Check-ins", "Traffic", "Members")


def main_window(app_name):
    for _ in range(80):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == app_name:
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
    for child in node:
        if child is not None:
            collect(child, out)


def main():
    window = main_window(sys.argv[1])
    if window is None:
        print("FAIL: the main window is not on the accessibility bus")
        return 1
    out = []
    collect(window, out)
    # Counters first, in a fixed order; lists in their own order.
    print("\n".join(sorted(l for l in out if l.startswith("counter")) + [l for l in out if not l.startswith("counter")]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
