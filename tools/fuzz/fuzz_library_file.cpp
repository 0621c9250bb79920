// libFuzzer target: the fixture library reader. Every input is read as the bytes of
// LIBRARY.INI, merged into itself, written into a new file's bytes and read again.
// Nothing touches the disk.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/LightLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumaplot;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TLightLib lib;
  bool answer = false;
  lib.OnDuplicateName = [&](const std::string&) { return answer = !answer; };
  const int loaded = lib.LoadFromBytes(input, false);
  if (loaded > kMaxLibItems || lib.Items.Count() > kMaxLibItems) std::abort();
  lib.LoadFromBytes(input, true);
  std::string saved;
  if (!lib.SaveToBytes({}, saved)) std::abort();
  TLightLib reread;
  if (reread.LoadFromBytes(saved, false) != lib.Items.Count()) std::abort();
  return 0;
}
