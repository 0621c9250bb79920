#pragma once
// The level and presentation options shared by lumaplot-cli's lights and render:
// where the shown levels come from (--levels FILE or --recording FILE --at MOMENT,
// then --set CH=V,...) and how the
// level and channel texts read (--dimval, --chmode, --exchange).
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cli/RecordingFrame.h"
#include "model/LightPresentation.h"
#include "model/StageData.h"

namespace lumaplot::cli {

struct LevelOptions {
  QCommandLineOption levels{
      "levels",
      "Raw level bytes, channel 1 first (a regular file; bytes past 4096 are not read); "
      "missing channels stay 0.",
      "FILE"};
  QCommandLineOption set{"set",
                         "Levels of single channels (A001 or 1 form, level 0 to 255); "
                         "applied after --levels; repeatable.",
                         "CH=V[,CH=V...]"};
  QCommandLineOption recording{
      "recording", "Take the levels from this recording file (instead of --levels).", "FILE"};
  QCommandLineOption at{"at", "The moment of --recording: a frame number from 0, or hh:mm:ss.cc.",
                        "FRAME|TIME"};
  QCommandLineOption dimval{"dimval", "Level text: 0 percent, 1 decimal, 2 hexadecimal.", "0|1|2",
                            "0"};
  QCommandLineOption chmode{"chmode", "Channel text: 0 A001 … H512, 1 1 … 4096.", "0|1", "0"};
  QCommandLineOption exchange{"exchange", "Level text above the light, channel text below."};

  QList<QCommandLineOption> All() const {
    return {levels, recording, at, set, dimval, chmode, exchange};
  }
};

// What the options ask for, checked for usage errors.
struct LevelRequest {
  std::string LevelsFile;  // empty: none
  QString RecordingFile;   // empty: none
  RecordingMoment At;
  std::vector<std::pair<int, uint8_t>> Sets;  // 0-based channel, level
  TPresentationSettings Settings;
};

// Reads the options; false with a usage status on a bad value.
bool ParseLevelOptions(const QCommandLineParser& parser, const LevelOptions& options,
                       LevelRequest& request, int& status);

// Fills `doc`'s shown levels as asked: from the levels file or the recording's
// frame, then the single channels. False (failure status) when the file or frame
// cannot be read.
bool FillShownLevels(const LevelRequest& request, TStageData& doc, int& status);

}  // namespace lumaplot::cli
