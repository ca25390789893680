#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Two players sharing prices through a real sync program, on this machine only.
#   scripts/sync_check.sh [build-dir]
#
# Two Syncthing instances, each with its own home, share one folder per player. Everything runs
# inside a fresh network namespace that has nothing but the loopback interface (and a process
# namespace of its own, so that no process outlives the check), with every outside contact of
# Syncthing switched off in the configuration written below. The check proves that a file
# written in A's folder reaches B's, then that a price import by player A shows up in player B's
# Ledgerly as an offer of fresher prices and that taking it gives B exactly A's prices.
# Each wait is bounded; the whole check is stopped after five minutes whatever happens.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly sync_limit=60   # seconds a change may take to reach the other player
readonly whole_limit=300 # seconds for the whole check

if [ "${LEDGERLY_SYNC_CHECK_INSIDE:-}" != 1 ]; then
    build_dir=$(realpath "${1:-build}")
    if ! command -v syncthing >/dev/null || ! command -v ip >/dev/null; then
        scripts/setup.sh syncthing iproute2
    fi
    work=$(mktemp -d -t ledgerly-sync-check.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    # As root (CI) the namespaces are made directly; otherwise inside a user namespace.
    as_user=()
    [ "$(id -u)" -eq 0 ] || as_user=(--map-root-user)
    # --kill-child: should the check be stopped from outside, the namespace's first process
    # is killed, and with it every process in the namespace.
    LEDGERLY_SYNC_CHECK_INSIDE=1 LEDGERLY_SYNC_CHECK_WORK=$work \
        timeout --kill-after=10 "$whole_limit" \
        unshare --net --pid --fork --kill-child "${as_user[@]}" \
        "$0" "$build_dir" &
    checker=$!
    # timeout runs in a process group of its own, so Ctrl+C or a stop from outside is passed on;
    # it hands the signal to unshare, and the namespace goes with it.
    trap 'kill "$checker" 2>/dev/null; wait "$checker"; rm -rf "$work"; exit 130' INT TERM
    status=0
    wait "$checker" || status=$?
    [ "$status" -ne 124 ] || echo "sync check: stopped after $whole_limit s" >&2
    exit "$status"
fi

# ---- inside the namespaces from here on ----
build_dir=$1
work=$LEDGERLY_SYNC_CHECK_WORK
# Nothing may reach for a proxy either (Syncthing and Python both honour these).
unset http_proxy https_proxy all_proxy no_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY NO_PROXY
export STNOUPGRADE=1 STNORESTART=1

ip link set lo up
if [ "$(ip -o link show | grep -cv ': lo:')" -ne 0 ]; then
    echo "sync check: the namespace has more than the loopback interface" >&2
    exit 1
fi

declare -A pids=()
stop_instances() {
    local player
    for player in "${!pids[@]}"; do
        kill "${pids[$player]}" 2>/dev/null || true
    done
    for player in "${!pids[@]}"; do
        wait "${pids[$player]}" 2>/dev/null || true
    done
    pids=()
}
on_exit() {
    local status=$?
    stop_instances
    if [ "$status" -ne 0 ]; then
        for log in "$work"/*/syncthing.log; do
            [ -f "$log" ] || continue
            echo "---- last lines of $log" >&2
            tail -n 20 "$log" >&2
        done
    fi
    exit "$status"
}
trap on_exit EXIT
trap 'exit 130' INT TERM

# Microseconds of the wall clock, and the tenths of a second since such a reading.
now() { echo "${EPOCHREALTIME/./}"; }
since() {
    local tenths=$((($(now) - $1) / 100000))
    echo "$((tenths / 10)).$((tenths % 10))"
}

# Fixed ports are safe: nothing else can listen in a namespace made for this check.
declare -A sync_port=([a]=22001 [b]=22002) gui_port=([a]=18384 [b]=18385) device_id=()
readonly folder_id=ledgerly-prices api_key=ledgerly-sync-check

for player in a b; do
    mkdir -p "$work/$player/home" "$work/$player/share/.stfolder" "$work/$player/data"
    HOME=$work/$player syncthing generate --home="$work/$player/home" --no-default-folder \
        >"$work/$player/generate.log" 2>&1
    device_id[$player]=$(HOME=$work/$player syncthing serve --home="$work/$player/home" --device-id)
done

device_entry() { # player
    cat <<XML
    <device id="${device_id[$1]}" name="player-$1" compression="metadata" introducer="false">
        <address>tcp://127.0.0.1:${sync_port[$1]}</address>
        <autoAcceptFolders>false</autoAcceptFolders>
    </device>
XML
}

write_config() { # player peer
    local player=$1 peer=$2
    cat >"$work/$player/home/config.xml" <<XML
<configuration version="36">
    <folder id="$folder_id" label="Ledgerly prices" path="$work/$player/share" type="sendreceive"
            rescanIntervalS="5" fsWatcherEnabled="true" fsWatcherDelayS="1" ignorePerms="false">
        <filesystemType>basic</filesystemType>
        <device id="${device_id[$player]}"></device>
        <device id="${device_id[$peer]}"></device>
        <markerName>.stfolder</markerName>
        <maxConflicts>10</maxConflicts>
    </folder>
$(device_entry "$player")
$(device_entry "$peer")
    <gui enabled="true" tls="false" debugging="false">
        <address>127.0.0.1:${gui_port[$player]}</address>
        <apikey>$api_key</apikey>
    </gui>
    <options>
        <listenAddress>tcp://127.0.0.1:${sync_port[$player]}</listenAddress>
        <globalAnnounceServer></globalAnnounceServer>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <announceLANAddresses>false</announceLANAddresses>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <stunServer></stunServer>
        <stunKeepaliveStartS>0</stunKeepaliveStartS>
        <stunKeepaliveMinS>0</stunKeepaliveMinS>
        <urAccepted>-1</urAccepted>
        <urURL></urURL>
        <crashReportingEnabled>false</crashReportingEnabled>
        <crashReportingURL></crashReportingURL>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <releasesURL></releasesURL>
        <startBrowser>false</startBrowser>
        <reconnectionIntervalS>1</reconnectionIntervalS>
        <setLowPriority>false</setLowPriority>
    </options>
</configuration>
XML
}
write_config a b
write_config b a

for player in a b; do
    HOME=$work/$player syncthing serve --home="$work/$player/home" --no-browser --no-restart \
        --no-upgrade --logflags=2 >"$work/$player/syncthing.log" 2>&1 &
    pids[$player]=$!
done

# Asks an instance's REST interface (on loopback) and prints the answer; fails quietly while
# the instance is still starting.
rest() { # player path
    python3 - "${gui_port[$1]}" "$2" "$api_key" <<'PY'
import sys, urllib.request
port, path, key = sys.argv[1:]
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
request = urllib.request.Request(f"http://127.0.0.1:{port}{path}", headers={"X-API-Key": key})
try:
    print(opener.open(request, timeout=2).read().decode())
except OSError:
    sys.exit(1)
PY
}
connected() { # player peer
    rest "$1" /rest/system/connections | python3 -c '
import json, sys
print(json.load(sys.stdin)["connections"].get(sys.argv[1], {}).get("connected", False))' \
        "${device_id[$2]}" 2>/dev/null | grep -q True
}
# Waits for a condition (a command) for at most `limit` seconds, polling every half second.
wait_for() { # limit what command...
    local limit=$1 what=$2 start
    shift 2
    start=$(now)
    until "$@"; do
        if (($(now) - start > limit * 1000000)); then
            echo "sync check: $what did not happen within $limit s" >&2
            return 1
        fi
        for player in "${!pids[@]}"; do
            if ! kill -0 "${pids[$player]}" 2>/dev/null; then
                echo "sync check: Syncthing of player $player has stopped" >&2
                return 1
            fi
        done
        sleep 0.5
    done
    echo "sync check: $what after $(since "$start") s"
}

wait_for "$sync_limit" "the two instances connected" connected a b

# 1. The sync program itself: a plain file from A's folder reaches B's.
printf 'written by player A\n' >"$work/a/share/probe.txt"
same_probe() { cmp -s "$work/a/share/probe.txt" "$work/b/share/probe.txt"; }
wait_for "$sync_limit" "a file written in A's folder appeared in B's" same_probe
rm -f "$work/a/share/probe.txt"
gone_probe() { [ ! -e "$work/b/share/probe.txt" ]; }
wait_for "$sync_limit" "its removal reached B" gone_probe

# 2. Ledgerly on both sides: player B waits for fresher prices while player A imports a friend's
# trade values file; B must be offered them within the limit, take them, and then hold exactly
# A's prices. Both run headless, driven through the windows a person uses.
player_program=$build_dir/tests/share/share_check_player
if [ ! -x "$player_program" ]; then
    echo "sync check: build the tests first ($player_program is missing)" >&2
    exit 1
fi
run_player() { # player mode args...
    local player=$1
    shift
    mkdir -m 700 "$work/$player/run"   # each player runs once
    HOME=$work/$player XDG_RUNTIME_DIR=$work/$player/run QT_QPA_PLATFORM=offscreen \
        "$player_program" "$@"
}
python3 scripts/sample_store.py >"$work/friend.txt"

run_player b take "$work/b/data" "$work/b/share" bob $((sync_limit + 30)) \
    2>"$work/b/player.log" &
pids[ledgerly-b]=$!
run_player a import "$work/a/data" "$work/a/share" alice "$work/friend.txt" 2>"$work/a/player.log" ||
    { cat "$work/a/player.log" >&2; exit 1; }
start=$(now)
status=0
wait "${pids[ledgerly-b]}" || status=$?
unset 'pids[ledgerly-b]'
if [ "$status" -ne 0 ]; then
    cat "$work/b/player.log" >&2
    exit 1
fi
taken_after=$(since "$start")
if (($(now) - start > sync_limit * 1000000)); then
    echo "sync check: B was offered A's prices only after $taken_after s" >&2
    exit 1
fi
echo "sync check: A's import was offered to B's Ledgerly and taken after $taken_after s"

python3 - "$work/a/data/tradevalues.txt" "$work/b/data/tradevalues.txt" <<'PY'
import sys
def posts(path):
    lines = open(path, "rb").read().split(b"\r\n")
    return [(lines[i * 89:i * 89 + 88], float(lines[i * 89 + 88])) for i in range(19)]
a, b = posts(sys.argv[1]), posts(sys.argv[2])
valued = [tp for tp in range(19) if a[tp][1] >= 11]
if not valued:
    sys.exit("sync check: A holds no valued post")
for tp in valued:
    if a[tp][0] != b[tp][0]:
        sys.exit(f"sync check: B's prices of post {tp + 1} differ from A's")
    if abs(a[tp][1] - b[tp][1]) > 0.02:
        sys.exit(f"sync check: B's stamp of post {tp + 1} is {b[tp][1]}, A's {a[tp][1]}")
print(f"sync check: B holds exactly A's prices of all {len(valued)} valued posts")
PY

echo "sync check: passed"
