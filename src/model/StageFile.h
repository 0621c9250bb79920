#pragma once
// Reading and writing the stage file (".dat"): four object sections ([LightData],
// [TextData], [LineData], [ShapeData]), one comma-separated line per object, and an
// [Option] section of key lines. Read by byte-order mark (UTF-8, UTF-16) or else as
// code page 932; written as code page 932, or UTF-8 with a mark, lines ended by
// CR LF. GUI thread only.
//
// Bad input never fails a read: lines with the wrong number of fields are dropped,
// malformed numbers take the field's default, unknown sections and keys are ignored.
// A text, type name or comment holding a comma or beginning with a double quote is
// written as a quoted field, so every object survives a save and reload.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/LightLib.h"
#include "model/StageData.h"
#include "util/PictureLoader.h"

namespace lumaplot {

// Files larger than this are refused rather than read into memory, and no larger
// file is written.
inline constexpr std::size_t kMaxStageFileBytes = 16u * 1024u * 1024u;

// What reading a stage file needs besides the document and the file.
struct TStageReadContext {
  const TLightLib* Library = nullptr;  // none: every light gets the default type
  PictureLoader* Pictures = nullptr;   // none: no background picture is decoded
  TPathResolver ResolvePath;           // resolves the picture name; none: as it stands
};

// Reads the bytes of a stage file into `document`, replacing its objects; options
// absent from the bytes keep their values. Types the library lacks are put to
// `document.OnMissingType` once per name (without regard to case), in order of first
// appearance. A light whose type stays unknown is drawn with the default type but
// keeps the name it was read with. The background picture named in the bytes is
// loaded through `context`. Clears `Modified`; `FileName` and `EditInhibit` are left
// alone. False, with the document unchanged, when there are more than
// kMaxStageFileBytes.
bool LoadStageFromBytes(TStageData& document, std::string_view bytes,
                        const TStageReadContext& context, std::string* error = nullptr);

// LoadStageFromBytes of the file at `path`; then sets `FileName` and `EditInhibit`
// (read-only file). False, with `FileName` empty and the document otherwise
// unchanged, when the path is empty, the file is missing, too large or cannot be
// read.
bool LoadStage(TStageData& document, const std::string& path, const TStageReadContext& context,
               std::string* error = nullptr);

// The bytes of the stage file of `document` (UTF-8 with a mark when `saveUtf8`, else
// code page 932), after sorting `Objects` stably by kind and order. False, with
// `bytes` untouched and the reason in `error`, when they would be more than
// kMaxStageFileBytes: what is saved can always be opened again.
bool SaveStageToBytes(TStageData& document, bool saveUtf8, std::string& bytes,
                      std::string* error = nullptr);

// Writes SaveStageToBytes of `document` to its `FileName`. Atomic: on failure the
// old file stays whole, `Modified` stays as it was, and the result is false with the
// reason in `error`. On success `Modified` is cleared.
bool SaveStage(TStageData& document, bool saveUtf8, std::string* error = nullptr);

// The lines SaveStage writes (without line ends), for tests and tools.
std::vector<std::string> StageFileLines(TStageData& document);

}  // namespace lumaplot
