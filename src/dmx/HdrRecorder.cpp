#include "dmx/HdrRecorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "util/FileIo.h"

namespace lumaplot {
namespace {

constexpr std::int64_t kMsPerHour = 3'600'000;

std::string SystemError(const char* what, const std::string& path, int err) {
  return std::string(what) + " " + path + ": " + std::strerror(err);
}

// pwrite until every byte is written; false with errno set otherwise.
bool WriteAt(int fd, const std::uint8_t* data, size_t size, std::int64_t offset) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

// pread until `size` bytes are read; false at the end of the file or on an error.
bool ReadAt(int fd, std::uint8_t* data, size_t size, std::int64_t offset) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

double LocalNow() { return ToOleDate(std::chrono::system_clock::now()); }

std::int64_t FrameOffset(std::int64_t frame, int frameSize) {
  return kHdrHeaderSize + frame * frameSize;
}

std::int64_t FileLength(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : 0;
}

// Applies the reader's corrections to a header read from a file of `fileLength`
// bytes and returns the whole frames the file holds.
std::int64_t NormaliseReadHeader(HdrHeader& header, std::int64_t fileLength, int maxFrameSize) {
  const int frameSize = CorrectFrameSize(header.FrameSize(), maxFrameSize);
  header.SetFrameSize(frameSize);
  const std::int64_t whole = WholeFramesInFile(fileLength, frameSize);
  // A recording whose program was killed never got its final header.
  if (header.FrameCount() <= 0) {
    header.SetFrameCount(static_cast<std::int32_t>(std::min<std::int64_t>(whole, INT32_MAX)));
  }
  return whole;
}

}  // namespace

THdrRecorder::THdrRecorder(int portCount, const Clock& clock)
    : clock_(clock),
      StartTick_(clock.NowMs()),
      PortCount_(std::clamp(portCount, 1, kMaxPorts)),
      MaxFrameSize_(PortCount_ * kHdrPortLevels),
      InputFrame_(static_cast<size_t>(MaxFrameSize_)),
      PlayFrame_(static_cast<size_t>(MaxFrameSize_)),
      OutputFrame_(static_cast<size_t>(MaxFrameSize_)) {}

THdrRecorder::~THdrRecorder() { Stop(); }

void THdrRecorder::TakeInput(const std::uint8_t* levels) {
  std::memcpy(InputFrame_.data(), levels, InputFrame_.size());
}

std::int64_t THdrRecorder::CurrentStep() const {
  return static_cast<std::int64_t>((clock_.NowMs() - StartTick_) /
                                   static_cast<std::uint64_t>(IntervalMs_));
}

int THdrRecorder::Tick(std::uint8_t* out) {
  std::lock_guard lock(mutex_);
  const std::int64_t step = CurrentStep();
  const std::int64_t delta = std::max<std::int64_t>(0, step - LastStep_);
  LastStep_ = step;
  const auto frameSize = static_cast<size_t>(FrameSize_.load());

  if (Stream_ >= 0 && Recording_) {
    if (WaitSignal_) {
      const bool silent = std::all_of(InputFrame_.begin(),
                                      InputFrame_.begin() + static_cast<std::ptrdiff_t>(frameSize),
                                      [](std::uint8_t level) { return level == 0; });
      if (!silent) WaitSignal_ = false;
    }
    if (!WaitSignal_) RecordFramesLocked(delta);
    std::memcpy(out, InputFrame_.data(), frameSize);
    return 0;
  }
  if (Stream_ >= 0 && Playing_) {
    if (!Paused_ && delta > 0) PlayFramesLocked(delta);
    std::memcpy(OutputFrame_.data(), PlayFrame_.data(), frameSize);
  }
  std::memcpy(out, OutputFrame_.data(), frameSize);
  return Playing_ || Scrubbing_ ? static_cast<int>(frameSize) : 0;
}

// The same input frame is written once per elapsed interval, so the file stays
// aligned to real time when a cycle comes late.
void THdrRecorder::RecordFramesLocked(std::int64_t count) {
  const int frameSize = FrameSize_;
  const std::int64_t framesPerHour = kMsPerHour / IntervalMs_;
  for (std::int64_t i = 0; i < count; ++i) {
    const int position = Position_;
    if (!WriteAt(Stream_, InputFrame_.data(), static_cast<size_t>(frameSize),
                 FrameOffset(position, frameSize))) {
      FailRecordingLocked(SystemError("cannot write", FileName_, errno));
      return;
    }
    Position_ = position + 1;
    if ((position + 1) % framesPerHour == 0) HourReached_ = true;
  }
}

void THdrRecorder::FailRecordingLocked(const std::string& reason) {
  const int written = Position_;
  RecordError_ = "recording stopped after " + std::to_string(written) + " frames: " + reason;
  // A frame written in part is cut off, so the file holds exactly the frames its
  // header counts. Should that fail, readers still stop at the count.
  if (::ftruncate(Stream_, FrameOffset(written, FrameSize_)) != 0) {
    RecordError_ += "; " + SystemError("cannot shorten", FileName_, errno);
  }
  std::string finishError;
  if (!StopLocked(&finishError)) RecordError_ += "; " + finishError;
  RecordFailed_ = true;
}

// Reads the frame due after `delta` intervals. Frames between are skipped, so
// playback keeps pace with real time when cycles come late; an early cycle
// (delta 0) reads nothing and keeps the frame shown.
void THdrRecorder::PlayFramesLocked(std::int64_t delta) {
  std::int64_t frame = NextFrame_ + delta - 1;
  std::int64_t position = Position_ + delta;
  if (frame >= AvailableFrames_) {
    RepeatCount_ = RepeatCount_ + 1;
    if (RepeatCount_ > RepeatLimit_) {
      EndPlaybackLocked();
      return;
    }
    frame = 0;
    position = 1;
  }
  if (!ReadFrameLocked(frame)) {
    EndPlaybackLocked();
    return;
  }
  NextFrame_ = frame + 1;
  SetPositionLocked(position);
}

void THdrRecorder::EndPlaybackLocked() {
  StopLocked(nullptr);
  EndReached_ = true;
}

bool THdrRecorder::ReadFrameLocked(std::int64_t frame) {
  const int frameSize = FrameSize_;
  return ReadAt(Stream_, PlayFrame_.data(), static_cast<size_t>(frameSize),
                FrameOffset(frame, frameSize));
}

void THdrRecorder::SetPositionLocked(std::int64_t position) {
  Position_ = static_cast<int>(std::clamp<std::int64_t>(position, 0, INT32_MAX));
  const int total = TotalFrames_;
  PositionRatio_ = total > 0 ? std::min(1.0, static_cast<double>(Position_) / total) : 0.0;
}

bool THdrRecorder::Open(const std::string& fileName, bool create, std::string* error) {
  std::lock_guard lock(mutex_);
  return OpenLocked(fileName, create, error);
}

bool THdrRecorder::OpenLocked(const std::string& fileName, bool create, std::string* error) {
  CloseForReplaceLocked();
  if (!fileName.empty()) {
    FileName_ = fileName;
  } else if (FileName_.empty()) {
    if (error) *error = "no recording file given";
    return false;
  }
  TotalFrames_ = 0;
  Position_ = 0;
  PositionRatio_ = 0.0;
  if (create) return CreateLocked(error);
  Stream_ = OpenRegularFile(FileName_, error);
  if (Stream_ < 0) return false;
  if (!ReadOpenedLocked(error)) {
    ::close(Stream_);
    Stream_ = -1;
    return false;
  }
  return true;
}

// A new recording is made as a save is: a file beside the target gets the header
// and only then takes the target's place. A disk too full for the header leaves no
// empty file behind, an older recording of that name stays whole until then, and
// the target is checked as every save checks it (no device, FIFO or read-only file).
bool THdrRecorder::CreateLocked(std::string* error) {
  // A fresh header, so nothing of a file read before leaks into the new one.
  Header_ = HdrHeader{};
  Header_.SetMagic();
  Header_.SetTitle(Title_);
  Header_.SetFrameSize(MaxFrameSize_);
  Header_.SetFrameCount(0);
  Header_.SetIntervalMs(IntervalMs_);
  Header_.SetStartTime(LocalNow());
  FrameSize_ = MaxFrameSize_;
  AvailableFrames_ = 0;
  NextFrame_ = 0;
  AtomicFile file;
  if (!file.Create(FileName_, error)) return false;
  const std::string_view header(reinterpret_cast<const char*>(Header_.Bytes.data()),
                                Header_.Bytes.size());
  if (!file.Write(header, error)) return false;
  Stream_ = file.CommitKeepingOpen(error);
  return Stream_ >= 0;
}

bool THdrRecorder::ReadOpenedLocked(std::string* error) {
  HdrHeader header;
  if (!ReadAt(Stream_, header.Bytes.data(), header.Bytes.size(), 0) || !header.HasMagic()) {
    if (error) *error = "not a recording file: " + FileName_;
    return false;
  }
  const std::int64_t whole = NormaliseReadHeader(header, FileLength(Stream_), MaxFrameSize_);
  Header_ = header;
  Title_ = header.Title();
  FrameSize_ = header.FrameSize();
  TotalFrames_ = header.FrameCount();
  AvailableFrames_ = std::min<std::int64_t>(header.FrameCount(), whole);
  NextFrame_ = 0;
  return true;
}

bool THdrRecorder::ReadHeader(const std::string& fileName, HdrHeader* headerCopy, bool adopt,
                              std::string* error) {
  const int fd = OpenRegularFile(fileName, error);
  if (fd < 0) return false;
  HdrHeader header;
  const bool read = ReadAt(fd, header.Bytes.data(), header.Bytes.size(), 0) && header.HasMagic();
  const std::int64_t length = FileLength(fd);
  ::close(fd);
  if (!read) {
    if (error) *error = "not a recording file: " + fileName;
    return false;
  }
  NormaliseReadHeader(header, length, MaxFrameSize_);
  if (headerCopy) *headerCopy = header;
  if (adopt) {
    std::lock_guard lock(mutex_);
    // The header must describe the open file, if any: close it first.
    CloseForReplaceLocked();
    Header_ = header;
    FrameSize_ = header.FrameSize();
    TotalFrames_ = header.FrameCount();
    FileName_ = fileName;
  }
  return true;
}

bool THdrRecorder::StartRecord(const std::string& fileName, std::string* error) {
  std::lock_guard lock(mutex_);
  HourReached_ = false;
  RecordFailed_ = false;
  RecordError_.clear();
  if (!OpenLocked(fileName, true, error)) return false;
  Recording_ = true;
  Scrubbing_ = false;
  // Frames count from now, not from the last cycle before the recording began.
  LastStep_ = CurrentStep();
  return true;
}

bool THdrRecorder::OpenForPlaybackLocked(const std::string& fileName, std::string* error) {
  if (!OpenLocked(fileName, false, error)) return false;
  if (AvailableFrames_ > 0) return true;
  StopLocked(nullptr);
  if (error) *error = "no frames in " + FileName_;
  return false;
}

void THdrRecorder::BeginPlaybackLocked() {
  Playing_ = true;
  Paused_ = false;
  Scrubbing_ = false;
  EndReached_ = false;
  RepeatCount_ = 1;
  LastStep_ = CurrentStep();
}

bool THdrRecorder::StartPlay(const std::string& fileName, int firstFrame, std::string* error) {
  std::lock_guard lock(mutex_);
  if (!OpenForPlaybackLocked(fileName, error)) return false;
  if (firstFrame > 0) SeekLocked(firstFrame);
  BeginPlaybackLocked();
  return true;
}

bool THdrRecorder::StartPlayAt(const std::string& fileName, double ratio, std::string* error) {
  std::lock_guard lock(mutex_);
  if (!OpenForPlaybackLocked(fileName, error)) return false;
  if (ratio > 0) SeekLocked(FrameAtRatio(ratio));
  BeginPlaybackLocked();
  return true;
}

int THdrRecorder::FrameAtRatio(double ratio) const {
  const double frame = std::trunc(TotalFrames_ * ratio);
  // NaN and out-of-range ratios give a frame Seek refuses.
  if (!(frame >= 0.0)) return -1;
  return frame >= INT32_MAX ? INT32_MAX : static_cast<int>(frame);
}

bool THdrRecorder::Seek(int frame) {
  std::lock_guard lock(mutex_);
  return SeekLocked(frame);
}

bool THdrRecorder::SeekRatio(double ratio) {
  std::lock_guard lock(mutex_);
  return SeekLocked(FrameAtRatio(ratio));
}

bool THdrRecorder::SeekLocked(int frame) {
  // Reading back while recording would move the write position over frames already
  // recorded.
  if (Recording_) return false;
  if (Stream_ < 0 && OpenLocked({}, false, nullptr)) Scrubbing_ = true;
  if (Stream_ < 0) {
    Scrubbing_ = false;
    return false;
  }
  if (frame < 0 || frame >= TotalFrames_ || frame >= AvailableFrames_) return false;
  if (!ReadFrameLocked(frame)) return false;
  // While paused the output is the last frame read, which is now this one.
  std::memcpy(OutputFrame_.data(), PlayFrame_.data(), static_cast<size_t>(FrameSize_.load()));
  NextFrame_ = frame + 1;
  SetPositionLocked(frame);
  return true;
}

bool THdrRecorder::Stop(std::string* error) {
  std::lock_guard lock(mutex_);
  return StopLocked(error);
}

bool THdrRecorder::StopLocked(std::string* error) {
  bool ok = true;
  if (Stream_ >= 0) {
    const bool wasRecording = Recording_;
    if (wasRecording) ok = FinishRecordingLocked(error);
    Recording_ = false;
    Playing_ = false;
    Paused_ = false;
    Scrubbing_ = false;
    // Some file systems report a failed write only when the file is closed.
    if (::close(Stream_) != 0 && wasRecording && ok) {
      if (error) *error = SystemError("cannot write", FileName_, errno);
      ok = false;
    }
    Stream_ = -1;
  }
  HourReached_ = false;
  return ok;
}

// A recording replaced by another file is finished like a stop; a failure to write
// its final header goes to whoever watches RecordFailed.
void THdrRecorder::CloseForReplaceLocked() {
  std::string error;
  if (StopLocked(&error)) return;
  RecordError_ = error;
  RecordFailed_ = true;
}

bool THdrRecorder::FinishRecordingLocked(std::string* error) {
  Header_.SetFrameCount(Position_);
  Header_.SetStopTime(LocalNow());
  TotalFrames_ = Position_.load();
  if (WriteAt(Stream_, Header_.Bytes.data(), Header_.Bytes.size(), 0)) return true;
  if (error) *error = SystemError("cannot write the header of", FileName_, errno);
  return false;
}

void THdrRecorder::Pause() {
  Paused_ = true;
  Scrubbing_ = false;
}

void THdrRecorder::Resume() {
  Paused_ = false;
  Scrubbing_ = false;
}

void THdrRecorder::SetScrubbing(bool on) {
  std::lock_guard lock(mutex_);
  Scrubbing_ = on && Stream_ >= 0 && !Recording_ && !Playing_;
}

void THdrRecorder::SetTitle(const std::string& utf8) {
  std::lock_guard lock(mutex_);
  Title_ = utf8;
}

std::string THdrRecorder::TimeText(std::int64_t frames) const {
  // Whole milliseconds, so the hundredths are exact (no 0.58 s shown as 0.57).
  const std::int64_t ms = std::max<std::int64_t>(0, frames) * IntervalMs_;
  const std::int64_t s = ms / 1000;
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60),
                static_cast<long long>(ms % 1000 / 10));
  return text;
}

HdrHeader THdrRecorder::Header() const {
  std::lock_guard lock(mutex_);
  return Header_;
}

std::string THdrRecorder::FileName() const {
  std::lock_guard lock(mutex_);
  return FileName_;
}

std::string THdrRecorder::Title() const {
  std::lock_guard lock(mutex_);
  return Title_;
}

std::int64_t THdrRecorder::PlayableFrames() const {
  std::lock_guard lock(mutex_);
  return Stream_ >= 0 && !Recording_ ? AvailableFrames_ : 0;
}

std::string THdrRecorder::TakeRecordError() {
  std::lock_guard lock(mutex_);
  RecordFailed_ = false;
  std::string error;
  error.swap(RecordError_);
  return error;
}

}  // namespace lumaplot
