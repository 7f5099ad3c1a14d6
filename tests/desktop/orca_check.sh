#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program in a private desktop session with the real Orca
# screen reader, drives it with keystrokes only, and checks what Orca says.
# orca_check.sh PROGRAM [SCENARIO]: SCENARIO is one of the drivers beside this
# script, orca_drive.py unless given.
set -euo pipefail
unset QT_QPA_PLATFORM
here="$(cd "$(dirname "$0")" && pwd)"
# The session's helpers are shared with the page's Orca test.
export PYTHONPATH="$here/../helpers${PYTHONPATH:+:$PYTHONPATH}"
exec "$here/../helpers/xvfb_session.sh" 1024x768 dbus-run-session -- \
    /usr/bin/python3 "$here/${2:-orca_drive.py}" "$1"
