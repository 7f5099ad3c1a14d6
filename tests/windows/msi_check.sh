#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows Installer package as school IT uses it, with wine's msiexec in
# a fresh prefix: a silent install per machine, with the zip's files, the
# Start-menu entry and the uninstall entry under the package's product code;
# the installed program started and quit; the setup.exe refused over it; a
# silent uninstall that leaves nothing. Then a major upgrade from an older
# package made here from the same WiX source (one entry after it, the newer
# files), the older one refused over the newer, and the package refused over
# the setup.exe's glukara. Each failure names the step.
# msi_check.sh MSI WXS ICON ZIP SETUP.exe WORKDIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${GLUKARA_ON_XVFB:-}" ]; then
    WINEPREFIX="$6/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$6"
    mkdir -p "$6"
    GLUKARA_ON_XVFB=1 exec "$here/../helpers/xvfb_session.sh" 1024x768 "$0" \
        "$(realpath "$1")" "$(realpath "$2")" "$(realpath "$3")" "$(realpath "$4")" "$(realpath "$5")" \
        "$(realpath "$6")"
fi
msi="$1" wxs="$2" icon="$3" zip="$4" setup="$5"
source "$here/installer_lib.sh" "$6"

property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
product="$(property "$msi" ProductCode)"
[ -n "$product" ] || fail "no ProductCode in $msi"
[ "$(property "$msi" ALLUSERS)" = 1 ] || fail "the package does not install per machine (ALLUSERS is not 1)"
machine_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Glukara.lnk"
# wine puts an all-users shortcut of a package into the user's Start menu.
user_menu="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Glukara.lnk"
msiexec() {
    run msiexec "$@" /qn
    local status=$?
    wineserver -w
    return $status
}
# entries: the names of the uninstall entries called Glukara, a line each.
entries() {
    run reg query "$uninstall_keys" /reg:64 || fail "no $uninstall_keys"
    local key
    for key in $(tr -d '\r' <"$work/out" | grep -o '[^\\]*$' | grep -v '^$'); do
        [ "$(value "$uninstall_keys\\$key" DisplayName 2>/dev/null)" = Glukara ] && echo "$key"
    done
    return 0
}
expect_nothing_left() {
    [ ! -e "$installed" ] || fail "$1: left behind in Program Files\\Glukara: $(cd "$installed" && echo *)"
    [ ! -e "$machine_menu" ] && [ ! -e "$user_menu" ] || fail "$1: the Start-menu entry is left behind"
    [ ! -e "$(dirname "$machine_menu")/Glukara Guide.lnk" ] &&
        [ ! -e "$(dirname "$user_menu")/Glukara Guide.lnk" ] ||
        fail "$1: the guide's Start-menu entry is left behind"
    [ -z "$(entries)" ] || fail "$1: uninstall entries are left behind: $(entries)"
    if run reg query 'HKLM\Software\glukara' /reg:64; then fail "$1: HKLM\\Software\\glukara is left behind"; fi
    echo "$1: nothing left"
}
fresh_prefix

# Installed silently, per machine.
msiexec /i "$msi" || fail "install: msiexec ended with $?"
expected="$(python3 -m zipfile -l "$zip" | awk 'NR > 1 { sub("^glukara/", "", $1); print $1 }' | sort)"
seen="$( (cd "$installed" 2>/dev/null && ls) | sort)"
[ "$seen" = "$expected" ] || fail "install: Program Files\\Glukara holds $(echo $seen), not the zip's $(echo $expected)"
cmp -s "$installed/glukara.exe" "$(dirname "$msi")/glukara.exe" || fail "install: glukara.exe is not the one built"
echo "install: $(echo $seen)"
if [ -f "$machine_menu" ]; then
    echo "install: Start-menu entry Glukara.lnk for all users"
elif [ -f "$user_menu" ]; then
    echo "install: Start-menu entry Glukara.lnk, in the user's Start menu, as wine puts it"
else
    fail "install: no Start-menu entry Glukara.lnk"
fi
menu_folder="$(dirname "$machine_menu")"
[ -f "$machine_menu" ] || menu_folder="$(dirname "$user_menu")"
[ -f "$menu_folder/Glukara Guide.lnk" ] || fail "install: no Start-menu entry Glukara Guide.lnk"
echo "install: Start-menu entry Glukara Guide.lnk"
expect_values "$uninstall_keys\\$product" "DisplayName=Glukara" "DisplayVersion=1.00" \
    "Publisher=glukara developers" "UninstallString=MsiExec.exe /X$product"
