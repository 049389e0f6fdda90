#!/usr/bin/env bash
# The window on a real X server, driven as a person drives it: mouse,
# keyboard and clipboard.  Runs under its own Xvfb (xvfb-run -a).
#   window_xvfb_test.sh AD9851_CALC PRINT_LAYOUT
set -euo pipefail
app=$1 layout=$2
# Window coordinates of the controls, from the layout the window is built
# from: the middle of a control, or the right end of its rectangle.
middle() { "$layout" | awk -v n="$1" '$1 == n { print $2 + int($4 / 2), $3 + int($5 / 2) }'; }
right_end() { "$layout" | awk -v n="$1" '$1 == n { print $2 + $4 - 2, $3 + int($5 / 2) }'; }
circle() { "$layout" | awk -v n="$1" '$1 == n { print $2 + 7, $3 + int($5 / 2) }'; }
F=$(middle F)                       # frequency box
DATA=$(middle data)                 # result box
PARALLEL_RIGHT_END=$(right_end Option2_1) # the right end of 并行's stored rectangle
FC=$(middle Fc)                     # crystal box
BUTTON=$(middle Command1)           # 计算
HZ=$(middle Option1_0)              # the middle of Hz, left of KHz
KHZ_CIRCLE=$(circle Option1_1)      # KHz's circle, inside Hz's stored rectangle
[ -n "$F" ] && [ -n "$DATA" ] && [ -n "$PARALLEL_RIGHT_END" ] && [ -n "$KHZ_CIRCLE" ] ||
    { echo "FAIL: no layout from $layout"; exit 1; }
export F DATA PARALLEL_RIGHT_END FC BUTTON HZ KHZ_CIRCLE
exec xvfb-run -a -s "-screen 0 1000x600x24" bash -euo pipefail -c '
app=$1
fail() { echo "FAIL: $*"; exit 1; }
QT_QPA_PLATFORM=xcb "$app" 2>/dev/null &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Form1$" | head -n 1)
sleep 0.5
xdotool windowfocus --sync "$win"

at() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 0.2; }
result() { at $DATA; xdotool key ctrl+a ctrl+c; sleep 0.2; xclip -o -selection clipboard; }

at $F
xdotool key ctrl+a type "25"
xdotool key Return
sleep 0.3
[ "$(result)" = "{0x41,0xA7,0x0D,0x00},//25KHz" ] || fail "Return in 频率 gave $(result)"

# Two lines pasted, as a spreadsheet cell copies: the first one stays.
printf "30\n40\n" | xclip -selection clipboard
at $F
xdotool key ctrl+a ctrl+v Return
sleep 0.3
[ "$(result)" = "{0x4E,0x62,0x10,0x00},//30KHz" ] || fail "pasting two lines gave $(result)"

at $PARALLEL_RIGHT_END
at $F
xdotool key Return
sleep 0.3
[ "$(result)" = "{0x00,0x10,0x62,0x4E},//30KHz" ] || fail "a click at the right end of 并行 gave $(result)"

# KHz'"'"'s circle lies inside the stored rectangle of Hz: a click on it
# selects KHz all the same.
at $HZ
at $KHZ_CIRCLE
at $F
xdotool key Return
sleep 0.3
[ "$(result)" = "{0x00,0x10,0x62,0x4E},//30KHz" ] || fail "a click on the KHz circle gave $(result)"

# A crystal of 0, calculated with the mouse: once the message is closed the
# focus waits in 晶振频率, and typing there fixes it.
at $FC
xdotool key ctrl+a type "0"
at $BUTTON
timeout 10 xdotool search --sync --onlyvisible --name "输入有误" >/dev/null || fail "no message for a crystal of 0"
sleep 0.3
xdotool key Return
sleep 0.5
xdotool key ctrl+a type "30"
xdotool key Return
sleep 0.3
[ "$(result)" = "{0x00,0x0A,0xEC,0x34},//30KHz" ] || fail "typing after the message gave $(result)"
kill -0 "$pid" || fail "the window closed"
echo "window ok under X"
' _ "$app"
