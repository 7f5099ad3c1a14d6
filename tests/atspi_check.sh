#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Starts the real program in a real session (Xvfb, a D-Bus session bus and the
# accessibility bus) and drives it through AT-SPI only.
# atspi_check.sh PROGRAM
set -euo pipefail
unset QT_QPA_PLATFORM
here="$(cd "$(dirname "$0")" && pwd)"
exec "$here/xvfb_session.sh" 1024x768 dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    "$1" &
    program=$!
    trap "kill $program $launcher 2>/dev/null" EXIT
    /usr/bin/python3 "$2/atspi_drive.py"
' _ "$1" "$here"
