#include "model/StageFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <span>
#include <system_error>

#include "util/AsciiCase.h"
#include "util/FileIo.h"
#include "util/NumberText.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using Fields = std::vector<std::string>;

// ---- Options ---------------------------------------------------------------

int32_t ReadOption(std::string_view value, int32_t def) {
  return ReadNumber(TrimControls(value), def);
}

struct OptionKey {
  std::string_view key;  // with its "="
  void (*read)(TStageData& doc, std::string_view value);
  std::string (*write)(const TStageData& doc);
};

std::string Bool01(bool on) { return on ? "1" : "0"; }

// A text written into a file line must not break the line.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

#define LUMAPLOT_INT_OPTION(Key, Field, Def)                                              \
  OptionKey {                                                                             \
    Key "=", [](TStageData& doc, std::string_view v) { doc.Field = ReadOption(v, Def); }, \
        [](const TStageData& doc) { return std::to_string(doc.Field); }                   \
  }
#define LUMAPLOT_TEXT_OPTION(Key, Field)                                              \
  OptionKey {                                                                         \
    Key "=", [](TStageData& doc, std::string_view v) { doc.Field = std::string(v); }, \
        [](const TStageData& doc) { return OneLine(doc.Field); }                      \
  }

// In the order they are written; a line is taken by the first key that is a prefix.
const OptionKey kOptionKeys[] = {
    LUMAPLOT_TEXT_OPTION("BgImage", BgImage),
    LUMAPLOT_TEXT_OPTION("Title", Title),
    LUMAPLOT_INT_OPTION("ScrWidth", ScrWidth, 800),
    // 800 rather than the 600 of a new document: files written by the Windows
    // program were read that way.
    LUMAPLOT_INT_OPTION("ScrHeight", ScrHeight, 800),
    OptionKey{"ShowGrid=", [](TStageData& doc, std::string_view v) { doc.ShowGrid = v == "1"; },
              [](const TStageData& doc) { return Bool01(doc.ShowGrid); }},
    LUMAPLOT_INT_OPTION("GridSize", GridSize, 20),
    LUMAPLOT_INT_OPTION("GridStyle", GridStyle, 0),
    LUMAPLOT_INT_OPTION("BgColor", BgColor, 0),
    LUMAPLOT_INT_OPTION("GridColor", GridColor, 0xFF0000),
    LUMAPLOT_INT_OPTION("ValColor", ValColor, 0xFFFF00),
    LUMAPLOT_INT_OPTION("ValZeroColor", ValZeroColor, 0xFFFF00),
    LUMAPLOT_INT_OPTION("ValFullColor", ValFullColor, 0xFFFF00),
    LUMAPLOT_INT_OPTION("ValBgColor", ValBgColor, 0),
    LUMAPLOT_INT_OPTION("ChColor", ChColor, 0xFFFFFF),
    LUMAPLOT_INT_OPTION("ModColor", ModColor, 0x008000),
    LUMAPLOT_INT_OPTION("ModChN", ModChN, 0),
    LUMAPLOT_TEXT_OPTION("ValFontName", ValFont.Name),
    LUMAPLOT_INT_OPTION("ValFontSize", ValFont.Size, 9),
    LUMAPLOT_TEXT_OPTION("ChFontName", ChFont.Name),
    LUMAPLOT_INT_OPTION("ChFontSize", ChFont.Size, 9),
    OptionKey{"InhibitMove=",
              [](TStageData& doc, std::string_view v) { doc.InhibitMove = ReadOption(v, 0) == 1; },
              [](const TStageData& doc) { return Bool01(doc.InhibitMove); }},
};

#undef LUMAPLOT_INT_OPTION
#undef LUMAPLOT_TEXT_OPTION

void ApplyOptionLine(TStageData& doc, std::string_view line) {
  for (const OptionKey& option : kOptionKeys) {
    if (StartsWithIgnoringCase(line, option.key)) {
      option.read(doc, line.substr(option.key.size()));
      return;
    }
  }
}

// ---- Object lines ----------------------------------------------------------

