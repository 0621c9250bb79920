#!/usr/bin/env bash
# Sets up what is missing, builds with AddressSanitizer and UBSan into build-test/,
# and runs every test. Exits with ctest's result.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMAPLOT_SANITIZE=ON >/dev/null
cmake --build build-test -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
cd build-test
ctest --output-on-failure -j "$(nproc)" "$@"
