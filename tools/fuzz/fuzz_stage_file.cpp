// libFuzzer target: the stage file reader (files on /dev/shm, so saving costs no disk). Every input
// is read as a stage file; the plot read is written and read again, and must come back the same
// (what the writer puts out, the reader takes back).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/StageFile.h"
#include "util/FileIo.h"
#include "util/TextCodec.h"

namespace {

std::string TempPath(const char* name) {
  return "/dev/shm/lumaplot-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumaplot;
  static const std::string input = TempPath("input.dat");
  static const std::string again = TempPath("again.dat");
  static TLightLib library = [] {
    TLightLib lib;
    TLibItem led = DefaultLibItem();
    led.Name = "LED";
    lib.Items.Add(led);
    return lib;
  }();

  if (!WriteFileAtomically(input, std::string_view(reinterpret_cast<const char*>(data), size))) {
    std::abort();
  }
  TStageData doc;
  int questions = 0;
  doc.OnMissingType = [&](const std::string& name) {
    return ++questions % 2 ? std::string("LED") : name;
  };
  TStageReadContext context;
  context.Library = &library;
  if (!LoadStage(doc, input, context)) return 0;

  const std::vector<std::string> first = StageFileLines(doc);
  doc.FileName = again;
  if (!SaveStage(doc, true)) std::abort();
  TStageData reread;
  reread.OnMissingType = [](const std::string& name) { return name; };
  if (!LoadStage(reread, again, context)) std::abort();
  if (StageFileLines(reread) != first) std::abort();
  return 0;
}
