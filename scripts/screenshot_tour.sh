#!/usr/bin/env bash
# Takes the README's screenshots: Ledgerly on a virtual display with a sample price table, every
# window opened and used once (scripts/screenshot_tour.py). Needs imagemagick and xdotool.
#   scripts/screenshot_tour.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
out_dir=$(realpath -m "${2:-docs/screenshots}")
mkdir -p "$out_dir"
binary=$PWD/$build_dir/app/ledgerly

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<INNER
set -euo pipefail
export HOME=\$(mktemp -d)
export XDG_RUNTIME_DIR=\$(mktemp -d)
mkdir -p "\$HOME/.local/share/ledgerly"
/usr/bin/python3 "$PWD/scripts/sample_store.py" > "\$HOME/.local/share/ledgerly/tradevalues.txt"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=\$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$binary" >/dev/null 2>&1 &
app=\$!
status=0
timeout 300 /usr/bin/python3 "$PWD/scripts/screenshot_tour.py" "$out_dir" || status=\$?
kill \$app \$bus 2>/dev/null || true
exit \$status
INNER
xvfb-run -a -s "-screen 0 1600x1000x24" dbus-run-session -- bash "$inner" \
    2> >(grep -v -e 'fd limit' -e 'XDG_RUNTIME_DIR' >&2)
