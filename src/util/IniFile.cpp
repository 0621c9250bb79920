#include "util/IniFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

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
    : path_(std::move(path)), encoding_(encoding) {}

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

bool IniFile::Load(std::string* error, std::size_t maxBytes) {
  lines_.clear();
  loadFailed_ = false;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) return true;
  std::string bytes;
  if (!ReadFileBytes(path_, bytes, error, maxBytes)) {
    loadFailed_ = true;
    return false;
  }
  LoadFromText(DecodeFileBytes(bytes));
  return true;
}

void IniFile::LoadFromText(std::string_view text) {
  lines_.clear();
  loadFailed_ = false;
  for (std::string& line : SplitLines(text)) lines_.push_back(ParseLine(std::move(line)));
}

std::string IniFile::ToText() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

bool IniFile::Flush(std::string* error) const {
  if (loadFailed_) {
    if (error) *error = "not written, the file could not be read before: " + path_;
    return false;
  }
  if (path_.empty()) {
    if (error) *error = "no file name to write to";
    return false;
  }
  return WriteFileAtomically(path_, EncodeText(ToText(), encoding_), error);
}

int IniFile::FindSection(std::string_view section) const {
  section = TrimControls(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Header && EqualsIgnoringCase(lines_[i].name, section)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int IniFile::FindKey(std::string_view section, std::string_view key) const {
  section = TrimControls(section);
  key = TrimControls(key);
  if (key.empty()) return -1;
  bool inSection = false;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    if (line.kind == LineKind::Header) {
      inSection = EqualsIgnoringCase(line.name, section);
    } else if (inSection && line.kind == LineKind::Key && EqualsIgnoringCase(line.name, key)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

size_t IniFile::SectionEnd(size_t header) const {
  size_t end = header + 1;
  while (end < lines_.size() && lines_[end].kind != LineKind::Header) ++end;
  return end;
}

size_t IniFile::KeyInsertPoint(size_t header) const {
  size_t point = header + 1;
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Key) point = i + 1;
  }
  return point;
}

bool IniFile::SectionExists(std::string_view section) const { return FindSection(section) >= 0; }

bool IniFile::KeyExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) >= 0;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  section = TrimControls(section);
  std::vector<std::string> keys;
  bool inSection = false;
  for (const Line& line : lines_) {
    if (line.kind == LineKind::Header) {
      inSection = EqualsIgnoringCase(line.name, section);
    } else if (inSection && line.kind == LineKind::Key && !ContainsName(keys, line.name)) {
      keys.push_back(line.name);
    }
  }
  return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> sections;
  for (const Line& line : lines_) {
    if (line.kind == LineKind::Header && !ContainsName(sections, line.name)) {
      sections.push_back(line.name);
    }
  }
  return sections;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  const int index = FindKey(section, key);
  if (index < 0) return std::string(def);
  return std::string(ValueOf(lines_[static_cast<size_t>(index)].text));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  const int index = FindKey(section, key);
  if (index < 0) return def;
  return ReadNumber(ValueOf(lines_[static_cast<size_t>(index)].text), def);
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

  const int existing = FindKey(section, key);
  if (existing >= 0) {
    Line& line = lines_[static_cast<size_t>(existing)];
    line.text = line.name + "=" + flatValue;
    return;
  }
  Line keyLine{std::string(key) + "=" + flatValue, std::string(key), LineKind::Key};
  const int header = FindSection(section);
  if (header >= 0) {
    const size_t point = KeyInsertPoint(static_cast<size_t>(header));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(point), std::move(keyLine));
    return;
  }
  // Built by appending: GCC 12 warns falsely (-Wrestrict) about "[" + std::string.
  std::string headerLine = "[";
  headerLine.append(section).append("]");
  lines_.push_back(Line{std::move(headerLine), std::string(section), LineKind::Header});
  lines_.push_back(std::move(keyLine));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  for (int index = FindKey(section, key); index >= 0; index = FindKey(section, key)) {
    lines_.erase(lines_.begin() + index);
  }
}

void IniFile::EraseSection(std::string_view section) {
  for (int header = FindSection(section); header >= 0; header = FindSection(section)) {
    const size_t end = SectionEnd(static_cast<size_t>(header));
    lines_.erase(lines_.begin() + header, lines_.begin() + static_cast<std::ptrdiff_t>(end));
  }
}

}  // namespace lumaplot
