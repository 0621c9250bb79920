#pragma once
// Private-profile INI file: the store of the settings file, LIBRARY.INI and every
// window's saved state. Kept whole in memory; Flush writes the whole file at once
// (temporary file + rename). Section and key names match without regard to ASCII
// case. An existing key keeps its line when written, a new key is added at the end
// of its section, a new section at the end of the file; lines the class does not
// understand (comments, junk, lines before the first section) are kept as they are
// and never read as keys. When a key or a section appears twice, the first one is
// read. Lines end in CR LF on writing.
//
// Sections are found through an index by name, so a look-up or a write costs the
// length of the sections of that name, not of the whole file.
//
// Bad input never fails: any bytes load (undecodable ones become U+FFFD). A write
// with an empty section or key name, or a name that could not be read back (line
// breaks, "=" in a key, "]" in a section), is ignored; line breaks inside a value
// are written as blanks.
//
// Not thread safe: the GUI thread owns each instance.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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
  // Replaces the content by decoding `bytes` as Load decodes the file's bytes.
  void LoadFromBytes(std::string_view bytes);
  // The whole file as UTF-8 text with CR LF line ends.
  std::string ToText() const;
  // The whole file as Flush writes it: ToText in the instance's encoding.
  std::string ToBytes() const;
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
  // A header and the lines up to the next header. The lines before the first header
  // form the first section, which has no header and is never found by name. An
  // erased section stays in place, empty and out of the index.
  struct Section {
    Line header;
    std::vector<Line> lines;
    bool erased = false;
  };
  struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // Section name -> indexes into sections_ of every section of that name, in file order.
  using SectionIndex =
      std::unordered_map<std::string, std::vector<size_t>, NoCaseHash, NoCaseEqual>;

  static Line ParseLine(std::string text);
  std::string DecodeFileBytes(std::string_view bytes) const;
  void Clear();
  void RebuildIndex();
  // The indexes of the sections called `section` (trimmed), in file order; may be empty.
  const std::vector<size_t>& SectionsNamed(std::string_view section) const;
  // The first line of `key` in any section called `section`, or nullptr.
  const Line* FindKey(std::string_view section, std::string_view key) const;
  Line* FindKey(std::string_view section, std::string_view key);

  std::string path_;
  TextEncoding encoding_;
  std::vector<Section> sections_;  // never empty: the first one holds the lines before any header
  SectionIndex index_;
  bool loadFailed_ = false;
};

}  // namespace lumaplot
