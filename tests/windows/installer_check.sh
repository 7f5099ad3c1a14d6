#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The installer as school IT uses it: a silent install into a fresh wine
# prefix; the program, its Start-menu entry and its uninstall entry checked;
# the installed program started (a screenshot of it saved) and ended with
# Quit; then a silent uninstall that must leave none of them behind. Then the
# folders it must refuse, outside Program Files, and a Program Files folder
# that held a file of someone else's before, which keeps it.
# installer_check.sh SETUP.exe WORKDIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
setup="$(realpath "$1")"
if [ -z "${GLUKARA_ON_XVFB:-}" ]; then
    # A wine server of an earlier run may still be saving that run's prefix.
    WINEPREFIX="$2/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$2"
    mkdir -p "$2"
    GLUKARA_ON_XVFB=1 exec "$here/../helpers/xvfb_session.sh" 1024x768 "$0" "$setup" "$(realpath "$2")"
fi
source "$here/installer_lib.sh" "$2"
fresh_prefix
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Glukara.lnk"
guide_shortcut="$(dirname "$shortcut")/Glukara Guide.lnk"
key="$uninstall_keys\\glukara"

run "$setup" /S || fail "the installer ended with $?"
wineserver -w
for file in glukara.exe uninstall.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt guide.html \
    guide.de.html guide.es.html guide.fr.html guide.it.html guide.nl.html guide.pt.html; do
    [ -f "$installed/$file" ] || fail "no $file in Program Files\\Glukara"
done
cmp -s "$installed/glukara.exe" "$(dirname "$setup")/glukara.exe" ||
    fail "the installed glukara.exe is not the one built"
echo "installed: $(cd "$installed" && echo *)"
[ -f "$shortcut" ] || fail "no Start-menu entry Glukara.lnk"
echo "Start-menu entry: Glukara.lnk"
[ -f "$guide_shortcut" ] || fail "no Start-menu entry Glukara Guide.lnk"
grep -aq 'guide\.html' "$guide_shortcut" || fail "Glukara Guide.lnk does not lead to guide.html"
echo "Start-menu entry: Glukara Guide.lnk"
expect_values "$key" "DisplayName=Glukara" "DisplayVersion=1.00" "Publisher=glukara developers" \
    "DisplayIcon=C:\\Program Files\\Glukara\\glukara.exe,0" \
    "UninstallString=\"C:\\Program Files\\Glukara\\uninstall.exe\"" \
    "QuietUninstallString=\"C:\\Program Files\\Glukara\\uninstall.exe\" /S"

start_installed "$work/installed.png"

run "C:\\Program Files\\Glukara\\uninstall.exe" /S || fail "the uninstaller ended with $?"
# The uninstaller runs on from a copy of itself; the server ends with it.
wineserver -w
[ ! -e "$installed" ] || fail "left behind: $(cd "$installed" && echo *)"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left behind"
[ ! -e "$guide_shortcut" ] || fail "the guide's Start-menu entry is left behind"
if run reg query "$key" /reg:64; then fail "the uninstall entry is left behind"; fi
wineserver -w
echo "PASS: installed silently, started, and uninstalled without a trace"

# Folders where every signed-in user could change the installed files. /D=
# is read only as typed, unquoted even with spaces, so it goes through cmd,
# which passes the line on as it is; wine would quote it.
setup_path="$(winepath -w "$setup")"
for folder in "C:\\Glukara" "C:\\Program Files\\..\\Glukara" "C:\\Program Files/../Glukara" \
              "C:\\Program Files"; do
    status=0
    run cmd /c "$setup_path /S /D=$folder" || status=$?
    wineserver -w
    [ $status -eq 2 ] || fail "/D=$folder: the installer ended with $status, not 2"
    [ ! -e "$WINEPREFIX/drive_c/Glukara" ] || fail "/D=$folder: C:\\Glukara was made"
    [ ! -e "$installed" ] || fail "/D=$folder: Program Files\\Glukara was made"
    if run reg query "$key" /reg:64; then fail "/D=$folder: an uninstall entry was written"; fi
    echo "refused: /D=$folder, exit code 2"
done

# Someone else's file in the folder before: installing and uninstalling leave it.
mkdir -p "$installed"
echo "notes of the school" >"$installed/notes.txt"
run "$setup" /S || fail "the installer ended with $? into a folder with a file in it"
wineserver -w
[ -f "$installed/glukara.exe" ] || fail "not installed into a folder with a file in it"
run "C:\\Program Files\\Glukara\\uninstall.exe" /S || fail "the uninstaller ended with $?"
wineserver -w
[ "$(cat "$installed/notes.txt" 2>/dev/null)" = "notes of the school" ] ||
    fail "the file that was in the folder before is gone or changed"
left="$(cd "$installed" && echo *)"
[ "$left" = notes.txt ] || fail "after the uninstall the folder holds $left, not just notes.txt"
echo "PASS: folders outside Program Files refused; a file that was there before is kept"
