#!/usr/bin/env bash
# What a screen reader hears of the window: a listener on the AT-SPI bus of
# its own X server and D-Bus session while the window is driven from the
# keyboard.  Each calculation's line is said by a notification, a repeated
# one too, and Ctrl+F1 in the result box shows the word's figures as a tool
# tip.
# Exits 77 (skipped) when no AT-SPI bus can be started.
#   window_atspi_test.sh AD9851_CALC LISTENER
set -euo pipefail
app=$1 listener=$2
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "SKIP: no $launcher"; exit 77; }
python=/usr/bin/python3 # where Debian's pyatspi is
[ -x "$python" ] || python=python3
exec xvfb-run -a -s "-screen 0 1000x600x24" dbus-run-session -- bash -euo pipefail -c '
app=$1 listener=$2 launcher=$3 python=$4
fail() { echo "FAIL: $*"; echo "-- heard:"; cat "$log"; exit 1; }
log=$(mktemp)
pids=()
trap "kill \${pids[*]} 2>/dev/null || true; rm -f \"$log\"" EXIT
"$launcher" --launch-immediately </dev/null >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 ||
    { echo "SKIP: the AT-SPI bus did not start"; exit 77; }
"$python" "$listener" ad9851-calc >"$log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q "^listening" "$log" && break; sleep 0.1; done
grep -q "^listening" "$log" || fail "the listener did not start"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$app" 2>/dev/null &
pids+=($!)
win=$(timeout 20 xdotool search --sync --onlyvisible --name "^Form1$" | head -n 1)
sleep 0.5
xdotool windowfocus --sync "$win"
keys() { xdotool key --delay 60 "$@"; sleep 0.3; }
# lines EVENT ROLE NAME TEXT: how many times that was heard (TEXT in what
# the event carries).
lines() { awk -F "\t" -v e="$1" -v r="$2" -v n="$3" -v t="$4" "\$1 == e && \$2 == r && \$3 == n && (t == \"\" || index(\$4, t))" "$log" | wc -l; }
# heard COUNT EVENT ROLE NAME TEXT: waits up to 5 s for that to be heard
# COUNT times; false if it is heard otherwise.
heard() {
    local count=$1
    shift
    for _ in $(seq 50); do [ "$(lines "$@")" -ge "$count" ] && break; sleep 0.1; done
    [ "$(lines "$@")" -eq "$count" ]
}
line="{0x41,0xA7,0x0D,0x00},//25KHz"

# From KHz to 频率, 25, then to 计算 and press it: the line is inserted in
# 对应值, and, for a screen reader says a text change only where the focus
# is, a notification saying the line shows.
keys Tab ctrl+a 2 5 Tab Tab space
heard 1 object:text-changed:insert text 对应值 "$line" || fail "the line was not inserted in 对应值"
heard 1 object:state-changed:showing notification "$line" "" || fail "no notification of the line"
# Pressed again: the same line, heard again.
keys space
heard 2 object:state-changed:showing notification "$line" "" || fail "no notification of the repeated line"
# Back to 对应值: Ctrl+F1 shows what the word gives.
keys shift+Tab ctrl+F1
# (Qt tells of a tool tip by its text, not by its showing.)
tip() { awk -F "\t" "\$1 == \"object:property-change:accessible-name\" && \$2 == \"tool tip\" { print \$3 }" "$log"; }
for _ in $(seq 50); do [ -n "$(tip)" ] && break; sleep 0.1; done
case $(tip) in
*"实际输出频率：25000.004 Hz"*"{0x41,0xA7,0x0D,0x00,0x01}"*) ;;
*) fail "Ctrl+F1 in 对应值 showed no tool tip with the figures" ;;
esac
echo "heard under AT-SPI"
' _ "$app" "$listener" "$launcher" "$python"
