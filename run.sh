#!/usr/bin/env bash
# Sets up what is missing, builds Release into build/ and starts Lumaplot.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMAPLOT_TESTS=OFF -DLUMAPLOT_BENCH=OFF >/dev/null
cmake --build build -j "$(nproc)"
# The program folder holds the settings, LIBRARY.INI and HdrData/; give it the
# starter library and demo plot on a first run.
# Nothing the user already has there is replaced. The demo plot opens at the first
# start because a new settings file names it as the last plot.
home="${LUMAPLOT_HOME:-build}"
mkdir -p "$home"
for f in examples/*; do
  [ -e "$f" ] || continue
  [ -e "$home/$(basename "$f")" ] || cp -r "$f" "$home/"
done
[ -e "$home/lumaplot.INI" ] || printf '[General]\r\nLastFile1=demo.dat\r\n' > "$home/lumaplot.INI"
exec ./build/lumaplot "$@"
