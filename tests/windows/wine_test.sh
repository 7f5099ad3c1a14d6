#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a test program built for Windows under wine, as ctest's emulator, and
# prints what it reported. A QtTest program's standard output does not come
# back through wine reliably, so it writes its report to a file instead.
# Arguments must not need quoting for cmd.
# wine_test.sh PROGRAM.exe [ARGUMENTS...]
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
program="$1"
shift
report=()
case "$(basename "$program")" in
tst_*) report=(-o "Z:${out//\//\\}\\report.txt,txt") ;;
esac
# Qt's offscreen platform on Windows reads its fonts from one folder: the
# Liberation fonts that the Linux tests see too.
export QT_QPA_FONTDIR="${QT_QPA_FONTDIR:-Z:\\usr\\share\\fonts\\truetype\\liberation2}"
# wine keeps Qt's own variables (QT_*) from Windows programs: cmd sets them
# again for the program.
command=""
while IFS= read -r name; do
    command+="set $name=${!name}&& "
done < <(compgen -e | grep '^QT_' || true)
windows_path() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
command+="$(windows_path "$program")"
for argument in "$@" "${report[@]}"; do
    command+=" $argument"
done
# Into files, not pipes: wine's server keeps its programs' output open.
wine cmd /c "$command" >"$out/stdout" 2>"$out/stderr" </dev/null
status=$?
cat "$out/stdout" "$out/report.txt" 2>/dev/null
grep -v '^$' "$out/stderr" >&2
exit $status
