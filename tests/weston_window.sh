#!/usr/bin/env bash
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
kill -0 "$pid" || fail "glukara ended: $(cat "$scratch/stderr")"

"$maximise_request" >"$scratch/maximise.out" 2>"$scratch/maximise.err" || rc=$?
cat "$scratch/maximise.out"
echo "its standard error: '$(cat "$scratch/maximise.err")'"
echo "weston's errors: '$(grep -i error "$scratch/weston.log" || true)'"
[ "${rc:-0}" = 0 ] || fail "the maximise request ended the program with exit code $rc"
if [ "$xwayland" = xwayland ]; then
    grep -q '^platform xcb' "$scratch/maximise.out" || fail "not on XWayland"
else
    grep -q '^platform wayland' "$scratch/maximise.out" || fail "not on Wayland"
fi
echo "PASS"
