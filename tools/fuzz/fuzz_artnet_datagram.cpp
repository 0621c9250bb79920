// libFuzzer target: any bytes as a received Art-Net datagram, through every parser
// of the engine. Nothing may read past the datagram, and what the parsers hand out
// must stay within the datagram and within the protocol's limits.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dmx/ArtnetPackets.h"
#include "dmx/PortAddress.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

template <size_t N>
void CheckTerminated(const std::array<char, N>& text) {
  Check(std::memchr(text.data(), 0, N) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumaplot;
  const ByteSpan datagram(data, size);
  const uint16_t opCode = ArtnetOpCode(datagram);
  Check(opCode == 0 || size >= kArtnetMinSize);

  ArtDmxData dmx;
  if (ParseArtDmx(datagram, dmx)) {
    Check(opCode == kOpDmx && size >= kArtDmxHeaderSize);
    Check(dmx.Levels.size() <= static_cast<size_t>(kDmxChannels));
    Check(dmx.Levels.size() <= static_cast<size_t>(dmx.Length));
    Check(dmx.Levels.empty() || (dmx.Levels.data() == data + kArtDmxHeaderSize &&
                                 kArtDmxHeaderSize + dmx.Levels.size() <= size));
  }

  ArtPollReplyData reply;
  if (ParseArtPollReply(datagram, reply)) {
    Check(opCode == kOpPollReply);
    CheckTerminated(reply.Node.ShortName);
    CheckTerminated(reply.Node.LongName);
    CheckTerminated(reply.Node.NodeReport);
    const int addresses[] = {0, 8, 0x123, 0x7FFF};
    NodeMatches(reply.Node, addresses, addresses);
    for (const int address : addresses) {
      const int k = NodeInputFor(reply.Node, address);
      Check(k >= -1 && k < 4);
    }
  }

  // A reply of ours carrying the fuzzed texts as names.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ArtPollReplyPacket own = BuildArtPollReply({127, 0, 0, 1}, text, text, "OK");
  Check(ReplyShortName(own).size() <= kShortNameBytes);
  Check(own[26 + kShortNameBytes] == 0 && own[44 + kLongNameBytes] == 0);
  WriteReplyNames(own, text.substr(size / 2), text.substr(0, size / 2));
  Check(ArtnetOpCode(own) == kOpPollReply);
  return 0;
}
