#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What a release's DIST holds: the seven downloads, glukara's source and the
# source of the Qt built into the static programs, all checked by SHA256SUMS
# and nothing besides; in every download that unpacks here, the licence
# texts of glukara and of every part built in, and where the source is; and
# the class guide in its seven languages in every download but the one-file
# page.
#   tests/release/contents.sh DIST
set -euo pipefail
dist="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

debs=("$dist"/glukara_*_amd64.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no glukara_VERSION_amd64.deb in $dist:"; ls -R "$dist"; exit 1; }
version="$(basename "${debs[0]}" | sed 's/^glukara_\(.*\)_amd64[.]deb$/\1/')"

for file in "glukara_${version}_amd64.deb" "glukara-$version-win64.zip" "glukara-$version-win64-setup.exe" \
    "glukara-$version-win64.msi" \
    "glukara-$version-web.zip" "glukara-$version.html" "glukara-$version-guide.zip" \
    "glukara-$version-source.tar.gz" \
    "source/glukara-$version-qt-recipes.tar.gz" SHA256SUMS; do
    [ -s "$dist/$file" ] || fail "no $file in the release"
done
# The Qt source as Debian's archive gives it: the .dsc and every file it names.
qt_dscs=("$dist"/source/qt6-base_*.dsc)
if [ -f "${qt_dscs[0]}" ]; then
    for file in $(sed -n '/^Files:/,/^[^ ]/s/^ [0-9a-f]* [0-9]* \(.*\)/\1/p' "${qt_dscs[0]}"); do
        [ -s "$dist/source/$file" ] || fail "source/ has $(basename "${qt_dscs[0]}") but not its $file"
    done
else
    fail "no qt6-base source package in source/"
fi

if ! diff <(sed 's/^[0-9a-f]\{64\}  //' "$dist/SHA256SUMS" | LC_ALL=C sort) \
    <(cd "$dist" && find . -type f ! -name 'SHA256SUMS*' -printf '%P\n' | LC_ALL=C sort); then
    fail "SHA256SUMS does not name every file of the release and nothing else (< SHA256SUMS, > the files)"
fi
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "sha256sum -c SHA256SUMS"

# Each a licence and a line of its text, as the notices carry it.
licences=(
    "Qt's licence|GNU LESSER GENERAL PUBLIC LICENSE"
    "FreeType's licence|The FreeType Project LICENSE"
    "the MIT licence (HarfBuzz)|Permission is hereby granted"
    "the BSD licence (PCRE2, double-conversion)|Redistribution and use in source and binary forms"
    "zlib's licence|must be plainly marked as such"
    "the font's licence|SIL OPEN FONT LICENSE"
    "where the source is|glukara-$version-source.tar.gz"
)
# carries WHAT FOLDER: the texts of the download unpacked in FOLDER hold every licence.
carries() {
    local entry
    for entry in "${licences[@]}"; do
        if grep -rqiF -- "${entry#*|}" "$2"; then
            echo "PASS: $1 carries ${entry%%|*}"
        else
            fail "$1 does not carry ${entry%%|*} (\"${entry#*|}\")"
        fi
    done
}
# gpl WHAT FOLDER PLACE: the download holds the GPL's text, or names PLACE,
# where the system it installs on keeps it.
gpl() {
    if grep -rqF -- "${3:-GNU GENERAL PUBLIC LICENSE}" "$2"; then
        echo "PASS: $1 carries the GPL${3:+ as $3}"
    else
        fail "$1 does not carry the GPL${3:+ as $3}"
    fi
}
# guides WHAT FOLDER: the class guide in each language, a page with its
# pictures inside, in FOLDER.
guides() {
    local language page
    for language in en de es fr it nl pt; do
        page="$2/guide.$language.html"
        [ "$language" = en ] && page="$2/guide.html"
        if grep -qF "<html lang=\"$language\">" "$page" 2>/dev/null &&
            grep -qF 'src="data:image/png;base64,' "$page"; then
            echo "PASS: $1 carries the guide in $language"
        else
            fail "$1 does not carry the guide in $language ($(basename "$page"))"
        fi
    done
}
mkdir "$scratch/deb" "$scratch/zip" "$scratch/msi" "$scratch/site" "$scratch/html" "$scratch/guide"
dpkg-deb -x "${debs[0]}" "$scratch/deb"
# As every Debian package does: the copyright file names Debian's copy.
gpl "the .deb" "$scratch/deb/usr/share/doc/glukara/copyright" /usr/share/common-licenses/GPL-3
carries "the .deb" "$scratch/deb/usr/share/doc/glukara"
guides "the .deb" "$scratch/deb/usr/share/doc/glukara"
python3 -m zipfile -e "$dist/glukara-$version-win64.zip" "$scratch/zip"
gpl "the Windows zip" "$scratch/zip"
carries "the Windows zip" "$scratch/zip"
guides "the Windows zip" "$scratch/zip/glukara"
# The package holds the zip's files, the same bytes.
msiextract -C "$scratch/msi" "$dist/glukara-$version-win64.msi" >/dev/null
if diff -r "$scratch/zip/glukara" "$scratch/msi/Glukara" >/dev/null 2>&1; then
    echo "PASS: the Windows Installer package holds the zip's files"
else
    fail "the Windows Installer package does not hold the zip's files: $(cd "$scratch/msi" && find . -type f)"
fi
python3 -m zipfile -e "$dist/glukara-$version-web.zip" "$scratch/site"
gpl "the site" "$scratch/site"
carries "the site" "$scratch/site"
guides "the site" "$scratch/site/glukara-$version-web"
python3 -m zipfile -e "$dist/glukara-$version-guide.zip" "$scratch/guide"
guides "the guide's zip" "$scratch/guide/glukara-$version-guide"
cp "$dist/glukara-$version.html" "$scratch/html/"
gpl "the one-file page" "$scratch/html"
carries "the one-file page" "$scratch/html"

if [ "$failures" -ne 0 ]; then
    echo "FAIL: $failures faults in the release in $dist"
    exit 1
fi
echo "PASS: the release of glukara $version holds its downloads, their source and their licences"
