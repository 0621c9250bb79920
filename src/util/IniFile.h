#pragma once
// Private-profile INI file: the store of the settings file, LIBRARY.INI and every
// window's saved state. Kept whole in memory; Flush writes the whole file at once
// (temporary file + rename). Section and key names match without regard to ASCII
// case. An existing key keeps its line when written, a new key is added at the end
// of its section, a new section at the end of the file; lines the class does not
// understand (comments, junk) are kept as they are. Lines end in CR LF on writing.
// Not thread safe: the GUI thread owns each instance.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/TextCodec.h"

namespace lumaplot {

class IniFile {
 public:
  // `encoding` is how the file is read and written (settings: Utf8, LIBRARY.INI: Cp932).
  explicit IniFile(std::string path = {}, TextEncoding encoding = TextEncoding::Utf8);

  const std::string& Path() const { return path_; }
  void SetPath(std::string path) { path_ = std::move(path); }
  TextEncoding Encoding() const { return encoding_; }

  // Reads the file. A missing file reads as empty and succeeds; an unreadable one
  // leaves the content empty and returns false with the reason in `error`.
  bool Load(std::string* error = nullptr);
  // Replaces the content by parsing `text` (UTF-8).
  void LoadFromText(std::string_view text);
  // The whole file as UTF-8 text with CR LF line ends.
  std::string ToText() const;
  // Writes the whole file atomically in its encoding.
  bool Flush(std::string* error = nullptr) const;

  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;
  // Key names of a section in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> ReadSections() const;

  // The value after the first "=", blanks at both ends removed; `def` when missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Decimal, or hexadecimal after 0x/0X; `def` when missing or not a number.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // An integer; non-zero is true. `def` when missing or not a number.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);

 private:
  struct Line {
    std::string text;     // the line as read or written, without its line end
    std::string section;  // the section name for a header line
    std::string key;      // the key name for a key line, else empty
    bool header = false;
  };
  int FindSection(std::string_view section) const;
  int FindKey(std::string_view section, std::string_view key) const;
  int SectionEnd(int header) const;

  std::string path_;
  TextEncoding encoding_;
  std::vector<Line> lines_;
};

}  // namespace lumaplot
