// libFuzzer target: the Art-Net engine taking in datagrams over 127.0.0.1. Each
// input is split into datagrams (a length byte, then that many bytes), sent to an
// engine on a free loopback port, read and handled; time moves one cycle per
// datagram, so time-outs, polls and the node table are exercised too. The engine
// answers polls to a sink socket on 127.0.0.1 that is emptied after every input.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "dmx/ArtnetThread.h"
#include "support/LoopbackArtnet.h"

namespace {

using namespace lumaplot;

constexpr uint32_t kLoopback = 0x7F000001;

struct Rig {
  ManualClock clock;
  UdpSocket sink;
  UdpSocket sender;
  std::unique_ptr<TArtnetThread> engine;
  uint64_t frames = 0;

  Rig() {
    if (!sink.Open({kLoopback, 0}, 1 << 20) || !sender.Open({kLoopback, 0}, 0)) std::abort();
    engine =
        std::make_unique<TArtnetThread>(true, TArtnetThread::kMaxPorts, 8, false,
                                        test::LoopbackOptions(&clock, sink.LocalEndpoint().Port));
    if (!engine->Ready()) std::abort();
    for (int i = 0; i < TArtnetThread::kMaxPorts; ++i) {
      engine->InAddr[i] = (i % 4 == 0) ? 8 + i : i * 37;
      engine->InEnabled[i] = i % 3 != 2;
    }
    engine->OnFrame = [this](TArtnetThread::LevelTable&) { ++frames; };
  }
};

Rig& TheRig() {
  static Rig rig;
  return rig;
}

void Drain(UdpSocket& socket) {
  std::vector<uint8_t> buffer(2048);
  UdpEndpoint from;
  while (socket.Receive(buffer, from) >= 0) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Rig& rig = TheRig();
  const uint64_t before = rig.engine->Counters().Datagrams;
  uint64_t sent = 0;
  size_t at = 0;
  while (at < size && sent < 64) {
    size_t length = data[at++];
    if (length == 255) length = 600;  // now and then an ArtDmx-sized datagram
    length = std::min(length, size - at);
    if (rig.sender.SendTo({data + at, length}, rig.engine->LocalEndpoint())) ++sent;
    at += length;
    rig.engine->TestMode = (length % 7) == 3;
    rig.clock.Advance(20);
    rig.engine->RunPass();
  }
  for (int tries = 0; tries < 100 && rig.engine->Counters().Datagrams - before < sent; ++tries) {
    rig.engine->RunPass();
  }
  if (rig.engine->NodeAddressCount() > TArtnetThread::kMaxNodes) std::abort();
  std::vector<std::string> lines;
  rig.engine->ListNodes(lines);
  if (lines.size() >
      static_cast<size_t>(TArtnetThread::kMaxNodes * TArtnetThread::kMaxBindsPerNode))
    std::abort();
  if (rig.engine->NodeAddressCount() == TArtnetThread::kMaxNodes) rig.engine->ClearNodes();
  Drain(rig.sink);
  return 0;
}
