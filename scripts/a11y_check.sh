#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts Ledgerly on a virtual display with the accessibility bus running and drives it from
# outside through AT-SPI (scripts/a11y_check.py). Usage: scripts/a11y_check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
exec scripts/on_virtual_desktop.sh "$PWD/$build_dir/app/ledgerly" "" 1280x1024x24 180 \
    /usr/bin/python3 "$PWD/scripts/a11y_check.py"
