#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the real program in a real session (Xvfb, a D-Bus session bus and the
# accessibility bus) and drives it through AT-SPI only.
# atspi_check.sh PROGRAM
set -euo pipefail
unset QT_QPA_PLATFORM
here="$(cd "$(dirname "$0")" && pwd)"
exec "$here/../helpers/xvfb_session.sh" 1024x768 dbus-run-session -- bash -c '
    set -euo pipefail
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null" EXIT
    # The program looks for the accessibility bus once, as it starts.
    bus_address() {
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress | grep -q unix:
    }
    end=$((SECONDS + 20))
    until bus_address 2>/dev/null; do
        ((SECONDS < end)) || { echo "FAIL: no accessibility bus within 20 s"; exit 1; }
        sleep 0.05
    done
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    "$1" &
    program=$!
    trap "kill $program $launcher 2>/dev/null" EXIT
    /usr/bin/python3 "$2/atspi_drive.py"
' _ "$1" "$here"
