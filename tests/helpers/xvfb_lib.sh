# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that need a private X server.
#
# start_xvfb WIDTHxHEIGHT LOG: starts Xvfb on a display number that nothing
# else holds, exports DISPLAY, and sets xvfb_pid; returns once the server
# answers with its screen size. Xvfb's own choice of a number (-displayfd)
# proved unreliable when a server had just ended or another was starting, so
# the number is chosen here, under a lock that all these tests share, and
# passed over wherever a lock file or a socket of it remains. A server that
# does not answer within 20 s is ended and another number tried, twice at
# most: once in CI a server stayed silent with nothing in its log.
start_xvfb() {
    local size=$1 log=$2 number tried=() attempt
    exec 9>"${TMPDIR:-/tmp}/glukara-xvfb-start.lock"
    flock 9
    for attempt in 1 2 3; do
        for number in $(seq 20 99); do
            [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
            grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix && continue
            [[ " ${tried[*]} " == *" $number "* ]] && continue
            break
        done
        tried+=("$number")
        # The server must not inherit the lock. Without -noreset it resets as
        # its last client leaves, such as the size check below, and refuses
        # or half-serves whoever connects meanwhile. -r turns off the keys'
        # auto-repeat: on a busy machine a key typed with xdotool may stay
        # down longer than the repeat delay, and one Tab went three steps.
        Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp -noreset -r 9>&- 2>"$log" &
        xvfb_pid=$!
        export DISPLAY=":$number"
        if xvfb_answers "$size"; then
            exec 9>&-
            return 0
        fi
        echo "Xvfb on $DISPLAY did not answer within 20 s (attempt $attempt):" \
            "$(xvfb_state "$xvfb_pid"); its log: $(cat "$log"); xdpyinfo: $(xdpyinfo 2>&1 | head -3);" \
            "load: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    done
    exec 9>&-
    return 1
}

# xvfb_answers WIDTHxHEIGHT: whether the server at DISPLAY answers with that
# size within 20 s, while it runs. xdpyinfo's whole answer is read before it is
# searched: piped into `grep -q`, which leaves at the first match, xdpyinfo
# could be writing its later lines still, die of SIGPIPE, and under pipefail
# turn a server that answered into one that did not, as happened in CI.
xvfb_answers() {
    local end=$((SECONDS + 20))
    until [[ "$(xdpyinfo 2>/dev/null)" =~ dimensions:\ +$1\ pixels ]]; do
        ((SECONDS < end)) && kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.05
    done
}

xvfb_state() {
    if kill -0 "$1" 2>/dev/null; then
        echo "running, $(grep '^State' "/proc/$1/status")"
    else
        echo "ended"
    fi
}
