#!/usr/bin/env bash
# ad9851-calc.exe under Wine on its own Xvfb, driven from the keyboard as a
# person would: Tab through the stored order, Enter to calculate, the arrow
# keys in the data-mode group, and a crystal of 0 with the focus back in
# 晶振频率 after its message.
#   win32_window_test.sh WINE ad9851-calc.exe
set -euo pipefail
wine=$1 exe=$2
exec xvfb-run -a -s "-screen 0 1000x600x24" bash -euo pipefail -c '
wine=$1 exe=$2
fail() { echo "FAIL: $*"; exit 1; }
"$wine" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap "kill $pid 2>/dev/null || true" EXIT
win=$(timeout 60 xdotool search --sync --onlyvisible --name "^Form1$" | head -n 1)
sleep 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
# The focused box, copied as a person copies it.
copied() { keys Home shift+End ctrl+c; xclip -o -selection clipboard 2>/dev/null; }

# Start: the focus is on KHz.  Tab through 频率 and 对应值 to 计算 and press
# it; back to 对应值.
keys Tab Tab Tab space shift+Tab
line=$(copied)
[ "$line" = "{0x1A,0x76,0x05,0x00},//10KHz" ] || fail "计算 gave \"$line\""
# Enter in 频率 calculates too.
keys shift+Tab Home shift+End 2 5 Return Tab
line=$(copied)
[ "$line" = "{0x41,0xA7,0x0D,0x00},//25KHz" ] || fail "Enter in 频率 gave \"$line\""
keys shift+Tab Home shift+End 1 0 Return Tab

# On to 数据模式 (计算, 晶振频率, then the group), Down selects 并行;
# back to 晶振频率 and Enter.
keys Tab Tab Tab Down shift+Tab Return
keys shift+Tab shift+Tab
line=$(copied)
[ "$line" = "{0x00,0x05,0x76,0x1A},//10KHz" ] || fail "并行 gave \"$line\""

# A crystal of 0: the message, and the window stays with its line.
keys Tab Tab
keys Home shift+End 0 Return
timeout 20 xdotool search --sync --name "输入有误" >/dev/null || fail "no message for a crystal of 0"
keys Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the window closed after the message"
xdotool search --onlyvisible --name "^Form1$" >/dev/null || fail "the window is gone"
keys shift+Tab shift+Tab
line=$(copied)
[ "$line" = "{0x00,0x05,0x76,0x1A},//10KHz" ] || fail "the result changed to \"$line\""

# Once more, and after the message the focus waits in 晶振频率: typing
# there at once fixes the crystal.
keys Tab Tab
keys Home shift+End 0 Return
timeout 20 xdotool search --sync --name "输入有误" >/dev/null || fail "no message for a crystal of 0"
keys Return
sleep 0.5
keys Home shift+End 3 0 Return shift+Tab shift+Tab
line=$(copied)
[ "$line" = "{0x00,0x03,0xA4,0x11},//10KHz" ] || fail "typing after the message gave \"$line\""

# Down on 并行, the last of 数据模式, wraps round to 串行.
keys Tab Tab Tab Down shift+Tab Return shift+Tab shift+Tab
line=$(copied)
[ "$line" = "{0x11,0xA4,0x03,0x00},//10KHz" ] || fail "Down on 并行 gave \"$line\""
echo "ad9851-calc.exe ok under Wine"
' _ "$wine" "$exe"
