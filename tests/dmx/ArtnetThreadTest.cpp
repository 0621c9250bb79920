#include "dmx/ArtnetThread.h"
#include "support/LoopbackArtnet.h"

#include "util/TextCodec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace lumaplot {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

constexpr uint32_t kLoopback = 0x7F000001;

// An ArtPollReply from a node at `ip` with the given ports, through our own builder
// and then the port fields of a node that inputs DMX into the network.
Bytes NodeReply(std::array<uint8_t, 4> ip, const std::string& shortName, uint8_t net = 0,
                uint8_t sub = 0, std::array<uint8_t, 4> types = {},
                std::array<uint8_t, 4> swIn = {}, std::array<uint8_t, 4> goodInput = {}) {
  ArtPollReplyPacket r = BuildArtPollReply(ip, shortName, shortName + " long", "OK");
  r[18] = net;  // NetSwitch
  r[19] = sub;  // SubSwitch
  r[173] = 4;   // NumPortsLo
  for (int k = 0; k < 4; ++k) {
    r[174 + k] = types[k];      // PortTypes
    r[178 + k] = goodInput[k];  // GoodInput
    r[186 + k] = swIn[k];       // SwIn
  }
  return Bytes(r.begin(), r.end());
}

// The same reply as bind `bind` of its node (BindIndex, offset 211).
Bytes AsBind(Bytes reply, uint8_t bind) {
  reply[211] = bind;
  return reply;
}

Bytes PollBytes() {
  const ArtPollPacket poll = BuildArtPoll();
  return Bytes(poll.begin(), poll.end());
}

Bytes ArtDmx(int address, const Bytes& levels) { return BuildArtDmx(1, address, levels); }

// ArtDmx whose Length field says `length` whatever the levels that follow.
Bytes ArtDmxDeclaring(int address, int length, const Bytes& levels) {
  Bytes packet = BuildArtDmx(1, address, Bytes(2, 0));
  packet.resize(18);
  packet[16] = static_cast<uint8_t>(length >> 8);
  packet[17] = static_cast<uint8_t>(length & 0xFF);
  packet.insert(packet.end(), levels.begin(), levels.end());
  return packet;
}

// An engine on 127.0.0.1 with a free port and a hand-moved clock; `peer` is a
// socket on 127.0.0.1 that plays the controller and is the engine's destination.
// The tests drive the engine loop themselves with RunPass.
class ArtnetEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer_.Open({kLoopback, 0}, 0));
    engine_ = Make();
    ASSERT_TRUE(engine_->Ready()) << engine_->SocketError();
  }

  std::unique_ptr<TArtnetThread> Make(
      int inCount = 8, bool altNetwork = false,
      std::function<bool(std::vector<NetInterface>&)> interfaces = {}, uint16_t destPort = 0) {
    ArtnetOptions options =
        test::LoopbackOptions(&clock_, destPort != 0 ? destPort : peer_.LocalEndpoint().Port);
    options.ReadInterfaces = std::move(interfaces);
    auto engine = std::make_unique<TArtnetThread>(true, inCount, 8, altNetwork, options);
    engine->OnFrame = [this](TArtnetThread::LevelTable& levels) {
      frame_ = levels;
      ++frames_;
    };
    return engine;
  }

  void Send(const Bytes& datagram) { Send(*engine_, datagram); }
  void Send(TArtnetThread& engine, const Bytes& datagram) {
    ASSERT_TRUE(peer_.SendTo(datagram, engine.LocalEndpoint()));
  }

  // Runs passes until the engine has read `count` datagrams in all (at most 2 s).
  void PumpUntilRead(uint64_t count) { PumpUntilRead(*engine_, count); }
  static void PumpUntilRead(TArtnetThread& engine, uint64_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (engine.Counters().Datagrams < count && std::chrono::steady_clock::now() < deadline) {
      engine.RunPass();
      if (engine.Counters().Datagrams < count) std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(engine.Counters().Datagrams, count);
  }

  // Sends and waits until the engine has handled the datagram.
  void Deliver(const Bytes& datagram) {
    const uint64_t before = engine_->Counters().Datagrams;
    Send(datagram);
    PumpUntilRead(before + 1);
  }

  void RunCycles(int count) {
    for (int i = 0; i < count; ++i) {
      clock_.Advance(20);
      engine_->RunPass();
    }
  }

  // Every datagram the peer receives within `timeoutMs`.
  std::vector<Bytes> PeerReceives(int timeoutMs = 200) { return Receives(peer_, timeoutMs); }
  static std::vector<Bytes> Receives(UdpSocket& socket, int timeoutMs) {
    std::vector<Bytes> got;
    Bytes buffer(2048);
    UdpEndpoint from;
    while (socket.WaitReadable(timeoutMs)) {
      const long size = socket.Receive(buffer, from);
      if (size >= 0) got.emplace_back(buffer.begin(), buffer.begin() + size);
      timeoutMs = 20;
    }
    return got;
  }

  uint8_t Level(int port, int channel) const { return frame_[port * 512 + channel - 1]; }

  ManualClock clock_{1000};
  UdpSocket peer_;
  std::unique_ptr<TArtnetThread> engine_;
  TArtnetThread::LevelTable frame_{};
  int frames_ = 0;
};

