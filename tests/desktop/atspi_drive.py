#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives glukara only through AT-SPI, as a screen reader does: finds the
buttons by name, presses them, and reads the level and the message."""
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

CHART = "Blood glucose (mg / 100 ml)"
NORMAL = "The blood glucose level is within normal limits."
TOO_HIGH = ("Blood glucose is too high and cells will be losing water due to the "
            "low water potential of the blood plasma.")


def fresh(node):
    # Read past libatspi's cache: this script runs no event loop to update it.
    node.clear_cache()
    return node


# What the program told assistive technology on its own: (property, whose).
# A control is known by its own name, or by its frame's for the labels.
notifications = []


# Every level the chart has shown, in the order its changes came.
levels = []


def on_property_change(event):
    source = event.source
    parent = source.get_parent()
    whose = source.name if source.name == CHART else (parent.name if parent else "")
    change = event.type.split(":")[-1]
    notifications.append((change, whose))
    # Qt sends the object, not the new text, with the change: read it at once.
    if whose == CHART and change == "accessible-description":
        levels.append(fresh(source).description)


def listen():
    listener = Atspi.EventListener.new(on_property_change)
    listener.register("object:property-change:accessible-name")
    listener.register("object:property-change:accessible-description")
    return listener


def dispatch():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, probe, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        dispatch()
        value = probe()
        if value:
            return value
        time.sleep(0.1)
    sys.exit(f"FAIL: {what} did not appear within {timeout} s")


def application():
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == "glukara":
                return app
        return None
    return wait_for("the glukara application", probe, 20)


def find(root, predicate):
    queue = [root]
    while queue:
        node = fresh(queue.pop(0))
        if predicate(node):
            return node
        queue.extend(child for child in node if child is not None)
    return None


def named(root, role, name):
    return wait_for(f"{name!r}", lambda: find(
        root, lambda n: n.getRole() == role and n.name == name))


def press(root, name, becomes=None, button=None):
    button = button or named(root, pyatspi.ROLE_PUSH_BUTTON, name)
    button.queryAction().doAction(0)
    # Qt animates a press from assistive technology: the click lands 100 ms later.
    if becomes:
        named(root, pyatspi.ROLE_PUSH_BUTTON, becomes)
    print(f"pressed {name!r}")


def message(root):
    frame = named(root, pyatspi.ROLE_PANEL, "Information")
    labels = [fresh(c) for c in frame if c is not None]
    return labels[0].name if labels else ""


def main():
    app = application()
    # A window, so that a screen reader reads its title.
    named(app, pyatspi.ROLE_FRAME, "Glukara")
    listener = listen()
    meal = named(app, pyatspi.ROLE_PUSH_BUTTON, "Eat a meal")
    press(app, "Start", becomes="Stop")
    # The first tick's level, however many ticks have passed when it is read.
    wait_for("the first tick", lambda: levels)
    if levels[0] != "99":
        sys.exit(f"FAIL: the first tick showed {levels[0]}, not 99; levels seen: {levels}")
    wait_for(f"message {NORMAL!r}", lambda: message(app) == NORMAL)
    print(f"read level 99 and message {NORMAL!r}")
    # The meal goes in right after a tick, found beforehand, so that it lands
    # within the second; whenever it lands, the next tick shows 40 more and
    # the 1 used.
    ticks = len(levels)
    wait_for("a tick", lambda: len(levels) > ticks)
    press(app, "Eat a meal", button=meal)
    wait_for("the level after the meal", lambda: any(
        int(b) > int(a) for a, b in zip(levels[ticks:], levels[ticks + 1:])))
    before, after = next((a, b) for a, b in zip(levels[ticks:], levels[ticks + 1:])
                         if int(b) > int(a))
    if int(after) - int(before) != 39:
        sys.exit(f"FAIL: the meal took the level from {before} to {after}, not 39 up;"
                 f" levels seen: {levels}")
    print(f"the meal took the level from {before} to {after}")
    wait_for(f"message {TOO_HIGH!r}", lambda: message(app) == TOO_HIGH)
    press(app, "Secrete Insulin")
    store = find(app, lambda n: n.getRole() == pyatspi.ROLE_PANEL and n.name == "Glycogen store")
    # The store is named with its frame's caption, as a screen reader's
    # review of the window reads it.
    wait_for("glycogen store 50", lambda: fresh(store[0]).name == "Glycogen store 50")

    for change in [("accessible-description", CHART),
                   ("accessible-name", "Information"),
                   ("accessible-name", "Glycogen store")]:
        wait_for(f"notification {change}", lambda: change in notifications, 5)
    print(f"notified of {len(notifications)} changes")
    del listener
    print("PASS: driven through AT-SPI")


main()
