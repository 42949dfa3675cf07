#!/usr/bin/env bash
# Builds Tervalin as a web page with Qt for WebAssembly: tervalin.html and the
# files it loads, and tervalin-<version>-web.zip, in build-web/ (or
# $WEB_BUILD_DIR). Quiet and quick when everything is already there.
#
#   scripts/web.sh [--test [ctest arguments]]
#
# It installs Debian's Emscripten when missing, and the first time builds a
# static Qt 6.4.2 for WebAssembly (with asyncify, so that a wait can run
# inside a browser's event handler) from the same sources as
# scripts/windows.sh, into the same cache (about 25 minutes on two cores;
# later runs reuse it):
#   TERVALIN_QT_CACHE    where built Qt goes
#                        (default ${XDG_CACHE_HOME:-~/.cache}/tervalin)
#   TERVALIN_QT_SOURCES  a folder of Qt source archives, as for windows.sh
# With --test it also builds the test suite and runs it: the unit tests
# under Node, and the end-to-end tests in headless Chromium, which load the
# page from a server of their own on 127.0.0.1.
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

# --- Qt 6.4.2, static, for WebAssembly ---------------------------------------
qt_version=6.4.2
emscripten_cmake=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
# Only what the program and its tests use: Widgets, Test and Svg, PNG
# pictures. OpenGL stays: Qt 6.4's WebAssembly platform composes its windows
# through WebGL. Optimised for size (-Os instead of -O3): every visitor
# downloads the program.
qt_options=(
    -platform wasm-emscripten -static -release -optimize-size -nomake examples -nomake tests
    -device-option QT_EMSCRIPTEN_ASYNCIFY=1
    -no-libjpeg -no-gif -no-ico -no-feature-sql -no-feature-network -no-feature-printsupport
    -no-feature-concurrent -no-feature-dbus -no-feature-xml
)
# A change of options or toolchain names a new folder, and so a new build.
qt_toolchain="Debian 12's emscripten 3.1.6 and binaryen 108"
qt_key=$( (printf '%s\n' "$qt_version" "${qt_options[@]}" "$qt_toolchain") | sha256sum | cut -c1-10)
cache=${TERVALIN_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tervalin}
qt=$cache/qt-$qt_version-wasm-asyncify-$qt_key
sources=${TERVALIN_QT_SOURCES:-$repo/../shared/qt-sources}
qt_built() { [[ -x $qt/bin/qt-cmake && -f $qt/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake ]]; }
notices_written() { [[ -f $qt/licenses/THIRD-PARTY-NOTICES.txt ]]; }
built() { qt_built && notices_written; }
if [[ ${cached_qt_only:-} ]]; then
    echo "$qt"
    built
    exit
fi

packages=(
    # the compiler, and the host tools Qt's cross build runs
    emscripten binaryen cmake ninja-build qt6-base-dev
    # Qt's sources: apt-get source and unpacking them
    dpkg-dev xz-utils python3
    # the fonts the page carries
    fonts-liberation2 fonts-dejavu-core
    # the zip
    zip
)
$testing && packages+=(
    # the browser, and reading the message boxes' texts off the screen
    chromium tesseract-ocr tesseract-ocr-rus
)
scripts/install-packages.sh "${packages[@]}"
# The tests' browser driver speaks the DevTools protocol through the
# WebSocket that Node has built in from 20.10 (Debian 12's own is 18).
if $testing && ! node -e 'const [a, b] = process.versions.node.split(".").map(Number);
                          process.exit(a > 20 || (a == 20 && b >= 10) ? 0 : 1)'; then
    echo "The page's tests need Node 20.10 or later; this is Node $(node --version)." >&2
    exit 1
fi

# emcc's JavaScript steps need Debian's Node modules (acorn), which a Node
# that is not Debian's does not look for.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Qt's configure looks for Emscripten in an "SDK" folder: Debian's, as links.
export EMSDK=$qt/emsdk
make_emsdk() {
    mkdir -p "$EMSDK/em"
    echo "EMSCRIPTEN_ROOT = 'em'" >"$EMSDK/.emscripten"
    for tool in emcc em++ emar emranlib em-config; do
        ln -sf "/usr/bin/$tool" "$EMSDK/em/$tool"
    done
}

. scripts/qt-source.sh

build_qt() {
    local work=$cache/qt-build-wasm-$qt_key start=$SECONDS
    echo "Building Qt $qt_version for WebAssembly in $qt (about 25 minutes the first time)"
    rm -rf "$work" "$qt"
    make_emsdk
    unpack_qt_sources "$work"
    mkdir -p "$work/qtbase" "$work/qtsvg"
    (cd "$work/qtbase" &&
        "$work/src/qtbase/configure" -prefix "$qt" -qt-host-path /usr "${qt_options[@]}" -- \
            -DCMAKE_TOOLCHAIN_FILE="$emscripten_cmake" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 &&
        cmake --build . >build.log 2>&1 && cmake --install . >install.log 2>&1) ||
        { echo "Qt's qtbase failed to build; see $work/qtbase/*.log" >&2; exit 1; }
    (cd "$work/qtsvg" &&
        "$qt/bin/qt-configure-module" "$work/src/qtsvg" -- \
            -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_cmake" >configure.log 2>&1 &&
        cmake --build . >build.log 2>&1 && cmake --install . >install.log 2>&1) ||
        { echo "Qt's qtsvg failed to build; see $work/qtsvg/*.log" >&2; exit 1; }
    rm -rf "$work"
    echo "Qt built in $(((SECONDS - start) / 60)) min"
}

# The licence notices of what this Qt puts into a program, from its sources.
write_notices() {
    local work=$cache/qt-notices-wasm-$qt_key
    rm -rf "$work"
    unpack_qt_sources "$work"
    python3 packaging/qt-notices.py web "$work/src/qtbase" "$work/src/qtsvg" \
        "${qt_options[*]}" "$qt/licenses"
    rm -rf "$work"
}
qt_built || build_qt
notices_written || write_notices

# --- the page and the ZIP ----------------------------------------------------
build=${WEB_BUILD_DIR:-build-web}
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_cmake" -DBUILD_TESTING=$($testing && echo ON || echo OFF) \
    -DCMAKE_CROSSCOMPILING_EMULATOR="node;$repo/scripts/node-run.js" >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G ZIP >/dev/null)
echo "Web: $build/tervalin.html and $(ls "$build"/tervalin-*-web.zip)"

if $testing; then
    cd "$build"
    ctest --output-on-failure -j "${TEST_JOBS:-2}" "$@"
fi
