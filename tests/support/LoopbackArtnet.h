#pragma once
// Art-Net engine options that keep every datagram on 127.0.0.1: bound to loopback,
// polls and replies sent to loopback, never to a broadcast address.
#include <cstdint>

#include "dmx/ArtnetThread.h"

namespace lumaplot::test {

// `udpPort` 0 takes a free port; `destPort` 0 sends to the engine's own port.
inline ArtnetOptions LoopbackOptions(Clock* clock, uint16_t destPort = 0, uint16_t udpPort = 0) {
  ArtnetOptions options;
  options.BindIp = "127.0.0.1";
  options.UdpPort = udpPort;
  options.DestIp = "127.0.0.1";
  options.DestPort = destPort;
  options.TickClock = clock;
  return options;
}

}  // namespace lumaplot::test
