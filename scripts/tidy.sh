#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs clang-tidy (.clang-tidy) over the program: scripts/tidy.sh [build-dir] [--plain]
#   --plain  only the code that uses no Qt (core/ and rules/): quick, and what CI runs
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
[ -f "$build_dir/compile_commands.json" ] || scripts/build.sh "$build_dir"
if [ "${2:-}" = "--plain" ]; then
    files='^.*/(core|rules)/.*\.cpp$'
else
    files='^.*/(core|rules|ui|windows|app)/.*\.cpp$'
fi
run-clang-tidy -p "$build_dir" -j "$(nproc)" -quiet "$files"
