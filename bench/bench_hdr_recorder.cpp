// The recorder's cost per engine cycle, and how closely playback follows real time.
//
//   bench_hdr_recorder                                  all three benchmarks
//   LUMAPLOT_DRIFT_SECONDS=10 bench_hdr_recorder        a shorter drift run
//
// BM_RecordTick and BM_PlayTick run 60 simulated seconds (3000 cycles) per pass.
// BM_PlaybackDrift plays a recording in real time (two minutes unless
// LUMAPLOT_DRIFT_SECONDS says otherwise) with a cycle every 20 ms as the engine
// runs it, and reports in max_drift_frames the largest distance between the frame
// shown after a Tick and the frame that elapsed real time calls for.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "dmx/HdrRecorder.h"

namespace lumaplot {
namespace {

constexpr int kCyclesPerMinute = 3000;
using Levels = std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels>;

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

// Writes `cycles` frames whose first four levels hold the frame number.
void RecordFile(const std::string& path, int cycles) {
  ManualClock clock;
  THdrRecorder recorder(8, clock);
  Levels levels{};
  Levels out{};
  recorder.StartRecord(path);
  for (int k = 0; k < cycles; ++k) {
    std::memcpy(levels.data(), &k, sizeof k);
    clock.Advance(20);
    recorder.TakeInput(levels.data());
    recorder.Tick(out.data());
  }
  recorder.Stop();
}

void BM_RecordTick(benchmark::State& state) {
  const std::string path = TempPath("lumaplot-bench-record.dat");
  ManualClock clock;
  THdrRecorder recorder(8, clock);
  Levels levels{};
  levels.fill(128);
  Levels out{};
  int cycle = 0;
  for (auto _ : state) {
    if (cycle % kCyclesPerMinute == 0) {
      state.PauseTiming();
      recorder.StartRecord(path);
      state.ResumeTiming();
    }
    ++cycle;
    clock.Advance(20);
    recorder.TakeInput(levels.data());
    benchmark::DoNotOptimize(recorder.Tick(out.data()));
  }
  recorder.Stop();
  std::filesystem::remove(path);
}
BENCHMARK(BM_RecordTick)->Iterations(10 * kCyclesPerMinute)->Unit(benchmark::kMicrosecond);

void BM_PlayTick(benchmark::State& state) {
  const std::string path = TempPath("lumaplot-bench-play.dat");
  RecordFile(path, kCyclesPerMinute);
  ManualClock clock;
  THdrRecorder recorder(8, clock);
  Levels input{};
  Levels out{};
  int cycle = 0;
  for (auto _ : state) {
    if (cycle % kCyclesPerMinute == 0) {
      state.PauseTiming();
      recorder.StartPlay(path, 0);
      state.ResumeTiming();
    }
    ++cycle;
    clock.Advance(20);
    recorder.TakeInput(input.data());
    benchmark::DoNotOptimize(recorder.Tick(out.data()));
  }
  recorder.Stop();
  std::filesystem::remove(path);
}
BENCHMARK(BM_PlayTick)->Iterations(10 * kCyclesPerMinute)->Unit(benchmark::kMicrosecond);

void BM_PlaybackDrift(benchmark::State& state) {
  const char* env = std::getenv("LUMAPLOT_DRIFT_SECONDS");
  const int seconds = env ? std::max(1, std::atoi(env)) : 120;
  const int cycles = seconds * 50;
  const std::string path = TempPath("lumaplot-bench-drift.dat");
  RecordFile(path, cycles + 100);
  std::int64_t maxDrift = 0;
  for (auto _ : state) {
    THdrRecorder recorder(8);
    Levels input{};
    Levels out{};
    using namespace std::chrono;
    const auto start = steady_clock::now();
    recorder.StartPlay(path, 0);
    for (int n = 1; n <= cycles; ++n) {
      std::this_thread::sleep_until(start + milliseconds(20 * n));
      recorder.TakeInput(input.data());
      recorder.Tick(out.data());
      const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start).count();
      int shown = 0;
      std::memcpy(&shown, out.data(), sizeof shown);
      // After k whole intervals the frame shown is frame k - 1.
      const std::int64_t due = elapsed / 20 - 1;
      maxDrift = std::max<std::int64_t>(maxDrift, std::abs(due - shown));
    }
    recorder.Stop();
  }
  state.counters["max_drift_frames"] = static_cast<double>(maxDrift);
  state.counters["cycles"] = cycles;
  std::filesystem::remove(path);
}
BENCHMARK(BM_PlaybackDrift)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
