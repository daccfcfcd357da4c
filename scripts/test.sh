#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds the core
# and its tests with the address and undefined-behaviour sanitizers and runs those too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

scripts/build.sh
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKZM_WITH_UI=OFF -DKZM_SANITIZE=ON -DKZM_BENCH=OFF >/dev/null
cmake --build build-sanitize
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")
