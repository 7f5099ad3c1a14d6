#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on a private Xvfb server of the given size. The server picks
# its own free display number (-displayfd), so tests that run side by side
# never race for one, as xvfb-run -a can.
# xvfb_session.sh WIDTHxHEIGHT COMMAND [ARGS...]
set -euo pipefail
size="$1"
shift
fifo_dir="$(mktemp -d)"
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo_dir/display" 2>/dev/null &
server=$!
read -r -t 30 number <"$fifo_dir/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
unset WAYLAND_DISPLAY
# Clients start only once this server answers on the display with its own
# screen size, not a server that is still starting or one on its way out
# that held the same number a moment ago.
answers() { xdpyinfo 2>/dev/null | grep -q "dimensions: *${size} pixels"; }
end=$((SECONDS + 20))
until answers; do
    ((SECONDS < end)) || { echo "Xvfb on $DISPLAY does not answer within 20 s" >&2; exit 1; }
    sleep 0.05
done
"$@"
