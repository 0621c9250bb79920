#pragma once
// THdrRecorder, the recorder ("HDレコーダ"): writes the incoming DMX levels to a
// recording file at a fixed frame interval and plays such files back in place of
// the network input. The layout of the file is in HdrHeader.h.
//
// The recorder has no thread of its own. The engine thread drives it once per
// engine cycle: TakeInput with the received levels, then Tick, which writes one
// frame per elapsed frame interval while recording and reads the frame due now
// while playing. The GUI thread (the recorder window, the main window's close)
// starts, stops, pauses and positions it. Every operation that touches the file or
// the frame buffers takes one internal lock, so the GUI may stop, seek or switch
// files while Tick runs. The state flags and the position are atomics: any thread
// may read them at any time without the lock.
//
// Files are read as untrusted: a missing magic refuses the file; a frame size
// outside 512 … MaxFrameSize is corrected; a frame count of 0 (a recording whose
// program was killed) is taken from the file's length; a file cut short plays up
// to its last whole frame. A write that fails while recording (disk full) stops
// the recording with a complete header over the frames written and is reported
// through RecordFailed/TakeRecordError.
//
// Frames are paced by a Clock, so tests run in simulated time; the start and stop
// times of the header are the local wall time.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "dmx/Clock.h"
#include "dmx/HdrHeader.h"

namespace lumaplot {

class THdrRecorder {
 public:
  static constexpr int kMaxPorts = 32;
  static constexpr int kMaxFrameLevels = kMaxPorts * kHdrPortLevels;  // largest MaxFrameSize

  // Frames of portCount × 512 levels (1 … kMaxPorts ports), one every 20 ms.
  explicit THdrRecorder(int portCount = 8, const Clock& clock = SystemClock());
  // Does what Stop does, so a recording in progress gets its final header. The
  // engine must have stopped calling TakeInput and Tick.
  ~THdrRecorder();
  THdrRecorder(const THdrRecorder&) = delete;
  THdrRecorder& operator=(const THdrRecorder&) = delete;

  // --- Engine thread ---
  // Copies MaxFrameSize levels from `levels` into InputFrame.
  void TakeInput(const std::uint8_t* levels);
  // Advances recording or playback by the frame intervals passed since the previous
  // call and copies the output frame (FrameSize levels) into `out`, which holds at
  // least MaxFrameSize levels. Returns the number of levels in `out` that stand in
  // for the received levels: FrameSize while playing or scrubbing, otherwise 0.
  int Tick(std::uint8_t* out);

  // --- GUI thread ---
  // Closes any open file (as Stop), then opens `fileName` (or, when empty, the file
  // last opened) to record into (`create`: a fresh file with its header takes the
  // place of any old one, as a save does; see AtomicFile in util/FileIo.h) or to
  // read (regular files only). False when the file cannot be opened or written, or
  // has no magic.
  bool Open(const std::string& fileName, bool create, std::string* error = nullptr);
  // Reads and checks the header of `fileName` without keeping the file open. The
  // header given back has its frame size corrected and a count of 0 recovered from
  // the file's length. With `adopt` it also becomes Header (any open file is closed
  // first), with TotalFrames and FileName set from it.
  bool ReadHeader(const std::string& fileName, HdrHeader* headerCopy, bool adopt,
                  std::string* error = nullptr);
  // Opens `fileName` for recording; with WaitSignal set, frames are written from
  // the first cycle in which a level is not 0.
  bool StartRecord(const std::string& fileName, std::string* error = nullptr);
  // Plays `fileName` from `firstFrame` (from the start when 0 or less). False, and
  // idle, when the file cannot be opened or holds no frame.
  bool StartPlay(const std::string& fileName, int firstFrame, std::string* error = nullptr);
  // The same from frame trunc(ratio × frame count) when `ratio` > 0.
  bool StartPlayAt(const std::string& fileName, double ratio, std::string* error = nullptr);
  // Positions playback or scrubbing at `frame` and reads that frame as the output.
  // With no file open it opens FileName for scrubbing first. Ignored while
  // recording. False when nothing could be read (no file, out of range).
  bool Seek(int frame);
  bool SeekRatio(double ratio);
  // Closes the file; a recording gets its frame count and stop time in the header.
  // False with the reason when that final header could not be written.
  bool Stop(std::string* error = nullptr);
  void Pause();
  void Resume();
  // Marks the open file as opened for positioning with the scroll bar; ignored
  // while no file is open, while recording and while playing.
  void SetScrubbing(bool on);
  void SetWaitSignal(bool on) { WaitSignal_ = on; }
  void SetRepeatLimit(int passes) { RepeatLimit_ = passes; }
  void ClearEndReached() { EndReached_ = false; }
  // Written into the header of the next recording.
  void SetTitle(const std::string& utf8);

