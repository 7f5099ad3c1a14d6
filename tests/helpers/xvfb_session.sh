#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private Xvfb server of the given size.
# xvfb_session.sh WIDTHxHEIGHT COMMAND [ARGS...]
set -euo pipefail
source "$(dirname "$0")/xvfb_lib.sh"
size="$1"
shift
log="$(mktemp)"
xvfb_pid=
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$log"' EXIT
start_xvfb "$size" "$log"
unset WAYLAND_DISPLAY
"$@"
