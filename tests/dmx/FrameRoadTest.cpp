// The road of a DMX frame without a display: ArtDmx over loopback -> the engine ->
// LevelIntake -> a document's ShownLevels -> UpdateLights -> the light's colour;
// then the same light driven by the recorder playing back what it recorded.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "dmx/ArtnetThread.h"
#include "dmx/LevelIntake.h"
#include "model/LightPresentation.h"
#include "support/LoopbackArtnet.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using namespace std::chrono_literals;

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;
constexpr int32_t kBlue = 0xFF0000;

class FrameRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer.Open({0x7F000001, 0}, 0));
    engine = std::make_unique<TArtnetThread>(
        true, 8, 8, false, test::LoopbackOptions(&clock, peer.LocalEndpoint().Port));
    ASSERT_TRUE(engine->Ready()) << engine->SocketError();
    engine->InAddr[0] = 0;
    engine->InEnabled[0] = true;
    engine->OnFrame = [this](TArtnetThread::LevelTable& levels) {
      LevelIntake(intake, levels.data());
    };
    // The default type: red, green, blue on channels 1 to 3.
    light = test::AddLight(doc, DefaultLibItem(), 0, 0, 0);
  }

  // Sends the three levels of the light to port address 0 and waits until the
  // engine has taken them in.
  void Send(uint8_t red, uint8_t green, uint8_t blue) {
    const std::vector<uint8_t> levels = {red, green, blue};
    ASSERT_TRUE(peer.SendTo(BuildArtDmx(1, 0, levels), engine->LocalEndpoint()));
    const uint64_t before = engine->Counters().DmxAccepted;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (engine->Counters().DmxAccepted == before &&
           std::chrono::steady_clock::now() < deadline) {
      engine->RunPass();
      std::this_thread::sleep_for(1ms);
    }
    ASSERT_GT(engine->Counters().DmxAccepted, before);
  }

  // One engine cycle, then the refresh tick's update; returns the light's colour.
  int32_t Cycle() {
    clock.Advance(20);
    engine->RunPass();
    std::lock_guard lock(levelLock);
    UpdateLights(doc);
    return light->Color;
  }

  IniFile ini;
  TEnvData env{ini, "/nonexistent"};
  ManualClock clock{1000};
  THdrRecorder recorder{8, clock};
  TStageData doc;
  TLightCell* light = nullptr;
  std::mutex levelLock;
  TLevelIntake intake{env, levelLock, &recorder, [this] { return &doc; }};
  UdpSocket peer;
  std::unique_ptr<TArtnetThread> engine;
  test::TempDir dir;
};

TEST_F(FrameRoadTest, NetworkLevelsReachTheLightThroughTheFilter) {
  env.DatBufferN = 1;
  env.DatThreshold = 128;
  Send(255, 0, 0);
  EXPECT_EQ(Cycle(), 0);  // the jump is held for one frame
  EXPECT_EQ(Cycle(), kRed);
  Send(0, 255, 0);
  EXPECT_EQ(Cycle(), kRed);
  EXPECT_EQ(Cycle(), kGreen);
}

TEST_F(FrameRoadTest, PlaybackStandsInForTheNetwork) {
  const std::string file = dir.File("road.dat");
  ASSERT_TRUE(recorder.StartRecord(file));
  Send(255, 0, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Cycle(), kRed);
  Send(0, 255, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Cycle(), kGreen);
  ASSERT_TRUE(recorder.Stop());
  ASSERT_EQ(recorder.TotalFrames(), 6);

  Send(0, 0, 255);  // what the network says while the recording plays
  ASSERT_TRUE(recorder.StartPlay(file, 0));
  const int32_t expected[] = {kRed, kRed, kRed, kGreen, kGreen, kGreen};
  for (int32_t colour : expected) EXPECT_EQ(Cycle(), colour);
  EXPECT_EQ(Cycle(), kBlue);  // the end of the file gives the network back
  EXPECT_TRUE(recorder.EndReached());
}

}  // namespace
}  // namespace lumaplot
