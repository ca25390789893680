#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up what is missing, builds Ledgerly and starts it; without a display, on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    scripts/setup.sh
else
    scripts/setup.sh xvfb xauth dbus-daemon procps   # the virtual display, its bus, pkill
fi
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target ledgerly   # the program alone; the tests are built by test.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/app/ledgerly
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset), so Ledgerly runs on a"
echo "virtual X display where nobody can see it. Run this from a desktop session to use it."
echo "Press Ctrl+C to stop."
# The virtual display runs as a job of its own (set -m), so that Ctrl+C reaches this script
# alone, which then stops Ledgerly first; xvfb-run closes the display after it and tidies
# up. Were the display to go first, Ledgerly would report its broken X11 connection and
# xvfb-run would leave its files behind. The session bus ends with Ledgerly as well.
set -m
xvfb-run -a dbus-run-session -- build/app/ledgerly &
job=$!
status=0
trap 'pkill -INT -g "$job" -x ledgerly || true' INT TERM HUP
while kill -0 "$job" 2>/dev/null; do
    status=0
    wait "$job" || status=$?
done
exit $status
