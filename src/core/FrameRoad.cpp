#include "core/FrameRoad.h"

namespace lumaplot {

TFrameRoad::TFrameRoad(TEnvData& env, std::mutex& levelLock,
                       std::function<TStageData*()> currentDoc, const ArtnetOptions& options,
                       bool altNetwork)
    : recorder_(std::make_unique<THdrRecorder>(kRecorderPorts)),
      intake_(std::make_unique<TLevelIntake>(
          TLevelIntake{env, levelLock, recorder_.get(), std::move(currentDoc)})),
      engine_(std::make_unique<TArtnetThread>(true, kInputPortCount, kInputPortCount, altNetwork,
                                              options)) {
  engine_->OnFrame = [this](TArtnetThread::LevelTable& levels) {
    LevelIntake(*intake_, levels.data());
  };
  engine_->OnTestFrame = [&env](TArtnetThread::LevelTable& levels) {
    TestPattern(env, levels.data());
  };
  engine_->CycleMs = kEngineCycleMs;
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

}  // namespace lumaplot
