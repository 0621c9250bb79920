// libFuzzer target: a recording file of any bytes is opened, read as a header,
// scrubbed and played with early, late and skipped cycles, paused and sought.
// Nothing may crash, read out of bounds or hand out more levels than a frame holds.
//
// Build and run: tools/fuzz.sh fuzz_hdr_recording [SECONDS]
//
// Input: the first 8 bytes steer the run (first frame, seek positions, cycle
// lengths); the rest is the file.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dmx/HdrRecorder.h"

namespace {

constexpr size_t kSteering = 8;

const std::string& FilePath() {
  static const std::string path = "/tmp/lumaplot-fuzz-" + std::to_string(::getpid()) + ".dat";
  return path;
}

bool WriteFile(const uint8_t* data, size_t size) {
  const int fd = ::open(FilePath().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool ok = size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size);
  ::close(fd);
  return ok;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckTick(lumaplot::THdrRecorder& recorder, std::array<uint8_t, 4096>& out) {
  const int levels = recorder.Tick(out.data());
  Check(levels == 0 || (levels >= 512 && levels <= recorder.MaxFrameSize()));
  Check(recorder.PositionRatio() >= 0.0 && recorder.PositionRatio() <= 1.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kSteering) return 0;
  const uint8_t* steer = data;
  if (!WriteFile(data + kSteering, size - kSteering)) return 0;

  lumaplot::ManualClock clock(1000);
  lumaplot::THdrRecorder recorder(8, clock);
  std::array<uint8_t, 4096> out{};
  lumaplot::HdrHeader copy;
  if (recorder.ReadHeader(FilePath(), &copy, true)) {
    Check(copy.FrameSize() >= 512 && copy.FrameSize() <= 4096);
    Check(copy.FrameCount() >= 0);
  }
  recorder.Seek(steer[0] - 8);
  CheckTick(recorder, out);
  recorder.SeekRatio(steer[1] / 200.0);
  CheckTick(recorder, out);
  recorder.Stop();

  if (recorder.StartPlayAt(FilePath(), steer[2] / 128.0 - 0.5)) {
    for (int cycle = 0; cycle < 48 && recorder.Playing(); ++cycle) {
      const uint8_t s = steer[3 + cycle % 5];
      clock.Advance(static_cast<uint64_t>((s >> (cycle % 3)) & 0x3F));
      if (s == 0x55 + cycle) recorder.Pause();
      if (s == 0xAA - cycle) recorder.Resume();
      if (cycle == steer[7] % 48) recorder.Seek(steer[cycle % 8]);
      CheckTick(recorder, out);
    }
  }
  recorder.Stop();
  return 0;
}
