#!/usr/bin/python3
"""Drives "Morrowmere Settings" through its accessibility tree, as a screen reader would.

window.py show NAME       the control's value: on/off for a switch, the number for a spin button
window.py toggle NAME     flips a switch
window.py set NAME VALUE  sets a spin button
window.py press NAME      presses a button
Prints "no window" or "no NAME" when it is not there (yet).
window.py preview A B     of two pictures of the screen taken a second apart: whether A shows the
                          preview (its night sky in a 16:9 box), and how many pixels changed inside
                          and outside that box
"""
import subprocess
import sys

import pyatspi


CONTROLS = ("check box", "spin button", "push button", "toggle button")


def find(node, name):
    if node is None:
        return None
    if node.getRoleName() in CONTROLS and node.name.startswith(name):
        return node
    for child in node:
        found = find(child, name)
        if found is not None:
            return found
    return None


def pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True).stdout.split()
    raw = subprocess.run(["convert", path, "rgb:-"], capture_output=True).stdout
    return int(size[0]), int(size[1]), raw


def preview(first, second):
    width, height, a = pixels(first)
    _, _, b = pixels(second)
    # The scene's night sky: dark, blue to violet, red and green alike; nothing else on the screen
    # is (sway's blue title bar has far more green than red).
    sky = [(i % width, i // width) for i in range(width * height)
           if a[3 * i + 2] < 110 and abs(a[3 * i] - a[3 * i + 1]) < 25 and a[3 * i + 2] > max(a[3 * i], a[3 * i + 1]) + 20]
    if not sky:
        print("no sky")
        return
    left, right = min(x for x, _ in sky), max(x for x, _ in sky)
    top = min(y for _, y in sky)
    bottom = top + (right - left + 1) * 9 // 16
    inside = outside = 0
    for i in range(width * height):
        if a[3 * i:3 * i + 3] != b[3 * i:3 * i + 3]:
            x, y = i % width, i // width
            if left <= x <= right and top <= y <= bottom:
                inside += 1
            else:
                outside += 1
    print(f"sky={len(sky)} size={right - left + 1}x{bottom - top + 1} changed={inside} outside={outside}")


def main():
    command, name = sys.argv[1], sys.argv[2]
    if command == "preview":
        preview(name, sys.argv[3])
        return
    desktop = pyatspi.Registry.getDesktop(0)
    app = next((a for a in desktop if a is not None and a.name == "morrowmere-settings"), None)
    if app is None:
        print("no window")
        return
    control = find(app, name)
    if control is None:
        print("no " + name)
        return
    if command == "show":
        value = control.queryValue().currentValue if control.getRoleName() == "spin button" else None
        if value is None:
            states = control.getState()
            value = "on" if states.contains(pyatspi.STATE_CHECKED) or states.contains(pyatspi.STATE_PRESSED) else "off"
        print(value if isinstance(value, str) else int(value))
    elif command in ("toggle", "press"):
        action = control.queryAction()
        action.doAction(0)
        print("done")
    elif command == "set":
        control.queryValue().currentValue = float(sys.argv[3])
        print("done")


main()
