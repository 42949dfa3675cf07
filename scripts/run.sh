#!/usr/bin/env bash
# Sets up and builds Tervalin in build/ (or $BUILD_DIR), then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
scripts/setup.sh
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "No display to open the window on; run it in a virtual one: xvfb-run -s '-screen 0 1024x768x24' $build/tervalin" >&2
    exit 1
fi
exec "$build/tervalin"
