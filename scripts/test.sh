#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset debug >/dev/null
cmake --build --preset debug
# The conformance tests need Wine and run apart (scripts/conformance.sh); the slow ones run in CI.
QT_QPA_PLATFORM=offscreen ctest --preset debug -j "$(nproc)" -LE 'conformance|slow'
