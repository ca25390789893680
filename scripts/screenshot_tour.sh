#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Takes the README's screenshots: Ledgerly on a virtual display with a sample price table, every
# window opened and used once (scripts/screenshot_tour.py). Needs imagemagick and xdotool.
#   scripts/screenshot_tour.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
out_dir=$(realpath -m "${2:-docs/screenshots}")
mkdir -p "$out_dir"
store=$(mktemp)
trap 'rm -f "$store"' EXIT
/usr/bin/python3 scripts/sample_store.py > "$store"
scripts/on_virtual_desktop.sh "$PWD/$build_dir/app/ledgerly" "$store" 1600x1000x24 300 \
    /usr/bin/python3 "$PWD/scripts/screenshot_tour.py" "$out_dir"
