# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that need a private X server.
#
# start_xvfb WIDTHxHEIGHT LOG: starts Xvfb on a display number that nothing
# else holds, exports DISPLAY, and sets xvfb_pid; returns once the server
# answers with its screen size. Xvfb's own choice of a number (-displayfd)
# proved unreliable when a server had just ended or another was starting, so
# the number is chosen here, under a lock that all these tests share, and
# passed over wherever a lock file or a socket of it remains.
start_xvfb() {
    local size=$1 log=$2 number
    exec 9>"${TMPDIR:-/tmp}/glukara-xvfb-start.lock"
    flock 9
    for number in $(seq 20 99); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        grep -q "@/tmp/.X11-unix/X$number\$" /proc/net/unix && continue
        break
    done
    # The server must not inherit the lock. Without -noreset it resets as its
    # last client leaves, such as the size check below, and refuses or
    # half-serves whoever connects meanwhile.
    Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp -noreset 9>&- 2>"$log" &
    xvfb_pid=$!
    export DISPLAY=":$number"
    local end=$((SECONDS + 20))
    until xdpyinfo 2>/dev/null | grep -q "dimensions: *${size} pixels"; do
        if ((SECONDS >= end)) || ! kill -0 "$xvfb_pid" 2>/dev/null; then
            exec 9>&-
            kill "$xvfb_pid" 2>/dev/null
            echo "Xvfb on $DISPLAY did not answer: $(cat "$log")" >&2
            return 1
        fi
        sleep 0.05
    done
    exec 9>&-
}
