#pragma once
// Collecting the files of a drag-and-drop operation. The Qt layer turns the dropped
// URLs into local paths and hands them in; the main window opens what comes back.
#include <string>
#include <string_view>
#include <vector>

namespace lumaplot {

// `extensions` lists extensions separated by ";" (".DAT;txt"; a missing leading "."
// is added; letter case is ignored; masks such as ".d?t" work). For each dropped
// path in order: a folder adds the matching files found in it and, first, in its
// sub-folders (see FindFiles); a file is added when its extension matches. A path
// that is neither is ignored. Nothing already in `list` is added again, so a file
// dropped twice, or both alone and inside a dropped folder, opens once.
void DroppedFiles(const std::vector<std::string>& drop, std::vector<std::string>& list,
                  std::string_view extensions);

}  // namespace lumaplot
