#include "dmx/ArtnetPackets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumaplot {
namespace {

using Bytes = std::vector<uint8_t>;

// An ArtDmx for Net 1, Sub-Net 2, Universe 3 declaring 6 levels.
const Bytes kArtDmx = {
    'A',  'r',  't', '-', 'N', 'e', 't', 0,  // 0: ID
    0x00, 0x50,                              // 8: OpCode 0x5000, low byte first
    0,    14,                                // 10: ProtVerHi, ProtVerLo
    0x7C,                                    // 12: Sequence
    0,                                       // 13: Physical
    0x23,                                    // 14: SubUni
    0x01,                                    // 15: Net
    0x00, 0x06,                              // 16: Length 6, big-endian
    10,   20,   30,  40,  50,  60,           // 18: levels of channels 1 ... 6
};

TEST(ArtnetPackets, ArtDmxFieldsAreReadAtTheirOffsets) {
  ArtDmxData dmx;
  ASSERT_TRUE(ParseArtDmx(kArtDmx, dmx));
  EXPECT_EQ(ArtnetOpCode(kArtDmx), kOpDmx);
  EXPECT_EQ(dmx.Sequence, 0x7C);
  EXPECT_EQ(dmx.SubUni, 0x23);
  EXPECT_EQ(dmx.Net, 0x01);
  EXPECT_EQ(dmx.Length, 6);
  EXPECT_EQ(Bytes(dmx.Levels.begin(), dmx.Levels.end()), (Bytes{10, 20, 30, 40, 50, 60}));
}

TEST(ArtnetPackets, EveryTruncationOfAnArtDmxIsSafe) {
  for (size_t size = 0; size <= kArtDmx.size(); ++size) {
    const ByteSpan cut(kArtDmx.data(), size);
    ArtDmxData dmx;
    const bool parsed = ParseArtDmx(cut, dmx);
    EXPECT_EQ(ArtnetOpCode(cut), size >= 14 ? kOpDmx : 0) << size;
    ASSERT_EQ(parsed, size >= 18) << size;
    if (parsed) {
      // Only the levels that arrived, never the declared count past the end.
      EXPECT_EQ(dmx.Levels.size(), size - 18) << size;
      EXPECT_EQ(dmx.Levels.data(), kArtDmx.data() + 18);
    }
  }
}

TEST(ArtnetPackets, ArtDmxLengthOutsideOneTo512CarriesNoLevels) {
  const struct {
    uint8_t hi, lo;
    size_t levels;
  } cases[] = {{0x00, 0x00, 0}, {0x00, 0x01, 1}, {0x02, 0x00, 6}, {0x02, 0x01, 0}, {0xFF, 0xFF, 0}};
  for (const auto& c : cases) {
    Bytes packet = kArtDmx;
    packet[16] = c.hi;
    packet[17] = c.lo;
    ArtDmxData dmx;
    ASSERT_TRUE(ParseArtDmx(packet, dmx));
    EXPECT_EQ(dmx.Length, (c.hi << 8) | c.lo);
    EXPECT_EQ(dmx.Levels.size(), c.levels) << dmx.Length;
  }
}

TEST(ArtnetPackets, MalformedHeadersAreNotArtnet) {
  const std::string ids[] = {
      std::string("Art-Net\x01", 8),  // no terminating zero
      std::string("art-net\0", 8),    // wrong case
      std::string("Art-Ne\0\0", 8),   // cut short
      std::string("ArtNet\0\0", 8),  std::string(8, '\0'),
  };
  for (const auto& id : ids) {
    Bytes packet = kArtDmx;
    std::copy(id.begin(), id.end(), packet.begin());
    ArtDmxData dmx;
    EXPECT_EQ(ArtnetOpCode(packet), 0);
    EXPECT_FALSE(ParseArtDmx(packet, dmx));
  }
  Bytes poll = kArtDmx;
  poll[9] = 0x20;  // an ArtPoll is not an ArtDmx
  ArtDmxData dmx;
  EXPECT_FALSE(ParseArtDmx(poll, dmx));
}

// An ArtPollReply of a node 2.0.0.10 with ports on Net 0, Sub-Net 1.
Bytes NodeReply() {
  Bytes r(240, 0);
  const std::string id("Art-Net\0", 8);
  std::copy(id.begin(), id.end(), r.begin());  // 0: ID
  r[8] = 0x00;                                 // 8: OpCode 0x2100
  r[9] = 0x21;
  r[10] = 2, r[11] = 0, r[12] = 0, r[13] = 10;  // 10: IP address
  r[14] = 0x36, r[15] = 0x19;                   // 14: port 6454, low byte first
  r[18] = 0;                                    // 18: NetSwitch
  r[19] = 1;                                    // 19: SubSwitch
  const std::string shortName = "Node-A", longName = "Stage left node", report = "#0001 [0001] OK";
  std::copy(shortName.begin(), shortName.end(), r.begin() + 26);  // 26: Short Name
  std::copy(longName.begin(), longName.end(), r.begin() + 44);    // 44: Long Name
  std::copy(report.begin(), report.end(), r.begin() + 108);       // 108: Node Report
  r[172] = 0, r[173] = 4;                                         // 172: NumPortsHi, Lo
  r[174] = 0x40, r[175] = 0x80, r[176] = 0xC0, r[177] = 0x00;     // 174: PortTypes
  r[178] = 0x80, r[179] = 0, r[180] = 0x80, r[181] = 0;           // 178: GoodInput
  r[182] = 0, r[183] = 0x80, r[184] = 0, r[185] = 0;              // 182: GoodOutput
  r[186] = 8, r[187] = 9, r[188] = 10, r[189] = 11;               // 186: SwIn
  r[190] = 0, r[191] = 1, r[192] = 2, r[193] = 3;                 // 190: SwOut
  r[211] = 2;                                                     // 211: BindIndex
  return r;
}

TEST(ArtnetPackets, ArtPollReplyFieldsAreReadAtTheirOffsets) {
  ArtPollReplyData reply;
  ASSERT_TRUE(ParseArtPollReply(NodeReply(), reply));
  const TArtNode& node = reply.Node;
  EXPECT_EQ(node.IpAddress, (std::array<uint8_t, 4>{2, 0, 0, 10}));
  EXPECT_EQ(node.Port, 6454);
  EXPECT_EQ(node.NetSwitch, 0);
  EXPECT_EQ(node.SubSwitch, 1);
  EXPECT_EQ(FieldText(node.ShortName), "Node-A");
  EXPECT_EQ(FieldText(node.LongName), "Stage left node");
  EXPECT_EQ(FieldText(node.NodeReport), "#0001 [0001] OK");
  EXPECT_EQ(node.NumPortsLo, 4);
  EXPECT_EQ(node.PortTypes, (std::array<uint8_t, 4>{0x40, 0x80, 0xC0, 0x00}));
  EXPECT_EQ(node.SwIn, (std::array<uint8_t, 4>{8, 9, 10, 11}));
  EXPECT_EQ(node.SwOut, (std::array<uint8_t, 4>{0, 1, 2, 3}));
  EXPECT_EQ(reply.GoodInput, (std::array<uint8_t, 4>{0x80, 0, 0x80, 0}));
  EXPECT_EQ(reply.GoodOutput, (std::array<uint8_t, 4>{0, 0x80, 0, 0}));
  EXPECT_EQ(reply.BindIndex, 2);
  EXPECT_EQ(node.BindIndex, 2);  // the node table tells the binds of a node apart by it
  EXPECT_FALSE(node.Matches);
}

bool SameNode(const ArtPollReplyData& a, const ArtPollReplyData& b) {
  const TArtNode &x = a.Node, &y = b.Node;
  return x.IpAddress == y.IpAddress && x.Port == y.Port && x.ShortName == y.ShortName &&
         x.LongName == y.LongName && x.NodeReport == y.NodeReport && x.NetSwitch == y.NetSwitch &&
         x.SubSwitch == y.SubSwitch && x.NumPortsHi == y.NumPortsHi &&
         x.NumPortsLo == y.NumPortsLo && x.PortTypes == y.PortTypes && x.SwIn == y.SwIn &&
         x.SwOut == y.SwOut && a.GoodInput == b.GoodInput && a.GoodOutput == b.GoodOutput &&
         a.BindIndex == b.BindIndex;
}

// Older nodes send shorter replies: a cut reply reads as if the missing bytes were zero.
TEST(ArtnetPackets, EveryTruncationOfAnArtPollReplyReadsMissingFieldsAsZero) {
  const Bytes full = NodeReply();
  for (size_t size = 0; size <= full.size(); ++size) {
    const ByteSpan cut(full.data(), size);
    ArtPollReplyData reply;
    ASSERT_EQ(ParseArtPollReply(cut, reply), size >= 14) << size;
    if (size < 14) continue;
    Bytes padded(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
    padded.resize(full.size(), 0);
    ArtPollReplyData expected;
    ASSERT_TRUE(ParseArtPollReply(padded, expected));
    EXPECT_TRUE(SameNode(reply, expected)) << size;
  }
}

TEST(ArtnetPackets, ReplyTextsWithoutTerminatorStopAtTheirField) {
  Bytes r = NodeReply();
  std::fill(r.begin() + 26, r.begin() + 172, 'x');  // three texts without any NUL
  ArtPollReplyData reply;
  ASSERT_TRUE(ParseArtPollReply(r, reply));
  EXPECT_EQ(FieldText(reply.Node.ShortName), std::string(17, 'x'));
  EXPECT_EQ(FieldText(reply.Node.LongName), std::string(63, 'x'));
  EXPECT_EQ(FieldText(reply.Node.NodeReport), std::string(63, 'x'));
}

TEST(ArtnetPackets, ArtPollIsTheEighteenBytesNodesExpect) {
  const ArtPollPacket expected = {
      'A',  'r',  't', '-', 'N', 'e', 't', 0,  // ID
      0x00, 0x20,                              // OpCode 0x2000
      0,    14,                                // protocol version 14
      0x02,                                    // Flags: reply whenever conditions change
      0,                                       // Priority
      0,    0,    0,   0,                      // target port addresses, unused
  };
  EXPECT_EQ(BuildArtPoll(), expected);
}

TEST(ArtnetPackets, OwnArtPollReplyLayout) {
  const ArtPollReplyPacket r = BuildArtPollReply({2, 0, 0, 5}, "Short", "Long name", "OK");
  EXPECT_EQ(ArtnetOpCode(r), kOpPollReply);
  EXPECT_EQ(Bytes(r.begin() + 10, r.begin() + 16), (Bytes{2, 0, 0, 5, 0x36, 0x19}));
  EXPECT_EQ(r[20], 0x00);  // OemHi
  EXPECT_EQ(r[21], 0x02);  // Oem
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[26])), "Short");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[44])), "Long name");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[108])), "OK");
  EXPECT_EQ(r[173], 0);  // no ports until they are written
  EXPECT_EQ(ReplyShortName(r), "Short");
}