TEST_F(ArtnetEngine, StartsWithTheDocumentedState) {
  EXPECT_EQ(engine_->InCount(), 8);
  EXPECT_EQ(engine_->CycleMs, 20);
  EXPECT_EQ(engine_->InAddr[0], 32);
  EXPECT_EQ(engine_->InAddr[31], 63);
  EXPECT_EQ(engine_->OutAddr[5], 5);
  EXPECT_FALSE(engine_->InEnabled[0]);
  EXPECT_EQ(engine_->NodeCount(), 0);
  EXPECT_EQ(engine_->OwnIpText(), "127.0.0.1");
  EXPECT_EQ(engine_->Message, kNoArtnetAddressMessage);  // 127.0.0.1 is no 2.x.x.x address
  EXPECT_TRUE(engine_->DestOnHostNetwork());
  EXPECT_GE(engine_->ReceiveBufferBytes(), 256 * 1024);  // asked for far more than the default
}

TEST_F(ArtnetEngine, AltNetworkNeedsNoArtnetAddress) {
  EXPECT_TRUE(Make(8, true)->Message.empty());
}

TEST_F(ArtnetEngine, ArtDmxGoesToTheFirstEnabledPortWithItsNetAndSubUni) {
  engine_->InAddr[0] = 8;
  engine_->InAddr[1] = 0x108;  // Net 1, same SubUni
  engine_->InAddr[2] = 8;      // same address as port 1
  engine_->InAddr[3] = 9;      // disabled
  for (int i = 0; i < 3; ++i) engine_->InEnabled[i] = true;

  const struct {
    int address;
    int port;  // -1: no port takes it
  } cases[] = {{8, 0}, {0x108, 1}, {9, -1}, {0x208, -1}, {0x18, -1}};
  uint8_t level = 1;
  for (const auto& c : cases) {
    const ArtnetCounters before = engine_->Counters();
    Deliver(ArtDmx(c.address, Bytes(512, level)));
    RunCycles(1);
    const ArtnetCounters after = engine_->Counters();
    EXPECT_EQ(after.DmxAccepted - before.DmxAccepted, c.port >= 0 ? 1u : 0u) << c.address;
    EXPECT_EQ(after.DmxNoPort - before.DmxNoPort, c.port >= 0 ? 0u : 1u) << c.address;
    for (int port = 0; port < 4; ++port) {
      if (port == c.port) {
        EXPECT_EQ(Level(port, 1), level) << c.address;
        EXPECT_EQ(Level(port, 512), level) << c.address;
        EXPECT_EQ(engine_->Received(port), 1);
      } else {
        EXPECT_NE(Level(port, 1), level) << c.address << " port " << port;
      }
    }
    ++level;
  }
  EXPECT_EQ(engine_->Received(2), 0);  // the duplicate address never receives
}

