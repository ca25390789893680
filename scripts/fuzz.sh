#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the libFuzzer targets with clang in build-fuzz/ and runs each of them for a while:
#   scripts/fuzz.sh [seconds]     seconds per target, 10 by default
# Each target starts from seeds generated here (build-fuzz/seeds/<target>) plus what earlier runs
# found (build-fuzz/corpus/<target>). A crash, sanitizer report or broken promise stops the run
# with a failure and leaves the input in build-fuzz/findings/<target>/; replay it with
#   build-fuzz/fuzz/<target> build-fuzz/findings/<target>/<file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
case $seconds in
    '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [seconds]" >&2; exit 2 ;;
esac

scripts/setup.sh clang libclang-rt-14-dev llvm   # libFuzzer, and llvm-symbolizer for findings
build_dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DLEDGERLY_FUZZ=ON -DBUILD_TESTING=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target ledgerly_fuzzers

# Seeds for the trade values file: a default store as the program creates it, one that uses
# every number form the reader accepts, and a few that it must refuse.
seed_store_reader() {
    local dir=$1 tp c
    {
        for ((tp = 1; tp <= 19; ++tp)); do
            for ((c = 1; c <= 88; ++c)); do printf ' 1 \r\n'; done
            printf ' 10 \r\n'
        done
    } >"$dir/default-store"
    {
        local forms=(' .5 ' '-3 ' ' 1.5E+07 ' '201453.5' '1e3' '2D2' '+7.' '0.25' '	12	')
        for ((tp = 1; tp <= 19; ++tp)); do
            for ((c = 1; c <= 88; ++c)); do
                printf '%s' "${forms[$(((tp * 88 + c) % ${#forms[@]}))]}"
                if ((c % 7 == 0)); then printf ','; else printf '\r\n'; fi
            done
            printf ' 201453.5 \n'
        done
    } >"$dir/mixed-forms"
    printf '12\r\nbanana\r\n' >"$dir/not-a-number"
    printf ' 1 \r\n 1 \r\n' >"$dir/too-short"
    printf ' 1E+39 \r\n' >"$dir/out-of-range"
}

# Seeds for the valuing dialogue, in its fuzz target's events (one letter each, some followed by a
# byte): a whole run; a run whose line is lost after 30 answers and that goes on at another post
# named only on "look"; a run where the shopkeeper refuses commodity 3 and the player goes on
# without it; and a run with chatter, a flood and small arrivals.
seed_valuing_dialogue() {
    local dir=$1
    local login='C\x00OPD\x00VD\x00'
    answers() { local n; for ((n = 0; n < $1; ++n)); do printf 'A\x00D\x00'; done; }
    { printf '\x00'"$login"; answers 88; } >"$dir/whole-run"
    { printf '\x00'"$login"; answers 30; printf 'HM\x04C\x02OPD\x00VD\x00'; answers 88; } >"$dir/moved"
    { printf '\x03'"$login"; answers 3; printf 'V'; answers 85; } >"$dir/refusal"
    {
        printf '\x00'"$login"; answers 5
        printf 'B\x00\x05\x07B\x01\x02\x03B\x02\x04\x01B\x04\x08helloworF\x10D\x07D\x00'
        printf 'A\x01D\x09D\x00'; answers 82
    } >"$dir/chatter"
}

# Seeds for the price history: a history as the program writes it (the header takes the
# commodity names from the catalogue), one with damage the reader must skip, and one that is not
# a history at all.
seed_price_history_reader() {
    local dir=$1 names header row c
    mapfile -t names < <(sed -n '/kCommodityNames{{/,/}};/p' core/catalogue.cpp |
        grep -o '"[^"]*"' | tr -d '"' | tail -n +2)
    header="time_utc,post,town,source$(printf ',%s' "${names[@]}")"
    row() {  # time, post, town, source, first price
        printf '%s,%s,%s,%s,%s' "$1" "$2" "$3" "$4" "$5"
        for ((c = 2; c <= 88; ++c)); do printf ',%d' $((c * 37 % 1000 + 1)); done
    }
    {
        printf '%s\r\n' "$header"
        row 2026-12-07T02:30:15Z 13 Trellor valued 1520; printf '\r\n'
        row 2026-12-07T03:31:00Z 3 "Ranger's Cabin" '"shared: Bo, the ""Fox"""' 0.5; printf '\r\n'
        row 2024-02-29T23:59:59Z 19 NaeraMae ' imported: a.csv' 1.5E+07; printf '\r\n'
    } >"$dir/history"
    {
        printf '\xef\xbb\xbf%s\n' "$header"
        row 2026-12-07T02:30:15Z 20 Trellor valued 7; printf '\n'
        row 2026-02-29T02:30:15Z 13 Trellor valued nan; printf ',torn\r\n'
        row 2026-12-07T02:30:15Z 13 Trellor '"unclosed' 7; printf '\r\n'
        row 2026-12-07T02:30:15Z 13 Trellor valued 3.402823E+38; printf '\r\n'
        row 2026-12-07T02:30:15Z 13 Trellor valued 12 | head -c 200
    } >"$dir/damaged"
    printf 'name,price\r\napples,3\r\n' >"$dir/not-a-history"
}

status=0
for fuzzer in "$build_dir"/fuzz/fuzz_*; do
    if [ ! -f "$fuzzer" ] || [ ! -x "$fuzzer" ]; then continue; fi
    name=$(basename "$fuzzer")
    seeds=$build_dir/seeds/$name
    corpus=$build_dir/corpus/$name
    findings=$build_dir/findings/$name
    mkdir -p "$seeds" "$corpus" "$findings"
    case $name in
        fuzz_store_reader) seed_store_reader "$seeds" ;;
        fuzz_valuing_dialogue) seed_valuing_dialogue "$seeds" ;;
        fuzz_price_history_reader) seed_price_history_reader "$seeds" ;;
    esac
    options=(-max_total_time="$seconds" -max_len=262144 -timeout=10 -print_final_stats=1
             -artifact_prefix="$findings/")
    [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
    echo "== $name for ${seconds}s"
    if ! "$fuzzer" "${options[@]}" "$corpus" "$seeds"; then
        echo "== $name FAILED; the input is in $findings/" >&2
        status=1
    fi
done
exit $status
