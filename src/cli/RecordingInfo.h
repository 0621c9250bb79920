#pragma once
// What rec-info prints, shared with record, which prints the same of the file it
// has just written.
#include <QString>

#include "dmx/HdrHeader.h"
#include "util/EnvData.h"

namespace lumaplot::cli {

// The recorder of the program: 8 ports, frames of 4096 levels.
inline constexpr int kRecorderPorts = kInputPortCount;
inline constexpr int kRecorderFrameLevels = kRecorderPorts * kHdrPortLevels;

// Prints one JSON line about the recording at `path`: Title, FrameSize and
// FrameCount as in the header, IntervalMs, StartTime and StopTime (local ISO 8601,
// null when no date), Frames (whole frames of the corrected frame size after the
// header) and Length (bytes). Returns the exit status: 1 with "不正なデータファイルです"
// for a file without the magic.
int PrintRecordingInfo(const QString& path);

}  // namespace lumaplot::cli