[ "$(entries)" = "$product" ] || fail "install: the uninstall entries are $(entries), not $product alone"
start_installed "$work/installed.png"

status=0
run "$setup" /S || status=$?
wineserver -w
[ $status -eq 2 ] || fail "setup.exe over the package: it ended with $status, not 2"
[ ! -e "$installed/uninstall.exe" ] || fail "setup.exe over the package: it installed its uninstaller"
echo "setup.exe over the package: refused, exit code 2"

msiexec /x "$msi" || fail "uninstall: msiexec ended with $?"
expect_nothing_left uninstall

# A folder given on the command line does not lead out of Program Files.
msiexec /i "$msi" INSTALLDIR=C:\\Glukara GLUKARAFOLDER=C:\\Glukara TARGETDIR=C:\\Glukara ||
    fail "folder: msiexec ended with $?"
[ ! -e "$WINEPREFIX/drive_c/Glukara" ] || fail "folder: installed into C:\\Glukara"
[ -f "$installed/glukara.exe" ] || fail "folder: not installed into Program Files\\Glukara"
echo "folder: installed into Program Files\\Glukara whatever the command line names"
msiexec /x "$msi" || fail "uninstall after the folder: msiexec ended with $?"
expect_nothing_left "uninstall after the folder"

# An older version from the same source: another product code and version,
# and a glukara.exe of its own.
old="$work/old"
mkdir -p "$old/files"
cp "$(dirname "$wxs")"/portable/glukara/* "$old/files/"
echo "glukara 0.99" >"$old/files/glukara.exe"
old_product="{00000000-0000-4000-8000-000000000099}"
# The source names the product code without braces.
sed -e "s/Version=\"1.00\"/Version=\"0.99\"/" -e "s/Id=\"${product//[\{\}]/}\"/Id=\"$old_product\"/" \
    "$wxs" >"$old/glukara.wxs"
grep -q 'Version="0.99"' "$old/glukara.wxs" && grep -q "$old_product" "$old/glukara.wxs" ||
    fail "upgrade: could not make the older package's source from $wxs"
mapfile -t old_files < <(cd "$old/files" && ls)
python3 "$here/../../packaging/windows/make_msi.py" "$old/glukara.wxs" "$old/glukara-0.99.msi" \
    "$old/files" "${old_files[@]}" "$icon" >"$old/made.log" 2>&1 ||
    fail "upgrade: the older package was not made: $(cat "$old/made.log")"
msiexec /i "$old/glukara-0.99.msi" || fail "upgrade: installing the older package ended with $?"
[ "$(entries)" = "$old_product" ] || fail "upgrade: the older package's entry is $(entries), not $old_product"
msiexec /i "$msi" || fail "upgrade: installing the newer package over the older ended with $?"
[ "$(entries)" = "$product" ] || fail "upgrade: after it the entries are $(entries), not $product alone"
cmp -s "$installed/glukara.exe" "$(dirname "$msi")/glukara.exe" || fail "upgrade: glukara.exe is not the newer one"
echo "upgrade: one entry, $product, with the newer files"
if msiexec /i "$old/glukara-0.99.msi"; then fail "downgrade: the older package installed over the newer"; fi
[ "$(entries)" = "$product" ] || fail "downgrade: the entries are $(entries), not $product alone"
cmp -s "$installed/glukara.exe" "$(dirname "$msi")/glukara.exe" || fail "downgrade: glukara.exe was replaced"
echo "downgrade: refused, the newer version stays"
msiexec /x "$msi" || fail "uninstall after the upgrade: msiexec ended with $?"
expect_nothing_left "uninstall after the upgrade"

run "$setup" /S || fail "setup.exe: it ended with $?"
wineserver -w
if msiexec /i "$msi"; then fail "the package over the setup.exe's glukara installed"; fi
[ -z "$(entries | grep -v '^glukara$')" ] || fail "the package over the setup.exe's glukara left an entry: $(entries)"
echo "the package over the setup.exe's glukara: refused"
run "C:\\Program Files\\Glukara\\uninstall.exe" /S || fail "setup.exe's uninstaller ended with $?"
wineserver -w
echo "PASS: the package installs per machine, upgrades, refuses a downgrade and the setup.exe's glukara, and uninstalls without a trace"
