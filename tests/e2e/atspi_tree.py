"""Prints the accessibility tree of the running program "Tervalin" as a
screen reader reads it over AT-SPI, one JSON object per node:
{"depth", "role", "name", "description", "showing", "focused"}.

Runs under Debian's /usr/bin/python3, which has pyatspi, on the session bus
that DBUS_SESSION_BUS_ADDRESS names. Waits up to the number of seconds
given as its argument for the program to appear with its window.
"""

import json
import sys
import time

import pyatspi

APPLICATION = "Tervalin"


def find_application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == APPLICATION and app.childCount > 0:
            return app
    return None


def walk(node, depth, out):
    states = node.getState()
    out.append({"depth": depth, "role": node.getRoleName(), "name": node.name,
                "description": node.description,
                "showing": states.contains(pyatspi.STATE_SHOWING),
                "focused": states.contains(pyatspi.STATE_FOCUSED)})
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)


def main():
    deadline = time.monotonic() + float(sys.argv[1] if len(sys.argv) > 1 else 20)
    while True:
        app = find_application()
        if app is not None:
            break
        if time.monotonic() > deadline:
            sys.exit(f"no application {APPLICATION!r} on the accessibility bus")
        time.sleep(0.2)
    nodes = []
    walk(app, 0, nodes)
    for node in nodes:
        print(json.dumps(node, ensure_ascii=False))


if __name__ == "__main__":
    main()
