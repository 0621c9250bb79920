#include "dmx/NetInterfaces.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumaplot {
namespace {

constexpr uint32_t Ip(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

const NetInterface kLo{"lo", Ip(127, 0, 0, 1), Ip(255, 0, 0, 0)};
const NetInterface kLan{"eth0", Ip(192, 168, 1, 5), Ip(255, 255, 255, 0)};
const NetInterface kArtnet{"eth1", Ip(2, 0, 0, 7), Ip(255, 0, 0, 0)};

TEST(NetInterfaces, OwnAddressPrefersTheArtnetNetwork) {
  const struct {
    std::vector<NetInterface> table;
    uint32_t address;
    bool artnet;
  } cases[] = {
      {{kLo, kLan, kArtnet}, Ip(2, 0, 0, 7), true},
      {{kLo, kLan}, Ip(192, 168, 1, 5), false},
      {{kLan, kLo}, Ip(192, 168, 1, 5), false},
      {{kLo}, Ip(127, 0, 0, 1), false},
      {{}, Ip(127, 0, 0, 1), false},
  };
  for (const auto& c : cases) {
    const OwnAddressChoice choice = ChooseOwnAddress(c.table);
    EXPECT_EQ(choice.Address, c.address) << Ipv4Text(c.address);
    EXPECT_EQ(choice.OnArtnetNetwork, c.artnet) << Ipv4Text(c.address);
  }
}

// A directed broadcast to a network the host is not on would go to the gateway.
TEST(NetInterfaces, DestinationMustLieOnAHostNetwork) {
  const struct {
    std::vector<NetInterface> table;
    uint32_t dest;
    bool onNetwork;
  } cases[] = {
      {{kLo, kLan}, Ip(2, 255, 255, 255), false},
      {{kLo, kLan, kArtnet}, Ip(2, 255, 255, 255), true},
      {{kLo, kLan}, Ip(192, 168, 1, 255), true},
      {{kLo, kLan}, Ip(192, 168, 11, 255), false},
      {{kLo}, Ip(127, 0, 0, 1), true},
      {{kLan}, Ip(127, 0, 0, 1), false},
      {{{"tun", Ip(10, 0, 0, 1), 0}},
       Ip(2, 255, 255, 255),
       false},  // an empty netmask contains nothing
      {{}, Ip(127, 0, 0, 1), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsOnHostNetwork(c.table, c.dest), c.onNetwork) << Ipv4Text(c.dest);
}

TEST(NetInterfaces, NetworkBroadcastOfTheInterfaceWithTheAddress) {
  const std::vector<NetInterface> table = {kLo, kLan, kArtnet, {"tun", Ip(10, 0, 0, 1), 0}};
  const struct {
    uint32_t address;
    uint32_t broadcast;
  } cases[] = {
      {Ip(2, 0, 0, 7), Ip(2, 255, 255, 255)},
      {Ip(192, 168, 1, 5), Ip(192, 168, 1, 255)},
      {Ip(127, 0, 0, 1), Ip(127, 255, 255, 255)},
      {Ip(192, 168, 1, 6), 0},  // on the network, but no interface has it
      {Ip(10, 0, 0, 1), 0},     // an empty netmask has no broadcast
      {0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NetworkBroadcast(table, c.address), c.broadcast) << Ipv4Text(c.address);
  }
}

TEST(NetInterfaces, Ipv4TextRoundTrip) {
  const struct {
    const char* text;
    bool valid;
    uint32_t address;
  } cases[] = {
      {"2.255.255.255", true, Ip(2, 255, 255, 255)},
      {"0.0.0.0", true, 0},
      {"127.0.0.1", true, Ip(127, 0, 0, 1)},
      {"256.0.0.1", false, 0},
      {"1.2.3", false, 0},
      {"1.2.3.4.5", false, 0},
      {"1.2.3.4 ", false, 0},
      {"-1.2.3.4", false, 0},
      {"1..3.4", false, 0},
      {"0001.2.3.4", false, 0},
      {"", false, 0},
      {"localhost", false, 0},
  };
  for (const auto& c : cases) {
    uint32_t address = 0xDEADBEEF;
    ASSERT_EQ(ParseIpv4(c.text, address), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(address, c.address) << c.text;
      EXPECT_EQ(Ipv4Text(address), c.text);
    } else {
      EXPECT_EQ(address, 0xDEADBEEF) << c.text;
    }
  }
}

TEST(NetInterfaces, TheHostTableHasLoopback) {
  std::vector<NetInterface> table;
  ASSERT_TRUE(ReadNetInterfaces(table));
  EXPECT_TRUE(IsOnHostNetwork(table, Ip(127, 0, 0, 1)));
}

}  // namespace
}  // namespace lumaplot
