#pragma once
// The plain-text list of a document's lights: a title, a ruled header and one line
// per light with its type name, start channel and channel roles. Code page 932,
// CR LF, no byte-order mark. GUI thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "model/StageData.h"

namespace lumaplot {

struct TLightListOptions {
  int32_t DmxChMode = 0;     // 0: channels as "A001"; otherwise as "1"
  int32_t GridSortMode = 0;  // 0: name then channel; 1: channel then name; other: document order
};

// The lines of the list (without line ends). The document is not reordered.
std::vector<std::string> LightListLines(const TStageData& document,
                                        const TLightListOptions& options);

// Writes the list to `path` atomically, replacing an existing file. False with the
// reason in `error` when it cannot be written.
bool ExportLightList(const TStageData& document, const std::string& path,
                     const TLightListOptions& options, std::string* error = nullptr);

}  // namespace lumaplot
