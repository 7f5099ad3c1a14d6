#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs lupdate over the code into copies of the .ts files: they must come out
# unchanged, so every translatable text is in them, none is left over, and
# every one is translated.   translations_check.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate="$1"
source="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cp "$source"/translations/*.ts "$scratch"/
"$lupdate" -locations none -no-obsolete "$source/ui" -ts "$scratch"/*.ts >/dev/null
status=0
for ts in "$source"/translations/*.ts; do
    name="$(basename "$ts")"
    if ! diff -u "$ts" "$scratch/$name"; then
        echo "FAIL: $name is not up to date with the code (cmake --build build --target update_translations)"
        status=1
    fi
    if grep -q 'type="unfinished"' "$scratch/$name"; then
        echo "FAIL: $name has untranslated texts:"
        grep -B2 'type="unfinished"' "$scratch/$name"
        status=1
    fi
done
[ $status -eq 0 ] && echo "PASS: $(ls "$source"/translations/*.ts | wc -l) translations hold every text of the code"
exit $status
