#pragma once
// Art-Net datagrams as bytes: pure functions that read a received datagram at
// explicit offsets, checking the length before every read, and build the
// datagrams the program sends. Nothing is laid over the bytes as a structure and
// nothing is read past the end of a datagram. Any thread.
//
// Every datagram begins with the 8 bytes "Art-Net" and 0, then the OpCode, low
// byte first. Other multi-byte numbers are big-endian unless noted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "dmx/ArtNode.h"

namespace lumaplot {

using ByteSpan = std::span<const uint8_t>;

inline constexpr uint16_t kArtnetPort = 6454;
inline constexpr uint8_t kArtnetProtocolVersion = 14;
inline constexpr uint16_t kOpPoll = 0x2000;
inline constexpr uint16_t kOpPollReply = 0x2100;
inline constexpr uint16_t kOpDmx = 0x5000;

inline constexpr size_t kArtnetMinSize = 14;  // shorter datagrams are dropped
inline constexpr size_t kArtPollSize = 18;
inline constexpr size_t kArtPollReplySize = 240;
inline constexpr size_t kArtDmxHeaderSize = 18;
inline constexpr int kDmxChannels = 512;
inline constexpr size_t kShortNameBytes = 17;  // without the terminating NUL
inline constexpr size_t kLongNameBytes = 63;

using ArtPollPacket = std::array<uint8_t, kArtPollSize>;
using ArtPollReplyPacket = std::array<uint8_t, kArtPollReplySize>;

// The OpCode of an Art-Net datagram; 0 when it is shorter than 14 bytes or does
// not begin with "Art-Net" and a zero byte.
uint16_t ArtnetOpCode(ByteSpan datagram);

// The fields of an ArtDmx the engine uses.
struct ArtDmxData {
  uint8_t Sequence = 0;
  uint8_t SubUni = 0;
  uint8_t Net = 0;
  int Length = 0;  // as declared, big-endian at offset 16
  // Levels of channels 1 ... n: empty unless Length is 1 ... 512, and never more
  // than the bytes that arrived after the header.
  ByteSpan Levels;
};

// False when `datagram` is not an ArtDmx or is shorter than its 18-byte header.
bool ParseArtDmx(ByteSpan datagram, ArtDmxData& dmx);

// The fields of an ArtPollReply. Older nodes send shorter replies: a field that
// lies wholly or partly past the end of the datagram reads as zero (a text up to
// the last byte received).
struct ArtPollReplyData {
  TArtNode Node;                        // Matches is left false; BindIndex as received
  std::array<uint8_t, 4> GoodInput{};   // bit 7: data received on that input
  std::array<uint8_t, 4> GoodOutput{};  // bit 7: data sent on that output
  uint8_t BindIndex = 0;
};

// False when `datagram` is not an ArtPollReply (see ArtnetOpCode).
bool ParseArtPollReply(ByteSpan datagram, ArtPollReplyData& reply);

// ArtPoll: protocol version 14, Flags 0x02 (send a reply whenever the node's
// conditions change), priority 0.
ArtPollPacket BuildArtPoll();

// ArtPollReply with `ip` (network order), port 6454, Oem 0x0002 and the three
// 8-bit texts, each cut to its field (see CutText8). The ports are left empty.
ArtPollReplyPacket BuildArtPollReply(std::array<uint8_t, 4> ip, std::string_view shortName,
                                     std::string_view longName, std::string_view nodeReport);

// Writes the Short Name and Long Name fields: zero-filled, then the texts cut.
void WriteReplyNames(ArtPollReplyPacket& reply, std::string_view shortName,
                     std::string_view longName);

// The short name in a reply: the bytes of its field up to the first NUL.
std::string_view ReplyShortName(const ArtPollReplyPacket& reply);

// Up to four ports that share Net and Sub-Net, as an ArtPollReply lists them.
struct ReplyPortGroup {
  uint8_t NetSwitch = 0;
  uint8_t SubSwitch = 0;
  int NumPorts = 0;                   // 0 ... 4
  std::array<uint8_t, 4> Universe{};  // per port, 0 ... 15
  std::array<bool, 4> Receiving{};    // per port: data arrives now
  uint8_t BindIndex = 1;
};

// Writes the port fields of a reply in the Art-Net 4 layout: NetSwitch,
// SubSwitch, NumPorts, PortTypes 0x80 (DMX512 output from the network), SwOut =
// Sub-Net x 16 + Universe, GoodOutput bit 7 while receiving, BindIp = `bindIp`
// and BindIndex. Ports beyond NumPorts are zeroed.
void WriteReplyPorts(ArtPollReplyPacket& reply, const ReplyPortGroup& group,
                     std::array<uint8_t, 4> bindIp);

// ArtDmx for `portAddress` with `levels` (at most 512 are used; an odd count gets
// one zero level added, as the protocol asks for an even Length).
std::vector<uint8_t> BuildArtDmx(uint8_t sequence, int portAddress, ByteSpan levels);

// `text` cut to at most `maxBytes` without splitting a double-byte character of
// code page 932.
std::string_view CutText8(std::string_view text, size_t maxBytes);

}  // namespace lumaplot