TEST_F(ArtnetEngine, PartialLengthsChangeOnlyTheChannelsThatArrived) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  Deliver(ArtDmx(8, Bytes(512, 200)));
  Deliver(ArtDmx(8, Bytes(24, 7)));                 // Length 24
  Deliver(ArtDmxDeclaring(8, 512, Bytes(10, 9)));   // says 512, carries 10
  Deliver(ArtDmxDeclaring(8, 0, Bytes(512, 1)));    // Length 0 copies nothing
  Deliver(ArtDmxDeclaring(8, 513, Bytes(512, 1)));  // nor does 513
  RunCycles(1);
  for (int channel = 1; channel <= 10; ++channel) EXPECT_EQ(Level(0, channel), 9) << channel;
  for (int channel = 11; channel <= 24; ++channel) EXPECT_EQ(Level(0, channel), 7) << channel;
  for (int channel = 25; channel <= 512; ++channel) EXPECT_EQ(Level(0, channel), 200) << channel;
  EXPECT_EQ(engine_->Counters().DmxAccepted, 5u);
}

TEST_F(ArtnetEngine, ArtDmxWithoutItsFullHeaderIsDropped) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  Bytes packet = ArtDmx(8, Bytes(2, 5));
  packet.resize(16);  // SubUni and Net, but no Length
  Deliver(packet);
  Deliver(Bytes(13, 'A'));  // too short for any Art-Net datagram
  EXPECT_EQ(engine_->Counters().Dropped, 2u);
  EXPECT_EQ(engine_->Received(0), 0);
}

TEST_F(ArtnetEngine, SilentPortKeepsItsLevelsForSixSecondsThenClears) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  Deliver(ArtDmx(8, Bytes(512, 100)));
  RunCycles(299);
  EXPECT_EQ(engine_->Received(0), 1);
  EXPECT_EQ(Level(0, 1), 100);
  RunCycles(1);
  EXPECT_EQ(engine_->Received(0), 0);
  EXPECT_EQ(Level(0, 1), 0);
  EXPECT_EQ(Level(0, 512), 0);
}

TEST_F(ArtnetEngine, OneCycleAndOneFramePerCycleTime) {
  engine_->RunPass();
  EXPECT_EQ(frames_, 0);
  clock_.Advance(19);
  engine_->RunPass();
  EXPECT_EQ(frames_, 0);
  clock_.Advance(1);
  engine_->RunPass();
  engine_->RunPass();
  EXPECT_EQ(frames_, 1);
  clock_.Advance(500);  // after a stall one cycle runs, not twenty-five
  engine_->RunPass();
  EXPECT_EQ(frames_, 2);
  EXPECT_EQ(engine_->RunPass(), 20u);
}

TEST_F(ArtnetEngine, TestModeKeepsReceivedButNotTheLevelsAndStopsTimeouts) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  Deliver(ArtDmx(8, Bytes(512, 50)));
  RunCycles(1);
  int testFrames = 0;
  engine_->OnTestFrame = [&](TArtnetThread::LevelTable& levels) {
    ++testFrames;
    levels[1] = 77;
  };
  engine_->TestMode = true;
  Deliver(ArtDmx(8, Bytes(512, 60)));
  RunCycles(400);
  EXPECT_EQ(testFrames, 400);
  EXPECT_EQ(engine_->Received(0), 1);
  EXPECT_EQ(Level(0, 1), 50);
  EXPECT_EQ(Level(0, 2), 77);

  engine_->OnTestFrame = nullptr;  // without a pattern the levels are cleared
  RunCycles(1);
  EXPECT_EQ(Level(0, 1), 0);
}

TEST_F(ArtnetEngine, ClearRequestClearsOnceAtTheNextCycle) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  Deliver(ArtDmx(8, Bytes(512, 50)));
  engine_->ClearRequest = true;
  RunCycles(1);
  EXPECT_EQ(Level(0, 1), 0);
  EXPECT_FALSE(engine_->ClearRequest);
  Deliver(ArtDmx(8, Bytes(512, 51)));
  RunCycles(1);
  EXPECT_EQ(Level(0, 1), 51);
}

TEST_F(ArtnetEngine, ReadsEveryWaitingDatagramInOnePass) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  for (int i = 0; i < 300; ++i) Send(ArtDmx(8, Bytes(512, static_cast<uint8_t>(i))));
  engine_->RunPass();
  PumpUntilRead(300);  // normally already done by the single pass
  EXPECT_EQ(engine_->Counters().DmxAccepted, 300u);
  RunCycles(1);
  EXPECT_EQ(Level(0, 1), static_cast<uint8_t>(299));
}

