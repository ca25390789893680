#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package of Ledgerly: scripts/package.sh [build-dir]
# It lands in the build folder (build/ by default) as ledgerly_<version>_<architecture>.deb;
# install it with: sudo apt-get install ./build/ledgerly_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
scripts/setup.sh dpkg-dev file   # the build, and the tools that make the package
cmake -S . -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target ledgerly   # the program alone; the package holds no tests
rm -f "$build_dir"/ledgerly_*.deb
(cd "$build_dir" && cpack -G DEB)
