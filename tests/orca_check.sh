#!/usr/bin/env bash
# Starts the real program in a private desktop session with the real Orca
# screen reader, drives it with keystrokes only, and checks what Orca says.
# orca_check.sh PROGRAM
set -euo pipefail
unset QT_QPA_PLATFORM
here="$(cd "$(dirname "$0")" && pwd)"
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- \
    /usr/bin/python3 "$here/orca_drive.py" "$1"