TEST_F(ArtnetEngine, OwnPollComesBackAndOwnReplyIsIgnored) {
  // The destination is the engine itself, as its broadcast reaches it on a network.
  UdpSocket probe;
  ASSERT_TRUE(probe.Open({kLoopback, 0}, 0));
  const uint16_t port = probe.LocalEndpoint().Port;
  probe.Close();
  const ArtnetOptions options = test::LoopbackOptions(&clock_, 0, port);  // to itself
  TArtnetThread self(true, 8, 8, false, options);
  ASSERT_TRUE(self.Ready()) << self.SocketError();
  self.SendPoll();
  PumpUntilRead(self, 2);  // its poll, then its reply to it
  const ArtnetCounters c = self.Counters();
  EXPECT_EQ(c.PollsSent, 1u);
  EXPECT_EQ(c.PollsReceived, 1u);
  EXPECT_EQ(c.RepliesSent, 1u);  // to the destination only: the poll was its own
  EXPECT_EQ(c.OwnReplies, 1u);
  EXPECT_EQ(self.NodeCount(), 0);
}

TEST_F(ArtnetEngine, PollsEveryTwoSeconds) {
  RunCycles(99);
  EXPECT_TRUE(PeerReceives(20).empty());
  RunCycles(1);
  const auto got = PeerReceives();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], PollBytes());
  EXPECT_EQ(engine_->Counters().PollsSent, 1u);
}

TEST_F(ArtnetEngine, AnswersAPollWithOneReplyPerGroupOfPorts) {
  const int addresses[] = {8, 9, 10, 11, 12, 0x123, 8, 13};  // port 7 repeats port 1
  for (int i = 0; i < 8; ++i) {
    engine_->InAddr[i] = addresses[i];
    engine_->InEnabled[i] = true;
  }
  engine_->SetNodeNames("TintviewV", "TintviewV");
  Deliver(ArtDmx(9, Bytes(512, 1)));
  Deliver(PollBytes());
  const auto got = PeerReceives();
  // Groups: (0,0) 8 9 10 11 | (0,0) 12 13 | (1,2) 3; sent to the destination once,
  // as the poll came from the destination itself.
  ASSERT_EQ(got.size(), 3u);
  const struct {
    uint8_t net, sub, ports;
    Bytes swOut;
    Bytes goodOutput;
  } expected[] = {
      {0, 0, 4, {8, 9, 10, 11}, {0, 0x80, 0, 0}},
      {0, 0, 2, {12, 13, 0, 0}, {0, 0, 0, 0}},
      {1, 2, 1, {0x23, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (size_t g = 0; g < got.size(); ++g) {
    const Bytes& r = got[g];
    ASSERT_EQ(r.size(), 240u);
    EXPECT_EQ(ArtnetOpCode(r), kOpPollReply);
    EXPECT_EQ(Bytes(r.begin() + 10, r.begin() + 14), (Bytes{127, 0, 0, 1}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[26])), "TintviewV");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[108])), "OK");
    EXPECT_EQ(r[18], expected[g].net);
    EXPECT_EQ(r[19], expected[g].sub);
    EXPECT_EQ(r[173], expected[g].ports);
    EXPECT_EQ(Bytes(r.begin() + 190, r.begin() + 194), expected[g].swOut) << g;
    EXPECT_EQ(Bytes(r.begin() + 182, r.begin() + 186), expected[g].goodOutput) << g;
    EXPECT_EQ(r[211], g + 1);  // BindIndex
  }
}

TEST_F(ArtnetEngine, RepliesAlsoGoStraightToTheController) {
  UdpSocket controller;
  ASSERT_TRUE(controller.Open({kLoopback, 0}, 0));
  ASSERT_TRUE(controller.SendTo(BuildArtPoll(), engine_->LocalEndpoint()));
  PumpUntilRead(1);
  const auto direct = Receives(controller, 200);
  const auto broadcast = PeerReceives();
  ASSERT_EQ(direct.size(), 1u);  // no port enabled: one reply without ports
  ASSERT_EQ(broadcast.size(), 1u);
  EXPECT_EQ(direct[0], broadcast[0]);
  EXPECT_EQ(direct[0][173], 0);
  EXPECT_EQ(engine_->Counters().RepliesSent, 2u);
}

