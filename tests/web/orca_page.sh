#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens glukara's page in Chromium in a private desktop session with the real
# Orca screen reader, drives it with keystrokes only, and checks what Orca says.
# orca_page.sh SITE [LANGUAGE]: SITE is the page's folder or address,
# LANGUAGE Chromium's language (en or de).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# The session is the desktop Orca test's, and so are the bands it hears.
export PYTHONPATH="$here/../helpers:$here/../desktop${PYTHONPATH:+:$PYTHONPATH}"
exec "$here/../helpers/xvfb_session.sh" 1024x768 dbus-run-session -- \
    /usr/bin/python3 "$here/orca_page.py" "$@"
