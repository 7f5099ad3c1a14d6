# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the tests that run glukara among real desktop parts: a private
# X server, deadline waits, and cleanup of everything started.
# Sourced by bash scripts with `set -euo pipefail`.

source "$(dirname "${BASH_SOURCE[0]}")/../helpers/xvfb_lib.sh"

started=()
scratch=$(mktemp -d)
chmod 700 "$scratch"
# Private runtime and home directories: nothing warns about a missing runtime
# directory, and no desktop part touches the user's own files.
export XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch/home"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

cleanup() {
    local pid kids kid
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        pid=${started[i]}
        # Their own children too (weston's XWayland would hold on to its
        # display number and answer the next test's clients on it).
        kids=$(pgrep -P "$pid" || true)
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
        for kid in $kids; do
            kill "$kid" 2>/dev/null || true
            for _ in $(seq 100); do
                [ -e "/proc/$kid" ] || break
                sleep 0.05
            done
        done
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    local log
    for log in "$scratch"/*.log "$scratch/stderr"; do
        [ -s "$log" ] && echo "--- $(basename "$log"):" && tail -n 20 "$log"
    done
    exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; fails once
# SECONDS have passed without.
wait_for() {
    local end=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.05
    done
}

# wait_until SECONDS WHAT COMMAND...: as wait_for, and ends the test if it fails.
wait_until() {
    local seconds=$1 what=$2
    shift 2
    wait_for "$seconds" "$@" || fail "no $what within $seconds s"
}

# start_x WIDTHxHEIGHT: a new Xvfb on a display number of its own.
start_x() {
    start_xvfb "$1" "$scratch/xvfb.log" || fail "Xvfb did not start"
    started+=("$xvfb_pid")
}

wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# framed WINDOW: the window manager has put its frame around WINDOW.
framed() {
    xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='
}

probe_gone() { ! xdotool search --classname '^glukara-probe$'; }

# A window manager announces itself before it has read its configuration and
# begun to manage windows, and openbox may drop a window mapped meanwhile, so
# it counts as started only once it has framed a window of its own: a probe,
# mapped again until it is framed and gone again before the test goes on.
probe_framed() {
    xdotool windowmap "$probe_id"
    wait_for 1 framed "$probe_id"
}

start_openbox() {
    openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    wm_pid=$!
    started+=($wm_pid)
    wait_until 10 "openbox" wm_running
    xmessage -name glukara-probe probe >"$scratch/probe.log" 2>&1 &
    local probe=$!
    wait_for 10 xdotool search --classname '^glukara-probe$' || fail "no probe window"
    probe_id=$(xdotool search --classname '^glukara-probe$' | head -1)
    wait_until 10 "frame around the probe window" probe_framed
    kill "$probe"
    wait "$probe" 2>/dev/null || true
    wait_until 10 "end of the probe window" probe_gone
}

# work_area: the first desktop's _NET_WORKAREA as "x y width height"; fails
# while the window manager has not set it.
work_area() {
    xprop -root _NET_WORKAREA | sed -n 's/^_NET_WORKAREA(CARDINAL) = //p' | tr -d , |
        awk 'NF >= 4 { print $1, $2, $3, $4; ok = 1 } END { exit !ok }'
}

# The id of glukara's mapped top-level window, once the window manager has
# framed it (no frame is awaited where none runs).
glukara_window() {
    local id
    id=$(xdotool search --onlyvisible --name '^Glukara$' | head -1)
    [ -n "$id" ] || return 1
    if wm_running; then
        framed "$id"
    fi
    echo "$id"
}

# frame_of WINDOW: "x y width height" of the outer window, frame included.
frame_of() {
    local info extents
    info=$(xwininfo -id "$1")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    [ -n "$extents" ] || extents="0 0 0 0"
    awk -v e="$extents" '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { split(e, f, " "); print x - f[1], y - f[3], w + f[1] + f[2], h + f[3] + f[4] }
    ' <<<"$info"
}

# ended PID: the child PID has ended (it may wait to be reaped).
ended() {
    [ ! -e "/proc/$1" ] || [ "$(cut -d' ' -f3 "/proc/$1/stat")" = Z ]
}

client_size() {
    xwininfo -id "$1" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h }'
}
