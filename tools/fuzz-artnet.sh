#!/bin/sh
# Builds the libFuzzer targets of the Art-Net engine (datagram parsers; the engine
# fed over 127.0.0.1) with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each for the given number of seconds (default 600). Not part of
# ./test.sh. Network traffic stays on 127.0.0.1.
#
#   tools/fuzz-artnet.sh [SECONDS] [TARGET...]
#
# Builds into build-fuzz/ of the repository; corpora and findings stay there.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_artnet_datagram fuzz_artnet_engine"}
out="$here/build-fuzz"
mkdir -p "$out/obj-artnet"

flags="-std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -I$here/src"
sources="dmx/ArtnetPackets.cpp dmx/ArtnetThread.cpp dmx/NetInterfaces.cpp dmx/PortAddress.cpp
         dmx/UdpSocket.cpp util/TextCodec.cpp util/FileIo.cpp"
objects=""
for source in $sources; do
  object="$out/obj-artnet/$(echo "$source" | tr / _).o"
  clang++ $flags -c "$here/src/$source" -o "$object"
  objects="$objects $object"
done

for target in $targets; do
  clang++ $flags -fsanitize=fuzzer "$here/tools/fuzz/$target.cpp" $objects -o "$out/$target"
  corpus="$out/corpus-$target"
  mkdir -p "$corpus"
  # Seeds: an ArtDmx for port address 8, an ArtPoll and a short ArtPollReply.
  dmx='Art-Net\000\000\120\000\016\001\000\010\000\000\004\001\002\003\004'
  poll='Art-Net\000\000\040\000\016\002\000\000\000\000\000'
  reply='Art-Net\000\000\041\002\000\000\012\066\031\000\000\000\000\000\002\000\000\000\000Node'
  case $target in
    fuzz_artnet_datagram)
      printf "$dmx" >"$corpus/seed-dmx"; printf "$poll" >"$corpus/seed-poll"
      printf "$reply" >"$corpus/seed-reply" ;;
    fuzz_artnet_engine)  # a length byte before each datagram
      printf "\026$dmx\022$poll\036$reply" >"$corpus/seed-all" ;;
  esac
  (cd "$out" && "./$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
      -artifact_prefix="$out/$target-" "$corpus")
done