void AppendDecimal(std::string& line, int64_t value) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  line.append(std::begin(digits), end);
}

// "0x" and at least `width` lower-case hexadecimal digits, as "0x%0*x" writes them.
void AppendHex(std::string& line, uint32_t value, int width) {
  char digits[8];
  int count = 0;
  do {
    digits[count++] = "0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  line += "0x";
  line.append(static_cast<size_t>(std::max(width - count, 0)), '0');
  while (count > 0) line += digits[--count];
}

uint32_t Hex(int32_t value) { return static_cast<uint32_t>(value); }

// StartCh + 1 as written; a number outside 0 … 4096 leaves the light unpatched.
int32_t StartChannelFromField(const std::string& field) {
  const int32_t written = ReadNumber(field, 1);
  return written >= 0 && written <= kStageChannels ? written - 1 : kNotPatched;
}

// A text field as the reader gets it back: quoted when it holds a comma or begins
// with a double quote.
void AppendTextField(std::string& line, std::string_view text) {
  const std::string field = OneLine(text);
  if (field.find(',') == field.npos && (field.empty() || field.front() != '"')) {
    line += field;
    return;
  }
  line += '"';
  for (char c : field) {
    line += c;
    if (c == '"') line += '"';
  }
  line += '"';
}

// One comma-separated field of an object line: how the reader takes it into the
// object (a malformed number gives the field's default) and how the writer puts it
// out. Reader and writer both go by the tables below, so a field cannot be read
// from one place and written to another.
struct ObjectField {
  void (*read)(TLightCell& cell, const std::string& field);
  void (*write)(const TLightCell& cell, std::string& line);  // appends the field
};

#define LUMAPLOT_DECIMAL_FIELD(Member, Def)                                           \
  ObjectField {                                                                       \
    [](TLightCell& c, const std::string& f) { c.Member = ReadNumber(f, Def); },       \
        [](const TLightCell& c, std::string& line) { AppendDecimal(line, c.Member); } \
  }
#define LUMAPLOT_COLOR_FIELD(Member, Def, Digits)                                              \
  ObjectField {                                                                                \
    [](TLightCell& c, const std::string& f) { c.Member = ReadNumber(f, Def); },                \
        [](const TLightCell& c, std::string& line) { AppendHex(line, Hex(c.Member), Digits); } \
  }
#define LUMAPLOT_FLAGS_FIELD                                                        \
  ObjectField {                                                                     \
    [](TLightCell& c, const std::string& f) {                                       \
      c.Flags = static_cast<uint32_t>(ReadNumber(f, 0));                            \
    },                                                                              \
        [](const TLightCell& c, std::string& line) { AppendHex(line, c.Flags, 8); } \
  }
#define LUMAPLOT_TEXT_FIELD(Member)                                                     \
  ObjectField {                                                                         \
    [](TLightCell& c, const std::string& f) { c.Member = f; },                          \
        [](const TLightCell& c, std::string& line) { AppendTextField(line, c.Member); } \
  }

// The type name is read as it stands; the light's type is looked up once the whole
// line is read (ResolveType).
constexpr size_t kTypeNameField = 5;

constexpr ObjectField kLightFields[] = {
    // StartCh + 1: the file counts channels from 1.
    ObjectField{[](TLightCell& c, const std::string& f) { c.StartCh = StartChannelFromField(f); },
                [](const TLightCell& c, std::string& line) {
                  AppendDecimal(line, int64_t{c.StartCh} + 1);
                }},
    LUMAPLOT_DECIMAL_FIELD(X1, 0),
    LUMAPLOT_DECIMAL_FIELD(Y1, 0),
    LUMAPLOT_DECIMAL_FIELD(Angle, 0),
    LUMAPLOT_COLOR_FIELD(FilterColor, kNoColor, 8),
    LUMAPLOT_TEXT_FIELD(Fixture.Name),  // kTypeNameField
    LUMAPLOT_FLAGS_FIELD,
    LUMAPLOT_TEXT_FIELD(Comment),
};

constexpr ObjectField kTextFields[] = {
    LUMAPLOT_DECIMAL_FIELD(X1, 0),
    LUMAPLOT_DECIMAL_FIELD(Y1, 0),
    LUMAPLOT_TEXT_FIELD(Text),
    LUMAPLOT_DECIMAL_FIELD(Size, 16),
    LUMAPLOT_COLOR_FIELD(Color, 0xFFFFFF, 6),
    LUMAPLOT_FLAGS_FIELD,
};

constexpr ObjectField kLineFields[] = {
    LUMAPLOT_DECIMAL_FIELD(X1, 0),   LUMAPLOT_DECIMAL_FIELD(Y1, 0),
    LUMAPLOT_DECIMAL_FIELD(X2, 0),   LUMAPLOT_DECIMAL_FIELD(Y2, 0),
    LUMAPLOT_DECIMAL_FIELD(Size, 1), LUMAPLOT_COLOR_FIELD(Color, 0xFFFFFF, 6),
};

constexpr ObjectField kShapeFields[] = {
    LUMAPLOT_DECIMAL_FIELD(ShapeType, 0),
    LUMAPLOT_DECIMAL_FIELD(X1, 0),
    LUMAPLOT_DECIMAL_FIELD(Y1, 0),
    LUMAPLOT_DECIMAL_FIELD(X2, 100),
    LUMAPLOT_DECIMAL_FIELD(Y2, 100),
    LUMAPLOT_DECIMAL_FIELD(Size, 1),
    LUMAPLOT_DECIMAL_FIELD(Size2, 8),
    LUMAPLOT_COLOR_FIELD(Color, 0xFFFFFF, 6),
    LUMAPLOT_COLOR_FIELD(Color2, 0xFFFFFF, 6),
};

#undef LUMAPLOT_DECIMAL_FIELD
#undef LUMAPLOT_COLOR_FIELD
#undef LUMAPLOT_FLAGS_FIELD
#undef LUMAPLOT_TEXT_FIELD

// One object section: its header, the kind of its objects and their fields. A line
// makes an object only when it has exactly the fields of its kind.
struct ObjectSection {
  std::string_view header;
  int32_t kind;
  std::span<const ObjectField> fields;
  bool orderFromLine;  // `Order` = index of the line in its section (else 0)
};

// In the order they are written. They are built the other way round (shapes first),
// which is already the drawing order.
constexpr ObjectSection kObjectSections[] = {
    {"[LightData]", KindLight, kLightFields, false},
    {"[TextData]", KindText, kTextFields, false},
    {"[LineData]", KindLine, kLineFields, true},
    {"[ShapeData]", KindShape, kShapeFields, true},
};

// No object line has more fields than a shape line; a longer line keeps those and one
// empty field more, which is all its field count is needed for.
constexpr size_t kMaxFieldsKept = std::size(kShapeFields) + 1;

// Splits at every comma. A field that begins with a double quote runs to its closing
// quote (two quotes inside stand for one); what follows that quote up to the next
// comma is kept as it stands. A comma at the end adds an empty last field.
Fields SplitFields(std::string_view line) {
  Fields fields;
  size_t pos = 0;
  for (;;) {
    if (fields.size() == kMaxFieldsKept - 1) {
      fields.emplace_back();  // the rest: at least one field more
      return fields;
    }
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
      ++pos;
      while (pos < line.size()) {
        if (line[pos] != '"') {
          field += line[pos++];
        } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
          field += '"';
          pos += 2;
        } else {
          ++pos;
          break;
        }
      }
    }
    const size_t comma = line.find(',', pos);
    field.append(line.substr(pos, comma == line.npos ? line.npos : comma - pos));
    fields.push_back(std::move(field));
    if (comma == line.npos) return fields;
    pos = comma + 1;
  }
}