  // "hh:mm:ss.cc" of `frames` frame intervals; 4500 frames at 20 ms: 00:01:30.00.
  std::string TimeText(std::int64_t frames) const;

  // --- Any thread ---
  bool Recording() const { return Recording_; }
  bool Playing() const { return Playing_; }
  bool Paused() const { return Paused_; }
  bool HourReached() const { return HourReached_; }
  bool Scrubbing() const { return Scrubbing_; }
  bool EndReached() const { return EndReached_; }
  bool WaitSignal() const { return WaitSignal_; }
  int RepeatLimit() const { return RepeatLimit_; }
  int RepeatCount() const { return RepeatCount_; }
  int Position() const { return Position_; }
  double PositionRatio() const { return PositionRatio_; }
  int TotalFrames() const { return TotalFrames_; }
  // The frames of the open file that can be played and sought: its header's count,
  // at most the whole frames the file really holds. 0 with no file open.
  std::int64_t PlayableFrames() const;
  // Levels per frame of the header: 512 … MaxFrameSize once a file was opened.
  int FrameSize() const { return FrameSize_; }
  int PortCount() const { return PortCount_; }
  int MaxFrameSize() const { return MaxFrameSize_; }
  int IntervalMs() const { return IntervalMs_; }
  HdrHeader Header() const;
  std::string FileName() const;
  std::string Title() const;
  // Set when a write failed while recording and the recording was stopped;
  // TakeRecordError gives the reason once and clears the flag.
  bool RecordFailed() const { return RecordFailed_; }
  std::string TakeRecordError();

 private:
  // Members ending in "Locked" expect mutex_ to be held.
  bool OpenLocked(const std::string& fileName, bool create, std::string* error);
  bool CreateLocked(std::string* error);
  bool ReadOpenedLocked(std::string* error);
  bool StopLocked(std::string* error);
  void CloseForReplaceLocked();
  bool FinishRecordingLocked(std::string* error);
  bool SeekLocked(int frame);
  bool OpenForPlaybackLocked(const std::string& fileName, std::string* error);
  void BeginPlaybackLocked();
  void RecordFramesLocked(std::int64_t count);
  void FailRecordingLocked(const std::string& reason);
  void PlayFramesLocked(std::int64_t delta);
  void EndPlaybackLocked();
  bool ReadFrameLocked(std::int64_t frame);
  int FrameAtRatio(double ratio) const;
  std::int64_t CurrentStep() const;
  void SetPositionLocked(std::int64_t position);

  const Clock& clock_;
  mutable std::mutex mutex_;

  int Stream_ = -1;  // file descriptor of the open recording file
  const std::uint64_t StartTick_;
  std::int64_t LastStep_ = 0;
  HdrHeader Header_;
  const int PortCount_;
  const int MaxFrameSize_;
  std::atomic<int> TotalFrames_{0};
  std::atomic<int> Position_{0};
  std::atomic<double> PositionRatio_{0.0};
  std::string FileName_;
  std::atomic<bool> Recording_{false};
  std::atomic<bool> Playing_{false};
  std::atomic<bool> Paused_{false};
  std::atomic<bool> HourReached_{false};
  std::atomic<bool> Scrubbing_{false};
  std::atomic<bool> EndReached_{false};
  std::atomic<bool> WaitSignal_{false};
  std::atomic<int> RepeatLimit_{1};
  std::atomic<int> RepeatCount_{0};
  const int IntervalMs_ = 20;
  std::string Title_;
  std::vector<std::uint8_t> InputFrame_;
  std::vector<std::uint8_t> PlayFrame_;
  std::vector<std::uint8_t> OutputFrame_;

  std::atomic<int> FrameSize_{0};     // Header_'s (corrected) frame size
  std::int64_t AvailableFrames_ = 0;  // whole frames that playback may read
  std::int64_t NextFrame_ = 0;        // frame the next sequential read returns
  std::atomic<bool> RecordFailed_{false};
  std::string RecordError_;
};

}  // namespace lumaplot
