#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The version is written once, in the top CMakeLists.txt. Changed there in a
# scratch clone, it reaches the .deb, glukara.exe's version record, the
# installer and its Apps & features entry, the downloads' names, the page's
# manifest, cache name and licence note, and the program's own record. Only
# configures (the host, Windows and the browser), and compiles the generated
# version resource, which is what Windows reads.
#   GLUKARA_QT_WINDOWS=PREFIX GLUKARA_QT_WASM=PREFIX tests/release/version.sh
source "$(dirname "$0")/../../scripts/setup.sh"
: "${GLUKARA_QT_WINDOWS:?names the static Qt for Windows}" "${GLUKARA_QT_WASM:?names the static Qt for the browser}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
clone="$scratch/glukara"
git clone -q "$root" "$clone"
sed -i 's/^project(glukara VERSION [^ ]* /project(glukara VERSION 7.05 /' "$clone/CMakeLists.txt"
git -C "$clone" diff --quiet && { echo "FAIL: no project VERSION to change in CMakeLists.txt"; exit 1; }

failures=0
# expect WHAT FILE TEXT: FILE holds TEXT, a fixed string.
expect() {
    if grep -qF -- "$3" "$2"; then
        echo "PASS: $1: $3"
    else
        echo "FAIL: $1: no \"$3\" in $2; it holds:"
        grep -i -m5 'version\|7\.05\|1\.00' "$2" || true
        failures=$((failures + 1))
    fi
}

cmake -S "$clone" -B "$clone/build" -DBUILD_TESTING=OFF >/dev/null
expect ".deb version" "$clone/build/CPackConfig.cmake" 'set(CPACK_PACKAGE_VERSION "7.05")'
expect "program's version" "$clone/build/CMakeFiles/glukara.dir/flags.make" 'GLUKARA_VERSION=\"7.05\"'
expect "notices" "$clone/build/THIRD-PARTY-NOTICES.txt" 'glukara-7.05-source.tar.gz'

# The Windows build, configured with a stand-in for the pictures' renderer,
# which no step here runs.
mkdir "$scratch/tools"
printf '#!/bin/sh\nexit 1\n' >"$scratch/tools/render_pictures"
chmod +x "$scratch/tools/render_pictures"
windows="$clone/build-windows"
cmake -S "$clone" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$GLUKARA_QT_WINDOWS/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DGLUKARA_HOST_TOOLS_DIR="$scratch/tools" >/dev/null
nsi="$windows/packaging/windows/glukara.nsi"
expect "installer's version record" "$nsi" 'VIProductVersion 7.5.0.0'
expect "installer's file version" "$nsi" 'VIFileVersion 7.5.0.0'
expect "installer's product version" "$nsi" 'ProductVersion "7.05"'
expect "Apps & features entry" "$nsi" '"DisplayVersion" "7.05"'
expect "installer's name" "$nsi" 'glukara-7.05-win64-setup.exe'
expect "zip's name" "$windows/build.ninja" 'glukara-7.05-win64.zip'
expect "zip's readme" "$windows/packaging/windows/portable/glukara/README.txt" 'Glukara 7.05'
expect "installer's licence page" "$windows/packaging/windows/licence-page.txt" 'glukara-7.05-source.tar.gz'

# glukara.exe's version record as Windows reads it: compiled from the
# generated resource script (without its icon, which no step here renders).
grep -v ' ICON ' "$windows/packaging/windows/glukara.rc" >"$scratch/version.rc"
x86_64-w64-mingw32-windres -O res "$scratch/version.rc" "$scratch/version.res"
if python3 - "$scratch/version.res" <<'PY'
import re, struct, sys
data = open(sys.argv[1], 'rb').read()
# VS_FIXEDFILEINFO: signature, struct version, then file and product
# versions, each two 32-bit halves of 16-bit numbers.
at = data.index(struct.pack('<I', 0xFEEF04BD))
file_ms, file_ls, product_ms, product_ls = struct.unpack_from('<4I', data, at + 8)
numbers = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
strings = data.decode('utf-16-le', 'replace')
seen = (numbers(file_ms, file_ls), numbers(product_ms, product_ls),
        bool(re.search('FileVersion\0+7[.]05\0', strings)),
        bool(re.search('ProductVersion\0+7[.]05\0', strings)))
print('glukara.exe version record:', seen)
sys.exit(0 if seen == ((7, 5, 0, 0), (7, 5, 0, 0), True, True) else 1)
PY
then
    echo "PASS: glukara.exe's version record: file and product 7.5.0.0, \"7.05\""
else
    echo "FAIL: glukara.exe's version record is not 7.5.0.0 with \"7.05\""
    failures=$((failures + 1))
fi

# The page, configured for the browser, and its service worker as the build
# finishes the site.
use_debian_emscripten
web="$clone/build-web-tree"
cmake -S "$clone" -B "$web" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$GLUKARA_QT_WASM/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DGLUKARA_HOST_TOOLS_DIR="$scratch/tools" >/dev/null
expect "manifest" "$web/web/manifest.webmanifest" '"version": "7.05"'
expect "page's licence note" "$web/web/licence.txt" 'Glukara 7.05 in the browser'
mkdir "$scratch/site"
cp "$web/web/manifest.webmanifest" "$scratch/site/"
PYTHONPATH="$clone/web" python3 -c 'import sys, pathlib, finish_site
finish_site.write_worker(pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]))' \
    "$scratch/site" "$clone/web"
expect "page's cache version" "$scratch/site/service-worker.js" "const version = '7.05-"

if [ "$failures" -ne 0 ]; then
    echo "FAIL: $failures places do not follow the version"
    exit 1
fi
echo "PASS: every place follows the version written in CMakeLists.txt"
