#!/bin/sh
# Builds the libFuzzer targets of the stage model (stage file reader, library file
# reader) with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs each
# for the given number of seconds (default 600). Not part of ./test.sh.
#
#   tools/fuzz-stage-model.sh [SECONDS] [TARGET...]
#
# Builds into build-fuzz/ of the repository; corpora and findings stay there.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_stage_file fuzz_library_file"}
out="$here/build-fuzz"
mkdir -p "$out/obj"

flags="-std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -I$here/src"
# The few sources the readers need: util and model without drawing or editing.
sources="util/FileIo.cpp util/TextCodec.cpp util/NumberText.cpp util/IniFile.cpp util/AsciiCase.cpp
         util/ChannelText.cpp model/LibItem.cpp model/LightLib.cpp model/LightCell.cpp
         model/LightList.cpp model/StageData.cpp model/StageFile.cpp"
objects=""
for source in $sources; do
  object="$out/obj/$(echo "$source" | tr / _).o"
  clang++ $flags -c "$here/src/$source" -o "$object"
  objects="$objects $object"
done

for target in $targets; do
  clang++ $flags -fsanitize=fuzzer "$here/tools/fuzz/$target.cpp" $objects -o "$out/$target"
  mkdir -p "$out/corpus-$target"
  # The library reader looks every slot up by name in the whole file, so long inputs
  # are slow under the sanitizers; short ones cover the same code.
  case $target in
    fuzz_stage_file)
      cp "$here"/tests/data/stage/*.dat "$here"/examples/demo.dat "$out/corpus-$target/"
      max_len=65536 ;;
    fuzz_library_file)
      cp "$here"/tests/data/library/*.ini "$here"/examples/LIBRARY.INI "$out/corpus-$target/"
      max_len=8192 ;;
  esac
  (cd "$out" && "./$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
      -artifact_prefix="$out/$target-" "corpus-$target")
done
