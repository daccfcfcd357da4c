#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds the core
# and its tests with the address and undefined-behaviour sanitizers and runs those too, and
# last builds the program as a packager would (Release, default generator).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

scripts/build.sh
(cd build && ctest --output-on-failure -j "$jobs")
# The Debian package of that build, what it holds, and lintian's word on it: no error and no
# warning.
(cd build && rm -f tavimrok_*.deb && cpack -G DEB >/dev/null && dpkg-deb --info tavimrok_*.deb && dpkg-deb --contents tavimrok_*.deb &&
  lintian --fail-on error,warning tavimrok_*.deb)

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKZM_WITH_UI=OFF -DKZM_SANITIZE=ON -DKZM_BENCH=OFF -DKZM_WERROR=ON >/dev/null
cmake --build build-sanitize
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs")

# A packager's build: Release (-O3) with CMake's default generator, in a folder of its own.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DKZM_BENCH=OFF -DKZM_WERROR=ON >/dev/null
cmake --build build-release -j "$jobs" --target tavimrok tavimrok-cli
