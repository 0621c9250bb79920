#include "model/LightLib.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "model/LightCell.h"
#include "util/FileIo.h"
#include "util/IniFile.h"
#include "util/NumberText.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

std::string SectionName(int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "Define%03d", slot);
  return name;
}

std::string RoleKey(int channel) { return "ChAtr" + std::to_string(channel); }

// The type of one used slot; `name` is already cut to length.
TLibItem ReadType(const IniFile& ini, const std::string& section, const std::string& name) {
  TLibItem item = DefaultLibItem();
  item.Name = name;
  item.Shape = ShapeFromKeyword(ini.ReadString(section, "Shape", ""));
  item.Width = ini.ReadInteger(section, "Width", 20);
  item.Height = ini.ReadInteger(section, "Height", 20);
  item.FrmColor = ini.ReadInteger(section, "FrmColor", DefaultLibItem().FrmColor);
  item.Channels = std::min(ini.ReadInteger(section, "Channels", 1), kMaxChannels);
  for (int k = 1; k <= item.Channels; ++k) {
    item.ChAtr[static_cast<size_t>(k - 1)] =
        RoleFromLetter(ini.ReadString(section, RoleKey(k), ""));
  }
  item.ExAtr = ini.ReadInteger(section, "ExAtr", 0);
  return item;
}

void WriteType(IniFile& ini, const std::string& section, const TLibItem& item) {
  ini.WriteString(section, "Name", item.Name);
  ini.WriteString(section, "Shape", ShapeKeyword(item.Shape));
  ini.WriteInteger(section, "Width", item.Width);
  ini.WriteInteger(section, "Height", item.Height);
  ini.WriteInteger(section, "FrmColor", item.FrmColor);
  ini.WriteInteger(section, "Channels", item.Channels);
  for (int k = 1; k <= item.UsedChannels(); ++k) {
    ini.WriteString(section, RoleKey(k), RoleLetter(item.ChAtr[static_cast<size_t>(k - 1)]));
  }
  ini.WriteInteger(section, "ExAtr", item.ExAtr);
}

std::string TooLarge() {
  return "the file is too large for a fixture library (at most " +
         std::to_string(kMaxLibraryFileBytes) + " bytes)";
}

// The current bytes of the library file at `path`; a missing file has none. A file
// too large is refused before it is read.
bool ReadLibraryFile(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return true;
  if (S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) > kMaxLibraryFileBytes) {
    if (error) *error = TooLarge() + ": " + path;
    return false;
  }
  return ReadFileBytes(path, bytes, error, kMaxLibraryFileBytes);
}

}  // namespace

TLibItem* TLibList::Add(const TLibItem& item) {
  if (IsFull()) return nullptr;
  items_.push_back(std::make_unique<TLibItem>(item));
  return items_.back().get();
}

void TLibList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

int TLightLib::IndexOfName(std::string_view name, TLibItem* dest) const {
  if (name.empty()) return -1;
  if (dest) *dest = DefaultLibItem();
  for (int i = 0; i < Items.Count(); ++i) {
    if (Items[i].Name == name) {
      if (dest) *dest = Items[i];
      return i;
    }
  }
  return -1;
}

std::vector<std::string> TLightLib::SortedNames() const {
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(Items.Count()));
  for (int i = 0; i < Items.Count(); ++i) names.push_back(Items[i].Name);
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareNamesNoCase(a, b) < 0;
  });
  return names;
}

int TLightLib::LoadFromBytes(std::string_view bytes, bool merge, std::string* error) {
  if (bytes.size() > kMaxLibraryFileBytes) {
    if (error) *error = TooLarge();
    return kLibReadFailed;
  }
  IniFile ini({}, TextEncoding::Cp932);
  ini.LoadFromBytes(bytes);
  if (!merge) Items.Clear();

  int changed = 0;
  for (int slot = 1; slot <= kMaxLibItems; ++slot) {
    const std::string section = SectionName(slot);
    // Trimmed again after the cut, so that the name is what a save and reload gives.
    const std::string name(TrimControls(TruncateTypeName(ini.ReadString(section, "Name", ""))));
    if (name.empty()) continue;
    if (Items.IsFull()) {
      if (error) *error = "the library holds " + std::to_string(kMaxLibItems) + " types";
      return kLibLimitReached;
    }
    const TLibItem item = ReadType(ini, section, name);
    const int existing = IndexOfName(name);
    if (existing < 0) {
      Items.Add(item);
      ++changed;
    } else if (!SameDefinition(Items[existing], item)) {
      if (OnDuplicateName && OnDuplicateName(name)) Items[existing] = item;
      ++changed;
    }
  }
  return merge ? changed : Items.Count();
}

int TLightLib::LoadFromFile(const std::string& path, bool merge, std::string* error) {
  std::string bytes;
  if (!ReadLibraryFile(path, bytes, error)) return kLibReadFailed;
  return LoadFromBytes(bytes, merge, error);
}

bool TLightLib::SaveToBytes(std::string_view current, std::string& bytes,
                            std::string* error) const {
  if (current.size() > kMaxLibraryFileBytes) {
    if (error) *error = TooLarge();
    return false;
  }
  IniFile ini({}, TextEncoding::Cp932);
  ini.LoadFromBytes(current);
  for (int slot = 1; slot <= kMaxLibItems; ++slot) {
    const std::string section = SectionName(slot);
    if (slot <= Items.Count()) {
      WriteType(ini, section, Items[slot - 1]);
    } else {
      ini.EraseSection(section);
      ini.WriteString(section, "Name", "");
    }
  }
  // Code page 932 cannot hold every name; writing "?" for the rest would rename
  // types and could merge two of them, so such a library is written as UTF-8 with
  // a byte-order mark, which the reader honours.
  const std::string text = ini.ToText();
  std::string encoded = ini.ToBytes();
  if (Cp932ToUtf8(encoded) != text) encoded = EncodeText(text, TextEncoding::Utf8Bom);
  // What the reader would refuse is not written: the next start would lose every type.
  if (encoded.size() > kMaxLibraryFileBytes) {
    if (error) *error = "not saved: " + TooLarge();
    return false;
  }
  bytes = std::move(encoded);
  return true;
}

bool TLightLib::SaveToFile(const std::string& path, std::string* error) const {
  std::string current;
  if (!ReadLibraryFile(path, current, error)) return false;
  std::string bytes;
  return SaveToBytes(current, bytes, error) && WriteFileAtomically(path, bytes, error);
}

}  // namespace lumaplot
