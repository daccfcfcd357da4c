#!/usr/bin/env bash
# Configures and builds the program, its tools, tests and benchmarks in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZM_WERROR=ON "$@" >/dev/null
cmake --build build