TEST(ArtnetPackets, ReplyPortsUseTheArtnet4Layout) {
  ArtPollReplyPacket r = BuildArtPollReply({127, 0, 0, 1}, "S", "L", "OK");
  ReplyPortGroup group;
  group.NetSwitch = 3;
  group.SubSwitch = 0xA;
  group.NumPorts = 3;
  group.Universe = {0, 7, 15, 9};
  group.Receiving = {true, false, true, true};
  group.BindIndex = 2;
  WriteReplyPorts(r, group, {2, 0, 0, 5});
  EXPECT_EQ(r[18], 3);                                                               // NetSwitch
  EXPECT_EQ(r[19], 0xA);                                                             // SubSwitch
  EXPECT_EQ(r[172], 0);                                                              // NumPortsHi
  EXPECT_EQ(r[173], 3);                                                              // NumPortsLo
  EXPECT_EQ(Bytes(r.begin() + 174, r.begin() + 178), (Bytes{0x80, 0x80, 0x80, 0}));  // PortTypes
  EXPECT_EQ(Bytes(r.begin() + 178, r.begin() + 182), (Bytes{0, 0, 0, 0}));           // GoodInput
  EXPECT_EQ(Bytes(r.begin() + 182, r.begin() + 186), (Bytes{0x80, 0, 0x80, 0}));     // GoodOutput
  EXPECT_EQ(Bytes(r.begin() + 186, r.begin() + 190), (Bytes{0, 0, 0, 0}));           // SwIn
  EXPECT_EQ(Bytes(r.begin() + 190, r.begin() + 194), (Bytes{0xA0, 0xA7, 0xAF, 0}));  // SwOut
  EXPECT_EQ(Bytes(r.begin() + 207, r.begin() + 212), (Bytes{2, 0, 0, 5, 2}));  // BindIp, BindIndex
  EXPECT_EQ(r.size(), 240u);
}

