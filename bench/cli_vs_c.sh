#!/usr/bin/env bash
# ad9851-word on a million stdin lines against the minimal C program doing
# the same work (bench/minimal_word.c), side by side in one run.  Both must
# print the same lines.  Each is timed five times, alternating, and the best
# CPU time (user + system) of each counts.  The bar: at most 1.3x.
#   bench/cli_vs_c.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
word=$build/cli/ad9851-word
minimal=$build/bench/minimal_word
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "%.3f\n", (i * 7919) % 59999 }' >"$work/in"

"$word" <"$work/in" >"$work/word.out" 2>/dev/null
"$minimal" <"$work/in" >"$work/c.out"
if ! cmp -s "$work/word.out" "$work/c.out"; then
    echo "the two programs print different lines:"
    diff "$work/word.out" "$work/c.out" | head -5
    exit 1
fi

cpu() { # CPU seconds of one run
    local TIMEFORMAT='%U %S'
    { time "$1" <"$work/in" >/dev/null 2>/dev/null; } 2>&1 | awk '{ print $1 + $2 }'
}
best_word=999 best_c=999
for _ in 1 2 3 4 5; do
    best_word=$(awk -v a="$best_word" -v b="$(cpu "$word")" 'BEGIN { print (b < a) ? b : a }')
    best_c=$(awk -v a="$best_c" -v b="$(cpu "$minimal")" 'BEGIN { print (b < a) ? b : a }')
done
awk -v w="$best_word" -v c="$best_c" 'BEGIN {
    r = w / c
    printf "ad9851-word: %.3f s   minimal C: %.3f s   ratio: %.2f (bar 1.30)\n", w, c, r
    exit (r <= 1.3) ? 0 : 1
}'
