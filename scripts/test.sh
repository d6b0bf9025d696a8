#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset debug >/dev/null
cmake --build --preset debug
QT_QPA_PLATFORM=offscreen ctest --preset debug -j "$(nproc)"
