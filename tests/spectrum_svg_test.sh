#!/usr/bin/env bash
# The command line's spectrum plot is a valid SVG document that renders,
# the same bytes on every run.
#   spectrum_svg_test.sh AD9851_WORD
set -uo pipefail
word=$1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail=0
args=(-c 30 -u MHz --spectrum --svg 70)
"$word" "${args[@]}" >"$dir/plot.svg" || { echo "FAIL: ad9851-word ${args[*]} exited $?"; exit 1; }
xmllint --noout "$dir/plot.svg" || { echo "FAIL: xmllint refuses the SVG"; fail=1; }
rsvg-convert -o "$dir/plot.png" "$dir/plot.svg" || { echo "FAIL: rsvg-convert cannot render the SVG"; fail=1; }
# An 800 x 480 PNG: its header holds the width and height as 32-bit numbers.
size=$(od -An -tx1 -j16 -N8 "$dir/plot.png" | tr -d ' \n')
[ "$size" = 00000320000001e0 ] || { echo "FAIL: the PNG is not 800 x 480 ($size)"; fail=1; }
for text in '>输出 70000000.019 Hz · 时钟 180 MHz · 频率字 0x638E38E4</text>' '>-1</text>' '>H2</text>' \
    '>fc/2</text>' '>40 %</text>'; do
    grep -qF -- "$text" "$dir/plot.svg" || { echo "FAIL: the SVG lacks $text"; fail=1; }
done
"$word" "${args[@]}" | cmp -s - "$dir/plot.svg" || { echo "FAIL: a second run wrote other bytes"; fail=1; }
exit "$fail"
