#include "dmx/PortAddress.h"

namespace lumaplot {
namespace {

constexpr uint8_t kDmxInputType = 0x40;
constexpr uint8_t kDmxOutputType = 0x80;

bool NodeNetCarries(const TArtNode& node, int address) {
  return PortNet(address) == node.NetSwitch && PortSubNet(address) == node.SubSwitch;
}

}  // namespace

// Nodes put the Universe in the low four bits of SwIn and SwOut; some, ours among
// them, put the Sub-Net in the high four, so only the low four are compared.
bool NodeInputCarries(const TArtNode& node, int k, int address) {
  return NodeNetCarries(node, address) && (node.SwIn[k] & 0x0F) == PortUniverse(address) &&
         (node.PortTypes[k] & 0x7F) == kDmxInputType;
}

bool NodeOutputCarries(const TArtNode& node, int k, int address) {
  return NodeNetCarries(node, address) && (node.SwOut[k] & 0x0F) == PortUniverse(address) &&
         (node.PortTypes[k] & 0xBF) == kDmxOutputType;
}

bool NodeMatches(const TArtNode& node, std::span<const int> inAddresses,
                 std::span<const int> outAddresses) {
  for (int k = 0; k < 4; ++k) {
    for (const int address : inAddresses) {
      if (NodeInputCarries(node, k, address)) return true;
    }
    for (const int address : outAddresses) {
      if (NodeOutputCarries(node, k, address)) return true;
    }
  }
  return false;
}

int NodeInputFor(const TArtNode& node, int address) {
  for (int k = 0; k < 4; ++k) {
    if (NodeInputCarries(node, k, address)) return k;
  }
  return -1;
}

}  // namespace lumaplot
