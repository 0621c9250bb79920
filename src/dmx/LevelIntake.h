#pragma once
// The road of a DMX frame on the engine thread: LevelIntake, installed as the
// Art-Net engine's OnFrame, and TestPattern, installed as its OnTestFrame.
//
// LevelIntake hands the received levels to the recorder, takes the recorder's frame
// instead while it plays or scrubs, runs the frame through the change filter
// (DatBufferN stages, DatThreshold) and writes the current document's level
// buffers. With no current document it returns at once: nothing is recorded and
// playback does not advance.
//
// Ownership and threads: TLevelIntake borrows the settings record, LevelLock, the
// recorder and the way to the current document; the application core owns all of
// them and keeps them alive while the engine runs. The intake calls CurrentDoc and
// writes a document's buffers only while holding LevelLock, so whoever switches or
// frees documents must hold LevelLock while doing it; the recorder's file work
// happens outside the lock.
#include <cstdint>
#include <functional>
#include <mutex>

#include "dmx/HdrRecorder.h"
#include "model/StageData.h"
#include "util/EnvData.h"

namespace lumaplot {

struct TLevelIntake {
  TEnvData& Env;
  std::mutex& LevelLock;                    // guards the documents' level buffers and CurrentDoc
  THdrRecorder* Recorder = nullptr;         // none: the received levels only
  std::function<TStageData*()> CurrentDoc;  // called with LevelLock held; may give none
};

// `levels` holds the engine's level table: at least kStageChannels levels, and at
// least the recorder's MaxFrameSize.
void LevelIntake(TLevelIntake& intake, const std::uint8_t* levels);

// Writes the first `count` levels of `frame` into the document through the change
// filter of `stages` stages (1 or 2; any other value shows every level at once);
// channels at or above `count` keep their levels. Counts the frame in the
// document's LevelChanges when a shown level changed. The caller holds LevelLock.
void FilterLevels(const std::uint8_t* frame, int count, int stages, int threshold, TStageData& doc);

// Fills kStageChannels levels of the test pattern, in place: with DebugMode not 0
// every channel at TestLevel; with DebugMode 0 a running pattern that moves one step
// per call.
void TestPattern(const TEnvData& env, std::uint8_t* levels);

}  // namespace lumaplot
