#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The release's source archive, unpacked in a scratch folder with no Git,
# configures and builds glukara.
#   tests/release/source_builds.sh DIST
set -euo pipefail
dist="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
archives=("$dist"/glukara-*-source.tar.gz)
[ -f "${archives[0]}" ] || { echo "FAIL: no glukara-VERSION-source.tar.gz in $dist"; exit 1; }
tar xzf "${archives[0]}" -C "$scratch"
tree="$(basename "${archives[0]}" -source.tar.gz)"
[ -f "$scratch/$tree/CMakeLists.txt" ] || { echo "FAIL: the archive has no $tree/CMakeLists.txt"; exit 1; }
cmake -S "$scratch/$tree" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$scratch/build" --target glukara -j"$(nproc)" >"$scratch/build.log" 2>&1 ||
    { tail -30 "$scratch/build.log"; echo "FAIL: glukara does not build from ${archives[0]}"; exit 1; }
file "$scratch/build/glukara" | grep -q 'ELF 64-bit.*executable' ||
    { file "$scratch/build/glukara"; echo "FAIL: the build made no glukara program"; exit 1; }
echo "PASS: glukara builds from $(basename "${archives[0]}")"
