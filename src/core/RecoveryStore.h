#pragma once
// TRecoveryStore: copies of plots with unsaved changes, kept in the folder
// "Recovery" of the program folder, so that a crash, a kill or a logout loses at most
// the changes since the last copy. A copy is a stage file (UTF-8) with one more
// section naming the file it stands for; it is never written over the user's file.
//
// Each open document has at most one copy. Update writes the copy of every modified
// document and removes the copies of documents that are saved or gone; Forget
// removes one document's copy (saved, or closed without saving). At the next start
// Found lists what an earlier run left behind.
//
// Writing goes through the atomic save; a copy that cannot be written is skipped (the
// user's plot is untouched either way). GUI thread only.
#include <map>
#include <string>
#include <vector>

#include "core/DocumentList.h"

namespace lumaplot {

class TRecoveryStore {
 public:
  // A copy left by an earlier run.
  struct TCopy {
    std::string Path;      // the copy itself
    std::string FileName;  // the plot it stands for; empty for an untitled one
    std::string Title;
  };

  explicit TRecoveryStore(std::string programFolder);

  const std::string& Folder() const { return folder_; }

  // Writes a copy of every document of `documents` that is `Modified`, and removes
  // the copies of the others and of documents no longer open. False with the reason
  // of the first copy that could not be written.
  bool Update(const TDocumentList& documents, std::string* error = nullptr);
  // Removes the copy of `doc`, if it has one.
  void Forget(const TStageData* doc);
  // Removes every copy this run wrote.
  void ForgetAll();

  // The copies in the folder that no document of this run owns, oldest name first.
  std::vector<TCopy> Found() const;
  // From now on `copy` is the copy of `doc` (a restored plot keeps its copy until
  // the next Update rewrites it).
  void Adopt(const TStageData* doc, const std::string& copy);
  // Removes a copy that was found and is not wanted.
  static void Discard(const std::string& copy);

 private:
  std::string NewCopyPath();
  bool WriteCopy(const TStageData& doc, const std::string& path, std::string* error) const;

  std::string folder_;
  std::map<const TStageData*, std::string> copies_;
};

}  // namespace lumaplot
