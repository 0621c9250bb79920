// How fast the Art-Net engine takes in ArtDmx, and how late the levels reach
// OnFrame. A sender thread sends over loopback (127.0.0.1) at a fixed rate per
// universe, or as fast as it can, for a few seconds; the engine runs on its own
// thread as in the program. Each datagram carries its send time in its first eight
// levels, so OnFrame sees how old the newest frame of each universe is.
//
// Reported per run: sent and taken-in datagrams, lost percent, the largest delay
// from a send to the OnFrame that shows it, the engine thread's CPU time as a
// percentage of one core, and datagrams taken in per second of that CPU time.
// Run it on a quiet machine: other load on the cores shows up as delay.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "dmx/ArtnetThread.h"
#include "support/LoopbackArtnet.h"

namespace lumaplot {
namespace {

using SteadyTime = std::chrono::steady_clock;
constexpr uint32_t kLoopback = 0x7F000001;
constexpr double kSeconds = 3.0;

int64_t NowMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(SteadyTime::now().time_since_epoch())
      .count();
}

int64_t ThreadCpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

struct LoadResult {
  uint64_t sent = 0;
  uint64_t taken = 0;
  int64_t maxDelayMicros = 0;
  double cpuPercent = 0;
  double cpuSeconds = 0;
};

// `rateHz` frames a second per universe; 0 sends as fast as the socket allows.
LoadResult RunLoad(int universes, double rateHz) {
  // Real time; polls go to the discard port of loopback.
  const ArtnetOptions options = test::LoopbackOptions(nullptr, 9);
  std::atomic<int64_t> maxDelay{0};
  std::atomic<int64_t> cpuFirst{-1};
  std::atomic<int64_t> cpuLast{0};
  std::atomic<int64_t> wallFirst{0};
  std::atomic<int64_t> wallLast{0};
  std::vector<int64_t> lastStamp(TArtnetThread::kMaxPorts, 0);

  TArtnetThread engine(true, TArtnetThread::kMaxPorts, 8, true, options);
  for (int i = 0; i < universes; ++i) {
    engine.InAddr[i] = i;
    engine.InEnabled[i] = true;
  }
  engine.OnFrame = [&](TArtnetThread::LevelTable& levels) {
    const int64_t now = NowMicros();
    for (int i = 0; i < universes; ++i) {
      int64_t stamp = 0;
      std::memcpy(&stamp, levels.data() + i * kDmxChannels, sizeof stamp);
      if (stamp != 0 && stamp != lastStamp[i]) {
        lastStamp[i] = stamp;
        maxDelay = std::max(maxDelay.load(), now - stamp);
      }
    }
    const int64_t cpu = ThreadCpuMicros();
    if (cpuFirst < 0) {
      cpuFirst = cpu;
      wallFirst = now;
    }
    cpuLast = cpu;
    wallLast = now;
  };
  engine.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  UdpSocket sender;
  sender.Open({kLoopback, 0}, 0);
  std::vector<std::vector<uint8_t>> packets;
  for (int i = 0; i < universes; ++i) {
    packets.push_back(BuildArtDmx(1, i, std::vector<uint8_t>(kDmxChannels, 0)));
  }
  LoadResult result;
  const auto start = SteadyTime::now();
  const auto end = start + std::chrono::duration<double>(kSeconds);
  for (uint64_t frame = 0; SteadyTime::now() < end; ++frame) {
    for (auto& packet : packets) {
      const int64_t stamp = NowMicros();
      std::memcpy(packet.data() + kArtDmxHeaderSize, &stamp, sizeof stamp);
      packet[12] = static_cast<uint8_t>(frame % 255 + 1);  // Sequence
      if (sender.SendTo(packet, engine.LocalEndpoint())) ++result.sent;
    }
    if (rateHz > 0) {
      std::this_thread::sleep_until(start + std::chrono::duration<double>((frame + 1) / rateHz));
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // let the queue drain
  engine.Terminate();
  result.taken = engine.Counters().DmxAccepted;
  result.maxDelayMicros = maxDelay;
  result.cpuSeconds = static_cast<double>(cpuLast - cpuFirst) / 1e6;
  result.cpuPercent = 100.0 * static_cast<double>(cpuLast - cpuFirst) /
                      static_cast<double>(std::max<int64_t>(1, wallLast - wallFirst));
  return result;
}

void BM_ArtnetIntake(benchmark::State& state) {
  const int universes = static_cast<int>(state.range(0));
  const double rateHz = static_cast<double>(state.range(1)) / 10.0;
  for (auto _ : state) {
    const LoadResult r = RunLoad(universes, rateHz);
    state.SetIterationTime(kSeconds);
    state.counters["sent"] = static_cast<double>(r.sent);
    state.counters["taken"] = static_cast<double>(r.taken);
    state.counters["taken_per_s"] = static_cast<double>(r.taken) / kSeconds;
    state.counters["lost_pct"] =
        r.sent ? 100.0 * static_cast<double>(r.sent - std::min(r.sent, r.taken)) /
                     static_cast<double>(r.sent)
               : 0;
    state.counters["max_delay_ms"] = static_cast<double>(r.maxDelayMicros) / 1000.0;
    state.counters["engine_cpu_pct"] = r.cpuPercent;
    // What one core of the engine thread takes in a second at this load: the
    // sender on the same small machine, not the engine, limits the flood.
    state.counters["per_engine_cpu_s"] =
        r.cpuSeconds > 0 ? static_cast<double>(r.taken) / r.cpuSeconds : 0;
  }
}

// Arguments: universes, frames a second per universe x 10 (0 = as fast as possible).
BENCHMARK(BM_ArtnetIntake)
    ->ArgNames({"universes", "rate_x10"})
    ->Args({8, 440})    // a usual desk: 8 universes at 44 Hz
    ->Args({32, 440})   // every port of the engine at 44 Hz
    ->Args({32, 3125})  // 10 000 datagrams a second
    ->Args({32, 0})     // flood
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
