#pragma once
// Private-profile INI file: the store of the settings file, LIBRARY.INI and every
// window's saved state. Kept whole in memory; Flush writes the whole file at once
// (temporary file + rename). Section and key names match without regard to ASCII
// case. An existing key keeps its line when written, a new key is added at the end
// of its section, a new section at the end of the file; lines the class does not
// understand (comments, junk, lines before the first section) are kept as they are
// and never read as keys. When a key or a section appears twice, the first one is
// read. Lines end in CR LF on writing.
// Bad input never fails: any bytes load (undecodable ones become U+FFFD). A write
// with an empty section or key name, or a name that could not be read back (line
// breaks, "=" in a key, "]" in a section), is ignored; line breaks inside a value
// are written as blanks.
// Not thread safe: the GUI thread owns each instance.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/FileIo.h"
#include "util/TextCodec.h"

namespace lumaplot {

class IniFile {
 public:
  // `encoding` is how the file is written and how a file without a byte-order mark
  // is read (settings: Utf8, LIBRARY.INI: Cp932). A Utf8 instance reads a file that
  // is not valid UTF-8 as CP932, as the Windows program wrote its settings.
  explicit IniFile(std::string path = {}, TextEncoding encoding = TextEncoding::Utf8);

  const std::string& Path() const { return path_; }
  void SetPath(std::string path) { path_ = std::move(path); }
  TextEncoding Encoding() const { return encoding_; }

  // Reads the file. A missing file reads as empty and succeeds; an unreadable one
  // (or one that is no regular file, or has more than `maxBytes`) leaves the content
  // empty and returns false with the reason in `error`. Until the next successful
  // Load or LoadFromText, Flush then refuses to replace that file.
  bool Load(std::string* error = nullptr, std::size_t maxBytes = kDefaultReadLimit);
  // Replaces the content by parsing `text` (UTF-8).
  void LoadFromText(std::string_view text);
  // The whole file as UTF-8 text with CR LF line ends.
  std::string ToText() const;
  // Writes the whole file atomically in its encoding.
  bool Flush(std::string* error = nullptr) const;

  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;
  // Key names of a section in file order (each name once).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Section names in file order (each name once).
  std::vector<std::string> ReadSections() const;

  // The value after the first "=", blanks at both ends removed; `def` when missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // Decimal, or hexadecimal after 0x/0X (1 to 8 digits taken as a 32-bit pattern, so
  // "0xFFFFFFFF" is -1); `def` when missing, not a number or outside the 32-bit range.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  // An integer; non-zero is true. `def` when missing or not a number.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Written in decimal.
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  // Written as 1 or 0.
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Removes the key (every line of it) from its section.
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes the section: its header and every line up to the next section.
  void EraseSection(std::string_view section);

 private:
  enum class LineKind { Other, Header, Key };
  struct Line {
    std::string text;  // the line as read or written, without its line end
    std::string name;  // the section name of a header, the key name of a key line
    LineKind kind = LineKind::Other;
  };
  static Line ParseLine(std::string text);
  std::string DecodeFileBytes(std::string_view bytes) const;
  // Index of the header of the first section called `section`, or -1.
  int FindSection(std::string_view section) const;
  // Index of the first line of `key` in any section called `section`, or -1.
  int FindKey(std::string_view section, std::string_view key) const;
  // Index one past the last line of the section whose header is at `header`.
  size_t SectionEnd(size_t header) const;
  // Where a new key of the section whose header is at `header` goes.
  size_t KeyInsertPoint(size_t header) const;

  std::string path_;
  TextEncoding encoding_;
  std::vector<Line> lines_;
  bool loadFailed_ = false;
};

}  // namespace lumaplot
