#include "util/IniFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "util/AsciiCase.h"
#include "util/FileIo.h"
#include "util/NumberText.h"

namespace lumaplot {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

bool HasByteOrderMark(std::string_view bytes) {
  return bytes.substr(0, 3) == kUtf8Bom || bytes.substr(0, 2) == "\xFF\xFE" ||
         bytes.substr(0, 2) == "\xFE\xFF";
}

std::string_view ValueOf(std::string_view keyLine) {
  return TrimControls(keyLine.substr(keyLine.find('=') + 1));
}

bool ContainsName(const std::vector<std::string>& names, std::string_view name) {
  return std::any_of(names.begin(), names.end(),
                     [name](const std::string& n) { return EqualsIgnoringCase(n, name); });
}

}  // namespace

IniFile::IniFile(std::string path, TextEncoding encoding)
    : path_(std::move(path)), encoding_(encoding) {
  Clear();
}

size_t IniFile::NoCaseHash::operator()(std::string_view name) const {
  size_t hash = 14695981039346656037u;  // FNV-1a
  for (char c : name) {
    hash ^= static_cast<unsigned char>(ToUpperAscii(c));
    hash *= 1099511628211u;
  }
  return hash;
}

bool IniFile::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsIgnoringCase(a, b);
}

IniFile::Line IniFile::ParseLine(std::string text) {
  Line line;
  const std::string_view trimmed = TrimControls(text);
  if (!trimmed.empty() && trimmed.front() == '[') {
    // A header without its "]" still starts a section, so that the keys below it
    // are not taken for keys of the section before.
    line.kind = LineKind::Header;
    const std::string_view inside = trimmed.substr(1);
    line.name = TrimControls(inside.substr(0, inside.find(']')));
  } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#') {
    const size_t equals = trimmed.find('=');
    if (equals != trimmed.npos) {
      line.name = TrimControls(trimmed.substr(0, equals));
      if (!line.name.empty()) line.kind = LineKind::Key;
    }
  }
  if (line.kind == LineKind::Other) line.name.clear();
  line.text = std::move(text);
  return line;
}

std::string IniFile::DecodeFileBytes(std::string_view bytes) const {
  if (HasByteOrderMark(bytes) || encoding_ == TextEncoding::Cp932) return DecodeByBom(bytes);
  // Bytes that are not UTF-8 were most likely written by the Windows program in CP932.
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

void IniFile::Clear() {
  sections_.assign(1, Section{});
  index_.clear();
  loadFailed_ = false;
}

void IniFile::RebuildIndex() {
  index_.clear();
  for (size_t i = 1; i < sections_.size(); ++i) {
    if (!sections_[i].erased) index_[sections_[i].header.name].push_back(i);
  }
}

const std::vector<size_t>& IniFile::SectionsNamed(std::string_view section) const {
  static const std::vector<size_t> none;
  const auto found = index_.find(TrimControls(section));
  return found == index_.end() ? none : found->second;
}

const IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) const {
  key = TrimControls(key);
  if (key.empty()) return nullptr;
  for (size_t index : SectionsNamed(section)) {
    for (const Line& line : sections_[index].lines) {
      if (line.kind == LineKind::Key && EqualsIgnoringCase(line.name, key)) return &line;
    }
  }
  return nullptr;
}

IniFile::Line* IniFile::FindKey(std::string_view section, std::string_view key) {
  return const_cast<Line*>(std::as_const(*this).FindKey(section, key));
}

bool IniFile::Load(std::string* error, std::size_t maxBytes) {
  Clear();
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) return true;
  std::string bytes;
  if (!ReadFileBytes(path_, bytes, error, maxBytes)) {
    loadFailed_ = true;
    return false;
  }
  LoadFromBytes(bytes);
  return true;
}

