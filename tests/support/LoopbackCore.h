#pragma once
// The application core's set-up for tests and benchmarks: its files in `folder`,
// the Art-Net engine on 127.0.0.1 at a free port, polls and replies to loopback only,
// and, when `modem` is given, a fake COM1 port that the test can drive.
#include <memory>
#include <string>

#include "core/AppCore.h"
#include "support/FakeModemLines.h"

namespace lumaplot::test {

inline TCoreSetup LoopbackCoreSetup(const std::string& folder, FakeModemLines** modem = nullptr) {
  TCoreSetup setup;
  setup.ProgramFolder = folder;
  setup.SettingsPath = folder + "/lumaplot.INI";
  setup.Artnet.BindIp = "127.0.0.1";
  setup.Artnet.UdpPort = 0;
  setup.Artnet.DestIp = "127.0.0.1";
  // Whatever a test's settings say, the engine stays on loopback.
  setup.ArtnetBindFixed = true;
  setup.ArtnetDestFixed = true;
  if (modem) {
    setup.MakeModemLines = [modem] {
      auto lines = std::make_unique<FakeModemLines>();
      *modem = lines.get();
      return lines;
    };
  }
  return setup;
}

}  // namespace lumaplot::test
