#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# glukara.exe as a Windows screen reader reads it through UI Automation: the
# UIA client tests/windows/uia_client.cpp, built here with mingw-w64, and
# glukara.exe, both under wine on Xvfb with openbox; uia_check.py says what
# is checked. Needs Debian 13 or later: Debian 12's wine 8 serves no UIA
# client, and its mingw-w64 headers have no client interfaces. Installs what
# it needs.
#   tests/windows/uia_check.sh GLUKARA.exe [WORKDIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${GLUKARA_ON_XVFB:-}" ]; then
    source "$here/../../scripts/setup.sh"
    packages=(wine wine64 g++-mingw-w64-x86-64-posix python3 xvfb xauth x11-utils xdotool
              openbox)
    install_missing_packages
    version="$(wine --version)"
    if [[ ! "$version" =~ ^wine-([0-9]+) ]] || [ "${BASH_REMATCH[1]}" -lt 10 ]; then
        echo "uia_check.sh: needs wine 10 or later (Debian 13); this is $version" >&2
        exit 2
    fi
    exe="$(realpath "$1")"
    work="${2:-$(mktemp -d)}"
    mkdir -p "$work"
    work="$(realpath "$work")"
    x86_64-w64-mingw32-g++-posix -std=c++17 -O1 -Wall -Wextra -static -municode \
        "$here/uia_client.cpp" -o "$work/uia_client.exe" \
        -luiautomationcore -lole32 -loleaut32 -luuid
    export WINEPREFIX="$work/prefix"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    GLUKARA_ON_XVFB=1 exec "$here/../helpers/xvfb_session.sh" 1280x800 "$0" "$exe" "$work"
fi
exe="$1" work="$2"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
trap 'wineserver -k 2>/dev/null || true; kill $wm 2>/dev/null || true' EXIT
wineboot -i >"$work/wineboot.log" 2>&1 && wineserver -w
python3 "$here/uia_check.py" "$exe" "$work/uia_client.exe" "$work"
