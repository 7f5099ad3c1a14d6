#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Runs a test program built for Windows under wine, as ctest's emulator, and
# prints what it reported. A QtTest program's standard output does not come
# back through wine reliably, so it writes its report to a file instead.
# wine_test.sh PROGRAM.exe [ARGUMENTS...]
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
program="$1"
shift
report=()
case "$(basename "$program")" in
tst_*) report=(-o "Z:${out//\//\\}\\report.txt,txt") ;;
esac
# Into files, not pipes: wine's server keeps its programs' output open.
wine "$program" "$@" "${report[@]}" >"$out/stdout" 2>"$out/stderr" </dev/null
status=$?
cat "$out/stdout" "$out/report.txt" 2>/dev/null
grep -v '^$' "$out/stderr" >&2
exit $status
