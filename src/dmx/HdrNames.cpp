#include "dmx/HdrNames.h"

#include <cstdio>
#include <ctime>

#include "dmx/HdrRecorder.h"

namespace lumaplot {

std::string RecordingFileName(const std::string& folder,
                              std::chrono::system_clock::time_point moment,
                              const std::function<bool(const std::string&)>& exists) {
  const std::time_t seconds =
      std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(moment));
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d_%H%M%S", &local);
  const std::string base = folder + stamp;
  std::string name = base + ".dat";
  // Bounded, so a folder that claims every name cannot hold the window up.
  for (int n = 2; n < 1000 && exists && exists(name); ++n) {
    name = base + "_" + std::to_string(n) + ".dat";
  }
  return name;
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RecordingCaption(const std::string& fileName, const HdrHeader* header,
                             const THdrRecorder& recorder) {
  std::string caption = "HDR [" + FileNamePart(fileName);
  if (header == nullptr) return caption + "]";
  char size[24];
  std::snprintf(size, sizeof size, " (%uch. ", static_cast<unsigned>(header->FrameSize()));
  return caption + size + recorder.TimeText(header->FrameCount()) + ")]";
}

}  // namespace lumaplot
