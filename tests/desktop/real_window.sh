#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the real program on a real X server and checks that its window
# appears with its caption and its fixed client size.
# real_window.sh PROGRAM
set -euo pipefail
unset QT_QPA_PLATFORM
here="$(cd "$(dirname "$0")" && pwd)"
exec "$here/../helpers/xvfb_session.sh" 1024x768 bash -c '
    "$1" &
    pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    for _ in $(seq 100); do
        line=$(xwininfo -root -tree | grep "\"Glukara\"" || true)
        [ -n "$line" ] && break
        sleep 0.1
    done
    echo "window: ${line:-none}"
    case "$line" in
        *" 750x538+"*) echo "PASS: Glukara shows at 750 x 538" ;;
        *) echo "FAIL: no Glukara window of 750 x 538"; exit 1 ;;
    esac
' _ "$1"
