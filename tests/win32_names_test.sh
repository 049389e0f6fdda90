#!/usr/bin/env bash
# Each edit box of ad9851-calc.exe has a name a screen reader reads: a
# visible static label right before it among the window's children, saying
# what the Qt window's boxes are called.  And the result's tooltip is
# reached from the keyboard.  Run under Wine on its own Xvfb.
#   win32_names_test.sh WINE ad9851-calc.exe win32_control_names.exe
set -euo pipefail
wine=$1 exe=$2 names=$3
exec xvfb-run -a -s "-screen 0 1000x600x24" bash -euo pipefail -c '
wine=$1 exe=$2 names=$3
fail() { echo "FAIL: $*"; exit 1; }
# The window and the helper in a Wine desktop of their own, whatever
# desktop an earlier test left to the shared Wine server.
desktop=/desktop=ad9851-names,1000x600
helper() { "$wine" explorer "$desktop" "$names" "$@" </dev/null 2>/dev/null | tr -d "\r"; }
"$wine" explorer "$desktop" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap "helper --close AD9851CalcForm1; kill $pid 2>/dev/null || true" EXIT
win=$(timeout 60 xdotool search --sync --onlyvisible --name "Wine desktop" | head -n 1) || fail "no Wine desktop"
got=$(helper AD9851CalcForm1)
echo "$got"
# 频率, 对应值 and 晶振频率, in the order of the window.
[ "$got" = "$(printf "频率\n对应值\n晶振频率")" ] || fail "the boxes are labelled: $got"

# A calculation, then Ctrl+F1 in 对应值 shows what the word gives, as the
# pointer does, and the next key hides it.
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.3
keys() { xdotool key --delay 60 "$@"; sleep 0.5; }
tips() { helper --tooltips AD9851CalcForm1; }
keys Tab Tab Tab space shift+Tab
[ -z "$(tips)" ] || fail "a tooltip before Ctrl+F1: $(tips)"
keys ctrl+F1
tip=$(tips)
case $tip in
*"实际输出频率：10000.002 Hz"*"{0x1A,0x76,0x05,0x00,0x01}"*) ;;
*) fail "Ctrl+F1 in 对应值 showed \"$tip\"" ;;
esac
keys End
[ -z "$(tips)" ] || fail "the tooltip stayed after the next key"
echo "ad9851-calc.exe names its boxes and shows the figures on Ctrl+F1"
' _ "$wine" "$exe" "$names"
