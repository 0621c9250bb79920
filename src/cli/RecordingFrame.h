#pragma once
// One moment of a recording file, read as scrubbing shows it on the stage: shared
// by rec-frame and the --recording/--at options of lights and render.
#include <QString>

#include <cstdint>
#include <vector>

namespace lumaplot::cli {

// A frame number (from 0), or a time from the start of the recording.
struct RecordingMoment {
  bool IsTime = false;
  std::int64_t Frame = 0;
  std::int64_t Milliseconds = 0;
};

// Reads "N" (a frame number) or "hh:mm:ss.cc" (as the recorder shows times; the
// hours and the hundredths may be left out: "mm:ss", "ss.cc" too). False on
// anything else.
bool ParseRecordingMoment(const QString& text, RecordingMoment& moment);

// The levels of the frame at `moment` after the frame-size correction. False with
// a message in `error` when the file is no recording or does not reach that far.
bool ReadRecordingFrame(const QString& path, const RecordingMoment& moment,
                        std::vector<std::uint8_t>& levels, QString& error);

}  // namespace lumaplot::cli
