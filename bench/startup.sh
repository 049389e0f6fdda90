#!/usr/bin/env bash
# Launch-to-first-paint and resident memory of the calculator window against
# a bare Qt Widgets window with the same controls, measured side by side: 20
# alternating runs of each, the medians compared.  The bars: at most 1.10x
# the time and 1.15x the memory (peak resident set, which a program that
# leaves right after its first paint reaches at start).
#   bench/startup.sh [BUILD_DIR]     (QT_QPA_PLATFORM defaults to offscreen)
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ours=$build/bench/form1_startup
bare=$build/bench/minimal_window
runs=20

kb_file=$(mktemp)
trap 'rm -f "$kb_file"' EXIT
measure() { # "milliseconds kilobytes" for one run (GNU time, package "time")
    local s e
    s=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$kb_file" "$1" >/dev/null 2>&1
    e=$(date +%s%N)
    echo "$(((e - s) / 1000000)) $(cat "$kb_file")"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

"$ours" >/dev/null 2>&1; "$bare" >/dev/null 2>&1 # warm the caches
a=() b=()
for _ in $(seq $runs); do
    a+=("$(measure "$ours")")
    b+=("$(measure "$bare")")
done
ta=$(printf '%s\n' "${a[@]}" | cut -d' ' -f1 | median)
tb=$(printf '%s\n' "${b[@]}" | cut -d' ' -f1 | median)
ka=$(printf '%s\n' "${a[@]}" | cut -d' ' -f2 | median)
kb=$(printf '%s\n' "${b[@]}" | cut -d' ' -f2 | median)
awk -v ta="$ta" -v tb="$tb" -v ka="$ka" -v kb="$kb" 'BEGIN {
    rt = ta / tb; rm = ka / kb
    printf "calculator window: %d ms %d KiB   bare window: %d ms %d KiB\n", ta, ka, tb, kb
    printf "time ratio: %.2f (bar 1.10)   memory ratio: %.2f (bar 1.15)\n", rt, rm
    exit (rt <= 1.10 && rm <= 1.15) ? 0 : 1
}'
