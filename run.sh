#!/usr/bin/env bash
# Sets up what is missing, builds Release into build/ and starts Lumaplot.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMAPLOT_TESTS=OFF -DLUMAPLOT_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)"
# The program folder holds the settings, LIBRARY.INI and HdrData/; give it the
# starter library and demo plot on a first run.
for f in examples/*; do
  [ -e "$f" ] || continue
  [ -e "build/$(basename "$f")" ] || cp -r "$f" build/
done
exec ./build/lumaplot "$@"
