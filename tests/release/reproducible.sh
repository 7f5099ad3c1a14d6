#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Releases REPO's commit a second time, from a fresh clone in another folder,
# with another umask and at least a minute after the first release ended
# (FIRST_END, seconds since 1970), with build folders of its own, and compares
# with the first release's FIRST_DIST: every file the same bytes. A file that
# differs is named, with diffoscope's first lines where it is installed.
#   tests/release/reproducible.sh REPO FIRST_DIST FIRST_END
# The Qts come from GLUKARA_QT_WINDOWS and GLUKARA_QT_WASM, as for the first.
set -euo pipefail
repo="$1" first="$2" first_end="$3"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The two releases are to be made at different times: a time that leaked
# into a file shows only if they are.
gap=$((first_end + 60 - $(date +%s)))
if [ "$gap" -gt 0 ]; then
    echo "Waiting $gap s, to release a minute after the first release"
    sleep "$gap"
fi
clone="$scratch/second-clone"
(umask 077 && git clone -q "$repo" "$clone")
[ "$(git -C "$clone" rev-parse HEAD)" = "$(git -C "$repo" rev-parse HEAD)" ] ||
    fail "the second clone is not at the first's commit"
start=$SECONDS
if ! (umask 077 && "$clone/scripts/release" --unsigned) >"$scratch/release.log" 2>&1; then
    tail -40 "$scratch/release.log"
    fail "the second release failed"
fi
echo "The second release, from a fresh clone with umask 077, took $((SECONDS - start)) s"
second="$clone/dist"

echo "SHA256SUMS of the first release:"
cat "$first/SHA256SUMS"
if cmp -s "$first/SHA256SUMS" "$second/SHA256SUMS"; then
    echo "PASS: the two releases' SHA256SUMS are identical"
    exit 0
fi
echo "SHA256SUMS of the second release:"
cat "$second/SHA256SUMS"
mapfile -t differing < <(diff <(sort -k2 "$first/SHA256SUMS") <(sort -k2 "$second/SHA256SUMS") |
    sed -n 's/^[<>] [0-9a-f]*  //p' | sort -u)
for file in "${differing[@]}"; do
    echo "FAIL: $file differs between the two releases"
    if command -v diffoscope >/dev/null && [ -f "$first/$file" ] && [ -f "$second/$file" ]; then
        diffoscope --no-progress "$first/$file" "$second/$file" 2>&1 | head -40 || true
    fi
done
fail "the second release of the same commit made other bytes"
