#!/usr/bin/env bash
# Installs what building and running Tervalin needs (no test tool), builds
# the program in build/ (or $BUILD_DIR), then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
scripts/setup.sh
# Without a display the program says so itself, in one line, and how to run
# it under xvfb-run.
exec "$build/tervalin"
