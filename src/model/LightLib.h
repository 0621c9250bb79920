#pragma once
// The fixture library: the program's one collection of fixture types, kept in the
// file LIBRARY.INI (code page 932, sections "Define001" … "Define200").
//
// TLibList holds the types in insertion order. It owns each entry (allocated singly,
// so a pointer to an entry stays valid until that entry is deleted) and never holds
// more than kMaxLibItems entries: Add refuses a 201st type, so nothing in memory can
// be lost by the file's limit. TLightLib holds the file path and the list.
//
// GUI thread only; no locking. Bad file content never fails a load: every key has
// its default. Errors are reported as a return value and an optional reason.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/LibItem.h"

namespace lumaplot {

inline constexpr int kMaxLibItems = 200;

class TLibList {
 public:
  TLibList() { items_.reserve(kMaxLibItems); }

  int Count() const { return static_cast<int>(items_.size()); }
  bool IsFull() const { return Count() >= kMaxLibItems; }
  // Entry `index` (0 <= index < Count()).
  TLibItem& operator[](int index) { return *items_[static_cast<size_t>(index)]; }
  const TLibItem& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }

  // Appends a copy of `item`; nullptr (nothing added) when the list is full.
  TLibItem* Add(const TLibItem& item);
  // Frees entry `index` and removes it; indexes out of range are ignored.
  void Delete(int index);
  // Frees every entry.
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TLibItem>> items_;
};

// A full library file is about 30 KB; larger files are refused rather than read, and
// the writer never writes a larger one.
inline constexpr std::size_t kMaxLibraryFileBytes = 1024u * 1024u;

// Results of TLightLib::LoadFromFile besides counts.
inline constexpr int kLibLimitReached = -1;  // 200 types held before the file was read to its end
inline constexpr int kLibReadFailed = -2;    // the file exists but cannot be read or is too large

class TLightLib {
 public:
  // Asked when a type read from a file has the name of a held type but a different
  // definition. Receives the name; true replaces the held type by the one read
  // ("Yes"), false keeps the held one ("No" and "Cancel"). Unset: keep.
  using DuplicateQuestion = std::function<bool(const std::string& name)>;

  // Sets `FileName` only; the owner installs OnDuplicateName and then calls
  // LoadFromFile(FileName, false).
  explicit TLightLib(std::string fileName = {}) : FileName(std::move(fileName)) {}

  std::string FileName;
  TLibList Items;
  DuplicateQuestion OnDuplicateName;

  // Index of the first type whose name equals `name` exactly, or -1. An empty name
  // returns -1 at once and leaves `dest` untouched; otherwise `dest` (when given)
  // receives the default type and then, on a match, a copy of the type found.
  int IndexOfName(std::string_view name, TLibItem* dest = nullptr) const;

  // Every type's name in the order the type lists show them: letter case folded as
  // CompareNamesNoCase folds it (full-width letters included), equal names in library
  // order.
  std::vector<std::string> SortedNames() const;

  // Reads the bytes of a library file. A byte-order mark (UTF-8 or UTF-16) is
  // honoured, otherwise the bytes are code page 932.
  // Load mode (merge false): replaces Items; result = number of types held.
  // Merge mode: result = number of incoming types that were new or differed.
  // kLibLimitReached when 200 types were held before the file's sections were all
  // read (the types taken stay); kLibReadFailed (Items unchanged) when there are
  // more than kMaxLibraryFileBytes.
  int LoadFromBytes(std::string_view bytes, bool merge, std::string* error = nullptr);
  // LoadFromBytes of the file at `path`; a missing file reads as empty, and a file
  // that exists but cannot be read, or is too large, gives kLibReadFailed.
  int LoadFromFile(const std::string& path, bool merge, std::string* error = nullptr);

  // The bytes of the library file that holds every type (sections Define001 …
  // Define200, unused slots with an empty Name), made from `current`, the file's
  // present bytes, whose other sections and keys are kept. Code page 932, or UTF-8
  // with a byte-order mark when code page 932 cannot hold the text (a name with
  // such characters would otherwise be renamed). False, with `bytes` untouched,
  // when the result would be larger than the reader takes.
  bool SaveToBytes(std::string_view current, std::string& bytes,
                   std::string* error = nullptr) const;
  // Writes SaveToBytes of the file's present content to `path`. Atomic: on failure
  // the old file stays whole and the result is false with the reason in `error`.
  // A file that exists but cannot be read (or is too large) is not overwritten.
  bool SaveToFile(const std::string& path, std::string* error = nullptr) const;
};

}  // namespace lumaplot
