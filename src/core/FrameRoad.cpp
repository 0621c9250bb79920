#include "core/FrameRoad.h"

namespace lumaplot {

TFrameRoad::TFrameRoad(TEnvData& env, std::mutex& levelLock,
                       std::function<TStageData*()> currentDoc, const ArtnetOptions& options,
                       bool altNetwork)
    : recorder_(std::make_unique<THdrRecorder>(kRecorderPorts)),
      intake_(std::make_unique<TLevelIntake>(
          TLevelIntake{env, levelLock, recorder_.get(), std::move(currentDoc)})),
      env_(env) {
  MakeEngine(options, altNetwork);
}

TFrameRoad::~TFrameRoad() {
  // Joined first: after that nothing drives the recorder or reads a document.
  engine_.reset();
}

void TFrameRoad::EnablePorts(const std::array<int32_t, kInputPortCount>& addresses) {
  for (int i = 0; i < engine_->InCount() && i < kInputPortCount; ++i) {
    engine_->InAddr[i] = addresses[static_cast<size_t>(i)];
    engine_->InEnabled[i] = true;
  }
}

void TFrameRoad::DisablePorts() {
  for (int i = 0; i < engine_->InCount(); ++i) engine_->InEnabled[i] = false;
}

void TFrameRoad::RestartEngine(const ArtnetOptions& options) {
  const bool altNetwork = engine_->AltNetwork();
  std::array<int, TArtnetThread::kMaxPorts> inAddr{};
  std::array<bool, TArtnetThread::kMaxPorts> inEnabled{};
  std::array<int, TArtnetThread::kMaxPorts> outAddr{};
  for (int i = 0; i < TArtnetThread::kMaxPorts; ++i) {
    inAddr[i] = engine_->InAddr[i];
    inEnabled[i] = engine_->InEnabled[i];
    outAddr[i] = engine_->OutAddr[i];
  }
  const bool testMode = engine_->TestMode;
  const int cycleMs = engine_->CycleMs;
  // Joined before the new engine binds: the port is free again, and the intake and
  // the recorder are never driven by two engine threads.
  engine_.reset();
  MakeEngine(options, altNetwork);
  for (int i = 0; i < TArtnetThread::kMaxPorts; ++i) {
    engine_->InAddr[i] = inAddr[i];
    engine_->InEnabled[i] = inEnabled[i];
    engine_->OutAddr[i] = outAddr[i];
  }
  engine_->TestMode = testMode;
  engine_->CycleMs = cycleMs;
}

void TFrameRoad::MakeEngine(const ArtnetOptions& options, bool altNetwork) {
  engine_ =
      std::make_unique<TArtnetThread>(true, kInputPortCount, kInputPortCount, altNetwork, options);
  engine_->OnFrame = [this](TArtnetThread::LevelTable& levels) {
    LevelIntake(*intake_, levels.data());
  };
  engine_->OnTestFrame = [&env = env_](TArtnetThread::LevelTable& levels) {
    TestPattern(env, levels.data());
  };
  engine_->CycleMs = kEngineCycleMs;
}

}  // namespace lumaplot
