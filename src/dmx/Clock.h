#pragma once
// The millisecond tick that paces the Art-Net engine. The engine asks its clock for
// the time on every pass of its loop; the program uses SystemClock(), tests give a
// ManualClock and move time by hand so that cycles, time-outs and polls happen
// exactly when the test says. Implementations must be callable from any thread.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace lumaplot {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary fixed start; never goes backwards.
  virtual uint64_t NowMs() const = 0;
};

// std::chrono::steady_clock in milliseconds.
class SteadyClock final : public Clock {
 public:
  uint64_t NowMs() const override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
};

inline Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

// Time that moves only when told to.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t startMs = 0) : now_(startMs) {}
  uint64_t NowMs() const override { return now_.load(); }
  void Advance(uint64_t ms) { now_ += ms; }

 private:
  std::atomic<uint64_t> now_;
};

}  // namespace lumaplot
