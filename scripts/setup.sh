#!/usr/bin/env bash
# Installs the Debian packages Tervalin needs, when any are missing, then
# configures and builds it in build/ (or $BUILD_DIR). Quiet and quick when
# everything is already there.
#
#   scripts/setup.sh [--test] [extra cmake arguments]
#
# Alone, it installs what building and running the program needs, and a
# new build folder gets no tests. With --test it adds the tools of the test
# suite, the format check, the fuzzer and the package checks, and the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    # building
    cmake ninja-build g++ qt6-base-dev qt6-svg-dev
    # running as a native Wayland client
    qt6-wayland
    # fonts the window asks for, or their metric-compatible stand-ins
    fonts-liberation2 fonts-dejavu-core
)
test_packages=(
    # the format check and the layering check
    clang-format-14 git python3
    # tests and benchmarks in a real X server, and looking at the window
    xvfb xauth xdotool x11-utils imagemagick
    # a Wayland compositor to test the native client in
    weston
    # reading the window as a screen reader does: its own D-Bus session, the
    # accessibility bus, and pyatspi for Debian's /usr/bin/python3
    dbus-daemon at-spi2-core python3-pyatspi
    # the fuzz target and the sanitizer runtime
    clang libclang-rt-14-dev
    # the package checks: the .deb (cpack needs dpkg-shlibdeps and file),
    # Debian's package checker, the desktop and software-centre entries
    dpkg-dev file lintian desktop-file-utils appstream
)

testing=false
if [[ ${1:-} == --test ]]; then
    testing=true
    packages+=("${test_packages[@]}")
    shift
fi

scripts/install-packages.sh "${packages[@]}"

build=${BUILD_DIR:-build}
configure=(-DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo})
if $testing; then
    configure+=(-DBUILD_TESTING=ON)
elif [[ ! -f $build/CMakeCache.txt ]]; then
    # A folder set up for running builds no tests, which take most of the
    # build time; the test command turns them on.
    configure+=(-DBUILD_TESTING=OFF)
fi
cmake -S . -B "$build" -G Ninja "${configure[@]}" "$@" >/dev/null
cmake --build "$build"
