#!/usr/bin/env bash
# Cross-builds Tervalin for 64-bit Windows: one tervalin.exe that needs no DLL
# beside it, tervalin-<version>-windows-x64.zip and the Windows Installer
# package tervalin-<version>-windows-x64.msi, in build-windows/ (or
# $WINDOWS_BUILD_DIR). Quiet and quick when everything is already there.
#
#   scripts/windows.sh [--test [ctest arguments]]
#
# It installs the MinGW-w64 cross compiler and Wine when missing, and the
# first time builds a static Qt 6.4.2 for Windows from Qt's own sources into
# a cache outside the tree (about an hour on two cores; later runs reuse it):
#   TERVALIN_QT_CACHE    where built Qt goes
#                        (default ${XDG_CACHE_HOME:-~/.cache}/tervalin)
#   TERVALIN_QT_SOURCES  a folder of Qt source archives
#                        (qtbase-everywhere-src-6.4.2.tar.xz and
#                        qtsvg-everywhere-src-6.4.2.tar.xz); what it lacks
#                        comes from Debian's source packages. Default: the
#                        folder qt-sources beside ../shared of this checkout,
#                        when there is one.
# With --test it also builds the test suite and runs it under Wine in
# Xvfb (extra arguments go to ctest): the unit and widget tests on Qt's
# offscreen platform, and the end-to-end tests, which drive tervalin.exe in
# X servers of their own.
# With --cached-qt it only prints where the built Qt is or would be, and
# exits with status 1 while it is not built.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

testing=false
case ${1:-} in
--test) testing=true; shift ;;
--cached-qt) cached_qt_only=true ;;
esac

# --- Qt 6.4.2, static, for x86_64-w64-mingw32 -------------------------------
qt_version=6.4.2
toolchain=$repo/cmake/mingw-w64.cmake
# Only what the program and its tests use: Widgets, Test and Svg, the windows,
# offscreen and minimal platforms, PNG pictures. Debian's qtbase tarball
# lacks src/3rdparty/wintab, hence no tablet events. (Direct2D stays: Qt 6.4
# builds its DirectWrite font database only with it.)
qt_options=(
    -xplatform win32-g++ -static -release -nomake examples -nomake tests
    -no-opengl -no-dbus -qt-zlib -qt-libpng -no-libjpeg -no-gif -no-ico -qt-pcre -qt-harfbuzz
    -qt-freetype -no-feature-sql -no-feature-network -no-feature-printsupport
    -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
)
# A change of options or toolchain names a new folder, and so a new build.
qt_key=$( (printf '%s\n' "$qt_version" "${qt_options[@]}"; cat "$toolchain") | sha256sum | cut -c1-10)
cache=${TERVALIN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tervalin}
qt=$cache/qt-$qt_version-mingw-w64-static-$qt_key
sources=${TERVALIN_QT_SOURCES:-$repo/../shared/qt-sources}
built() { [[ -x $qt/bin/qt-cmake && -f $qt/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake && -f $qt/licenses/THIRD-PARTY-NOTICES.txt ]]; }
if [[ ${cached_qt_only:-} ]]; then
    echo "$qt"
    built
    exit
fi

packages=(
    # the cross compiler, and the host tools Qt's cross build runs
    g++-mingw-w64-x86-64-posix mingw-w64-tools cmake ninja-build qt6-base-dev
    # Qt's sources: apt-get source and unpacking them
    dpkg-dev xz-utils python3
    # running what was built; Wine's own fonts draw its title bars and
    # close boxes
    wine wine64 fonts-wine
    # the MSI: wixl, and msitools' library for Debian's Python
    wixl gir1.2-libmsi-1.0 python3-gi
)
$testing && packages+=(
    # the tests' X server, driving and looking at the window
    xvfb xauth xdotool x11-utils imagemagick xclip
    # reading the packages
    msitools unzip
    # fonts the window asks for, or their metric-compatible stand-ins, which
    # the tests' Wine finds through the host's fontconfig
    fonts-liberation2 fonts-dejavu-core
)
scripts/install-packages.sh "${packages[@]}"

. scripts/qt-source.sh

build_qt() {
    local work=$cache/qt-build-$qt_key start=$SECONDS
    echo "Building Qt $qt_version for Windows in $qt (about an hour the first time)"
    rm -rf "$work" "$qt"
    unpack_qt_sources "$work"
    mkdir -p "$work/qtbase" "$work/qtsvg"
    (cd "$work/qtbase" &&
        "$work/src/qtbase/configure" -prefix "$qt" -qt-host-path /usr "${qt_options[@]}" -- \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 &&
        cmake --build . >build.log 2>&1 && cmake --install . >install.log 2>&1) ||
        { echo "Qt's qtbase failed to build; see $work/qtbase/*.log" >&2; exit 1; }
    (cd "$work/qtsvg" &&
        "$qt/bin/qt-configure-module" "$work/src/qtsvg" >configure.log 2>&1 &&
        cmake --build . >build.log 2>&1 && cmake --install . >install.log 2>&1) ||
        { echo "Qt's qtsvg failed to build; see $work/qtsvg/*.log" >&2; exit 1; }
    # The licence notices of what this Qt puts into a program, while its
    # sources are at hand.
    python3 packaging/qt-notices.py windows "$work/src/qtbase" "$work/src/qtsvg" \
        "${qt_options[*]}" "$qt/licenses"
    rm -rf "$work"
    echo "Qt built in $(((SECONDS - start) / 60)) min"
}
built || build_qt

# --- tervalin.exe and the ZIP -----------------------------------------------
build=${WINDOWS_BUILD_DIR:-build-windows}
# qt-cmake chains to the toolchain file Qt was built with; this checkout's
# copy is the same file (its hash names the Qt folder).
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DBUILD_TESTING=$($testing && echo ON || echo OFF) \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$repo/scripts/wine-run.sh" >/dev/null
cmake --build "$build"
# Both packages from one staging of the files (cmake/windows.cmake); cpack's
# own record of that staging is of no use here.
(cd "$build" && cpack >/dev/null && rm -f tervalin-*-windows-x64.json)
echo "Windows: $build/tervalin.exe," "$build"/tervalin-*-windows-x64.{zip,msi}

if $testing; then
    # The unit and widget tests share one X server and the build's Wine
    # prefix; each end-to-end test starts an X server and a prefix of its own.
    WINEPREFIX=$PWD/$build/wine-prefix scripts/wine-run.sh
    cd "$build"
    xvfb-run -a -s "-screen 0 1024x768x24" \
        ctest --output-on-failure -j "${TEST_JOBS:-2}" "$@"
fi
