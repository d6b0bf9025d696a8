#!/usr/bin/env bash
# Builds the release and its Debian package: build/release/tolmar_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release -DTOLMAR_TESTS=OFF >/dev/null
cmake --build --preset release
(cd build/release && cpack -G DEB)