// Missing type names (in order of first appearance) and the name chosen for each.
struct MissingTypes {
  std::vector<std::string> names;
  std::vector<std::string> replacements;

  const std::string* ReplacementFor(std::string_view name) const {
    for (size_t i = 0; i < names.size(); ++i) {
      if (EqualsIgnoringCase(names[i], name)) return &replacements[i];
    }
    return nullptr;
  }
};

MissingTypes AskMissingTypes(const TStageData& doc, const std::vector<std::string_view>& lights,
                             const TLightLib* library) {
  MissingTypes missing;
  for (std::string_view line : lights) {
    const Fields f = SplitFields(line);
    if (f.size() <= kTypeNameField) continue;
    const std::string& name = f[kTypeNameField];
    const bool known = library != nullptr && library->IndexOfName(name) >= 0;
    if (known || missing.ReplacementFor(name) != nullptr) continue;
    missing.names.push_back(name);
    missing.replacements.push_back(doc.OnMissingType ? doc.OnMissingType(name) : std::string());
  }
  return missing;
}

// Gives `cell` the type named by the name it was read with: the library's type, the
// replacement the user chose for a missing name, or the default type.
void ResolveType(TLightCell& cell, const TLightLib* library, const MissingTypes& missing) {
  std::string name = std::move(cell.Fixture.Name);
  cell.Fixture = DefaultLibItem();
  if (const std::string* replacement = missing.ReplacementFor(name);
      replacement && !replacement->empty()) {
    name = *replacement;
  }
  const bool found = library != nullptr && library->IndexOfName(name, &cell.Fixture) >= 0;
  if (!found && !name.empty()) {
    // Drawn with the default type, but the name stays, so that saving does not
    // replace it and a later look-up finds the type once the library has it.
    cell.Fixture = DefaultLibItem();
    cell.Fixture.Name = name;
  }
  cell.Width = cell.Fixture.Width;
  cell.Height = cell.Fixture.Height;
}

