#!/usr/bin/env bash
# Sets up, builds and starts Tolmar on its default machine (see README: "The machine").
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target tolmar
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a ./build/release/app/tolmar "$@"
fi
exec ./build/release/app/tolmar "$@"
