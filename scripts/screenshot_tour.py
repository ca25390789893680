#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""A newcomer's tour of Ledgerly, for the README's pictures: with a sample price table, opens
every window through the accessibility interface, picks a trading post with the keyboard,
presses its button and saves a screenshot of the window. Run it through
scripts/screenshot_tour.sh, which provides the virtual display and the sample table."""
import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.dirname(__file__))
from a11y_check import application, top_level, wait_for, walk  # noqa: E402

TOUR = [  # main-window button, window title, posts to pick (Down presses), button to press
    ("Show all payoffs to a certain TP", "All Values", [1], "Get"),
    ("Top 40 payoffs to a specific TP", "Top 40 Payoffs", [1], "Get"),
    ("Top 40 payoffs from a specific TP", "Top 40 payoffs from a specific TP", [4], "Get"),
    ("Top 40 payoffs to any TP", "Top 40 payoffs at any TP", [], None),
    ("Top 40 CPM to a specific TP", "Top 40 CPM", [2], "Get"),
    ("Top 40 CPM from a specific TP", "Top 40 CPM from a specific TP", [4], "Get"),
    ("Top 40 CPM to any TP", "Top 40 CPM to any TP", [], None),
    ("Best Run Picker", "Pick a Run", [4], "Find"),
    ("Put values from one Tp to another TP onto clipboard", "Export", [1, 2], "Get"),
    ("Put top 5 non-cpk payoffs from one TP to another TP onto clipboard", "Top 5 non-cpk",
     [1], "Get"),
    ("Where to sell a commodity", "Where to Sell", [6], "Find"),
    ("Which posts to revalue", "Revalue Next", [], None),
    ("Best round trips", "Round Trips", [], None),
    ("Plan a route", "Plan a Route", [3], "Find"),
    ("GET VALUES", "Auto Valuer", [], None),
]


def shoot(title, out_dir):
    name = title.lower().replace(" ", "-")
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], capture_output=True,
                         text=True).stdout.split()
    if not ids:
        sys.exit(f"no X window titled {title!r}")
    path = os.path.join(out_dir, f"{name}.png")
    subprocess.run(["import", "-window", ids[-1], path], check=True)
    print("saved", path)


def press(window, caption):
    for accessible in walk(window):
        if accessible.getRole() == pyatspi.ROLE_PUSH_BUTTON and accessible.name == caption:
            try:
                accessible.queryAction().doAction(0)
            except Exception as error:  # noqa: BLE001
                print("press", caption, "in", window.name, "failed:", error, file=sys.stderr)
            return
    sys.exit(f"no button {caption!r}")


def main():
    out_dir = sys.argv[1]
    app = wait_for("Ledgerly", application)
    main_window = wait_for("main window", lambda: top_level(app, "Ledgerly"))
    time.sleep(0.5)
    shoot("Ledgerly", out_dir)
    for caption, title, picks, button in TOUR:
        press(main_window, caption)
        window = wait_for(title, lambda: top_level(app, title))
        combos = [a for a in walk(window) if a.getRole() == pyatspi.ROLE_COMBO_BOX]
        for n, (combo, downs) in enumerate(zip(combos, picks)):
            if n == 0:
                combo.queryComponent().grabFocus()
            else:
                subprocess.run(["xdotool", "key", "Tab"], check=True)  # as a keyboard user would
            time.sleep(0.2)
            for _ in range(downs):
                subprocess.run(["xdotool", "key", "Down"], check=True)
                time.sleep(0.05)
        if button:
            # Focus changes can renew the window's accessible objects; look it up again.
            press(wait_for(title, lambda: top_level(app, title)), button)
        time.sleep(0.5)
        shoot(title, out_dir)


if __name__ == "__main__":
    main()
