#include "util/FileSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "util/AsciiCase.h"
#include "util/Wildcard.h"

namespace lumaplot {
namespace {

struct Entry {
  std::string name;
  bool folder = false;
};

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool NameBefore(const Entry& a, const Entry& b) {
  const std::string upperA = ToUpperAscii(a.name);
  const std::string upperB = ToUpperAscii(b.name);
  if (upperA != upperB) return upperA < upperB;
  return a.name < b.name;
}

// The regular files and real sub-folders of `folder` in name order.
std::vector<Entry> ListFolder(const std::string& folder, bool withHidden) {
  std::vector<Entry> entries;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return entries;
  const int dirFd = ::dirfd(dir);
  while (const dirent* item = ::readdir(dir)) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    if (name.front() == '.' && !withHidden) continue;
    struct stat st {};
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      // A link counts as the file it points to, never as a folder to descend into.
      if (::fstatat(dirFd, name.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
    }
    if (S_ISDIR(st.st_mode)) {
      entries.push_back({name, true});
    } else if (S_ISREG(st.st_mode)) {
      entries.push_back({name, false});
    }
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(), NameBefore);
  return entries;
}

bool MatchesAny(const std::vector<std::string>& masks, const std::string& name) {
  return std::any_of(masks.begin(), masks.end(), [&](const std::string& mask) {
    return mask == "*.*" || MatchesWildcard(mask, name);
  });
}

std::vector<std::string> MasksOrAll(std::string_view masks) {
  std::vector<std::string> list = SplitMaskList(masks);
  if (list.empty()) list.emplace_back("*.*");
  return list;
}

int AppendMatchingFiles(const std::string& folder, const std::vector<Entry>& entries,
                        const std::vector<std::string>& masks, std::vector<std::string>& list) {
  int count = 0;
  for (const Entry& entry : entries) {
    if (entry.folder || !MatchesAny(masks, entry.name)) continue;
    list.push_back(JoinPath(folder, entry.name));
    ++count;
  }
  return count;
}

}  // namespace

std::string LongPath(const std::string& path) { return path; }

bool DirectoryExistsEx(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(LongPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int SearchFiles(const std::string& folder, std::string_view mask, std::vector<std::string>& list,
                bool recurse, int depth, const std::vector<std::string>& skipMasks, bool withHidden,
                bool /*withSystem*/) {
  if (!DirectoryExistsEx(folder)) return 0;
  const std::string path = LongPath(folder);
  const std::vector<Entry> entries = ListFolder(path, withHidden);
  int count = 0;
  if (recurse && depth > 0) {
    for (const Entry& entry : entries) {
      if (!entry.folder) continue;
      const bool skipped =
          std::any_of(skipMasks.begin(), skipMasks.end(),
                      [&](const std::string& skip) { return MatchesWildcard(skip, entry.name); });
      if (skipped) continue;
      count += SearchFiles(JoinPath(path, entry.name), mask, list, recurse, depth - 1, skipMasks,
                           withHidden, false);
    }
  }
  return count + AppendMatchingFiles(path, entries, MasksOrAll(mask), list);
}

int FindFiles(const std::string& folder, std::string_view masks, std::vector<std::string>& list,
              bool recurse) {
  if (!DirectoryExistsEx(folder)) return 0;
  const std::string path = LongPath(folder);
  const std::vector<Entry> entries = ListFolder(path, true);
  int count = 0;
  if (recurse) {
    for (const Entry& entry : entries) {
      if (entry.folder)
        count += SearchFiles(JoinPath(path, entry.name), masks, list, true, 99, {}, true, true);
    }
  }
  return count + AppendMatchingFiles(path, entries, MasksOrAll(masks), list);
}

}  // namespace lumaplot
