#include "model/StageFile.h"

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "util/AsciiCase.h"
#include "util/FileIo.h"
#include "util/NumberText.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

constexpr size_t kLightFields = 8;
constexpr size_t kTextFields = 6;
constexpr size_t kLineFields = 6;
constexpr size_t kShapeFields = 9;
constexpr size_t kTypeNameField = 5;

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

// No object line has more than 9 fields; a longer line keeps its first 9 and one
// empty field more, which is all its field count is needed for.
constexpr size_t kMaxFieldsKept = kShapeFields + 1;

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

// A text field as the reader gets it back: quoted when it holds a comma or begins
// with a double quote.
std::string TextField(std::string_view text) {
  std::string field = OneLine(text);
  if (field.find(',') == field.npos && (field.empty() || field.front() != '"')) return field;
  std::string quoted = "\"";
  for (char c : field) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

int32_t Num(const Fields& fields, size_t index, int32_t def) {
  return ReadNumber(fields[index], def);
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
  char buffer[160];  // the longest line part is nine numbers
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return std::string(buffer,
                     length > 0 ? std::min(static_cast<size_t>(length), sizeof buffer - 1) : 0);
}

uint32_t Hex(int32_t value) { return static_cast<uint32_t>(value); }

// StartCh + 1 as written; a number outside 0 … 4096 leaves the light unpatched.
int32_t StartChannelFromField(const std::string& field) {
  const int32_t written = ReadNumber(field, 1);
  return written >= 0 && written <= kStageChannels ? written - 1 : kNotPatched;
}

TLightCell* MakeCell(TStageData& doc, int32_t kind) {
  TLightCell* cell = NewCell();
  cell->Kind = kind;
  doc.AppendObject(cell);
  return cell;
}

void BuildShape(TStageData& doc, const Fields& f, int32_t order) {
  TLightCell* cell = MakeCell(doc, KindShape);
  cell->ShapeType = Num(f, 0, 0);
  cell->X1 = Num(f, 1, 0);
  cell->Y1 = Num(f, 2, 0);
  cell->X2 = Num(f, 3, 100);
  cell->Y2 = Num(f, 4, 100);
  cell->Size = Num(f, 5, 1);
  cell->Size2 = Num(f, 6, 8);
  cell->Color = Num(f, 7, 0xFFFFFF);
  cell->Color2 = Num(f, 8, 0xFFFFFF);
  cell->Order = order;
}

void BuildLine(TStageData& doc, const Fields& f, int32_t order) {
  TLightCell* cell = MakeCell(doc, KindLine);
  cell->X1 = Num(f, 0, 0);
  cell->Y1 = Num(f, 1, 0);
  cell->X2 = Num(f, 2, 0);
  cell->Y2 = Num(f, 3, 0);
  cell->Size = Num(f, 4, 1);
  cell->Color = Num(f, 5, 0xFFFFFF);
  cell->Order = order;
}

void BuildText(TStageData& doc, const Fields& f) {
  TLightCell* cell = MakeCell(doc, KindText);
  cell->X1 = Num(f, 0, 0);
  cell->Y1 = Num(f, 1, 0);
  cell->Text = f[2];
  cell->Size = Num(f, 3, 16);
  cell->Color = Num(f, 4, 0xFFFFFF);
  cell->Flags = static_cast<uint32_t>(Num(f, 5, 0));
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

void BuildLight(TStageData& doc, const Fields& f, const TLightLib* library,
                const MissingTypes& missing) {
  TLightCell* cell = MakeCell(doc, KindLight);
  std::string name = f[kTypeNameField];
  if (const std::string* replacement = missing.ReplacementFor(name);
      replacement && !replacement->empty()) {
    name = *replacement;
  }
  const bool found = library != nullptr && library->IndexOfName(name, &cell->Fixture) >= 0;
  if (!found && !name.empty()) {
    // Drawn with the default type, but the name stays, so that saving does not
    // replace it and a later look-up finds the type once the library has it.
    cell->Fixture = DefaultLibItem();
    cell->Fixture.Name = name;
  }
  cell->Width = cell->Fixture.Width;
  cell->Height = cell->Fixture.Height;
  cell->StartCh = StartChannelFromField(f[0]);
  cell->X1 = Num(f, 1, 0);
  cell->Y1 = Num(f, 2, 0);
  cell->Angle = Num(f, 3, 0);
  cell->FilterColor = Num(f, 4, kNoColor);
  cell->Flags = static_cast<uint32_t>(Num(f, 6, 0));
  cell->Comment = f[7];
}

// The object lines of each section, in file order, as views into the file's text.
struct Sections {
  std::vector<std::string_view> lights, texts, lines, shapes;
};

enum class Section { None, Light, Text, Line, Shape, Option };

Section SectionOfHeader(std::string_view line) {
  if (EqualsIgnoringCase(line, "[LightData]")) return Section::Light;
  if (EqualsIgnoringCase(line, "[TextData]")) return Section::Text;
  if (EqualsIgnoringCase(line, "[LineData]")) return Section::Line;
  if (EqualsIgnoringCase(line, "[ShapeData]")) return Section::Shape;
  if (EqualsIgnoringCase(line, "[Option]")) return Section::Option;
  return Section::None;
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
Sections ReadSections(TStageData& doc, std::string_view text) {
  Sections sections;
  Section current = Section::None;
  ForEachLine(text, [&](std::string_view line) {
    if (line.empty()) return;
    if (line.front() == '[') {
      current = SectionOfHeader(line);
      return;
    }
    switch (current) {
      case Section::Light:
        sections.lights.push_back(line);
        break;
      case Section::Text:
        sections.texts.push_back(line);
        break;
      case Section::Line:
        sections.lines.push_back(line);
        break;
      case Section::Shape:
        sections.shapes.push_back(line);
        break;
      case Section::Option:
        ApplyOptionLine(doc, line);
        break;
      case Section::None:
        break;
    }
  });
  return sections;
}

void BuildObjects(TStageData& doc, const Sections& s, const TLightLib* library) {
  doc.ClearObjects();
  for (size_t i = 0; i < s.shapes.size(); ++i) {
    const Fields f = SplitFields(s.shapes[i]);
    if (f.size() == kShapeFields) BuildShape(doc, f, static_cast<int32_t>(i));
  }
  for (size_t i = 0; i < s.lines.size(); ++i) {
    const Fields f = SplitFields(s.lines[i]);
    if (f.size() == kLineFields) BuildLine(doc, f, static_cast<int32_t>(i));
  }
  for (std::string_view line : s.texts) {
    const Fields f = SplitFields(line);
    if (f.size() == kTextFields) BuildText(doc, f);
  }
  if (s.lights.empty()) return;
  const MissingTypes missing = AskMissingTypes(doc, s.lights, library);
  for (std::string_view line : s.lights) {
    const Fields f = SplitFields(line);
    if (f.size() == kLightFields) BuildLight(doc, f, library, missing);
  }
}

std::string TooLarge() {
  return "the file is too large for a stage file (at most " + std::to_string(kMaxStageFileBytes) +
         " bytes)";
}

// ---- Writing ---------------------------------------------------------------

std::string LightLine(const TLightCell& c) {
  return Format("%" PRId64 ",%d,%d,%d,0x%08x,", int64_t{c.StartCh} + 1, c.X1, c.Y1, c.Angle,
                Hex(c.FilterColor)) +
         TextField(c.Fixture.Name) + Format(",0x%08x,", c.Flags) + TextField(c.Comment);
}

std::string TextLine(const TLightCell& c) {
  return Format("%d,%d,", c.X1, c.Y1) + TextField(c.Text) +
         Format(",%d,0x%06x,0x%08x", c.Size, Hex(c.Color), c.Flags);
}

std::string LineLine(const TLightCell& c) {
  return Format("%d,%d,%d,%d,%d,0x%06x", c.X1, c.Y1, c.X2, c.Y2, c.Size, Hex(c.Color));
}

std::string ShapeLine(const TLightCell& c) {
  return Format("%d,%d,%d,%d,%d,%d,%d,0x%06x,0x%06x", c.ShapeType, c.X1, c.Y1, c.X2, c.Y2, c.Size,
                c.Size2, Hex(c.Color), Hex(c.Color2));
}

void AppendSection(std::vector<std::string>& lines, const TStageData& doc, const char* header,
                   int32_t kind, std::string (*format)(const TLightCell&)) {
  lines.emplace_back(header);
  for (const TLightCell* cell : doc.Objects) {
    if (cell->Kind == kind) lines.push_back(format(*cell));
  }
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
  const Sections sections = ReadSections(document, text);
  BuildObjects(document, sections, context.Library);
  document.LoadBackground(context.Pictures, context.ResolvePath);
  document.Modified = false;
  return true;
}

bool LoadStage(TStageData& document, const std::string& path, const TStageReadContext& context,
               std::string* error) {
  document.FileName.clear();
  if (path.empty() || !FileExists(path)) {
    if (error) *error = path.empty() ? "no file name given" : "file not found: " + path;
    return false;
  }
  // Refused before reading, so that a huge file costs no memory.
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) > kMaxStageFileBytes && !ec) {
    if (error) *error = TooLarge() + ": " + path;
    return false;
  }
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  if (!LoadStageFromBytes(document, bytes, context, error)) return false;
  document.FileName = path;
  document.EditInhibit = IsReadOnlyFile(path);
  return true;
}

std::vector<std::string> StageFileLines(TStageData& document) {
  document.SortObjects();
  std::vector<std::string> lines;
  lines.reserve(document.Objects.size() + 32);
  AppendSection(lines, document, "[LightData]", KindLight, LightLine);
  AppendSection(lines, document, "[TextData]", KindText, TextLine);
  AppendSection(lines, document, "[LineData]", KindLine, LineLine);
  AppendSection(lines, document, "[ShapeData]", KindShape, ShapeLine);
  lines.emplace_back("[Option]");
  for (const OptionKey& option : kOptionKeys) {
    lines.push_back(std::string(option.key) + option.write(document));
  }
  return lines;
}

bool SaveStageToBytes(TStageData& document, bool saveUtf8, std::string& bytes, std::string* error) {
  (void)error;
  bytes = EncodeStageText(JoinLinesCrLf(StageFileLines(document)), saveUtf8);
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
