#!/usr/bin/env bash
# Sets up what is missing, builds with AddressSanitizer and UBSan into build-test/
# and runs every test; then builds the plain layers with ThreadSanitizer into
# build-tsan/ and runs the threaded tests there (engine, intake, recorder, the
# core's refresh). Exits with the first failure.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMAPLOT_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-test -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
(cd build-test && ctest --output-on-failure -j "$(nproc)" "$@")

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMAPLOT_TSAN=ON \
  -DLUMAPLOT_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-tsan -j "$(nproc)" --target test_dmx test_core
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
(cd build-tsan && ctest --output-on-failure -j "$(nproc)" \
  -R '^(ArtnetEngine|ArtnetEngineThread|LevelIntakeTest|HdrRecorderTest|FrameRoadTest|AppCoreTest|DocumentListTest|EngineSettingsTest)\.')
