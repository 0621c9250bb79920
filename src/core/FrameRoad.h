#pragma once
// TFrameRoad: the Art-Net engine, the recorder and the level intake wired together,
// the road a DMX frame takes from the socket to a document's level buffers. The
// engine (created suspended) hands every cycle's levels to the intake, which feeds
// the recorder, takes its frame while it plays, and writes the current document
// through the change filter; in test mode the engine fills its levels from the test
// pattern first. The main program and lumaplot-cli's recorder both use it.
//
// Ownership: the road owns the recorder, the intake and the engine, and borrows the
// settings record, LevelLock and the way to the current document, which must
// outlive it. The destructor joins the engine thread before the recorder goes.
// Threads: GUI (or main) thread; the engine thread runs the intake and the recorder.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "dmx/ArtnetThread.h"
#include "dmx/HdrRecorder.h"
#include "dmx/LevelIntake.h"
#include "model/StageData.h"
#include "util/EnvData.h"

namespace lumaplot {

class TFrameRoad {
 public:
  static constexpr int kRecorderPorts = 8;
  static constexpr int kEngineCycleMs = 20;

  // `altNetwork` picks the engine's other default network (the debug mode).
  TFrameRoad(TEnvData& env, std::mutex& levelLock, std::function<TStageData*()> currentDoc,
             const ArtnetOptions& options, bool altNetwork);
  ~TFrameRoad();
  TFrameRoad(const TFrameRoad&) = delete;
  TFrameRoad& operator=(const TFrameRoad&) = delete;

  THdrRecorder& Recorder() const { return *recorder_; }
  TArtnetThread& Engine() const { return *engine_; }

  // Every input port listens to its address and is enabled.
  void EnablePorts(const std::array<int32_t, kInputPortCount>& addresses);
  // Disables every input port; the engine keeps running.
  void DisablePorts();

  // Replaces the engine by a new one made with `options` (and the old one's
  // alternative network): the old one is ended and joined first, so its UDP port is
  // free and nothing runs the intake twice; the new one takes over the port
  // addresses and enables, the test mode and the callbacks. The new engine is not
  // started; the caller gives it its node names and starts it.
  void RestartEngine(const ArtnetOptions& options);

 private:
  void MakeEngine(const ArtnetOptions& options, bool altNetwork);

  std::unique_ptr<THdrRecorder> recorder_;
  std::unique_ptr<TLevelIntake> intake_;
  std::unique_ptr<TArtnetThread> engine_;
  TEnvData& env_;
};

}  // namespace lumaplot
