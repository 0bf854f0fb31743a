#!/usr/bin/env python3
"""Prints every text the diary's window shows to assistive technology, one "role<TAB>name" a
line: what german_window.sh reads to see which language the window speaks."""
import sys
import time

import pyatspi


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        print("%s\t%s" % (node.getRoleName(), node.name))
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            walk(node.getChildAtIndex(i), depth + 1)
        except Exception:
            continue


end = time.time() + 30
while time.time() < end:
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    apps = [a for a in apps if a is not None and a.name == "quillory"]
    if apps:
        time.sleep(1)
        walk(apps[0])
        sys.exit(0)
    time.sleep(0.3)
print("the diary never appeared on the accessibility bus", file=sys.stderr)
sys.exit(1)