// The object lines of each section of kObjectSections, in file order, as views into
// the file's text.
using SectionLines = std::array<std::vector<std::string_view>, std::size(kObjectSections)>;

constexpr int kNoSection = -1;
constexpr int kOptionSection = -2;

int SectionOfHeader(std::string_view line) {
  for (size_t i = 0; i < std::size(kObjectSections); ++i) {
    if (EqualsIgnoringCase(line, kObjectSections[i].header)) return static_cast<int>(i);
  }
  return EqualsIgnoringCase(line, "[Option]") ? kOptionSection : kNoSection;
}

// Calls `take` with every line of `text`; CR LF, a lone CR and a lone LF end a line.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of("\r\n"), text.size());
    take(text.substr(0, end));
    size_t next = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++next;
    text.remove_prefix(std::min(next, text.size()));
  }
}

// Collects the object lines and applies the option lines at once.
SectionLines ReadSections(TStageData& doc, std::string_view text) {
  SectionLines sections;
  int current = kNoSection;
  ForEachLine(text, [&](std::string_view line) {
    if (line.empty()) return;
    if (line.front() == '[') {
      current = SectionOfHeader(line);
    } else if (current == kOptionSection) {
      ApplyOptionLine(doc, line);
    } else if (current != kNoSection) {
      sections[static_cast<size_t>(current)].push_back(line);
    }
  });
  return sections;
}

void BuildObjects(TStageData& doc, const SectionLines& sections, const TLightLib* library) {
  doc.ClearObjects();
  for (size_t s = std::size(kObjectSections); s-- > 0;) {
    const ObjectSection& section = kObjectSections[s];
    const std::vector<std::string_view>& lines = sections[s];
    if (lines.empty()) continue;
    // Every missing name is asked about before the first light is built.
    const MissingTypes missing =
        section.kind == KindLight ? AskMissingTypes(doc, lines, library) : MissingTypes{};
    for (size_t i = 0; i < lines.size(); ++i) {
      const Fields f = SplitFields(lines[i]);
      if (f.size() != section.fields.size()) continue;
      TLightCell* cell = NewCell();
      cell->Kind = section.kind;
      for (size_t k = 0; k < f.size(); ++k) section.fields[k].read(*cell, f[k]);
      if (section.orderFromLine) cell->Order = static_cast<int32_t>(i);
      if (section.kind == KindLight) ResolveType(*cell, library, missing);
      doc.AppendObject(cell);
    }
  }
}

