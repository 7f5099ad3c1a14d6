# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by scripts/start and scripts/test: installs what is missing from
# Debian's packages (Debian 13 or 12, by the names both use), then configures
# and builds. Safe to run again.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian's emscripten runs under whichever python3 comes first on PATH. A
# version manager's shim there (pyenv's, on this machine) costs most of a
# second of CPU per compiler call, which over the page's Qt adds up to many
# minutes; Debian's own Python, which its emscripten is made for, adds nothing.
export EMSDK_PYTHON=/usr/bin/python3

# Every package the project installs, in two groups. A script sets `packages`
# to the groups it needs, then calls install_missing_packages.

# Building and running glukara: scripts/start, and everything else.
build_packages=(
    cmake g++ make
    # Qt: the Gui CMake package also wants the xkbcommon headers; Svg only
    # renders the pictures during the build.
    qt6-base-dev qt6-svg-dev libxkbcommon-dev
    qt6-qpa-plugins
    # Translations: lupdate and lrelease with their CMake package, and Qt's own
    # translations for the buttons of its dialogs.
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    # Asking the X11 window manager for the window's frame before it is shown.
    libxcb1-dev pkg-config
    # The class guides' web pages, from their Markdown.
    python3-markdown
    # Liberation Sans has Arial's metrics.
    fonts-liberation2
    # The screenshot without a display: an X server of its own.
    xvfb xauth x11-utils imagemagick
)

# The real Orca screen reader in a desktop session of its own
# (tests/helpers/orca_session.py): the accessibility bus and pyatspi, speech, a window
# manager that activates the window, xdotool for the keys, and gsettings and
# dconf, which turn on the desktop's accessibility.
screen_reader_packages=(
    at-spi2-core python3-pyatspi dbus-daemon
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
    libglib2.0-bin dconf-service dconf-gsettings-backend
    openbox xdotool
)

# The tests besides: scripts/test.
test_packages=(
    # Checking and packaging what gets installed, and the licence headers.
    desktop-file-utils appstream dpkg-dev file lintian reuse
    # libFuzzer for the conversions of typed text.
    clang libclang-rt-dev
    # A dark GTK desktop reaching Qt through its gtk3 platform theme.
    qt6-gtk-platformtheme
    # Driving the program as a screen reader does, over AT-SPI, and with the
    # real screen reader.
    "${screen_reader_packages[@]}"
    # Real desktop parts besides openbox: a panel, and a tool that measures
    # and drives windows as the window manager sees them.
    tint2 wmctrl
    # A Wayland session: weston (headless), XWayland and Qt's Wayland platform.
    weston xwayland qt6-wayland
)

packages=("${build_packages[@]}")

install_missing_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# as_root COMMAND [ARG...]: COMMAND as root, through sudo unless this is root.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# add_debian_source_archive PACKAGE=VERSION: Debian 12's source archive among
# apt's sources, unless apt-get source already finds PACKAGE=VERSION.
add_debian_source_archive() {
    apt-get source --print-uris "$1" >/dev/null 2>&1 && return 0
    echo "Adding Debian 12's source archive to apt's sources"
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        as_root tee /etc/apt/sources.list.d/glukara-deb-src.sources >/dev/null
    as_root apt-get update -qq
}

# toolchain_options DIR TOOLCHAIN: the options, one a line, that configure DIR
# for a cross build with TOOLCHAIN. A build folder keeps including the
# toolchain it was first configured with, so one made with another Qt is
# configured afresh.
toolchain_options() {
    local system
    for system in "$1"/CMakeFiles/*/CMakeSystem.cmake; do
        [ -f "$system" ] && ! grep -qxF "include(\"$2\")" "$system" && echo --fresh && break
    done
    echo "-DCMAKE_TOOLCHAIN_FILE=$2"
}

# configure_tree DIR [cmake options...]
configure_tree() {
    local dir="$1"
    shift
    cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
}

# build_tree DIR [cmake options...]: configures DIR and builds everything.
build_tree() {
    configure_tree "$@"
    cmake --build "$root/$1" -j"$(nproc)"
}

# Releasing: scripts/release and the tests of what it makes. Debian's source
# packages are fetched with apt-get source (dpkg-dev), SHA256SUMS is signed
# with gpg; msitools' msiextract unpacks the Windows Installer package.
release_packages=(dpkg-dev file gnupg msitools)

# The hash of scripts/build-qt-wasm, with which it stamps the Qt it builds
# (PREFIX/glukara-qt-recipe).
page_qt_recipe() {
    sha256sum "$root/scripts/build-qt-wasm" | cut -d' ' -f1
}

# page_qt_is_current PREFIX: whether this tree's scripts/build-qt-wasm built
# the Qt at PREFIX. The page's size and its tests' screenshots hold for that
# recipe's Qt only.
page_qt_is_current() {
    [ "$(cat "$1/glukara-qt-recipe" 2>/dev/null || true)" = "$(page_qt_recipe)" ]
}

# Qt's CMake reads emscripten's version from an emsdk-shaped folder; Debian's
# emscripten lives in /usr. For scripts/build-web and the release's tests.
use_debian_emscripten() {
    local emsdk="${XDG_CACHE_HOME:-$HOME/.cache}/glukara/emsdk"
    mkdir -p "$emsdk/upstream/emscripten"
    echo "EMSCRIPTEN_ROOT = 'upstream/emscripten'" >"$emsdk/.emscripten"
    ln -sfn /usr/bin/emcc "$emsdk/upstream/emscripten/emcc"
    ln -sfn /usr/bin/em++ "$emsdk/upstream/emscripten/em++"
    ln -sfn /usr/share/emscripten/cmake "$emsdk/upstream/emscripten/cmake"
    # Lets emscripten's own toolchain file find the compiler through that
    # folder, and a node other than Debian's find Debian's acorn for the
    # optimizer.
    export EMSDK="$emsdk" EMSCRIPTEN=/usr/share/emscripten NODE_PATH=/usr/share/nodejs
}