TEST_F(ArtnetEngine, NothingGoesToADestinationOffTheHostNetworks) {
  // The host, as this engine sees it, has only a LAN, so its destination 127.0.0.1
  // stands for a broadcast address of a network the host is not on.
  auto lanOnly = [](std::vector<NetInterface>& table) {
    table = {{"eth0", 0xC0A80105, 0xFFFFFF00}};
    return true;
  };
  auto engine = Make(8, false, lanOnly);
  ASSERT_TRUE(engine->Ready());
  EXPECT_FALSE(engine->DestOnHostNetwork());
  engine->SendPoll();
  for (int i = 0; i < 100; ++i) {
    clock_.Advance(20);
    engine->RunPass();  // with the poll of the loop after two seconds
  }
  // A controller that polls still gets its answer straight back.
  UdpSocket controller;
  ASSERT_TRUE(controller.Open({kLoopback, 0}, 0));
  ASSERT_TRUE(controller.SendTo(BuildArtPoll(), engine->LocalEndpoint()));
  PumpUntilRead(*engine, 1);
  EXPECT_EQ(Receives(controller, 200).size(), 1u);
  EXPECT_TRUE(PeerReceives().empty());
  const ArtnetCounters c = engine->Counters();
  EXPECT_EQ(c.PollsSent, 0u);
  EXPECT_EQ(c.RepliesSent, 1u);
  EXPECT_EQ(c.SendsWithheld, 3u);  // two polls and the broadcast reply
}

TEST_F(ArtnetEngine, NodeTableKeepsFirstEntriesUpToFifteen) {
  for (uint8_t n = 1; n <= 16; ++n) Deliver(NodeReply({2, 0, 0, n}, "node" + std::to_string(n)));
  Deliver(NodeReply({2, 0, 0, 1}, "renamed"));
  ASSERT_EQ(engine_->NodeCount(), 15);
  const auto nodes = engine_->Nodes();
  EXPECT_EQ(FieldText(nodes[0].ShortName), "node1");
  EXPECT_EQ(FieldText(nodes[14].ShortName), "node15");
  EXPECT_TRUE(engine_->NodesChanged);
  EXPECT_EQ(engine_->Counters().RepliesReceived, 17u);

  engine_->ClearNodes();  // a new scan
  EXPECT_EQ(engine_->NodeCount(), 0);
  Deliver(NodeReply({2, 0, 0, 16}, "node16"));
  EXPECT_EQ(engine_->NodeCount(), 1);
}

TEST_F(ArtnetEngine, NodeMatchesAndReportedInputKeepsThePortAlive) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  // Port 2 of the node inputs universe 8 on Net 0, Sub-Net 0 and reports data.
  Deliver(NodeReply({2, 0, 0, 10}, "desk", 0, 0, {0, 0x40, 0, 0}, {0, 8, 0, 0}, {0, 0x80, 0, 0}));
  EXPECT_EQ(engine_->Received(0), 1);
  RunCycles(299);
  Deliver(NodeReply({2, 0, 0, 11}, "desk2", 0, 0, {0, 0x40, 0, 0}, {0, 8, 0, 0}, {0, 0x80, 0, 0}));
  RunCycles(299);
  EXPECT_EQ(engine_->Received(0), 1);  // refreshed by the second reply
  // Without the data bit the reply refreshes nothing.
  Deliver(NodeReply({2, 0, 0, 12}, "idle", 0, 0, {0, 0x40, 0, 0}, {0, 8, 0, 0}, {0, 0, 0, 0}));
  RunCycles(1);
  EXPECT_EQ(engine_->Received(0), 0);
  Deliver(NodeReply({2, 0, 0, 13}, "other", 0, 1, {0x40, 0, 0, 0}, {8, 0, 0, 0}));

  std::vector<std::string> lines = {"stale"};
  engine_->ListNodes(lines);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"*  2.  0.  0. 10 : desk", "*  2.  0.  0. 11 : desk2",
                                      "*  2.  0.  0. 12 : idle", "   2.  0.  0. 13 : other"}));
  EXPECT_FALSE(engine_->NodesChanged);
}

