#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives a running Ledgerly through the accessibility interface (AT-SPI), as a screen reader
or switch-access tool would: finds the main window, presses every button by its accessible
action and checks that the tool window it opens has the right title and that every text box
and drop-down list in it has an accessible name; for the windows listed in EXPECTED_CONTROLS it
also finds each named control. Exits non-zero on the first failure."""
import sys
import time

import pyatspi

EXPECTED_WINDOWS = {
    "GET VALUES": "Auto Valuer",
    "Show all payoffs to a certain TP": "All Values",
    "Top 40 payoffs to a specific TP": "Top 40 Payoffs",
    "Top 40 payoffs from a specific TP": "Top 40 payoffs from a specific TP",
    "Top 40 payoffs to any TP": "Top 40 payoffs at any TP",
    "Top 40 CPM to a specific TP": "Top 40 CPM",
    "Top 40 CPM from a specific TP": "Top 40 CPM from a specific TP",
    "Top 40 CPM to any TP": "Top 40 CPM to any TP",
    "Best Run Picker": "Pick a Run",
    "Put values from one Tp to another TP onto clipboard": "Export",
    "Put top 5 non-cpk payoffs from one TP to another TP onto clipboard": "Top 5 non-cpk",
    "Where to sell a commodity": "Where to Sell",
    "Which posts to revalue": "Revalue Next",
    "Best round trips": "Round Trips",
    "Plan a route": "Plan a Route",
    "Price history": "Price History",
}
# Controls a screen reader user must be able to reach by role and name.
EXPECTED_CONTROLS = {
    "Where to Sell": [(pyatspi.ROLE_COMBO_BOX, "Commodity"), (pyatspi.ROLE_PUSH_BUTTON, "Find"),
                      (pyatspi.ROLE_TEXT, "Sold at"), (pyatspi.ROLE_TABLE, "Markets")],
    "Revalue Next": [(pyatspi.ROLE_TABLE, "Posts, oldest prices first"),
                     (pyatspi.ROLE_PUSH_BUTTON, "Value this post"),
                     (pyatspi.ROLE_PUSH_BUTTON, "Refresh")],
    "Round Trips": [(pyatspi.ROLE_COMBO_BOX, "Through"),
                    (pyatspi.ROLE_CHECK_BOX, "Leave out prices older than"),
                    (pyatspi.ROLE_SPIN_BUTTON, "Oldest prices kept, in hours"),
                    (pyatspi.ROLE_TABLE, "Loops, best per move first")],
    "Plan a Route": [(pyatspi.ROLE_COMBO_BOX, "Start at"), (pyatspi.ROLE_SPIN_BUTTON, "Legs"),
                     (pyatspi.ROLE_CHECK_BOX, "Back to the start"),
                     (pyatspi.ROLE_CHECK_BOX, "Visit each post at most once"),
                     (pyatspi.ROLE_PUSH_BUTTON, "Find"),
                     (pyatspi.ROLE_TABLE, "Route, leg by leg")],
}
NAMED_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_COMBO_BOX,
               pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON}


def wait_for(what, probe, timeout=20.0):
    end = time.time() + timeout
    while time.time() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: {what} did not appear within {timeout:.0f} s")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "ledgerly":
            return app
    return None


def top_level(app, title):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.name == title:
            return window
    return None


def walk(accessible):
    yield accessible
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def has_label(accessible):
    if accessible.name:
        return True
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return True
    return False


def names(accessible):
    """The accessible's own name and the names of the labels that label it (on Linux a drop-down
    list's own name is its current text, and its label comes as a relation)."""
    found = {accessible.name}
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                found.add(relation.getTarget(i).name.replace("&", ""))
    return found


def main():
    app = wait_for("the Ledgerly application", application)
    main_window = wait_for("the main window", lambda: top_level(app, "Ledgerly"))
    buttons = {b.name: b for b in walk(main_window) if b.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    checked = 0
    for caption, title in EXPECTED_WINDOWS.items():
        button = buttons.get(caption)
        if button is None:
            sys.exit(f"FAIL: no button {caption!r} in the main window")
        if not button.getState().contains(pyatspi.STATE_ENABLED):
            sys.exit(f"FAIL: {caption!r} is disabled")
        action = button.queryAction()
        action.doAction(0)
        window = wait_for(f"window {title!r}", lambda: top_level(app, title))
        unnamed = [f"{a.getRoleName()} {a.getIndexInParent()}" for a in walk(window)
                   if a.getRole() in NAMED_ROLES and not has_label(a)]
        if unnamed:
            sys.exit(f"FAIL: in {title!r} these have no accessible name: {unnamed[:5]}")
        present = {(a.getRole(), name) for a in walk(window) for name in names(a)}
        missing = [name for role, name in EXPECTED_CONTROLS.get(title, [])
                   if (role, name) not in present]
        if missing:
            sys.exit(f"FAIL: in {title!r} no control named {missing}")
        print(f"ok: {caption!r} opens {title!r}")
        checked += 1
    print(f"accessibility check: {checked} windows opened and checked")


if __name__ == "__main__":
    main()
