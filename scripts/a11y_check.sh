#!/usr/bin/env bash
# Starts Ledgerly on a virtual display with the accessibility bus running and drives it from
# outside through AT-SPI (scripts/a11y_check.py). Usage: scripts/a11y_check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
binary=$PWD/$build_dir/app/ledgerly
[ -x "$binary" ] || { echo "build Ledgerly first ($binary is missing)" >&2; exit 1; }

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<INNER
set -euo pipefail
export HOME=\$(mktemp -d)              # a fresh store, never the user's own
export XDG_RUNTIME_DIR=\$(mktemp -d)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=\$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$binary" >/dev/null 2>&1 &
app=\$!
status=0
timeout 180 /usr/bin/python3 "$PWD/scripts/a11y_check.py" || status=\$?
kill \$app \$bus 2>/dev/null || true
exit \$status
INNER
xvfb-run -a dbus-run-session -- bash "$inner" 2> >(grep -v -e 'fd limit' -e 'XDG_RUNTIME_DIR' >&2)
