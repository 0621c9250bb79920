// The application core without a window: what start-up reads and reports, the
// documents open at the last exit, the COM1 switch, and the road of a frame from a
// loopback socket to a light's colour while the GUI thread switches and closes
// documents (this test also runs under ThreadSanitizer).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/AppCore.h"
#include "dmx/ArtnetPackets.h"
#include "dmx/UdpSocket.h"
#include "model/StageFile.h"
#include "support/FakeModemLines.h"
#include "support/LoopbackCore.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using namespace std::chrono_literals;

class AppCoreTest : public ::testing::Test {
 protected:
  TCoreSetup CoreSetup() { return test::LoopbackCoreSetup(dir.Path(), &modem); }

  // A plot with one light of the default type (red, green, blue) on channel `startCh`.
  std::string WritePlot(const std::string& name, int32_t startCh = 0) {
    TStageData doc;
    TLightCell* light = NewCell();
    light->X1 = 10;
    light->Y1 = 10;
    light->StartCh = startCh;
    doc.AddObject(light);
    doc.FileName = dir.File(name);
    EXPECT_TRUE(SaveStage(doc, false));
    return doc.FileName;
  }

  test::TempDir dir;
  test::FakeModemLines* modem = nullptr;
};

TEST_F(AppCoreTest, StartUpReadsTheSettingsAndReportsWhatWentWrongOnce) {
  dir.Write("lumaplot.INI", "[General]\r\nRxUniverse1=0x21\r\n");
  // A library that is a folder cannot be read.
  std::filesystem::create_directory(dir.File("LIBRARY.INI"));
  TAppCore core(CoreSetup());
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("HdrData")));
  EXPECT_EQ(core.Engine().InAddr[0], 0x21);
  EXPECT_TRUE(core.Engine().InEnabled[7]);
  EXPECT_EQ(core.Documents().Count(), 0);
  EXPECT_FALSE(core.Com1Open());
  const std::vector<TCoreMessage> messages = core.TakeMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.front().Text.rfind("灯体ライブラリを読み込めませんでした。", 0), 0u);
  EXPECT_TRUE(core.TakeMessages().empty());
}

TEST_F(AppCoreTest, LastFilesComeBackAndAreWrittenInTabOrder) {
  const std::string a = WritePlot("a.dat");
  const std::string spaced = WritePlot(" spaced.dat");
  dir.Write("lumaplot.INI", "[General]\r\nLastFile1=gone.dat\r\nLastFile2=a.dat\r\nLastFile3=\"" +
                                spaced + "\"\r\n");
  TAppCore core(CoreSetup());
  int prepared = 0;
  core.PrepareDocument = [&prepared](TStageData&) { ++prepared; };
  core.ReopenLastFiles();
  ASSERT_EQ(core.Documents().Count(), 2);
  EXPECT_EQ(prepared, 2);
  EXPECT_EQ(core.Documents().At(0)->FileName, a);
  core.Documents().Remove(core.Documents().At(0));
  core.Documents().Add(core.NewDocument());
  core.WriteLastFiles();
  EXPECT_EQ(core.Ini().ReadString("General", "LastFile1", "?"), spaced);
  EXPECT_EQ(core.Ini().ReadString("General", "LastFile2", "?"), "");
  EXPECT_EQ(core.Ini().ReadString("General", "LastFile20", "?"), "");
}

TEST_F(AppCoreTest, Com1LinesChooseOnceWhenTheyChange) {
  dir.Write("lumaplot.INI", "[General]\r\nUseCom1Switch=1\r\n");
  TAppCore core(CoreSetup());
  ASSERT_NE(modem, nullptr);
  EXPECT_EQ(modem->OpenedDevice, kDefaultCom1Device);
  ASSERT_TRUE(core.Com1Open());
  modem->Lines = {.Ring = true};
  EXPECT_EQ(core.Com1Selection(), 2);
  EXPECT_EQ(core.Com1Selection(), -1);  // held on: chosen once
  modem->Lines = {.Cts = true, .Rlsd = true};
  EXPECT_EQ(core.Com1Selection(), 0);
  core.StopInput();
  EXPECT_FALSE(core.Com1Open());
}

// At rest the refresh does no presentation work, however large the plot.
TEST_F(AppCoreTest, LightsAreUpdatedOnlyWhenSomethingTheyShowCouldHaveChanged) {
  TAppCore core(CoreSetup());
  auto make = [&core] {
    auto doc = core.NewDocument();
    TLightCell* light = NewCell();
    light->StartCh = 0;
    doc->AddObject(light);
    return core.Documents().Add(std::move(doc));
  };
  TStageData* a = make();
  TStageData* b = make();
  EXPECT_FALSE(core.UpdateCurrentLights());  // no document is current
  core.Documents().SetCurrent(0);
  EXPECT_TRUE(core.UpdateCurrentLights());
  EXPECT_FALSE(core.UpdateCurrentLights());
  a->ShownLevels[0] = 255;
  ++a->LevelChanges;  // as the intake counts a frame that changed a level
  EXPECT_TRUE(core.UpdateCurrentLights());
  EXPECT_EQ(a->Objects.front()->Color, 0x0000FF);
  EXPECT_FALSE(core.UpdateCurrentLights());
  core.Documents().SetCurrent(1);
  EXPECT_TRUE(core.UpdateCurrentLights());
  b->Objects.front()->StartCh = 1;
  core.MarkLightsStale();
  EXPECT_TRUE(core.UpdateCurrentLights());
  // A document freed and another made at the same place is still another document.
  core.Documents().Remove(b);
  core.Documents().Remove(a);
  make();
  core.Documents().SetCurrent(0);
  EXPECT_TRUE(core.UpdateCurrentLights());
}

TEST_F(AppCoreTest, NetworkLevelsColourTheCurrentLightWhileDocumentsChange) {
  TAppCore core(CoreSetup());
  ASSERT_TRUE(core.Engine().Ready()) << core.Engine().SocketError();
  core.Engine().InAddr[0] = 0;
  const std::string plot = WritePlot("a.dat");
  auto first = core.LoadDocument(plot);
  ASSERT_NE(first, nullptr);
  TLightCell* light = first->Objects.front();
  core.Documents().Add(std::move(first));
  core.Documents().SetCurrent(0);
  core.StartEngine();

  UdpSocket desk;
  ASSERT_TRUE(desk.Open({0x7F000001, 0}, 0));
  const std::vector<uint8_t> red{255, 0, 0};
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  int round = 0;
  // The engine thread writes the current document while this thread opens, switches
  // and closes others and updates the lights, as the refresh tick does.
  while (light->Color != 0x0000FF && std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(desk.SendTo(BuildArtDmx(1, 0, red), core.Engine().LocalEndpoint()));
    TStageData* extra = core.Documents().Add(core.NewDocument());
    core.Documents().SetCurrent(1);
    core.UpdateCurrentLights();
    core.Documents().Remove(extra);  // the first one is current again
    core.UpdateCurrentLights();
    std::this_thread::sleep_for(5ms);
    ++round;
  }
  EXPECT_EQ(light->Color, 0x0000FF) << "after " << round << " rounds";
  core.StopInput();
  EXPECT_FALSE(core.Engine().InEnabled[0]);
}

}  // namespace
}  // namespace lumaplot
