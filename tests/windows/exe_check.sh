#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the real glukara.exe under wine on a private Xvfb and drives it as a
# student does with the keyboard: its window "Glukara" at 750 x 538, centred
# with its frame, Space on the focused Start, a tick, Tab and Space on "Eat a
# meal", the bar seen to rise at the next tick, then Quit with exit code 0.
# Saves a screenshot of the window as it opened.
#
# The wine prefix is this test's own: wine's desktop process, which shows
# the windows, stays on the display of the program that started it first.
# exe_check.sh GLUKARA.EXE SCREENSHOT.png PREFIX
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
exec "$here/helpers/xvfb_session.sh" 1024x768 bash -c '
set -euo pipefail
exe="$1" shot="$2"
export WINEPREFIX="$3" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
run=$(mktemp -d)
wine_pid=
trap "[ -n \"\$wine_pid\" ] && kill \$wine_pid 2>/dev/null; wineserver -k 2>/dev/null; rm -rf $run" EXIT
# A server left from an earlier run would still hold that run'"'"'s display.
wineserver -k 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$run/stdout" 2>&1
    wineserver -w
fi
# Into files: wine keeps its programs output open.
(wine "$exe" >"$run/stdout" 2>"$run/stderr" </dev/null; echo $? >"$run/status") &
wine_pid=$!

fail() {
    echo "FAIL: $*"
    echo "glukara.exe wrote: $(cat "$run/stdout" "$run/stderr" 2>/dev/null)"
    exit 1
}
# wait_for SECONDS DESCRIPTION COMMAND...: until COMMAND succeeds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local end=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $end ] || fail "no $what within $seconds s"
        sleep 0.1
    done
}

window=
find_window() { window=$(xdotool search --onlyvisible --name "^Glukara\$" 2>/dev/null | head -1); [ -n "$window" ]; }
wait_for 60 "window \"Glukara\"" find_window
read -r x y w h < <(xwininfo -id "$window" |
    awk "/Absolute upper-left X/{x=\$NF} /Absolute upper-left Y/{y=\$NF}
         /^ *Width:/{w=\$NF} /^ *Height:/{h=\$NF} END{print x, y, w, h}")
echo "window: ${w} x ${h} at $x, $y"
[ "$w" = 750 ] && [ "$h" = 538 ] || fail "client area ${w} x ${h}, not 750 x 538"
# Without a window manager the X window is the client area alone. The frame
# is as wide on the left as on the right, so the client is centred across;
# the title bar makes the frame taller above than below, so the centred
# frame puts the client lower than the centre by half that difference.
[ "$x" = $(((1024 - 750) / 2)) ] || fail "left edge at $x, not centred at $(((1024 - 750) / 2))"
below=$((y - (768 - 538) / 2))
[ "$below" -ge 5 ] && [ "$below" -le 20 ] ||
    fail "top edge at $y: $below px below the centred client, not half a title bar (5 to 20)"

# The bar, in the middle of the chart: the top row of its colour.
bar_top=
read_bar() {
    bar_top=$(import -window root -depth 8 -crop "1x441+$((x + 173))+$((y + 16))" txt:- 2>/dev/null |
        awk -F"[,:]" "/#B22222/{print \$2; exit}")
    [ -n "$bar_top" ]
}
wait_for 30 "bar drawn" read_bar
start_top=$bar_top
import -window root -crop "750x538+$x+$y" +repage "$shot"
echo "bar at start: row $start_top"

dropped() { read_bar && [ "$bar_top" -gt "$start_top" ]; }
xdotool key space
wait_for 10 "tick after Space on the focused Start (bar still at row $start_top)" dropped
echo "after a tick: row $bar_top"
ticked_top=$bar_top

rose() { read_bar && [ "$bar_top" -lt $((ticked_top - 50)) ]; }
xdotool key Tab space
wait_for 10 "rise of the bar after Tab, Space on Eat a meal (bar at row $bar_top)" rose
echo "after the meal and a tick: row $bar_top"

ended() { [ -s "$run/status" ]; }
xdotool key Tab Tab space
wait_for 20 "end after Tab, Tab, Space on Quit" ended
status=$(cat "$run/status")
wine_pid=
[ "$status" = 0 ] || fail "exit code $status"
echo "PASS: glukara.exe shown, driven and ended with exit code 0"
' _ "$1" "$2" "$3"
