#include "dmx/PortAddress.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumaplot {
namespace {

TEST(PortAddress, ArtDmxNetAndSubUniMatchTheWholeAddress) {
  const struct {
    int address;
    uint8_t net, subUni;
    bool match;
  } cases[] = {
      {8, 0, 0x08, true},         {8, 1, 0x08, false},          // same SubUni on another Net
      {0x108, 1, 0x08, true},     {0x12A, 1, 0x2A, true},       // Net 1, Sub-Net 2, Universe 10
      {0x12A, 1, 0x0A, false},                                  // Sub-Net differs
      {0x7FFF, 0x7F, 0xFF, true}, {0x7FFF, 0xFF, 0xFF, false},  // the Net byte has seven bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DmxIsFor(c.address, c.net, c.subUni), c.match)
        << std::hex << c.address << " net " << int(c.net) << " subuni " << int(c.subUni);
  }
}

TEST(PortAddress, FieldsOfAnAddress) {
  EXPECT_EQ(PortNet(0x12A), 1);
  EXPECT_EQ(PortSubNet(0x12A), 2);
  EXPECT_EQ(PortUniverse(0x12A), 10);
  EXPECT_EQ(PortSubUni(0x12A), 0x2A);
  EXPECT_EQ(MakePortAddress(1, 2, 10), 0x12A);
}

TArtNode Node(uint8_t net, uint8_t sub, std::array<uint8_t, 4> types, std::array<uint8_t, 4> swIn,
              std::array<uint8_t, 4> swOut) {
  TArtNode node;
  node.NetSwitch = net;
  node.SubSwitch = sub;
  node.PortTypes = types;
  node.SwIn = swIn;
  node.SwOut = swOut;
  return node;
}

TEST(PortAddress, NodeMatchesByInputOrOutputPort) {
  const std::vector<int> noPorts;
  const struct {
    const char* name;
    TArtNode node;
    std::vector<int> in, out;
    bool matches;
  } cases[] = {
      // Port 2 is a DMX input of universe 8 on Net 0, Sub-Net 0; our port 1 is 8.
      {"input on port 2",
       Node(0, 0, {0x80, 0x40, 0, 0}, {0, 8, 0, 0}, {0, 0, 0, 0}),
       {8},
       {},
       true},
      {"input and output bits",
       Node(0, 0, {0xC0, 0, 0, 0}, {8, 0, 0, 0}, {0, 0, 0, 0}),
       {8},
       {},
       true},
      {"not a DMX512 input",
       Node(0, 0, {0x41, 0, 0, 0}, {8, 0, 0, 0}, {0, 0, 0, 0}),
       {8},
       {},
       false},
      {"an output is no input",
       Node(0, 0, {0x80, 0, 0, 0}, {8, 0, 0, 0}, {8, 0, 0, 0}),
       {8},
       {},
       false},
      {"other Net", Node(1, 0, {0x40, 0, 0, 0}, {8, 0, 0, 0}, {0, 0, 0, 0}), {8}, {}, false},
      {"other Sub-Net", Node(0, 1, {0x40, 0, 0, 0}, {8, 0, 0, 0}, {0, 0, 0, 0}), {8}, {}, false},
      {"output address", Node(0, 1, {0, 0, 0x80, 0}, {0, 0, 0, 0}, {0, 0, 3, 0}), {}, {0x13}, true},
      {"output with the input bit",
       Node(0, 1, {0xC0, 0, 0, 0}, {0, 0, 0, 0}, {3, 0, 0, 0}),
       {},
       {0x13},
       true},
      {"output of another protocol",
       Node(0, 1, {0x85, 0, 0, 0}, {0, 0, 0, 0}, {3, 0, 0, 0}),
       {},
       {0x13},
       false},
      // Some nodes (ours) put the Sub-Net in the high four bits of SwOut.
      {"Sub-Net in SwOut",
       Node(0, 1, {0x80, 0, 0, 0}, {0, 0, 0, 0}, {0x13, 0, 0, 0}),
       {},
       {0x13},
       true},
      {"no ports", Node(0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}), {0}, {0}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NodeMatches(c.node, c.in, c.out), c.matches) << c.name;
  }
}

TEST(PortAddress, NodeInputForFindsTheFirstCarryingPort) {
  const TArtNode node = Node(0, 0, {0x80, 0x40, 0x40, 0}, {8, 8, 8, 0}, {8, 0, 0, 0});
  EXPECT_EQ(NodeInputFor(node, 8), 1);
  EXPECT_EQ(NodeInputFor(node, 9), -1);
}

}  // namespace
}  // namespace lumaplot