void IniFile::LoadFromText(std::string_view text) {
  Clear();
  for (std::string& text : SplitLines(text)) {
    Line line = ParseLine(std::move(text));
    if (line.kind == LineKind::Header) {
      sections_.push_back(Section{std::move(line), {}, false});
    } else {
      sections_.back().lines.push_back(std::move(line));
    }
  }
  RebuildIndex();
}

void IniFile::LoadFromBytes(std::string_view bytes) { LoadFromText(DecodeFileBytes(bytes)); }

std::string IniFile::ToText() const {
  std::string text;
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].erased) continue;
    if (i > 0) text.append(sections_[i].header.text).append("\r\n");
    for (const Line& line : sections_[i].lines) text.append(line.text).append("\r\n");
  }
  return text;
}

std::string IniFile::ToBytes() const { return EncodeText(ToText(), encoding_); }

bool IniFile::Flush(std::string* error) const {
  if (loadFailed_) {
    if (error) *error = "not written, the file could not be read before: " + path_;
    return false;
  }
  if (path_.empty()) {
    if (error) *error = "no file name to write to";
    return false;
  }
  return WriteFileAtomically(path_, ToBytes(), error);
}

bool IniFile::SectionExists(std::string_view section) const {
  return !SectionsNamed(section).empty();
}

bool IniFile::KeyExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  for (size_t index : SectionsNamed(section)) {
    for (const Line& line : sections_[index].lines) {
      if (line.kind == LineKind::Key && !ContainsName(keys, line.name)) keys.push_back(line.name);
    }
  }
  return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> sections;
  for (size_t i = 1; i < sections_.size(); ++i) {
    // Listed where the first section of its name stands.
    const std::string& name = sections_[i].header.name;
    if (!sections_[i].erased && SectionsNamed(name).front() == i) sections.push_back(name);
  }
  return sections;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const Line* line = FindKey(section, key);
  return line ? std::string(ValueOf(line->text)) : std::string(def);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const Line* line = FindKey(section, key);
  return line ? ReadNumber(ValueOf(line->text), def) : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimControls(section);
  key = TrimControls(key);
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      section.find(']') != section.npos || key.find('=') != key.npos || key.front() == '[' ||
      key.front() == ';' || key.front() == '#') {
    return;
  }
  std::string flatValue(value);
  std::replace_if(
      flatValue.begin(), flatValue.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

  if (Line* existing = FindKey(section, key)) {
    existing->text = existing->name + "=" + flatValue;
    return;
  }
  Line keyLine{std::string(key) + "=" + flatValue, std::string(key), LineKind::Key};
  if (const std::vector<size_t>& named = SectionsNamed(section); !named.empty()) {
    // After the last key of the first section of that name, or else right below its header.
    std::vector<Line>& lines = sections_[named.front()].lines;
    auto point = lines.begin();
    for (auto it = lines.begin(); it != lines.end(); ++it) {
      if (it->kind == LineKind::Key) point = it + 1;
    }
    lines.insert(point, std::move(keyLine));
    return;
  }
  // Built by appending: GCC 12 warns falsely (-Wrestrict) about "[" + std::string.
  std::string headerLine = "[";
  headerLine.append(section).append("]");
  sections_.push_back(
      Section{Line{std::move(headerLine), std::string(section), LineKind::Header}, {}, false});
  sections_.back().lines.push_back(std::move(keyLine));
  index_[std::string(section)].push_back(sections_.size() - 1);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  key = TrimControls(key);
  if (key.empty()) return;
  for (size_t index : SectionsNamed(section)) {
    std::erase_if(sections_[index].lines, [key](const Line& line) {
      return line.kind == LineKind::Key && EqualsIgnoringCase(line.name, key);
    });
  }
}

void IniFile::EraseSection(std::string_view section) {
  const auto found = index_.find(TrimControls(section));
  if (found == index_.end()) return;
  // Left in place, empty, so that the indexes of the sections after them stay valid.
  for (size_t index : found->second) sections_[index] = Section{{}, {}, true};
  index_.erase(found);
}

}  // namespace lumaplot