// A node with more than four ports answers with one reply per bind. Every bind is
// kept, next to the other binds of its address, and the bind that carries one of
// our ports is the one marked.
TEST_F(ArtnetEngine, EveryBindOfANodeIsKeptAndMatchedOnItsOwn) {
  engine_->InAddr[0] = 8;
  engine_->InEnabled[0] = true;
  // Bind 2 of the gateway inputs universe 8 on its second port; bind 1 does not.
  Deliver(AsBind(NodeReply({2, 0, 0, 10}, "gw", 0, 0, {0, 0x40, 0, 0}, {0, 8, 0, 0}), 2));
  Deliver(NodeReply({2, 0, 0, 11}, "other"));  // an older node: BindIndex 0
  Deliver(AsBind(NodeReply({2, 0, 0, 10}, "gw", 0, 1, {0x40, 0, 0, 0}, {3, 0, 0, 0}), 1));
  // Replies of binds already held change nothing; 0 and 1 are the same bind.
  Deliver(AsBind(NodeReply({2, 0, 0, 10}, "renamed"), 2));
  Deliver(AsBind(NodeReply({2, 0, 0, 11}, "renamed"), 1));

  std::vector<std::string> lines;
  engine_->ListNodes(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"   2.  0.  0. 10 : gw", "*  2.  0.  0. 10 : gw",
                                             "   2.  0.  0. 11 : other"}));
  const auto nodes = engine_->Nodes();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].BindIndex, 1);
  EXPECT_EQ(nodes[0].SubSwitch, 1);
  EXPECT_EQ(nodes[1].BindIndex, 2);
  EXPECT_EQ(nodes[1].SwIn[1], 8);
  EXPECT_EQ(engine_->NodeCount(), 3);
  EXPECT_EQ(engine_->NodeAddressCount(), 2);
}

// The table holds fifteen node addresses, with all their binds.
TEST_F(ArtnetEngine, NodeLimitCountsAddressesNotBinds) {
  for (uint8_t n = 1; n <= 15; ++n) {
    for (uint8_t bind = 1; bind <= 2; ++bind) {
      Deliver(AsBind(NodeReply({2, 0, 0, n}, "node" + std::to_string(n)), bind));
    }
  }
  Deliver(NodeReply({2, 0, 0, 16}, "node16"));
  Deliver(AsBind(NodeReply({2, 0, 0, 7}, "node7"), 3));
  EXPECT_EQ(engine_->NodeAddressCount(), 15);
  EXPECT_EQ(engine_->NodeCount(), 31);
  const auto nodes = engine_->Nodes();
  EXPECT_EQ(FieldText(nodes.back().ShortName), "node15");
  EXPECT_EQ(nodes[14].BindIndex, 3);  // after node7's binds 1 and 2
  EXPECT_EQ(FieldText(nodes[14].ShortName), "node7");
}

TEST_F(ArtnetEngine, NodeMatchingUsesDisabledInputsAndOutputAddresses) {
  engine_->InAddr[3] = 0x21;  // not enabled, still compared
  Deliver(NodeReply({2, 0, 0, 1}, "in", 0, 2, {0x40, 0, 0, 0}, {1, 0, 0, 0}));
  engine_->OutAddr[2] = 0x45;
  ArtPollReplyPacket out = BuildArtPollReply({2, 0, 0, 2}, "", "Output node", "OK");
  out[18] = 0, out[19] = 4, out[173] = 1, out[174] = 0x80, out[190] = 5;
  Deliver(Bytes(out.begin(), out.end()));
  std::vector<std::string> lines;
  engine_->ListNodes(lines);
  EXPECT_EQ(lines,
            (std::vector<std::string>{"*  2.  0.  0.  1 : in", "*  2.  0.  0.  2 : Output node"}));
}

