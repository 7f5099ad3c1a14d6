#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs into a scratch folder and packages a .deb, then checks what a
# desktop and apt will see, and runs Debian's own package checker on the .deb.
#   install_check.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
root="$scratch/root/usr"
test -x "$root/bin/glukara"
desktop-file-validate "$root/share/applications/org.glukara.Glukara.desktop"
grep -q '<release version="1.00"' "$root/share/metainfo/org.glukara.Glukara.metainfo.xml"
test -f "$root/share/icons/hicolor/scalable/apps/org.glukara.Glukara.svg"
for size in 16 32 48 256; do
    file "$root/share/icons/hicolor/${size}x${size}/apps/org.glukara.Glukara.png" |
        grep -q "PNG image data, $size x $size"
done
# lintian does not compare the changelog with the package's version: a new
# version must not ship with the last version's changelog.
changelog_version="$(zcat "$root/share/doc/glukara/changelog.gz" | dpkg-parsechangelog -l- -SVersion)"
[ "$changelog_version" = 1.00 ] || { echo "FAIL: changelog's latest version is $changelog_version"; exit 1; }
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$root/share/doc/glukara/copyright"
# The class guide in each of the window's languages, each page whole.
for guide in guide guide.de guide.es guide.fr guide.it guide.nl guide.pt; do
    page="$root/share/doc/glukara/$guide.html"
    grep -q '<img alt="[^"]*" src="data:image/png;base64,' "$page" ||
        { echo "FAIL: $page missing, or without its pictures"; exit 1; }
done

(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb="$(ls "$scratch"/deb/glukara_1.00_*.deb)"
dpkg-deb -f "$deb" Version | grep -qx '1.00'
# Dependencies computed from the binary, plus the ones loaded at run time.
depends="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6widgets6 qt6-qpa-plugins fonts-liberation2; do
    case "$depends" in *"$package"*) ;; *) echo "FAIL: $package missing from: $depends"; exit 1 ;; esac
done
# The chart is painted by glukara itself: no chart or OpenGL library comes along.
case "$depends" in *charts* | *libqt6opengl*) echo "FAIL: chart or OpenGL in: $depends"; exit 1 ;; esac
contents="$(dpkg-deb -c "$deb")"
grep -q './usr/bin/glukara$' <<<"$contents"
grep -q './usr/share/applications/org.glukara.Glukara.desktop$' <<<"$contents"
"$(dirname "$0")/package_check.sh" "$deb"
echo "PASS: installed files validate and $(basename "$deb") depends on $depends"
