// What the options dialog changes in the running core at once: the input port
// addresses, a node scan, and where the engine listens and sends (the engine
// restarted). Every datagram stays on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/AppCore.h"
#include "dmx/ArtnetPackets.h"
#include "dmx/PortAddress.h"
#include "dmx/UdpSocket.h"
#include "support/LoopbackCore.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kLoopback = 0x7F000001;

class EngineSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(desk.Open({kLoopback, 0}, 0)); }

  // Sends ArtDmx for `address` until input port `port` of the core's engine says it
  // receives (at most 2 s); false when it never does.
  bool Reaches(TAppCore& core, int address, int port) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (std::chrono::steady_clock::now() < deadline) {
      if (!desk.SendTo(BuildArtDmx(1, address, Bytes(16, 77)), core.Engine().LocalEndpoint())) {
        return false;
      }
      std::this_thread::sleep_for(20ms);
      if (core.Engine().Received(port) != 0) return true;
    }
    return false;
  }

  // The datagrams the desk receives within `ms`, by OpCode.
  std::vector<int> DeskReceives(int ms) {
    std::vector<int> opCodes;
    std::vector<uint8_t> buffer(2048);
    UdpEndpoint from;
    while (desk.WaitReadable(ms)) {
      const long size = desk.Receive(buffer, from);
      if (size > 0) opCodes.push_back(ArtnetOpCode(ByteSpan(buffer.data(), size)));
      ms = 50;
    }
    return opCodes;
  }

  test::TempDir dir;
  UdpSocket desk;
};

TEST_F(EngineSettingsTest, PortAddressesReachTheSettingsAndTheEngineAtOnce) {
  TAppCore core(test::LoopbackCoreSetup(dir.Path()));
  core.StartEngine();
  // Net 1, port 3 Sub-Net 2 and Universe A: 0x012A.
  std::array<int32_t, kInputPortCount> addresses = core.Env().RxUniverse;
  for (int32_t& address : addresses) address = MakePortAddress(1, PortSubNet(address), address);
  addresses[2] = 0x012A;
  core.SetInputPortAddresses(addresses);
  EXPECT_EQ(core.Env().RxUniverse[2], 298);
  EXPECT_EQ(core.Engine().InAddr[2], 298);
  EXPECT_EQ(core.Engine().InAddr[7], 0x10F);
  EXPECT_TRUE(Reaches(core, 0x012A, 2));
  EXPECT_EQ(core.Engine().Received(0), 0);
  // The old address of port 3 is nobody's now.
  const uint64_t before = core.Engine().Counters().DmxNoPort;
  ASSERT_TRUE(desk.SendTo(BuildArtDmx(1, 10, Bytes(16, 1)), core.Engine().LocalEndpoint()));
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (core.Engine().Counters().DmxNoPort == before &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(core.Engine().Counters().DmxNoPort, before + 1);
  core.StopInput();
}

TEST_F(EngineSettingsTest, AScanEmptiesTheNodeListAndPollsAtOnce) {
  TCoreSetup setup = test::LoopbackCoreSetup(dir.Path());
  setup.Artnet.DestPort = desk.LocalEndpoint().Port;
  TAppCore core(std::move(setup));
  core.StartEngine();
  DeskReceives(300);  // the poll of the start
  ArtPollReplyPacket reply = BuildArtPollReply({2, 0, 0, 9}, "node", "node", "OK");
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (core.Engine().NodeCount() == 0 && std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(desk.SendTo(reply, core.Engine().LocalEndpoint()));
    std::this_thread::sleep_for(20ms);
  }
  ASSERT_EQ(core.Engine().NodeCount(), 1);
  core.Engine().NodesChanged = false;

  core.ScanNodes();
  EXPECT_EQ(core.Engine().NodeCount(), 0);
  EXPECT_TRUE(core.Engine().NodesChanged);  // the list shows the empty table
  const std::vector<int> got = DeskReceives(300);
  EXPECT_NE(std::find(got.begin(), got.end(), kOpPoll), got.end());
  core.StopInput();
}

// The settings choose where the engine listens when the process leaves it open;
// a restart moves the running engine there with its ports and test mode.
TEST_F(EngineSettingsTest, TheListeningAddressComesFromTheSettingsAndMovesOnRestart) {
  dir.Write("lumaplot.INI", "[General]\r\nArtNetBind=127.0.0.1\r\nRxUniverse1=0x31\r\n");
  TCoreSetup setup = test::LoopbackCoreSetup(dir.Path());
  // Every interface, at a free port, unless the settings say otherwise; polls and
  // replies still go to loopback only.
  setup.Artnet.BindIp = "0.0.0.0";
  setup.ArtnetBindFixed = false;
  TAppCore core(std::move(setup));
  ASSERT_TRUE(core.Engine().Ready()) << core.Engine().SocketError();
  EXPECT_EQ(core.Engine().LocalEndpoint().Address, kLoopback);
  EXPECT_EQ(core.EngineOptions().BindIp, "127.0.0.1");
  // A listening address chosen on purpose is not warned about as "no 2.x.x.x".
  for (const TCoreMessage& message : core.TakeMessages()) {
    EXPECT_EQ(message.Text.find(kNoArtnetAddressMessage), std::string::npos);
  }
  core.StartEngine();
  core.Engine().TestMode = true;
  core.Engine().InEnabled[5] = false;

  // An address this host does not have: the engine cannot listen and says why.
  core.Env().ArtNetBind = "192.0.2.1";
  std::string problem;
  EXPECT_FALSE(core.RestartEngine(&problem));
  EXPECT_FALSE(core.Engine().Ready());
  EXPECT_FALSE(problem.empty());

  core.Env().ArtNetBind = "127.0.0.1";
  ASSERT_TRUE(core.RestartEngine(&problem)) << problem;
  TArtnetThread& engine = core.Engine();
  EXPECT_TRUE(engine.Running());
  EXPECT_TRUE(engine.TestMode);
  EXPECT_EQ(engine.InAddr[0], 0x31);
  EXPECT_FALSE(engine.InEnabled[5]);
  EXPECT_TRUE(engine.InEnabled[6]);
  EXPECT_TRUE(engine.NodesChanged);
  EXPECT_EQ(engine.LocalEndpoint().Address, kLoopback);
  EXPECT_TRUE(Reaches(core, 0x31, 0));
  core.StopInput();
}

TEST_F(EngineSettingsTest, TheStartUpWarningNamesTheNetworkPage) {
  TAppCore core(test::LoopbackCoreSetup(dir.Path()));  // 127.0.0.1 is no 2.x.x.x address
  const std::vector<TCoreMessage> messages = core.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Text.rfind(kNoArtnetAddressMessage, 0), 0u);
  EXPECT_NE(messages[0].Text.find("「ネットワーク」"), std::string::npos);
  EXPECT_EQ(messages[0].Caption, "ArtNet初期化エラー");
}

}  // namespace
}  // namespace lumaplot
