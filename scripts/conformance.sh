#!/usr/bin/env bash
# Runs the conformance tests against Wine: once with the fixed seed and once with a fresh one,
# printed so that a failure can be run again (TOLMAR_CONFORMANCE_SEED=<seed>). Installs Wine and
# the MinGW cross compiler first when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(wine wine64 g++-mingw-w64-x86-64-posix)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake --preset debug >/dev/null
cmake --build --preset debug --target conformance_tests
seed=${TOLMAR_CONFORMANCE_SEED:-$(od -An -N6 -tu8 /dev/urandom | tr -d ' ')}
echo "Conformance: the fixed seed, then the fresh seed $seed"
env -u TOLMAR_CONFORMANCE_SEED ctest --preset debug -L conformance --output-on-failure
TOLMAR_CONFORMANCE_SEED=$seed ctest --preset debug -L conformance --output-on-failure
