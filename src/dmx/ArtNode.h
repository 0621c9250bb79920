#pragma once
// TArtNode: one Art-Net node as one of its ArtPollReplies described it. A node
// with more than four ports answers a poll with one reply per group of up to four
// ports, told apart by BindIndex (1, 2, ...; older nodes send 0, which means 1), so
// a node may be described by several TArtNode, one per bind. The texts are
// NUL-terminated 8-bit strings in the sender's code page (for display, convert
// with Cp932ToUtf8 of util/TextCodec.h). A plain value, copied freely.
#include <array>
#include <cstdint>
#include <string>

namespace lumaplot {

struct TArtNode {
  std::array<uint8_t, 4> IpAddress{};  // network order: IpAddress[0] is the first number
  uint16_t Port = 0;                   // as received, low byte first (6454 from conforming nodes)
  std::array<char, 18> ShortName{};
  std::array<char, 64> LongName{};
  std::array<char, 64> NodeReport{};
  uint8_t NetSwitch = 0;
  uint8_t SubSwitch = 0;
  uint8_t NumPortsHi = 0;
  uint8_t NumPortsLo = 0;
  // Per port: bit 7 outputs DMX from the network, bit 6 inputs DMX to the network,
  // bits 0-5 protocol (0 = DMX512).
  std::array<uint8_t, 4> PortTypes{};
  std::array<uint8_t, 4> SwIn{};   // input Universe in the low four bits
  std::array<uint8_t, 4> SwOut{};  // output Universe in the low four bits
  uint8_t BindIndex = 0;           // as received: which group of the node's ports this is
  bool Matches = false;            // one of its ports carries a port address of the engine
  // When this bind last answered, on the clock of the engine that recorded it
  // (TArtnetThread::NowMs); 0 for a node not recorded by an engine.
  uint64_t LastReplyMs = 0;
};

// The bind a reply describes: its BindIndex, with the 0 of older nodes read as 1.
inline int BindOf(const TArtNode& node) { return node.BindIndex == 0 ? 1 : node.BindIndex; }

// The text of a NUL-terminated field (all of it when no NUL is present).
template <size_t N>
std::string FieldText(const std::array<char, N>& field) {
  size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field.data(), length);
}

}  // namespace lumaplot
