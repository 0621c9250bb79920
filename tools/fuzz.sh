#!/bin/sh
# Builds libFuzzer targets of tools/fuzz with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, seeds each corpus and runs each
# target for the given number of seconds (default 600). Not part of ./test.sh.
# The Art-Net engine target sends only to 127.0.0.1.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]     (default: every target)
#
# Corpora and findings stay in build-fuzz/.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
all=$(cd "$here/tools/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//')
targets=${*:-$all}
out="$here/build-fuzz"

CC=clang CXX=clang++ cmake -S "$here" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMAPLOT_FUZZ=ON -DLUMAPLOT_TESTS=OFF -DLUMAPLOT_BENCH=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$out" --target $targets

# Seeds: an ArtDmx for port address 8, an ArtPoll and a short ArtPollReply.
dmx='Art-Net\000\000\120\000\016\001\000\010\000\000\004\001\002\003\004'
poll='Art-Net\000\000\040\000\016\002\000\000\000\000\000'
reply='Art-Net\000\000\041\002\000\000\012\066\031\000\000\000\000\000\002\000\000\000\000Node'

for target in $targets; do
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  max_len=4096
  case $target in
    fuzz_artnet_datagram)
      printf "$dmx" >"$corpus/seed-dmx"; printf "$poll" >"$corpus/seed-poll"
      printf "$reply" >"$corpus/seed-reply" ;;
    fuzz_artnet_engine)  # a length byte before each datagram
      printf "\026$dmx\022$poll\036$reply" >"$corpus/seed-all" ;;
    fuzz_stage_file)
      cp "$here"/tests/data/stage/*.dat "$here"/examples/demo.dat "$corpus/"
      max_len=65536 ;;
    fuzz_library_file)
      cp "$here"/tests/data/library/*.ini "$here"/examples/LIBRARY.INI "$corpus/"
      max_len=8192 ;;
    fuzz_hdr_recording)  # 8 steering bytes, then the file
      max_len=20000 ;;
  esac
  (cd "$out" && "./tools/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" \
      -timeout=10 -artifact_prefix="$out/$target-" "$corpus")
done
