#!/usr/bin/env bash
# A million-entry --sweep against the same million frequencies on standard
# input: both must print the same lines, and the sweep must be no slower.
# Best CPU time of five alternating runs each.
#   bench/sweep_vs_stdin.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
word=$build/cli/ad9851-word
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$word" --sweep 0.001:1000:0.001 -u KHz >"$work/sweep.out"
awk 'BEGIN { for (i = 1; i <= 1000000; i++) { s = sprintf("%.3f", i / 1000); sub(/0+$/, "", s); sub(/\.$/, "", s); print s } }' >"$work/in"
"$word" -u KHz <"$work/in" >"$work/stdin.out"
cmp -s "$work/sweep.out" "$work/stdin.out" || { echo "the sweep and standard input print different lines"; exit 1; }

cpu() {
    local TIMEFORMAT='%U %S'
    { time "$@" >/dev/null 2>/dev/null; } 2>&1 | awk '{ print $1 + $2 }'
}
best_sweep=999 best_stdin=999
for _ in 1 2 3 4 5; do
    best_sweep=$(awk -v a="$best_sweep" -v b="$(cpu "$word" --sweep 0.001:1000:0.001)" 'BEGIN { print (b < a) ? b : a }')
    best_stdin=$(awk -v a="$best_stdin" -v b="$(cpu "$word" <"$work/in")" 'BEGIN { print (b < a) ? b : a }')
done
awk -v s="$best_sweep" -v i="$best_stdin" 'BEGIN {
    printf "--sweep: %.3f s   stdin: %.3f s   ratio: %.2f (bar 1.00, 10%% noise allowed)\n", s, i, s / i
    exit (s <= i * 1.1) ? 0 : 1
}'
