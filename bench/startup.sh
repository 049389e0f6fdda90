#!/usr/bin/env bash
# Launch-to-first-show of the calculator window against a bare Qt Widgets
# window with the same controls, measured side by side: 20 alternating runs
# of each, the medians compared.  The bar: at most 1.25x.
#   bench/startup.sh [BUILD_DIR]     (QT_QPA_PLATFORM defaults to offscreen)
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ours=$build/bench/form1_startup
bare=$build/bench/minimal_window
runs=20

wall() { # milliseconds for one run
    local s e
    s=$(date +%s%N)
    "$1" >/dev/null 2>&1
    e=$(date +%s%N)
    echo $(((e - s) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

"$ours" >/dev/null 2>&1; "$bare" >/dev/null 2>&1 # warm the caches
a=() b=()
for _ in $(seq $runs); do
    a+=("$(wall "$ours")")
    b+=("$(wall "$bare")")
done
ma=$(printf '%s\n' "${a[@]}" | median)
mb=$(printf '%s\n' "${b[@]}" | median)
awk -v a="$ma" -v b="$mb" 'BEGIN {
    r = a / b
    printf "calculator window: %d ms   bare window: %d ms   ratio: %.2f (bar 1.25)\n", a, b, r
    exit (r <= 1.25) ? 0 : 1
}'
