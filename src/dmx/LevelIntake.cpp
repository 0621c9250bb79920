#include "dmx/LevelIntake.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <mutex>

namespace lumaplot {

void LevelIntake(TLevelIntake& intake, const std::uint8_t* levels) {
  {
    std::lock_guard lock(intake.LevelLock);
    if (!intake.CurrentDoc()) return;
  }
  const std::uint8_t* source = levels;
  int count = kStageChannels;
  std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels> played;
  if (intake.Recorder) {
    intake.Recorder->TakeInput(levels);
    const int playedLevels = intake.Recorder->Tick(played.data());
    if (playedLevels > 0) {
      source = played.data();
      count = std::min(playedLevels, kStageChannels);
    }
  }
  std::lock_guard lock(intake.LevelLock);
  // The document may have been switched or closed while the recorder worked.
  TStageData* doc = intake.CurrentDoc();
  if (doc) FilterLevels(source, count, intake.Env.DatBufferN, intake.Env.DatThreshold, *doc);
}

// A channel that jumps by the threshold or more keeps its shown level until it has
// stayed within the threshold for one frame (one stage) or two frames (two stages).
void FilterLevels(const std::uint8_t* frame, int count, int stages, int threshold,
                  TStageData& doc) {
  const auto n = static_cast<size_t>(std::clamp(count, 0, kStageChannels));
  auto& first = doc.StageLevels1;
  auto& second = doc.StageLevels2;
  auto& shown = doc.ShownLevels;
  bool changed = false;
  const auto show = [&shown, &changed](size_t i, std::uint8_t level) {
    changed = changed || shown[i] != level;
    shown[i] = level;
  };
  switch (stages) {
    case 1:
      for (size_t i = 0; i < n; ++i) {
        if (std::abs(frame[i] - first[i]) < threshold) show(i, frame[i]);
        first[i] = frame[i];
      }
      break;
    case 2:
      for (size_t i = 0; i < n; ++i) {
        if (std::abs(frame[i] - second[i]) < threshold &&
            std::abs(second[i] - first[i]) < threshold) {
          show(i, frame[i]);
        }
        first[i] = second[i];
        second[i] = frame[i];
      }
      break;
    default:
      changed = !std::equal(frame, frame + n, shown.begin());
      std::copy_n(frame, n, shown.begin());
      break;
  }
  if (changed) ++doc.LevelChanges;
}

void TestPattern(const TEnvData& env, std::uint8_t* levels) {
  if (env.DebugMode != 0) {
    std::fill_n(levels, kStageChannels, static_cast<std::uint8_t>(env.TestLevel));
    return;
  }
  // In each group of four the first channel climbs by 1 and the second by 2 per
  // call; the third and fourth follow at a distance of 86 each. Sums wrap at 256.
  for (int i = 0; i < kStageChannels; i += 4) {
    levels[i] = static_cast<std::uint8_t>(levels[i] + 1);
    levels[i + 1] = static_cast<std::uint8_t>(levels[i + 1] + 2);
    levels[i + 2] = static_cast<std::uint8_t>(levels[i + 1] + 86);
    levels[i + 3] = static_cast<std::uint8_t>(levels[i + 2] + 86);
  }
}

}  // namespace lumaplot
