// libFuzzer target: the fixture library reader. Every input is read as LIBRARY.INI,
// merged into itself, saved and read again.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/LightLib.h"
#include "util/FileIo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumaplot;
  static const std::string input =
      "/dev/shm/lumaplot-fuzz-" + std::to_string(::getpid()) + "-LIBRARY.INI";
  static const std::string saved = input + ".saved";
  if (!WriteFileAtomically(input, std::string_view(reinterpret_cast<const char*>(data), size))) {
    std::abort();
  }
  TLightLib lib(input);
  bool answer = false;
  lib.OnDuplicateName = [&](const std::string&) { return answer = !answer; };
  const int loaded = lib.LoadFromFile(input, false);
  if (loaded > kMaxLibItems || lib.Items.Count() > kMaxLibItems) std::abort();
  lib.LoadFromFile(input, true);
  ::unlink(saved.c_str());
  if (!lib.SaveToFile(saved)) std::abort();
  TLightLib reread(saved);
  if (reread.LoadFromFile(saved, false) != lib.Items.Count()) std::abort();
  return 0;
}
