#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "dmx/LevelIntake.h"
#include "support/TempDir.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

// The engine's level table: room for 32 ports, as the engine hands it over.
using Table = std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels>;

class LevelIntakeTest : public ::testing::Test {
 protected:
  void Cycle(std::uint8_t level) {
    table.fill(level);
    clock.Advance(20);
    LevelIntake(intake, table.data());
  }

  IniFile ini;
  TEnvData env{ini, "/nonexistent"};
  ManualClock clock{5};
  THdrRecorder recorder{8, clock};
  TStageData doc;
  TStageData* current = &doc;
  std::mutex levelLock;
  TLevelIntake intake{env, levelLock, &recorder, [this] { return current; }};
  Table table{};
  test::TempDir dir;
};

TEST_F(LevelIntakeTest, WithoutADocumentNothingIsTakenInOrRecorded) {
  current = nullptr;
  ASSERT_TRUE(recorder.StartRecord(dir.File("rec.dat")));
  for (int i = 0; i < 5; ++i) Cycle(9);
  EXPECT_EQ(recorder.Position(), 0);
  EXPECT_EQ(doc.ShownLevels[0], 0);

  current = &doc;
  Cycle(9);
  EXPECT_GE(recorder.Position(), 1);
  EXPECT_EQ(doc.ShownLevels[4095], 9);
  EXPECT_EQ(doc.ShownLevels[0], 9);
}

TEST_F(LevelIntakeTest, ChangeFilterByStagesAndThreshold) {
  const struct {
    int stages;
    int threshold;
    std::vector<int> input;
    std::vector<int> shown;
  } cases[] = {
      {0, 128, {0, 200, 0}, {0, 200, 0}},
      {5, 128, {0, 200, 0}, {0, 200, 0}},  // any other stage count shows at once
      {-1, 128, {200}, {200}},
      {1, 128, {200, 200}, {0, 200}},          // a jump waits one frame
      {1, 128, {100}, {100}},                  // a step within the threshold shows at once
      {1, 128, {200, 100}, {0, 100}},          // 200 -> 100 is within 127
      {1, 128, {255, 0, 255}, {0, 0, 0}},      // a channel that keeps jumping never shows
      {2, 128, {0, 255, 0, 0}, {0, 0, 0, 0}},  // a one-frame spike is never shown
      {2, 128, {200, 200, 200}, {0, 0, 200}},
      {2, 128, {100, 200}, {100, 200}},
      {1, 0, {0, 10, 10}, {0, 0, 0}},  // nothing is below a threshold of 0
      {2, 0, {5, 5, 5}, {0, 0, 0}},
      {1, 256, {255, 0}, {255, 0}},
  };
  for (const auto& c : cases) {
    TStageData fresh;
    current = &fresh;
    env.DatBufferN = c.stages;
    env.DatThreshold = c.threshold;
    // A frame counts as a change of the document only when a shown level moved.
    uint64_t changes = 0;
    int previous = 0;
    for (size_t i = 0; i < c.input.size(); ++i) {
      Cycle(static_cast<std::uint8_t>(c.input[i]));
      EXPECT_EQ(fresh.ShownLevels[0], c.shown[i])
          << "stages " << c.stages << " threshold " << c.threshold << " frame " << i;
      EXPECT_EQ(fresh.ShownLevels[4095], c.shown[i]);
      changes += c.shown[i] != previous;
      previous = c.shown[i];
      EXPECT_EQ(fresh.LevelChanges, changes) << "stages " << c.stages << " frame " << i;
    }
  }
}

TEST_F(LevelIntakeTest, PlaybackOfANarrowRecordingLeavesTheOtherChannelsAlone) {
  HdrHeader h;
  h.SetMagic();
  h.SetFrameSize(1024);
  h.SetFrameCount(2);
  std::string file(reinterpret_cast<const char*>(h.Bytes.data()), h.Bytes.size());
  file += std::string(1024, '\x11') + std::string(1024, '\x22');
  const std::string path = dir.Write("narrow.dat", file);
  doc.ShownLevels.fill(77);

  ASSERT_TRUE(recorder.StartPlay(path, 0));
  Cycle(99);
  EXPECT_EQ(doc.ShownLevels[0], 0x11);
  EXPECT_EQ(doc.ShownLevels[1023], 0x11);
  EXPECT_EQ(doc.ShownLevels[1024], 77);
  EXPECT_EQ(doc.ShownLevels[4095], 77);
  Cycle(99);
  EXPECT_EQ(doc.ShownLevels[1023], 0x22);
  Cycle(99);  // the end: the received levels are shown again
  EXPECT_FALSE(recorder.Playing());
  EXPECT_EQ(doc.ShownLevels[0], 99);
  EXPECT_EQ(doc.ShownLevels[4095], 99);
}

TEST_F(LevelIntakeTest, WithoutARecorderTheReceivedLevelsAreShown) {
  intake.Recorder = nullptr;
  table.fill(0);
  table[4095] = 42;
  table[4096] = 43;  // beyond the 4096 channels of a document
  LevelIntake(intake, table.data());
  EXPECT_EQ(doc.ShownLevels[4095], 42);
}

TEST_F(LevelIntakeTest, DocumentsSwitchedAndFreedUnderTheLockAreNeverWrittenAfterwards) {
  std::atomic<bool> done{false};
  std::thread engine([&] {
    Table levels{};
    levels.fill(5);
    while (!done) {
      clock.Advance(20);
      LevelIntake(intake, levels.data());
    }
  });
  std::unique_ptr<TStageData> owned;
  for (int i = 0; i < 2000; ++i) {
    auto next = i % 3 == 0 ? nullptr : std::make_unique<TStageData>();
    {
      std::lock_guard lock(levelLock);
      current = next.get();
      owned.swap(next);
    }
    next.reset();  // the old document, which the intake can no longer reach
  }
  done = true;
  engine.join();
}

TEST(TestPattern, FaderLevelFillsEveryChannel) {
  IniFile ini;
  TEnvData env{ini, "/nonexistent"};
  env.DebugMode = 1;
  env.TestLevel = 300;  // only the low 8 bits count
  Table levels{};
  TestPattern(env, levels.data());
  EXPECT_EQ(levels[0], 44);
  EXPECT_EQ(levels[4095], 44);
  EXPECT_EQ(levels[4096], 0);  // only the 4096 channels of the 8 ports
}

TEST(TestPattern, RunningPatternInEveryGroupOfFour) {
  IniFile ini;
  TEnvData env{ini, "/nonexistent"};
  Table levels{};
  TestPattern(env, levels.data());
  const std::array<int, 4> first = {1, 2, 88, 174};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(levels[static_cast<size_t>(i)], first[static_cast<size_t>(i)]);
    EXPECT_EQ(levels[static_cast<size_t>(4092 + i)], first[static_cast<size_t>(i)]);
  }
  for (int n = 1; n < 200; ++n) TestPattern(env, levels.data());
  // After 200 calls: 200, 400 mod 256 = 144, then 86 apart with wrap-around.
  EXPECT_EQ(levels[0], 200);
  EXPECT_EQ(levels[1], 144);
  EXPECT_EQ(levels[2], 230);
  EXPECT_EQ(levels[3], 60);
}

}  // namespace
}  // namespace lumaplot
