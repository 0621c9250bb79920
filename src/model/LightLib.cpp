#include "model/LightLib.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

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

// Reads the library file at `path` into `ini`; a missing file reads as empty.
bool LoadLibraryIni(IniFile& ini, std::string* error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(ini.Path(), ec);
  if (!ec && size > kMaxLibraryFileBytes) {
    if (error) *error = "the file is too large for a fixture library: " + ini.Path();
    return false;
  }
  return ini.Load(error);
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

int TLightLib::LoadFromFile(const std::string& path, bool merge, std::string* error) {
  IniFile ini(path, TextEncoding::Cp932);
  if (!LoadLibraryIni(ini, error)) return kLibReadFailed;
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

bool TLightLib::SaveToFile(const std::string& path, std::string* error) const {
  IniFile ini(path, TextEncoding::Cp932);
  if (!LoadLibraryIni(ini, error)) return false;
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
  if (Cp932ToUtf8(Utf8ToCp932(text)) == text) return ini.Flush(error);
  IniFile unicode(path, TextEncoding::Utf8Bom);
  unicode.LoadFromText(text);
  return unicode.Flush(error);
}

}  // namespace lumaplot
