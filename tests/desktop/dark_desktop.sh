#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under GTK's dark Adwaita theme, reached through Qt's gtk3
# platform theme, on Xvfb. Return on the focused Start starts time; once the
# first message shows, every text of a screenshot of the window is measured
# against its ground (contrast.py) and must reach 4.5 : 1.
# dark_desktop.sh PROGRAM OUTPUT_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
mkdir -p "$2"
exec "$here/../helpers/xvfb_session.sh" 1024x768 bash -c '
    program="$1" contrast="$2" shot="$3/glukara-dark.png"
    "$program" 2>"$3/stderr.txt" &
    pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    id=""
    deadline=$((SECONDS + 15))
    while [ -z "$id" ] && [ $SECONDS -lt $deadline ]; do
        # The window named Glukara, not one whose class merely says so.
        id=$(xwininfo -root -tree | awk "\$2 == \"\\\"Glukara\\\":\" {print \$1; exit}")
        [ -n "$id" ] || sleep 0.1
    done
    if [ -z "$id" ]; then
        echo "FAIL: no Glukara window within 15 s"; cat "$3/stderr.txt"; exit 1
    fi
    # No window manager gives the focus here: the test does, as a click would.
    until xdotool windowfocus --sync "$id" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || { echo "FAIL: cannot focus the window"; exit 1; }
        sleep 0.1
    done
    xdotool key Return
    deadline=$((SECONDS + 15))
    until import -window "$id" "$shot" && "$contrast" "$shot" --message >"$3/measures.txt"; do
        if [ $SECONDS -ge $deadline ]; then
            echo "FAIL: what was seen last:"; cat "$3/measures.txt"; cat "$3/stderr.txt"; exit 1
        fi
        sleep 0.2
    done
    cat "$3/measures.txt"
    echo "PASS: every text at least 4.5 : 1 under Adwaita dark, with time started by Return"
' _ "$1" "$here/contrast.py" "$2"
