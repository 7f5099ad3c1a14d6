# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What the installers' tests share, sourced by them on their Xvfb: a fresh
# wine prefix in WORK, running wine's programs, reading the registry, and the
# installed program started and quit as a pupil does.
#   source installer_lib.sh WORK
work="$1"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries of wine's in the host's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
installed="$WINEPREFIX/drive_c/Program Files/Glukara"
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

fail() { echo "FAIL: $*"; exit 1; }
# run PROGRAM [ARG...]: into files, since wine keeps its programs' output open.
run() { wine "$@" >"$work/out" 2>"$work/err" </dev/null; }

# A fresh prefix. Under load wine has once failed to make one ("could not
# load kernel32.dll"): that is wine setting itself up, not the installer, so
# it is tried once more, and what wine said is shown.
make_prefix() {
    rm -rf "$WINEPREFIX"
    wineboot -i >"$work/out" 2>&1 && wineserver -w
}
fresh_prefix() {
    if ! make_prefix; then
        echo "wineboot failed once: $(cat "$work/out")"
        wineserver -k 2>/dev/null || true
        make_prefix || fail "wineboot failed again: $(cat "$work/out")"
    fi
}

# value KEY NAME: a value of the 64-bit registry, or failure where it is not.
value() {
    run reg query "$1" /v "$2" /reg:64 || return 1
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" "$work/out" | tr -d "\r"
}

# expect_values KEY NAME=VALUE...: each value as given.
expect_values() {
    local key="$1" pair name expected seen
    shift
    for pair in "$@"; do
        name=${pair%%=*} expected=${pair#*=}
        seen=$(value "$key" "$name") || fail "no $name under $key"
        [ "$seen" = "$expected" ] || fail "$name under $key is \"$seen\", not \"$expected\""
        echo "uninstall entry: $name = $seen"
    done
}

# start_installed SCREENSHOT: the installed glukara.exe, as its Start-menu
# entry starts it, painted and then ended with Quit from the keyboard.
start_installed() {
    (run "C:\\Program Files\\Glukara\\glukara.exe"; echo $? >"$work/status") &
    local end=$((SECONDS + 60)) window
    until window=$(xdotool search --onlyvisible --name "^Glukara\$" 2>/dev/null | head -1) &&
          [ -n "$window" ]; do
        [ $SECONDS -lt $end ] || fail "the installed program showed no window \"Glukara\" in 60 s"
        sleep 0.1
    done
    # Painted once the chart shows its bar. grep reads to the end: with -q
    # it could end while import still writes, and import's broken pipe would
    # fail the whole pipeline.
    until import -window "$window" -depth 8 -crop 1x441+173+16 txt:- 2>/dev/null |
          grep "#B22222" >/dev/null; do
        [ $SECONDS -lt $end ] || fail "the installed program painted no bar in 60 s"
        sleep 0.1
    done
    import -window "$window" "$1"
    echo "installed program shown: $1"
    xdotool key Tab Tab Tab space
    end=$((SECONDS + 20))
    until [ -s "$work/status" ]; do
        [ $SECONDS -lt $end ] || fail "the installed program did not end after Tab x3, Space on Quit"
        sleep 0.1
    done
    [ "$(cat "$work/status")" = 0 ] || fail "the installed program ended with $(cat "$work/status")"
    rm -f "$work/status"
}
