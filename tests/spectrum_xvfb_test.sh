#!/usr/bin/env bash
# The spectrum window on a real X server: F2 and the result box's menu open
# it, its title names the component nearest the output, and what it saves
# is the table of the main window's calculation.
# Runs under its own Xvfb (xvfb-run -a).
#   spectrum_xvfb_test.sh AD9851_CALC PRINT_LAYOUT [SCREENSHOT_DIR]
# With SCREENSHOT_DIR it also writes spectrum-qt.png (the spectrum window)
# and spectrum-qt-screen.png (the whole screen) there.
set -euo pipefail
app=$1 layout=$2 shots=${3:-}
middle() { "$layout" | awk -v n="$1" '$1 == n { print $2 + int($4 / 2), $3 + int($5 / 2) }'; }
F=$(middle F) FC=$(middle Fc) DATA=$(middle data) MHZ=$(middle Option1_2)
[ -n "$F" ] && [ -n "$DATA" ] || { echo "FAIL: no layout from $layout"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export F FC DATA MHZ work shots
exec xvfb-run -a -s "-screen 0 1400x960x24" bash -euo pipefail -c '
app=$1
fail() { echo "FAIL: $*"; exit 1; }
QT_QPA_PLATFORM=xcb "$app" 2>/dev/null &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Form1$" | head -n 1)
sleep 0.5
xdotool windowfocus --sync "$win"
at() { xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"; sleep 0.3; }
# 70 MHz at 180 MHz: H4 lies at 80 MHz.
title="^频谱 — 最近成分 H4，距输出 9999999.907 Hz$"
spectrum() { timeout 10 xdotool search --sync --onlyvisible --name "$title" | head -n 1; }

# 70 MHz at a 30 MHz crystal, then F2 in the result box.
at $MHZ
at $FC
xdotool key ctrl+a type "30"
at $F
xdotool key ctrl+a type "70"
xdotool key Return
sleep 0.3
at $DATA
xdotool key F2
shown=$(spectrum) || fail "F2 opened no spectrum window"
sleep 1
if [ -n "$shots" ]; then
    xdotool windowmove "$win" 0 0 windowmove "$shown" 560 200
    sleep 1
    import -window root "$shots/spectrum-qt-screen.png"
    import -window "$shown" "$shots/spectrum-qt.png"
fi

# Save the table: Tab from the first box to 保存 CSV… (the filter boxes are
# off without a filter), Space, then the file name in the dialog.
xdotool windowfocus --sync "$shown"
xdotool key Tab Tab Tab Tab Tab Tab space
timeout 10 xdotool search --sync --onlyvisible --name "^保存 CSV$" >/dev/null || fail "保存 CSV… opened no dialog"
sleep 0.5
xdotool key ctrl+a type "$work/table.csv"
xdotool key Return
for _ in $(seq 20); do [ -s "$work/table.csv" ] && break; sleep 0.2; done
grep -q "^70,MHz,image,-1,109999999.981,-3.93" "$work/table.csv" || fail "saved table: $(cat "$work/table.csv" 2>&1)"

# Closed with Escape, it opens again from the result box'"'"'s context menu: its last entry.
xdotool windowfocus --sync "$shown" key Escape
sleep 0.5
xdotool search --onlyvisible --name "$title" >/dev/null && fail "the spectrum window did not close"
xdotool windowfocus --sync "$win"
at $DATA 3
xdotool key Up Return
spectrum >/dev/null || fail "the context menu opened no spectrum window"
kill -0 "$pid" || fail "the program ended"
echo "spectrum window ok under X"
' _ "$app"
