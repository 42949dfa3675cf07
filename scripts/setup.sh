#!/usr/bin/env bash
# Installs the Debian packages Tervalin needs to build, run and test, when
# any are missing, then configures and builds it in build/ (or $BUILD_DIR).
# Quiet and quick when everything is already there.
#
#   scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    # building
    cmake ninja-build g++ qt6-base-dev qt6-svg-dev dpkg-dev desktop-file-utils
    # the format check
    clang-format-14 git
    # fonts the window asks for, or their metric-compatible stand-ins
    fonts-liberation2 fonts-dejavu-core
    # tests and benchmarks in a real X server, and looking at the window
    xvfb xauth xdotool x11-utils imagemagick python3
    # running as a native Wayland client, and a compositor to test that in
    qt6-wayland weston
    # validating the software-centre entry (AppStream metainfo)
    appstream
    # reading the window as a screen reader does: its own D-Bus session, the
    # accessibility bus, and pyatspi for Debian's /usr/bin/python3
    dbus-daemon at-spi2-core python3-pyatspi
    # the fuzz target and the sanitizer runtime
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build"