// Every reply of a bind renews when it last answered, and nothing else of its
// entry; a node whose replies stop is no longer taken as answering.
TEST_F(ArtnetEngine, NodeEntriesRememberTheirLastReply) {
  Deliver(NodeReply({2, 0, 0, 1}, "desk"));
  Deliver(AsBind(NodeReply({2, 0, 0, 2}, "gw"), 1));
  clock_.Advance(4000);
  Deliver(NodeReply({2, 0, 0, 1}, "renamed"));  // the same bind answers again
  Deliver(AsBind(NodeReply({2, 0, 0, 2}, "gw"), 2));

  auto nodes = engine_->Nodes();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].LastReplyMs, 5000u);
  EXPECT_EQ(FieldText(nodes[0].ShortName), "desk");
  EXPECT_EQ(nodes[1].LastReplyMs, 1000u);  // bind 1 of gw did not answer again
  EXPECT_EQ(nodes[2].LastReplyMs, 5000u);

  const uint64_t now = engine_->NowMs();
  EXPECT_TRUE(NodeAnswering(nodes[0], now));
  EXPECT_TRUE(NodeAnswering(nodes[1], now));
  clock_.Advance(kNodeSilentMs - 4000);  // gw bind 1: silent for exactly kNodeSilentMs
  nodes = engine_->Nodes();
  EXPECT_TRUE(NodeAnswering(nodes[0], engine_->NowMs()));
  EXPECT_FALSE(NodeAnswering(nodes[1], engine_->NowMs()));
  // A clock that is behind the entry (another engine's) does not make it silent.
  EXPECT_TRUE(NodeAnswering(nodes[0], 0));
}

// Port addresses change while nodes are listed; their marks follow at once.
TEST_F(ArtnetEngine, RematchFollowsChangedPortAddresses) {
  Deliver(NodeReply({2, 0, 0, 1}, "in", 0, 1, {0x40, 0, 0, 0}, {2, 0, 0, 0}));
  Deliver(NodeReply({2, 0, 0, 2}, "none"));
  engine_->NodesChanged = false;
  engine_->RematchNodes();
  EXPECT_FALSE(engine_->NodesChanged);  // nothing changed

  engine_->InAddr[5] = 0x12;  // disabled ports count too
  engine_->RematchNodes();
  EXPECT_TRUE(engine_->NodesChanged);
  std::vector<std::string> lines;
  engine_->ListNodes(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"*  2.  0.  0.  1 : in", "   2.  0.  0.  2 : none"}));

  engine_->InAddr[5] = 0x13;
  engine_->RematchNodes();
  engine_->ListNodes(lines);
  EXPECT_EQ(lines[0], "   2.  0.  0.  1 : in");
}

// Bound to one address, a socket never sees the broadcasts of its network, which is
// how nodes answer polls and many desks send; the engine takes them on a second
// socket at the same port when asked to.
TEST_F(ArtnetEngine, OneBoundAddressAlsoTakesItsNetworksBroadcasts) {
  const auto loopbackOnly = [](std::vector<NetInterface>& list) {
    list = {{"lo", kLoopback, 0xFF000000}};
    return true;
  };
  for (const bool listen : {false, true}) {
    ArtnetOptions options = test::LoopbackOptions(&clock_, peer_.LocalEndpoint().Port);
    options.ReadInterfaces = loopbackOnly;
    options.ListenBroadcasts = listen;
    TArtnetThread engine(true, 8, 8, false, options);
    ASSERT_TRUE(engine.Ready()) << engine.SocketError();
    engine.InAddr[0] = 8;
    engine.InEnabled[0] = true;
    const UdpEndpoint broadcast{0x7FFFFFFF, engine.LocalEndpoint().Port};
    EXPECT_EQ(engine.BroadcastEndpoint(), listen ? broadcast : UdpEndpoint{}) << listen;
    ASSERT_TRUE(peer_.SendTo(ArtDmx(8, Bytes(4, 1)), broadcast));
    ASSERT_TRUE(peer_.SendTo(ArtDmx(8, Bytes(4, 2)), engine.LocalEndpoint()));  // unicast
    const auto deadline = std::chrono::steady_clock::now() + 300ms;
    while (std::chrono::steady_clock::now() < deadline) {
      engine.RunPass();
      std::this_thread::sleep_for(2ms);
    }
    EXPECT_EQ(engine.Counters().DmxAccepted, listen ? 2u : 1u) << listen;
  }
}

