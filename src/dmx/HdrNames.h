#pragma once
// The names the recorder window gives: the file a new recording goes to, named
// after the local date and time it starts ("20240131_235959.dat"), and the window's
// caption for a recording file ("HDR [20240131_235959.dat (4096ch. 00:02:00.00)]").
// Pure functions; any thread.
#include <chrono>
#include <functional>
#include <string>

#include "dmx/HdrHeader.h"

namespace lumaplot {

class THdrRecorder;

// `folder` (ending in "/") + "yyyymmdd_hhnnss.dat" of `moment` in local time. A name
// that `exists` already takes "_2", "_3", … before ".dat": a recording made in the
// same second as another, or in the hour that repeats when the clocks go back, must
// not replace that one.
std::string RecordingFileName(const std::string& folder,
                              std::chrono::system_clock::time_point moment,
                              const std::function<bool(const std::string&)>& exists);

// The name part of `path`: what follows its last "/".
std::string FileNamePart(const std::string& path);

// "HDR [" + the name part of `fileName`, then with a header " (" + its frame size +
// "ch. " + the time of its frame count + ")]", without one "]". The time is in the
// recorder's frame interval (THdrRecorder::TimeText).
std::string RecordingCaption(const std::string& fileName, const HdrHeader* header,
                             const THdrRecorder& recorder);

}  // namespace lumaplot
