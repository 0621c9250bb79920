#pragma once
// Guarded loading of a text file as a list of lines.
#include <string>
#include <vector>

namespace lumaplot {

// Reads the lines of `fileName` (UTF-8 / UTF-16 by byte-order mark, else CP932; see
// TextCodec.h) into `list`. False with `list` empty, and the reason in `error`,
// when the file cannot be read; never throws.
bool LoadListSafely(const std::string& fileName, std::vector<std::string>& list,
                    std::string* error = nullptr);

}  // namespace lumaplot
