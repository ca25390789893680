#!/usr/bin/env bash
# Installs whatever Ledgerly needs to build, test, run and package that is missing on a Debian 12
# machine, and any further packages named on its command line (scripts/setup.sh [package...]).
# Uses apt-get directly as root, otherwise through sudo.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config           # build
    qt6-base-dev libgl-dev                     # Qt 6 Widgets, Network and Test
    qt6-qpa-plugins                            # offscreen and X11 platforms
    xvfb xauth                                 # a virtual display where there is no real one
    python3                                    # the sample price table
    clang libclang-rt-14-dev llvm              # fuzz targets, and the symbolizer for findings
    clang-tidy                                 # the static checks
    at-spi2-core python3-pyatspi dbus-x11      # the accessibility check
    dpkg-dev file                              # the Debian package
    desktop-file-utils appstream               # validators of its desktop entry and metainfo
    "$@"
)

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
