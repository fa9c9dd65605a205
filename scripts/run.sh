#!/usr/bin/env bash
# Builds the tester and opens it on the software board. To use the board
# maker's own library instead, put the folder that holds it first on
# LD_LIBRARY_PATH and start build/release/console/watchdog-tester directly.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DWDT_BUILD_TESTS=OFF
cmake --build build/release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on: set DISPLAY, or run this under xvfb-run." >&2
    exit 1
fi
export LD_LIBRARY_PATH="$PWD/build/release/softboard${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
exec build/release/console/watchdog-tester
