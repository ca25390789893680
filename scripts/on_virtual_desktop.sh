#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs Ledgerly on a virtual display with the accessibility bus up, in a fresh home folder (so
# never with the user's own prices), and runs a driver program against it from outside.
#   scripts/on_virtual_desktop.sh BINARY STORE SCREEN TIMEOUT DRIVER [ARGS...]
# STORE is a trade values file to start from, or "" for a first start; SCREEN is WxHxDEPTH.
set -euo pipefail
binary=$1 store=$2 screen=$3 seconds=$4
shift 4
[ -x "$binary" ] || { echo "build Ledgerly first ($binary is missing)" >&2; exit 1; }

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<'INNER'
set -euo pipefail
binary=$1 store=$2 seconds=$3
shift 3
export HOME=$(mktemp -d)
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$HOME" "$XDG_RUNTIME_DIR"' EXIT
if [ -n "$store" ]; then
    mkdir -p "$HOME/.local/share/ledgerly"
    cp "$store" "$HOME/.local/share/ledgerly/tradevalues.txt"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$binary" >/dev/null 2>&1 &
app=$!
status=0
timeout "$seconds" "$@" || status=$?
kill $app $bus 2>/dev/null || true
wait $app $bus 2>/dev/null || true   # gone before their folders go
exit $status
INNER
xvfb-run -a -s "-screen 0 $screen" dbus-run-session -- bash "$inner" "$binary" "$store" "$seconds" "$@" \
    2> >(grep -v -e 'fd limit' -e 'XDG_RUNTIME_DIR' >&2)