TEST(ArtnetPackets, NamesAreCutToTheirFieldsWithoutSplittingCharacters) {
  ArtPollReplyPacket r = BuildArtPollReply({}, "x", "y", "OK");
  // 16 ASCII bytes and then a two-byte CP932 character: only the ASCII fits in 17.
  const std::string shortName = std::string(16, 'a') + "\x82\xA0";
  WriteReplyNames(r, shortName, std::string(100, 'b'));
  EXPECT_EQ(ReplyShortName(r), std::string(16, 'a'));
  EXPECT_EQ(r[26 + 16], 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[44])), std::string(63, 'b'));
  EXPECT_EQ(r[44 + 63], 0);
}

TEST(ArtnetPackets, CutText8) {
  const struct {
    std::string text;
    size_t max;
    std::string cut;
  } cases[] = {
      {"abc", 5, "abc"},
      {"abcdef", 3, "abc"},
      {"\x82\xA0\x82\xA2", 3, "\x82\xA0"},  // two characters of two bytes
      {"\x82\xA0\x82\xA2", 4, "\x82\xA0\x82\xA2"},
      {"a\xB1\xB2", 2, "a\xB1"},  // half-width katakana are one byte
      {"ab\x82", 5, "ab"},        // a lead byte without its second byte
  };
  for (const auto& c : cases) EXPECT_EQ(CutText8(c.text, c.max), c.cut) << c.text;
}

TEST(ArtnetPackets, BuiltArtDmxParsesBack) {
  Bytes levels(511);
  for (size_t i = 0; i < levels.size(); ++i) levels[i] = static_cast<uint8_t>(i * 7);
  const Bytes packet = BuildArtDmx(9, 0x0123, levels);
  ASSERT_EQ(packet.size(), 18u + 512u);  // an odd count gets one zero level more
  ArtDmxData dmx;
  ASSERT_TRUE(ParseArtDmx(packet, dmx));
  EXPECT_EQ(dmx.Sequence, 9);
  EXPECT_EQ(dmx.Net, 0x01);
  EXPECT_EQ(dmx.SubUni, 0x23);
  EXPECT_EQ(dmx.Length, 512);
  EXPECT_TRUE(std::equal(levels.begin(), levels.end(), dmx.Levels.begin()));
  EXPECT_EQ(dmx.Levels[511], 0);
  EXPECT_EQ(BuildArtDmx(0, 0, Bytes(600, 1)).size(), 18u + 512u);
}

}  // namespace
}  // namespace lumaplot
