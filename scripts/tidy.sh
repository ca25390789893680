#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the program: scripts/tidy.sh [build-dir] [--plain]
#   --plain  only the code that uses no Qt (core/ and each area's rules): quick, and what CI runs
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
[ -f "$build_dir/compile_commands.json" ] || scripts/build.sh "$build_dir"
if [ "${2:-}" = "--plain" ]; then
    files='^.*/(core/.*|reports/(payoff_measures|payoff_reports|cpm_reports|run_picker|ranking_display|trader_questions)|capture/valuing_dialogue|export/export_lines)\.cpp$'
else
    files='^.*/(core|ui|reports|capture|export|app)/.*\.cpp$'
fi
run-clang-tidy -p "$build_dir" -j "$(nproc)" -quiet "$files"
