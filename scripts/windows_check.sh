#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Compiles the libraries that use no Qt for Windows with the MinGW-w64 cross compiler, so that
# a branch only Windows takes (such as how the store file reaches the disk there) is compiled on
# every change too. The sources are those that the build folder's compile_commands.json lists
# for these libraries.
#   scripts/windows_check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
libraries=(ledgerly_core ledgerly_reports_rules ledgerly_capture_rules ledgerly_export_rules
           ledgerly_share_rules ledgerly_history_rules)
# Only this check needs the cross compiler, over 600 MB installed, so setup.sh adds it here.
scripts/setup.sh g++-mingw-w64-x86-64
compiler=x86_64-w64-mingw32-g++-posix   # the thread model of the toolchains that build Qt apps

cmake -S . -B "$build_dir" -G Ninja >/dev/null   # writes compile_commands.json
mapfile -t sources < <(python3 - "$build_dir/compile_commands.json" "${libraries[@]}" <<'PY'
import json, sys
marks = [f"/{library}.dir/" for library in sys.argv[2:]]
for entry in json.load(open(sys.argv[1])):
    if any(mark in entry["command"] for mark in marks):
        print(entry["file"])
PY
)
if [ ${#sources[@]} -eq 0 ]; then
    echo "no sources of ${libraries[*]} in $build_dir/compile_commands.json" >&2
    exit 1
fi

objects=$(mktemp -d)
trap 'rm -rf "$objects"' EXIT
echo "== compiling ${#sources[@]} files for Windows with $compiler"
# shellcheck disable=SC2016 # the inner bash expands its arguments
printf '%s\n' "${sources[@]}" | xargs -P 2 -I{} bash -c \
    'exec "$0" -std=c++20 -O2 -Wall -Wextra -Werror -I. -c "$2" -o "$1/$(tr / _ <<<"$2").o"' \
    "$compiler" "$objects" {}
echo "== all compiled"