TEST_F(ArtnetEngine, ShortOldRepliesAreRecordedWithZeroFields) {
  Bytes reply = NodeReply({2, 0, 0, 9}, "oldnode", 0, 0, {0x40, 0, 0, 0}, {8, 0, 0, 0});
  reply.resize(30);  // the name is cut after four characters
  Deliver(reply);
  const auto nodes = engine_->Nodes();
  ASSERT_EQ(nodes.size(), 1u);
  EXPECT_EQ(FieldText(nodes[0].ShortName), "oldn");
  EXPECT_EQ(nodes[0].PortTypes[0], 0);
}

TEST_F(ArtnetEngine, NodeNamesAreConvertedAndCut) {
  engine_->SetNodeNames("ステージモニター用の長い名前です", "L");
  Deliver(PollBytes());
  const auto got = PeerReceives();
  ASSERT_EQ(got.size(), 1u);
  const std::string shortName(reinterpret_cast<const char*>(&got[0][26]));
  EXPECT_EQ(shortName.size(), 16u);  // eight double-byte characters; a ninth would not fit
  EXPECT_EQ(Cp932ToUtf8(shortName), "ステージモニター");
}

TEST_F(ArtnetEngine, PortTakenLeavesTheEngineNotReadyButCycling) {
  const ArtnetOptions options = test::LoopbackOptions(&clock_, 0, engine_->LocalEndpoint().Port);
  TArtnetThread second(true, 8, 8, false, options);
  EXPECT_FALSE(second.Ready());
  EXPECT_EQ(second.Message, kNoArtnetAddressMessage);  // no message of its own for the bind
  EXPECT_NE(second.SocketError().find("cannot bind"), std::string::npos);
  int frames = 0;
  second.OnFrame = [&](TArtnetThread::LevelTable& levels) {
    ++frames;
    EXPECT_EQ(levels[0], 0);
  };
  second.SendPoll();
  clock_.Advance(20);
  second.RunPass();
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(second.Counters().PollsSent, 0u);
}

// The engine's own thread over real time: a frame and a poll round trip.
TEST(ArtnetEngineThread, LoopbackRoundTrip) {
  UdpSocket controller;
  ASSERT_TRUE(controller.Open({kLoopback, 0}, 0));
  // Real time: no clock given.
  const ArtnetOptions options = test::LoopbackOptions(nullptr, controller.LocalEndpoint().Port);
  // Declared before the engine, so that they outlive its thread.
  std::mutex lock;
  std::condition_variable changed;
  uint8_t seen = 0;
  TArtnetThread engine(true, 8, 8, false, options);
  ASSERT_TRUE(engine.Ready());
  engine.InAddr[2] = 0x0312;
  engine.InEnabled[2] = true;
  engine.OnFrame = [&](TArtnetThread::LevelTable& levels) {
    std::lock_guard guard(lock);
    seen = levels[2 * 512 + 99];
    changed.notify_all();
  };
  engine.Start();
  engine.Start();  // a second start does nothing

  ASSERT_TRUE(controller.SendTo(BuildArtDmx(1, 0x0312, Bytes(100, 42)), engine.LocalEndpoint()));
  {
    std::unique_lock guard(lock);
    EXPECT_TRUE(changed.wait_for(guard, 2s, [&] { return seen == 42; }));
  }
  ASSERT_TRUE(controller.SendTo(BuildArtPoll(), engine.LocalEndpoint()));
  Bytes buffer(2048);
  UdpEndpoint from;
  long size = -1;
  for (int tries = 0; tries < 4 && size != 240; ++tries) {
    if (controller.WaitReadable(500)) size = controller.Receive(buffer, from);
  }
  EXPECT_EQ(size, 240);
  EXPECT_EQ(from, engine.LocalEndpoint());
  EXPECT_EQ(buffer[173], 1);     // one port: port 3
  EXPECT_EQ(buffer[18], 3);      // Net 3
  EXPECT_EQ(buffer[190], 0x12);  // Sub-Net 1, Universe 2
  EXPECT_EQ(engine.Received(2), 1);
  engine.Terminate();
}

}  // namespace
}  // namespace lumaplot
