#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Renders the PNG icons from packaging/icons/ledgerly.svg at the sizes desktops look for.
# Needs rsvg-convert (package librsvg2-bin); run it after changing the SVG and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" ledgerly.svg --output "ledgerly-$size.png.tmp"
    mv "ledgerly-$size.png.tmp" "ledgerly-$size.png"
done
