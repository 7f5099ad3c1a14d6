#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts glukara among real X11 desktop parts and checks where its window
# stands, that it keeps its size and that its close box ends it cleanly.
# wm_window.sh PROGRAM WIDTHxHEIGHT openbox|none [panel|late]
#   openbox: the window manager frames the window; none: the client is the
#   outer window. panel: a tint2 panel reserves a strip at the bottom. late:
#   the window manager is held still until glukara has placed its window, so
#   that the frame comes only after glukara has stopped waiting for it.
set -euo pipefail
program=$1 screen=$2 manager=$3 part=${4:-}
source "$(dirname "$0")/desktop_lib.sh"

start_x "$screen"
[ "$manager" = openbox ] && start_openbox
if [ "$part" = panel ]; then
    tint2 >"$scratch/tint2.log" 2>&1 &
    started+=($!)
    panel_reserved() {
        local area
        area=$(work_area) && (($(cut -d' ' -f4 <<<"$area") < ${screen#*x}))
    }
    wait_until 10 "strip reserved by the panel" panel_reserved
fi
# glukara reads the work area once, as it starts: the one it must have seen.
if [ "$manager" = openbox ]; then
    area=$(work_area) || fail "no _NET_WORKAREA"
else
    area="0 0 ${screen%x*} ${screen#*x}"
fi

"$program" 2>"$scratch/stderr" &
pid=$!
started+=($pid)
if [ "$part" = late ]; then
    kill -STOP "$wm_pid"
    # glukara has given up waiting for the frame once it has placed its
    # window, which sets the window's position hint.
    placed_without_frame() {
        local id
        id=$(xdotool search --name '^Glukara$' | head -1)
        [ -n "$id" ] && xprop -id "$id" WM_NORMAL_HINTS | grep -q 'user specified location'
    }
    wait_for 30 placed_without_frame || { kill -CONT "$wm_pid"; fail "no position hint on the window"; }
    kill -CONT "$wm_pid"
fi
wait_until 30 "Glukara window" glukara_window
id=$(glukara_window)

sw=${screen%x*} sh=${screen#*x}
read -r ax ay aw ah <<<"$area"
# Centred on the whole screen, then moved by the least distance into the
# available area, or to its top-left corner where it cannot fit.
at_expected_place() {
    read -r fx fy fw fh <<<"$(frame_of "$id")"
    read -r ex ey <<<"$(awk -v sw="$sw" -v sh="$sh" -v fw="$fw" -v fh="$fh" \
        -v ax="$ax" -v ay="$ay" -v aw="$aw" -v ah="$ah" '
        function inside(p, len, start, room) {
            if (len > room) return start
            if (p < start) return start
            if (p + len > start + room) return start + room - len
            return p
        }
        BEGIN { print inside((sw - fw) / 2, fw, ax, aw), inside((sh - fh) / 2, fh, ay, ah) }')"
    awk -v a="$fx" -v b="$ex" -v c="$fy" -v d="$ey" \
        'BEGIN { exit !((a - b) ^ 2 <= 1 && (c - d) ^ 2 <= 1) }'
}
# A frame that came late moves the window once more after it is shown.
wait_for 10 at_expected_place || true
at_expected_place || true
if [ "$manager" = openbox ]; then
    [ "$(work_area)" = "$area" ] || fail "work area now $(work_area), not $area as at the start"
fi
echo "screen $screen, available area ${aw}x${ah}+${ax}+${ay}"
echo "frame extents: $(xprop -id "$id" _NET_FRAME_EXTENTS)"
echo "outer window ${fw}x${fh}+${fx}+${fy}, client $(client_size "$id")"
echo "outer window expected at +$ex+$ey"
at_expected_place || fail "outer window at +$fx+$fy, not within 1 px of +$ex+$ey"
((fx >= ax && fy >= ay && fx + fw <= ax + aw && fy + fh <= ay + ah)) ||
    fail "outer window not inside the available area"
[ "$(client_size "$id")" = 750x538 ] || fail "client is $(client_size "$id"), not 750x538"

if [ "$manager" = openbox ]; then
    xdotool windowsize "$id" 900 700
    wmctrl -i -r "$id" -e 0,-1,-1,900,700
    wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
    # The window manager takes requests in order: once this move shows, it
    # has dealt with the resize and maximise requests before it.
    wmctrl -i -r "$id" -e "0,$((fx + 7)),$((fy + 5)),-1,-1"
    moved() { [ "$(frame_of "$id" | cut -d' ' -f1)" != "$fx" ]; }
    wait_until 10 "move after the resize requests" moved
    echo "after resize and maximise requests: client $(client_size "$id")"
    [ "$(client_size "$id")" = 750x538 ] || fail "resized to $(client_size "$id")"

    # The close box, as the window manager sends it.
    wmctrl -i -c "$id"
    wait_until 10 "end of the program after the close box" ended "$pid"
    rc=0
    wait "$pid" || rc=$?
    echo "exit code after the close box: $rc"
    echo "standard error: '$(cat "$scratch/stderr")'"
    [ "$rc" = 0 ] || fail "exit code $rc"
    [ ! -s "$scratch/stderr" ] || fail "the program wrote to standard error"
fi
echo "PASS"
