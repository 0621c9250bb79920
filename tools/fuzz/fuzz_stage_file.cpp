// libFuzzer target: the stage file reader. Every input is read as the bytes of a
// stage file; the plot read is written into bytes and read again, and must come back
// the same (what the writer puts out, the reader takes back). Nothing touches the
// disk.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/StageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumaplot;
  static TLightLib library = [] {
    TLightLib lib;
    TLibItem led = DefaultLibItem();
    led.Name = "LED";
    lib.Items.Add(led);
    return lib;
  }();

  TStageData doc;
  int questions = 0;
  doc.OnMissingType = [&](const std::string& name) {
    return ++questions % 2 ? std::string("LED") : name;
  };
  TStageReadContext context;
  context.Library = &library;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (!LoadStageFromBytes(doc, input, context)) return 0;

  const std::vector<std::string> first = StageFileLines(doc);
  std::string saved;
  if (!SaveStageToBytes(doc, true, saved)) std::abort();
  TStageData reread;
  reread.OnMissingType = [](const std::string& name) { return name; };
  if (!LoadStageFromBytes(reread, saved, context)) std::abort();
  if (StageFileLines(reread) != first) std::abort();
  return 0;
}
