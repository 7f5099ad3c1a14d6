#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts glukara in a Wayland session (weston's headless backend), with or
# without XWayland, and no QT_QPA_PLATFORM: the window must show, on X11
# where XWayland runs, and survive a request to maximise it.
# weston_window.sh PROGRAM MAXIMISE_REQUEST [xwayland]
set -euo pipefail
program=$1 maximise_request=$2 xwayland=${3:-}
source "$(dirname "$0")/desktop_lib.sh"
unset DISPLAY

socket="glukara-test-$$"
options=(--backend=headless-backend.so "--socket=$socket" --width=1024 --height=768
    --idle-time=0 --debug "--log=$scratch/weston.log")
[ "$xwayland" = xwayland ] && options+=(--xwayland)
weston "${options[@]}" 2>"$scratch/weston.stderr" &
started+=($!)
wait_until 20 "weston socket" test -S "$XDG_RUNTIME_DIR/$socket"
export WAYLAND_DISPLAY=$socket
if [ "$xwayland" = xwayland ]; then
    xserver() { grep -o 'xserver listening on display :[0-9]*' "$scratch/weston.log"; }
    wait_until 20 "XWayland display" xserver
    export DISPLAY=$(xserver | grep -o ':[0-9]*$')
    echo "XWayland on $DISPLAY"
fi

scene() { weston-debug scene-graph 2>/dev/null | grep -A1 "top-level window 'Glukara'"; }
"$program" 2>"$scratch/stderr" &
pid=$!
started+=($pid)
if [ "$xwayland" = xwayland ]; then
    wait_until 30 "Glukara window on XWayland" xdotool search --onlyvisible --name '^Glukara$'
    id=$(xdotool search --onlyvisible --name '^Glukara$' | head -1)
    echo "X11 window $id, client $(client_size "$id")"
else
    wait_until 30 "Glukara window in weston's scene" scene
    echo "in weston's scene: $(scene | tr -s '\t\n' '  ')"
fi
ended "$pid" && fail "glukara ended: $(cat "$scratch/stderr")"
[ ! -s "$scratch/stderr" ] || echo "its standard error: '$(cat "$scratch/stderr")'"
kill "$pid"
wait "$pid" || true

# The same window, asked to maximise as the title bar asks: it must come back
# to its fixed size and live on, with the compositor showing it so.
"$maximise_request" >"$scratch/maximise.out" 2>"$scratch/maximise.err" &
driver=$!
started+=($driver)
verdict() { grep -qE '^(PASS|FAIL)' "$scratch/maximise.out" || ended "$driver"; }
wait_until 60 "verdict of the maximise request" verdict
report() {
    cat "$scratch/maximise.out"
    echo "its standard error: '$(cat "$scratch/maximise.err")'"
    echo "weston's errors: '$(grep -i error "$scratch/weston.log" || true)'"
}
if ended "$driver"; then
    rc=0
    wait "$driver" || rc=$?
    report
    fail "the program ended with exit code $rc"
fi
grep -q '^PASS' "$scratch/maximise.out" || { report; fail "see above"; }
if [ "$xwayland" = xwayland ]; then
    grep -q '^platform xcb' "$scratch/maximise.out" || fail "not on XWayland"
    id=$(xdotool search --onlyvisible --name '^Glukara$' | head -1)
    echo "X11 window: client $(client_size "$id"), $(xprop -id "$id" _NET_WM_STATE)"
    [ "$(client_size "$id")" = 750x538 ] || fail "not at its fixed size"
    ! xprop -id "$id" _NET_WM_STATE | grep -q MAXIMIZED || fail "still maximised"
else
    grep -q '^platform wayland' "$scratch/maximise.out" || fail "not on Wayland"
    # The compositor's view of the window, once it has taken its last commit.
    view_size() {
        scene | tr -s '\t\n' '  ' |
            sed -E 's/.*position: \((-?[0-9]+), (-?[0-9]+)\) -> \((-?[0-9]+), (-?[0-9]+)\).*/\3 \1 \4 \2/' |
            awk 'NF == 4 { print $1 - $2 "x" ($3 - $4) }'
    }
    normal_size() { view_size | awk -Fx '$1 < 800 && $2 < 600 { ok = 1 } END { exit !ok }'; }
    # In a subshell: the scene is shown before the test fails.
    (wait_until 10 "window of normal size in weston's scene" normal_size) || shown=no
    echo "in weston's scene: $(scene | tr -s '\t\n' '  ')"
    echo "window with Qt's title bar: $(view_size)"
    [ "${shown:-}" != no ] || fail "the compositor still shows it maximised"
fi
ended "$driver" && fail "the program ended after the maximise request"
report
echo "PASS"
