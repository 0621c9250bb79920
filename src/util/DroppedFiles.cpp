#include "util/DroppedFiles.h"

#include <algorithm>

#include "util/FileIo.h"
#include "util/FileSearch.h"
#include "util/Wildcard.h"

namespace lumaplot {
namespace {

std::vector<std::string> DottedExtensions(std::string_view extensions) {
  std::vector<std::string> result = SplitMaskList(extensions);
  for (std::string& extension : result) {
    if (extension.front() != '.') extension.insert(0, 1, '.');
  }
  return result;
}

// The extension of the file name part, dot included; empty when it has none.
std::string_view ExtensionOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot);
}

void AddOnce(std::vector<std::string>& list, const std::string& path) {
  if (std::find(list.begin(), list.end(), path) == list.end()) list.push_back(path);
}

}  // namespace

void DroppedFiles(const std::vector<std::string>& drop, std::vector<std::string>& list,
                  std::string_view extensions) {
  const std::vector<std::string> dotted = DottedExtensions(extensions);
  for (const std::string& item : drop) {
    if (DirectoryExistsEx(item)) {
      for (const std::string& extension : dotted) {
        std::vector<std::string> found;
        FindFiles(item, "*" + extension, found, true);
        for (const std::string& path : found) AddOnce(list, path);
      }
    } else if (FileExists(item)) {
      const std::string_view extension = ExtensionOf(item);
      const bool matches = std::any_of(dotted.begin(), dotted.end(), [&](const std::string& mask) {
        return MatchesWildcard(mask, extension);
      });
      if (matches) AddOnce(list, item);
    }
  }
}

}  // namespace lumaplot
