#pragma once
// Whole-file reading and atomic writing. Every save in the program goes through
// WriteFileAtomically: the bytes go to a temporary file in the target's folder,
// are flushed to disk and renamed over the target, so a failed save leaves the old
// file whole. Failures return false and, when `error` is given, a readable reason
// (the system's message and the path). Safe to call from any thread.
#include <string>
#include <string_view>

namespace lumaplot {

// Reads the whole file into `bytes`. False when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string* error = nullptr);

// Writes `bytes` to `path` through a temporary file and rename in the same folder.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

bool FileExists(const std::string& path);

// The owner's write bit is off (as after chmod a-w); holds for root too.
bool IsReadOnlyFile(const std::string& path);

}  // namespace lumaplot
