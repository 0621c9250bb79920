#include "core/RecoveryStore.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "model/StageFile.h"
#include "util/FileIo.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

namespace fs = std::filesystem;

constexpr char kSection[] = "Recovery";
constexpr char kPrefix[] = "recovery-";
constexpr char kExtension[] = ".dat";

bool IsCopyName(const std::string& name) {
  return name.rfind(kPrefix, 0) == 0 && name.size() > sizeof kPrefix + 3 &&
         name.compare(name.size() - 4, 4, kExtension) == 0;
}

// The section a copy carries after the stage file's own: the plot it stands for.
// The stage reader passes over sections it does not know.
std::string RecoverySection(const TStageData& doc) {
  IniFile section;
  section.WriteString(kSection, "FileName", doc.FileName);
  section.WriteString(kSection, "Title", doc.Title);
  return section.ToText();
}

}  // namespace

TRecoveryStore::TRecoveryStore(std::string programFolder)
    : folder_(std::move(programFolder) + "/Recovery") {}

bool TRecoveryStore::Update(const TDocumentList& documents, std::string* error) {
  bool written = true;
  std::set<const TStageData*> open;
  for (int i = 0; i < documents.Count(); ++i) {
    TStageData* doc = documents.At(i);
    open.insert(doc);
    if (!doc->Modified) {
      Forget(doc);
      continue;
    }
    auto found = copies_.find(doc);
    const std::string path = found != copies_.end() ? found->second : NewCopyPath();
    std::string reason;
    if (!WriteCopy(*doc, path, &reason)) {
      if (written && error) *error = reason;
      written = false;
      continue;
    }
    copies_[doc] = path;
  }
  for (auto it = copies_.begin(); it != copies_.end();) {
    if (open.count(it->first)) {
      ++it;
      continue;
    }
    Discard(it->second);
    it = copies_.erase(it);
  }
  return written;
}

bool TRecoveryStore::WriteCopy(const TStageData& doc, const std::string& path,
                               std::string* error) const {
  std::error_code ignored;
  fs::create_directories(folder_, ignored);
  // Saving sorts the objects into drawing order, which a document keeps anyway.
  std::string bytes;
  if (!SaveStageToBytes(const_cast<TStageData&>(doc), true, bytes, error)) return false;
  bytes += RecoverySection(doc);
  return WriteFileAtomically(path, bytes, error);
}

void TRecoveryStore::Forget(const TStageData* doc) {
  const auto found = copies_.find(doc);
  if (found == copies_.end()) return;
  Discard(found->second);
  copies_.erase(found);
}

void TRecoveryStore::ForgetAll() {
  for (const auto& [doc, path] : copies_) Discard(path);
  copies_.clear();
}

std::vector<TRecoveryStore::TCopy> TRecoveryStore::Found() const {
  std::vector<TCopy> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder_, ec)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file(ec) || !IsCopyName(name)) continue;
    const std::string path = entry.path().string();
    const bool owned = std::any_of(copies_.begin(), copies_.end(),
                                   [&path](const auto& copy) { return copy.second == path; });
    if (owned) continue;
    std::string bytes;
    if (!ReadFileBytes(path, bytes, nullptr, kMaxStageFileBytes)) continue;
    IniFile copy;
    copy.LoadFromBytes(bytes);
    found.push_back(
        {path, copy.ReadString(kSection, "FileName", ""), copy.ReadString(kSection, "Title", "")});
  }
  std::sort(found.begin(), found.end(),
            [](const TCopy& a, const TCopy& b) { return a.Path < b.Path; });
  return found;
}

void TRecoveryStore::Adopt(const TStageData* doc, const std::string& copy) { copies_[doc] = copy; }

void TRecoveryStore::Discard(const std::string& copy) {
  std::error_code ignored;
  fs::remove(copy, ignored);
}

std::string TRecoveryStore::NewCopyPath() {
  // A name no copy has, on disk or of this run: copies an earlier run left stay
  // until the user has answered about them.
  for (int n = 1;; ++n) {
    const std::string path = folder_ + "/" + kPrefix + std::to_string(n) + kExtension;
    const bool taken = std::any_of(copies_.begin(), copies_.end(),
                                   [&path](const auto& copy) { return copy.second == path; });
    std::error_code ec;
    if (!taken && !fs::exists(path, ec)) return path;
  }
}

}  // namespace lumaplot
