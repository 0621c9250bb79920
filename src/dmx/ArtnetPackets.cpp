#include "dmx/ArtnetPackets.h"

#include <algorithm>
#include <cstring>

#include "dmx/PortAddress.h"

namespace lumaplot {
namespace {

constexpr std::array<uint8_t, 8> kArtnetId = {'A', 'r', 't', '-', 'N', 'e', 't', 0};

// Common offsets.
constexpr size_t kOpCodeAt = 8;
constexpr size_t kProtVerHiAt = 10;

// ArtDmx.
constexpr size_t kDmxSequenceAt = 12;
constexpr size_t kDmxSubUniAt = 14;
constexpr size_t kDmxNetAt = 15;
constexpr size_t kDmxLengthAt = 16;

// ArtPoll.
constexpr size_t kPollFlagsAt = 12;
constexpr uint8_t kPollReplyOnChange = 0x02;

// ArtPollReply.
constexpr size_t kReplyIpAt = 10;
constexpr size_t kReplyPortAt = 14;
constexpr size_t kReplyNetSwitchAt = 18;
constexpr size_t kReplySubSwitchAt = 19;
constexpr size_t kReplyOemAt = 21;
constexpr size_t kReplyShortNameAt = 26;
constexpr size_t kReplyLongNameAt = 44;
constexpr size_t kReplyNodeReportAt = 108;
constexpr size_t kReplyNumPortsHiAt = 172;
constexpr size_t kReplyNumPortsLoAt = 173;
constexpr size_t kReplyPortTypesAt = 174;
constexpr size_t kReplyGoodInputAt = 178;
constexpr size_t kReplyGoodOutputAt = 182;
constexpr size_t kReplySwInAt = 186;
constexpr size_t kReplySwOutAt = 190;
constexpr size_t kReplyBindIpAt = 207;
constexpr size_t kReplyBindIndexAt = 211;
constexpr size_t kReplyStatus2At = 212;
constexpr uint8_t kStatus2PortAddress15Bit = 0x08;
constexpr uint8_t kDmx512OutputPort = 0x80;

uint8_t ByteAt(ByteSpan bytes, size_t at) { return at < bytes.size() ? bytes[at] : 0; }

// Bytes [at, at + N) as far as they arrived; the rest stays zero.
template <size_t N>
std::array<uint8_t, N> BytesAt(ByteSpan bytes, size_t at) {
  std::array<uint8_t, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = ByteAt(bytes, at + i);
  return out;
}

// A text field up to its last byte, cut so that it always ends with a NUL.
template <size_t N>
std::array<char, N> TextAt(ByteSpan bytes, size_t at) {
  std::array<char, N> out{};
  for (size_t i = 0; i + 1 < N; ++i) out[i] = static_cast<char>(ByteAt(bytes, at + i));
  return out;
}

void WriteHeader(std::span<uint8_t> packet, uint16_t opCode) {
  std::copy(kArtnetId.begin(), kArtnetId.end(), packet.begin());
  packet[kOpCodeAt] = static_cast<uint8_t>(opCode & 0xFF);
  packet[kOpCodeAt + 1] = static_cast<uint8_t>(opCode >> 8);
}

void WriteText(std::span<uint8_t> packet, size_t at, size_t fieldBytes, std::string_view text) {
  std::fill_n(packet.begin() + static_cast<std::ptrdiff_t>(at), fieldBytes, uint8_t{0});
  const std::string_view cut = CutText8(text, fieldBytes - 1);
  std::memcpy(packet.data() + at, cut.data(), cut.size());
}

bool IsCp932LeadByte(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

uint16_t ArtnetOpCode(ByteSpan datagram) {
  if (datagram.size() < kArtnetMinSize) return 0;
  if (!std::equal(kArtnetId.begin(), kArtnetId.end(), datagram.begin())) return 0;
  return static_cast<uint16_t>(datagram[kOpCodeAt] | (datagram[kOpCodeAt + 1] << 8));
}

bool ParseArtDmx(ByteSpan datagram, ArtDmxData& dmx) {
  if (ArtnetOpCode(datagram) != kOpDmx || datagram.size() < kArtDmxHeaderSize) return false;
  dmx.Sequence = datagram[kDmxSequenceAt];
  dmx.SubUni = datagram[kDmxSubUniAt];
  dmx.Net = datagram[kDmxNetAt];
  dmx.Length = (datagram[kDmxLengthAt] << 8) | datagram[kDmxLengthAt + 1];
  dmx.Levels = {};
  if (dmx.Length >= 1 && dmx.Length <= kDmxChannels) {
    const size_t arrived = datagram.size() - kArtDmxHeaderSize;
    dmx.Levels =
        datagram.subspan(kArtDmxHeaderSize, std::min(static_cast<size_t>(dmx.Length), arrived));
  }
  return true;
}

bool ParseArtPollReply(ByteSpan datagram, ArtPollReplyData& reply) {
  if (ArtnetOpCode(datagram) != kOpPollReply) return false;
  TArtNode& node = reply.Node;
  node = TArtNode{};
  node.IpAddress = BytesAt<4>(datagram, kReplyIpAt);
  node.Port = static_cast<uint16_t>(ByteAt(datagram, kReplyPortAt) |
                                    (ByteAt(datagram, kReplyPortAt + 1) << 8));
  node.NetSwitch = ByteAt(datagram, kReplyNetSwitchAt);
  node.SubSwitch = ByteAt(datagram, kReplySubSwitchAt);
  node.ShortName = TextAt<18>(datagram, kReplyShortNameAt);
  node.LongName = TextAt<64>(datagram, kReplyLongNameAt);
  node.NodeReport = TextAt<64>(datagram, kReplyNodeReportAt);
  node.NumPortsHi = ByteAt(datagram, kReplyNumPortsHiAt);
  node.NumPortsLo = ByteAt(datagram, kReplyNumPortsLoAt);
  node.PortTypes = BytesAt<4>(datagram, kReplyPortTypesAt);
  node.SwIn = BytesAt<4>(datagram, kReplySwInAt);
  node.SwOut = BytesAt<4>(datagram, kReplySwOutAt);
  reply.GoodInput = BytesAt<4>(datagram, kReplyGoodInputAt);
  reply.GoodOutput = BytesAt<4>(datagram, kReplyGoodOutputAt);
  reply.BindIndex = ByteAt(datagram, kReplyBindIndexAt);
  node.BindIndex = reply.BindIndex;
  return true;
}

ArtPollPacket BuildArtPoll() {
  ArtPollPacket poll{};
  WriteHeader(poll, kOpPoll);
  poll[kProtVerHiAt + 1] = kArtnetProtocolVersion;
  poll[kPollFlagsAt] = kPollReplyOnChange;
  return poll;
}

ArtPollReplyPacket BuildArtPollReply(std::array<uint8_t, 4> ip, std::string_view shortName,
                                     std::string_view longName, std::string_view nodeReport) {
  ArtPollReplyPacket reply{};
  WriteHeader(reply, kOpPollReply);
  std::copy(ip.begin(), ip.end(), reply.begin() + kReplyIpAt);
  reply[kReplyPortAt] = kArtnetPort & 0xFF;  // the one field sent low byte first
  reply[kReplyPortAt + 1] = kArtnetPort >> 8;
  reply[kReplyOemAt] = 0x02;
  // The Net and Sub-Net switches are meaningful (15-bit port addresses).
  reply[kReplyStatus2At] = kStatus2PortAddress15Bit;
  WriteReplyNames(reply, shortName, longName);
  WriteText(reply, kReplyNodeReportAt, 64, nodeReport);
  return reply;
}

void WriteReplyNames(ArtPollReplyPacket& reply, std::string_view shortName,
                     std::string_view longName) {
  WriteText(reply, kReplyShortNameAt, kShortNameBytes + 1, shortName);
  WriteText(reply, kReplyLongNameAt, kLongNameBytes + 1, longName);
}

std::string_view ReplyShortName(const ArtPollReplyPacket& reply) {
  const char* field = reinterpret_cast<const char*>(reply.data() + kReplyShortNameAt);
  return {field, strnlen(field, kShortNameBytes + 1)};
}

void WriteReplyPorts(ArtPollReplyPacket& reply, const ReplyPortGroup& group,
                     std::array<uint8_t, 4> bindIp) {
  const int numPorts = std::clamp(group.NumPorts, 0, 4);
  reply[kReplyNetSwitchAt] = group.NetSwitch & 0x7F;
  reply[kReplySubSwitchAt] = group.SubSwitch & 0x0F;
  reply[kReplyNumPortsHiAt] = 0;
  reply[kReplyNumPortsLoAt] = static_cast<uint8_t>(numPorts);
  for (int k = 0; k < 4; ++k) {
    const bool used = k < numPorts;
    reply[kReplyPortTypesAt + k] = used ? kDmx512OutputPort : 0;
    reply[kReplyGoodOutputAt + k] = used && group.Receiving[k] ? 0x80 : 0;
    reply[kReplySwOutAt + k] =
        used ? static_cast<uint8_t>(((group.SubSwitch & 0x0F) << 4) | (group.Universe[k] & 0x0F))
             : 0;
  }
  std::copy(bindIp.begin(), bindIp.end(), reply.begin() + kReplyBindIpAt);
  reply[kReplyBindIndexAt] = group.BindIndex;
}

std::vector<uint8_t> BuildArtDmx(uint8_t sequence, int portAddress, ByteSpan levels) {
  const size_t count = std::min(levels.size(), static_cast<size_t>(kDmxChannels));
  const size_t length = count + (count % 2);
  std::vector<uint8_t> packet(kArtDmxHeaderSize + length, 0);
  WriteHeader(packet, kOpDmx);
  packet[kProtVerHiAt + 1] = kArtnetProtocolVersion;
  packet[kDmxSequenceAt] = sequence;
  packet[kDmxSubUniAt] = static_cast<uint8_t>(PortSubUni(portAddress));
  packet[kDmxNetAt] = static_cast<uint8_t>(PortNet(portAddress));
  packet[kDmxLengthAt] = static_cast<uint8_t>(length >> 8);
  packet[kDmxLengthAt + 1] = static_cast<uint8_t>(length & 0xFF);
  std::copy_n(levels.begin(), count, packet.begin() + kArtDmxHeaderSize);
  return packet;
}

std::string_view CutText8(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t step = IsCp932LeadByte(static_cast<uint8_t>(text[end])) ? 2 : 1;
    if (end + step > maxBytes || end + step > text.size()) break;
    end += step;
  }
  return text.substr(0, end);
}

}  // namespace lumaplot
