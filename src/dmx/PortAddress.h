#pragma once
// Art-Net port addresses and the rules that compare them with what peers send.
// A port address is a 15-bit value in an int: Net in bits 8-14, Sub-Net in bits
// 4-7, Universe in bits 0-3; on the wire the low byte is the SubUni byte and bits
// 8-14 the Net byte. Pure functions; any thread.
#include <array>
#include <cstdint>
#include <span>

#include "dmx/ArtNode.h"

namespace lumaplot {

inline constexpr int PortNet(int address) { return (address >> 8) & 0x7F; }
inline constexpr int PortSubNet(int address) { return (address >> 4) & 0x0F; }
inline constexpr int PortUniverse(int address) { return address & 0x0F; }
inline constexpr int PortSubUni(int address) { return address & 0xFF; }
inline constexpr int MakePortAddress(int net, int subNet, int universe) {
  return ((net & 0x7F) << 8) | ((subNet & 0x0F) << 4) | (universe & 0x0F);
}

// An ArtDmx with these Net and SubUni bytes is for a port of `address`.
inline constexpr bool DmxIsFor(int address, uint8_t net, uint8_t subUni) {
  return PortSubUni(address) == subUni && PortNet(address) == net;
}

// Port k (0 ... 3) of a node sends DMX into the network for `address`: the node's
// Net and Sub-Net match, SwIn[k] carries the Universe and the port is a DMX input.
bool NodeInputCarries(const TArtNode& node, int k, int address);
// Port k of a node takes DMX from the network for `address` (a DMX output port).
bool NodeOutputCarries(const TArtNode& node, int k, int address);

// The node's `Matches`: one of its four ports is an input carrying one of
// `inAddresses` or an output carrying one of `outAddresses`.
bool NodeMatches(const TArtNode& node, std::span<const int> inAddresses,
                 std::span<const int> outAddresses);

// The first port k (0 ... 3) of a node that inputs DMX for `address`, or -1.
int NodeInputFor(const TArtNode& node, int address);

}  // namespace lumaplot
