#include "util/VersionText.h"

#include <sys/stat.h>

#include "util/Version.h"

namespace lumaplot {
namespace {

bool IsRunningExecutable(const std::string& fileName) {
  struct stat self {};
  struct stat other {};
  return ::stat("/proc/self/exe", &self) == 0 && ::stat(fileName.c_str(), &other) == 0 &&
         self.st_dev == other.st_dev && self.st_ino == other.st_ino;
}

}  // namespace

std::string VersionText(const std::string& fileName) {
  if (!fileName.empty() && !IsRunningExecutable(fileName)) return {};
  return std::to_string(LUMAPLOT_VERSION_MAJOR) + "." + std::to_string(LUMAPLOT_VERSION_MINOR) +
         "." + std::to_string(LUMAPLOT_VERSION_PATCH) + ".0";
}

}  // namespace lumaplot
