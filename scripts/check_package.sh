#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package and checks it as a user would meet it: Debian's checker (lintian)
# finds no error and no warning in it; unpacked into a temporary folder, it holds the program,
# the desktop entry, the icons, the metainfo, the manual page, the changelog and the copyright
# file; the desktop entry, the metainfo and the manual page pass their validators; it depends on
# Qt's X11 platform; and the program answers --version without a display, with the package's
# own version.   scripts/check_package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
scripts/package.sh "$build_dir" >/dev/null
scripts/setup.sh lintian man-db desktop-file-utils appstream   # the checkers
deb=$(echo "$build_dir"/ledgerly_*.deb)
[ -f "$deb" ] || { echo "FAIL: no package in $build_dir" >&2; exit 1; }
echo "== checking $deb"
# Lintian warns when run as root, which CI is; the warning is about lintian, not the package.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# The desktop entry names the application id that every other file is named by.
entries=("$root"/usr/share/applications/*.desktop)
if [ ${#entries[@]} -ne 1 ] || [ ! -f "${entries[0]}" ]; then
    echo "FAIL: expected one desktop entry, found: ${entries[*]}" >&2
    exit 1
fi
id=$(basename "${entries[0]}" .desktop)
expected=(
    usr/bin/ledgerly
    "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    usr/share/man/man1/ledgerly.1.gz
    usr/share/doc/ledgerly/changelog.gz
    usr/share/doc/ledgerly/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png")
done
status=0
for file in "${expected[@]}"; do
    [ -s "$root/$file" ] || { echo "FAIL: the package lacks $file" >&2; status=1; }
done
for png in "$root"/usr/share/icons/hicolor/*x*/apps/"$id".png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," ||
        { echo "FAIL: the $size icon is $(file -b "$png")" >&2; status=1; }
done
grep -qx "Icon=$id" "${entries[0]}" ||
    { echo "FAIL: the desktop entry's icon is not $id" >&2; status=1; }
[ $status -eq 0 ] || exit 1

desktop-file-validate "${entries[0]}"
# With an example address when none is configured, the screenshot list is validated as well.
metainfo=("$root/usr/share/metainfo/$id.metainfo.xml")
if [ -f "$build_dir/packaging/screenshots-check.metainfo.xml" ]; then
    metainfo+=("$build_dir/packaging/screenshots-check.metainfo.xml")
fi
appstreamcli validate --no-net "${metainfo[@]}"
# man reports what groff finds questionable (e.g. an unknown macro or a line it cannot break).
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man1/ledgerly.1.gz" 2>&1 >/dev/null)
[ -z "$man_warnings" ] || { echo "FAIL: the manual page: $man_warnings" >&2; exit 1; }
lexgrog "$root/usr/share/man/man1/ledgerly.1.gz" >/dev/null ||
    { echo "FAIL: the manual page has no NAME line that whatis can read" >&2; exit 1; }

dpkg-deb -f "$deb" Depends | tr ',' '\n' | grep -qx ' *qt6-qpa-plugins' ||
    { echo "FAIL: the package does not depend on qt6-qpa-plugins" >&2; exit 1; }

version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/ledgerly" --version)
package_version=$(dpkg-deb -f "$deb" Version)
if [ "${version##* }" != "$package_version" ]; then
    echo "FAIL: the program says '$version', the package is version $package_version" >&2
    exit 1
fi
echo "== the package is complete and its program says: $version"
