#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs what is missing on a Debian 12 machine, with apt-get directly as root and otherwise
# through sudo:
#   scripts/setup.sh [package...]           what building and running Ledgerly need (run.sh)
#   scripts/setup.sh --checks [package...]  that and the tools of the tests and checks (test.sh)
# Further packages named on the command line are installed with them (package.sh names the
# packaging tools, run.sh the virtual display where there is no real one).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config           # the build
    qt6-base-dev qt6-charts-dev libgl-dev      # Qt 6 Widgets, Network, Test and Charts
    libqt6opengl6-dev                          # which the Charts package of CMake asks for
    qt6-qpa-plugins                            # Qt's X11 and offscreen platforms
    python3                                    # the sample price table
)
if [ "${1:-}" = "--checks" ]; then
    shift
    packages+=(
        xvfb xauth                             # a virtual display for the checks below
        clang libclang-rt-14-dev llvm          # fuzz targets, and the symbolizer for findings
        clang-tidy                             # the static checks
        at-spi2-core python3-pyatspi dbus-x11  # the accessibility check
        dpkg-dev file                          # the Debian package
        lintian man-db                         # Debian's checker of it, and of its manual page
        desktop-file-utils appstream           # validators of its desktop entry and metainfo
        reuse                                  # every file's licence and copyright
        syncthing iproute2                     # the check with a real sync program
    )
fi
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "Ledgerly needs these packages, and installing them needs root: ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
