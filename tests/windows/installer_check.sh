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
here="$(cd "$(dirname "$0")/.." && pwd)"
setup="$(realpath "$1")"
work="$2"
# A wine server of an earlier run may still be saving that run's prefix.
WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work"
exec "$here/helpers/xvfb_session.sh" 1024x768 bash -c '
set -euo pipefail
setup="$1" work="$2"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries of wine'"'"'s in the host'"'"'s home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fail() { echo "FAIL: $*"; exit 1; }
# Into files: wine keeps its programs'"'"' output open.
run() { wine "$@" >"$work/out" 2>"$work/err" </dev/null; }

# A fresh prefix. Under load wine has once failed to make one ("could not
# load kernel32.dll"): that is wine setting itself up, not the installer, so
# it is tried once more, and what wine said is shown.
make_prefix() {
    rm -rf "$WINEPREFIX"
    wineboot -i >"$work/out" 2>&1 && wineserver -w
}
if ! make_prefix; then
    echo "wineboot failed once: $(cat "$work/out")"
    wineserver -k 2>/dev/null || true
    make_prefix || fail "wineboot failed again: $(cat "$work/out")"
fi
installed="$WINEPREFIX/drive_c/Program Files/Glukara"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Glukara.lnk"
key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\glukara"

run "$setup" /S || fail "the installer ended with $?"
wineserver -w
for file in glukara.exe uninstall.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
    [ -f "$installed/$file" ] || fail "no $file in Program Files\\Glukara"
done
cmp -s "$installed/glukara.exe" "$(dirname "$setup")/glukara.exe" ||
    fail "the installed glukara.exe is not the one built"
echo "installed: $(cd "$installed" && echo *)"
[ -f "$shortcut" ] || fail "no Start-menu entry Glukara.lnk"
echo "Start-menu entry: Glukara.lnk"
value() {
    run reg query "$key" /v "$1" /reg:64 || return 1
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p" "$work/out" | tr -d "\r"
}
for pair in "DisplayName=Glukara" "DisplayVersion=1.00" "Publisher=glukara developers" \
            "DisplayIcon=C:\\Program Files\\Glukara\\glukara.exe,0" \
            "UninstallString=\"C:\\Program Files\\Glukara\\uninstall.exe\"" \
            "QuietUninstallString=\"C:\\Program Files\\Glukara\\uninstall.exe\" /S"; do
    name=${pair%%=*} expected=${pair#*=}
    seen=$(value "$name") || fail "no $name under $key"
    [ "$seen" = "$expected" ] || fail "$name is \"$seen\", not \"$expected\""
    echo "uninstall entry: $name = $seen"
done

# The installed program, as the Start-menu entry starts it.
(run "C:\\Program Files\\Glukara\\glukara.exe"; echo $? >"$work/status") &
end=$((SECONDS + 60))
until window=$(xdotool search --onlyvisible --name "^Glukara\$" 2>/dev/null | head -1) &&
      [ -n "$window" ]; do
    [ $SECONDS -lt $end ] || fail "the installed program showed no window \"Glukara\" in 60 s"
    sleep 0.1
done
# Painted once the chart shows its bar.
# grep reads to the end: with -q it could end while import still writes,
# and import'"'"'s broken pipe would fail the whole pipeline.
until import -window "$window" -depth 8 -crop 1x441+173+16 txt:- 2>/dev/null | grep "#B22222" >/dev/null; do
    [ $SECONDS -lt $end ] || fail "the installed program painted no bar in 60 s"
    sleep 0.1
done
import -window "$window" "$work/installed.png"
echo "installed program shown: $work/installed.png"
xdotool key Tab Tab Tab space
end=$((SECONDS + 20))
until [ -s "$work/status" ]; do
    [ $SECONDS -lt $end ] || fail "the installed program did not end after Tab x3, Space on Quit"
    sleep 0.1
done
[ "$(cat "$work/status")" = 0 ] || fail "the installed program ended with $(cat "$work/status")"

run "C:\\Program Files\\Glukara\\uninstall.exe" /S || fail "the uninstaller ended with $?"
# The uninstaller runs on from a copy of itself; the server ends with it.
wineserver -w
[ ! -e "$installed" ] || fail "left behind: $(cd "$installed" && echo *)"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left behind"
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

# Someone else'"'"'s file in the folder before: installing and uninstalling leave it.
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
' _ "$setup" "$work"
