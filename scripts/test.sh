#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Sets up what is missing, builds Ledgerly with its tests and runs the whole suite.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --checks

if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    options=(-DLEDGERLY_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Leaks inside the system's graphics and font libraries are not ours to fix.
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
else
    build_dir=build
    options=()
fi

scripts/build.sh "$build_dir" "${options[@]}"
cd "$build_dir"
ctest --output-on-failure --timeout 300 -j 2