std::string TooLarge() {
  return "the file is too large for a stage file (at most " + std::to_string(kMaxStageFileBytes) +
         " bytes)";
}

// ---- Writing ---------------------------------------------------------------

std::string ObjectLine(const TLightCell& cell, std::span<const ObjectField> fields) {
  std::string line;
  line.reserve(80);
  for (const ObjectField& field : fields) {
    if (&field != fields.data()) line += ',';
    field.write(cell, line);
  }
  return line;
}

// Code page 932 cannot hold every character; such a plot is written as UTF-8 with a
// mark instead of losing characters to "?". Readers go by the mark.
std::string EncodeStageText(const std::string& text, bool saveUtf8) {
  if (!saveUtf8) {
    std::string bytes = Utf8ToCp932(text);
    if (Cp932ToUtf8(bytes) == text) return bytes;
  }
  return EncodeText(text, TextEncoding::Utf8Bom);
}

}  // namespace

bool LoadStageFromBytes(TStageData& document, std::string_view bytes,
                        const TStageReadContext& context, std::string* error) {
  if (bytes.size() > kMaxStageFileBytes) {
    if (error) *error = TooLarge();
    return false;
  }
  const std::string text = DecodeByBom(bytes);
  const SectionLines sections = ReadSections(document, text);
  BuildObjects(document, sections, context.Library);
  document.LoadBackground(context.Pictures, context.ResolvePath);
  document.Modified = false;
  return true;
}

bool LoadStage(TStageData& document, const std::string& path, const TStageReadContext& context,
               std::string* error) {
  document.FileName.clear();
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(path, ec)) {
    if (error) *error = path.empty() ? "no file name given" : "file not found: " + path;
    return false;
  }
  // Refused before reading, so that a huge file costs no memory.
  if (const auto size = std::filesystem::file_size(path, ec); !ec && size > kMaxStageFileBytes) {
    if (error) *error = TooLarge() + ": " + path;
    return false;
  }
  std::string bytes;
  // Devices and pipes are refused with what they are.
  if (!ReadFileBytes(path, bytes, error, kMaxStageFileBytes)) return false;
  if (!LoadStageFromBytes(document, bytes, context, error)) return false;
  document.FileName = path;
  document.EditInhibit = IsReadOnlyFile(path);
  return true;
}

std::vector<std::string> StageFileLines(TStageData& document) {
  document.SortObjects();
  std::vector<std::string> lines;
  lines.reserve(document.Objects.size() + 32);
  for (const ObjectSection& section : kObjectSections) {
    lines.emplace_back(section.header);
    for (const TLightCell* cell : document.Objects) {
      if (cell->Kind == section.kind) lines.push_back(ObjectLine(*cell, section.fields));
    }
  }
  lines.emplace_back("[Option]");
  for (const OptionKey& option : kOptionKeys) {
    lines.push_back(std::string(option.key) + option.write(document));
  }
  return lines;
}

bool SaveStageToBytes(TStageData& document, bool saveUtf8, std::string& bytes, std::string* error) {
  std::string encoded = EncodeStageText(JoinLinesCrLf(StageFileLines(document)), saveUtf8);
  // A file the reader refuses would lose the plot at the next opening.
  if (encoded.size() > kMaxStageFileBytes) {
    if (error) {
      *error = "not saved: the plot takes " + std::to_string(encoded.size()) +
               " bytes, more than a stage file may hold (" + std::to_string(kMaxStageFileBytes) +
               ")";
    }
    return false;
  }
  bytes = std::move(encoded);
  return true;
}

bool SaveStage(TStageData& document, bool saveUtf8, std::string* error) {
  if (document.FileName.empty()) {
    if (error) *error = "the plot has no file name yet";
    return false;
  }
  std::string bytes;
  if (!SaveStageToBytes(document, saveUtf8, bytes, error)) return false;
  if (!WriteFileAtomically(document.FileName, bytes, error)) return false;
  document.Modified = false;
  return true;
}

}  // namespace lumaplot
