#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>
#include <tuple>
#include <vector>

#include "dmx/HdrRecorder.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

constexpr int kLevels = 4096;
using Frame = std::vector<std::uint8_t>;

// A frame that differs from the frames of every other `k` below 256.
Frame TestFrame(int k) {
  Frame f(kLevels);
  for (int i = 0; i < kLevels; ++i)
    f[static_cast<size_t>(i)] = static_cast<std::uint8_t>(k + i * 3 + 1);
  return f;
}

HdrHeader HeaderOf(const std::string& path) {
  HdrHeader h;
  const std::string bytes = test::TempDir::Read(path);
  std::memcpy(h.Bytes.data(), bytes.data(), std::min(bytes.size(), h.Bytes.size()));
  return h;
}

// A recording file with a header saying `declaredSize` and `declaredCount`, followed
// by `bytes` of frame data where byte i is (i / stride + 1) (so frames of `stride`
// bytes are told apart by their first level).
std::string WriteFile(const test::TempDir& dir, const std::string& name, std::int32_t declaredSize,
                      std::int32_t declaredCount, size_t bytes, int stride) {
  HdrHeader h;
  h.SetMagic();
  h.SetFrameSize(declaredSize);
  h.SetFrameCount(declaredCount);
  h.SetIntervalMs(20);
  std::string data(reinterpret_cast<const char*>(h.Bytes.data()), h.Bytes.size());
  for (size_t i = 0; i < bytes; ++i) data += static_cast<char>(i / static_cast<size_t>(stride) + 1);
  return dir.Write(name, data);
}

class HdrRecorderTest : public ::testing::Test {
 protected:
  // One engine cycle `ms` after the previous one, handing in `input`.
  int Cycle(std::uint64_t ms, const Frame& input) {
    clock.Advance(ms);
    recorder.TakeInput(input.data());
    return recorder.Tick(out.data());
  }
  int Cycle(std::uint64_t ms = 20) { return Cycle(ms, zero); }

  // Records frames TestFrame(0) … TestFrame(count - 1), one per cycle.
  std::string Record(const std::string& name, int count) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(recorder.StartRecord(path));
    for (int k = 0; k < count; ++k) Cycle(20, TestFrame(k));
    EXPECT_TRUE(recorder.Stop());
    return path;
  }

  Frame OutFrame(int levels = kLevels) const { return Frame(out.begin(), out.begin() + levels); }

  test::TempDir dir;
  ManualClock clock{1'000'007};  // not a multiple of the frame interval
  THdrRecorder recorder{8, clock};
  Frame zero = Frame(kLevels);
  Frame out = Frame(kLevels);
};

TEST_F(HdrRecorderTest, RecordingWritesOneFramePerCycleAndACompleteHeader) {
  recorder.SetTitle("本番 1");
  const double before = ToOleDate(std::chrono::system_clock::now());
  const std::string path = Record("rec.dat", 250);
  const double after = ToOleDate(std::chrono::system_clock::now());

  const std::string bytes = test::TempDir::Read(path);
  ASSERT_EQ(bytes.size(), 512u + 250u * 4096u);
  const HdrHeader h = HeaderOf(path);
  EXPECT_TRUE(h.HasMagic());
  EXPECT_EQ(h.Title(), "本番 1");
  EXPECT_EQ(h.FrameSize(), 4096);
  EXPECT_EQ(h.FrameCount(), 250);
  EXPECT_EQ(h.IntervalMs(), 20);
  EXPECT_GE(h.StartTime(), before);
  EXPECT_GE(h.StopTime(), h.StartTime());
  EXPECT_LE(h.StopTime(), after);
  for (int k : {0, 1, 137, 249}) {
    const Frame expected = TestFrame(k);
    EXPECT_EQ(0, std::memcmp(bytes.data() + 512 + k * 4096, expected.data(), 4096))
        << "frame " << k;
  }
  EXPECT_EQ(recorder.TotalFrames(), 250);
  EXPECT_FALSE(recorder.Recording());
}

TEST_F(HdrRecorderTest, LateCyclesRepeatTheInputAndEarlyCyclesWriteNothing) {
  const std::string path = dir.File("late.dat");
  ASSERT_TRUE(recorder.StartRecord(path));
  // (cycle length, frames in the file after that cycle)
  const struct {
    int ms;
    int frames;
  } cycles[] = {{20, 1}, {45, 3}, {15, 4}, {5, 4}, {15, 5}, {100, 10}, {19, 10}, {1, 11}};
  for (size_t i = 0; i < std::size(cycles); ++i) {
    Cycle(static_cast<std::uint64_t>(cycles[i].ms), TestFrame(static_cast<int>(i)));
    EXPECT_EQ(recorder.Position(), cycles[i].frames) << "cycle " << i;
  }
  ASSERT_TRUE(recorder.Stop());
  const std::string bytes = test::TempDir::Read(path);
  ASSERT_EQ(bytes.size(), 512u + 11u * 4096u);
  // The 45 ms cycle wrote its input twice.
  const Frame second = TestFrame(1);
  EXPECT_EQ(0, std::memcmp(bytes.data() + 512 + 1 * 4096, second.data(), 4096));
  EXPECT_EQ(0, std::memcmp(bytes.data() + 512 + 2 * 4096, second.data(), 4096));
}

TEST_F(HdrRecorderTest, WaitsForTheFirstLevelBeforeWritingFrames) {
  const std::string path = dir.File("wait.dat");
  recorder.SetWaitSignal(true);
  ASSERT_TRUE(recorder.StartRecord(path));
  for (int i = 0; i < 10; ++i) Cycle(20, zero);
  EXPECT_EQ(recorder.Position(), 0);
  EXPECT_TRUE(recorder.WaitSignal());

  Frame lastChannel = zero;
  lastChannel[4095] = 1;
  Cycle(20, lastChannel);
  EXPECT_FALSE(recorder.WaitSignal());
  EXPECT_EQ(recorder.Position(), 1);
  Cycle(20, zero);  // silence after the start is recorded
  ASSERT_TRUE(recorder.Stop());
  const std::string bytes = test::TempDir::Read(path);
  ASSERT_EQ(bytes.size(), 512u + 2u * 4096u);
  EXPECT_EQ(bytes[512 + 4095], 1);
}

TEST_F(HdrRecorderTest, HourMarkIsSetAtOneHourOfFrames) {
  // Devices are no recording files, so the hour goes into a file; with one port a
  // frame is 512 levels, and the hour 92 MB instead of 737 MB.
  THdrRecorder onePort{1, clock};
  const auto cycle = [&](std::uint64_t ms) {
    clock.Advance(ms);
    onePort.TakeInput(zero.data());
    onePort.Tick(out.data());
  };
  ASSERT_TRUE(onePort.StartRecord(dir.File("hour.dat")));
  cycle(179'999 * 20);
  EXPECT_EQ(onePort.Position(), 179'999);
  EXPECT_FALSE(onePort.HourReached());
  cycle(20);
  EXPECT_EQ(onePort.Position(), 180'000);
  EXPECT_TRUE(onePort.HourReached());
  onePort.Stop();
  EXPECT_FALSE(onePort.HourReached());
}

TEST_F(HdrRecorderTest, PlaysEveryFrameToTheEndAndCloses) {
  const std::string path = Record("play.dat", 100);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  EXPECT_TRUE(recorder.Playing());
  for (int k = 0; k < 100; ++k) {
    ASSERT_EQ(Cycle(), 4096) << "cycle " << k;
    ASSERT_EQ(OutFrame(), TestFrame(k)) << "cycle " << k;
  }
  EXPECT_EQ(recorder.Position(), 100);
  EXPECT_DOUBLE_EQ(recorder.PositionRatio(), 1.0);
  EXPECT_FALSE(recorder.EndReached());

  EXPECT_EQ(Cycle(), 0);  // the network input takes over again
  EXPECT_TRUE(recorder.EndReached());
  EXPECT_FALSE(recorder.Playing());
  recorder.ClearEndReached();
  EXPECT_FALSE(recorder.EndReached());
}

TEST_F(HdrRecorderTest, PlaybackKeepsPaceWithLateAndEarlyCycles) {
  const std::string path = Record("pace.dat", 100);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  // (cycle length, frame shown after that cycle): a late cycle skips exactly the
  // frames whose time has passed; an early one keeps showing the same frame.
  const struct {
    int ms;
    int frame;
  } cycles[] = {{20, 0}, {45, 2}, {15, 3}, {5, 3}, {15, 4}, {100, 9}, {19, 9}, {1, 10}};
  for (const auto& c : cycles) {
    Cycle(static_cast<std::uint64_t>(c.ms));
    EXPECT_EQ(OutFrame(), TestFrame(c.frame)) << "expected frame " << c.frame;
    EXPECT_EQ(recorder.Position(), c.frame + 1);
  }
}

TEST_F(HdrRecorderTest, PauseHoldsTheFrameAndSeekMovesWherePlaybackGoesOn) {
  const std::string path = Record("pause.dat", 100);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  for (int i = 0; i < 5; ++i) Cycle();
  recorder.Pause();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Cycle(), 4096);
    EXPECT_EQ(OutFrame(), TestFrame(4));
  }
  EXPECT_EQ(recorder.Position(), 5);

  ASSERT_TRUE(recorder.SeekRatio(0.5));
  EXPECT_EQ(recorder.Position(), 50);
  EXPECT_DOUBLE_EQ(recorder.PositionRatio(), 0.5);
  Cycle();
  EXPECT_EQ(OutFrame(), TestFrame(50));  // paused on the frame sought

  recorder.Resume();
  Cycle();
  EXPECT_EQ(OutFrame(), TestFrame(51));
  EXPECT_EQ(recorder.Position(), 51);
}

TEST_F(HdrRecorderTest, StartPlayAtARatioBeginsInTheMiddle) {
  const std::string path = Record("middle.dat", 100);
  ASSERT_TRUE(recorder.StartPlayAt(path, 1024.0 / 2048.0));
  EXPECT_EQ(recorder.Position(), 50);
  Cycle();
  EXPECT_EQ(OutFrame(), TestFrame(51));
}

TEST_F(HdrRecorderTest, ScrubbingShowsTheFrameSoughtUntilStopped) {
  const std::string path = Record("scrub.dat", 20);
  HdrHeader copy;
  ASSERT_TRUE(recorder.ReadHeader(path, &copy, true));
  EXPECT_EQ(copy.FrameCount(), 20);
  EXPECT_EQ(recorder.FileName(), path);

  // With no file open the first seek opens the adopted file for scrubbing.
  ASSERT_TRUE(recorder.Seek(7));
  EXPECT_TRUE(recorder.Scrubbing());
  EXPECT_EQ(Cycle(), 4096);
  EXPECT_EQ(OutFrame(), TestFrame(7));
  EXPECT_EQ(Cycle(500), 4096);  // time passing does not move a scrubbed file
  EXPECT_EQ(OutFrame(), TestFrame(7));

  EXPECT_FALSE(recorder.Seek(20));
  EXPECT_FALSE(recorder.Seek(-1));
  EXPECT_FALSE(recorder.SeekRatio(std::nan("")));
  EXPECT_EQ(recorder.Position(), 7);

  recorder.Stop();
  EXPECT_FALSE(recorder.Scrubbing());
  EXPECT_EQ(Cycle(), 0);
}

TEST_F(HdrRecorderTest, OpenForReadingThenScrubbingFlag) {
  const std::string path = Record("flag.dat", 3);
  recorder.SetScrubbing(true);  // nothing open: refused
  EXPECT_FALSE(recorder.Scrubbing());
  ASSERT_TRUE(recorder.Open(path, false));
  recorder.SetScrubbing(true);
  EXPECT_TRUE(recorder.Scrubbing());
  ASSERT_TRUE(recorder.Seek(2));
  Cycle();
  EXPECT_EQ(OutFrame(), TestFrame(2));
}

TEST_F(HdrRecorderTest, SeekIsIgnoredWhileRecording) {
  const std::string path = dir.File("busy.dat");
  ASSERT_TRUE(recorder.StartRecord(path));
  for (int k = 0; k < 5; ++k) Cycle(20, TestFrame(k));
  EXPECT_FALSE(recorder.Seek(1));
  EXPECT_TRUE(recorder.Recording());
  Cycle(20, TestFrame(5));
  ASSERT_TRUE(recorder.Stop());
  EXPECT_EQ(test::TempDir::Read(path).size(), 512u + 6u * 4096u);
}

TEST_F(HdrRecorderTest, RefusesFilesThatAreNoRecording) {
  HdrHeader good;
  good.SetMagic();
  const std::string header(reinterpret_cast<const char*>(good.Bytes.data()), 512);
  std::string noTerminator = header;
  noTerminator[8] = 'X';
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty.dat", ""},
      {"short.dat", header.substr(0, 511)},
      {"text.dat", std::string(600, 'a')},
      {"noterm.dat", noTerminator},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Write(c.name, c.bytes);
    std::string error;
    EXPECT_FALSE(recorder.ReadHeader(path, nullptr, true, &error)) << c.name;
    EXPECT_FALSE(recorder.Open(path, false, &error)) << c.name;
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(recorder.StartPlay(path, 0)) << c.name;
    EXPECT_FALSE(recorder.Playing());
    EXPECT_FALSE(recorder.Seek(0));
    EXPECT_FALSE(recorder.Scrubbing());
  }
  EXPECT_FALSE(recorder.ReadHeader(dir.File("missing.dat"), nullptr, false));
  EXPECT_FALSE(recorder.StartRecord(dir.File("no/such/folder/x.dat")));
  EXPECT_FALSE(recorder.Recording());
  EXPECT_FALSE(recorder.Open("", false));  // no file named yet
}

TEST_F(HdrRecorderTest, AFileWithoutFramesDoesNotPlay) {
  const std::string path = WriteFile(dir, "none.dat", 4096, 0, 100, 4096);
  std::string error;
  EXPECT_FALSE(recorder.StartPlay(path, 0, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(recorder.Playing());
  EXPECT_EQ(Cycle(), 0);
}

TEST_F(HdrRecorderTest, FrameSizeOutsideTheRangeIsCorrected) {
  // (declared size, levels per frame played)
  const struct {
    std::int32_t declared;
    int played;
  } cases[] = {{300, 512},   {0, 512},     {-5, 512},         {512, 512},
               {1024, 1024}, {8192, 4096}, {0x7FFFFFFF, 4096}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.declared);
    const std::string path =
        WriteFile(dir, "size.dat", c.declared, 3, 3 * static_cast<size_t>(c.played), c.played);
    HdrHeader copy;
    ASSERT_TRUE(recorder.ReadHeader(path, &copy, false));
    EXPECT_EQ(copy.FrameSize(), c.played);
    ASSERT_TRUE(recorder.StartPlay(path, 0));
    EXPECT_EQ(recorder.FrameSize(), c.played);
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(Cycle(), c.played);
      EXPECT_EQ(out[0], k + 1);
      EXPECT_EQ(out[static_cast<size_t>(c.played) - 1], k + 1);
    }
    Cycle();
    EXPECT_TRUE(recorder.EndReached());
  }
}

TEST_F(HdrRecorderTest, AFileCutShortPlaysToItsLastWholeFrame) {
  const std::string path = WriteFile(dir, "cut.dat", 4096, 10, 5 * 4096 + 1000, 4096);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  EXPECT_EQ(recorder.TotalFrames(), 10);
  for (int k = 0; k < 5; ++k) {
    ASSERT_EQ(Cycle(), 4096);
    EXPECT_EQ(out[4095], k + 1);
  }
  Cycle();
  EXPECT_TRUE(recorder.EndReached());
  EXPECT_EQ(out[4095], 5);  // no part of the cut frame shows
  // A first frame beyond the last whole one is not sought: playback starts at 0.
  ASSERT_TRUE(recorder.StartPlay(path, 7));
  EXPECT_EQ(recorder.Position(), 0);
  Cycle();
  EXPECT_EQ(out[4095], 1);
}

TEST_F(HdrRecorderTest, RecordingOfAKilledProgramIsRecoveredFromTheFileLength) {
  const std::string live = dir.File("live.dat");
  ASSERT_TRUE(recorder.StartRecord(live));
  for (int k = 0; k < 30; ++k) Cycle(20, TestFrame(k));
  // What the disk holds when the program dies now: header count 0, plus half a frame.
  const std::string killed =
      dir.Write("killed.dat", test::TempDir::Read(live) + std::string(2000, '\x7f'));
  recorder.Stop();
  ASSERT_EQ(HeaderOf(killed).FrameCount(), 0);

  HdrHeader copy;
  ASSERT_TRUE(recorder.ReadHeader(killed, &copy, true));
  EXPECT_EQ(copy.FrameCount(), 30);
  EXPECT_EQ(recorder.TotalFrames(), 30);
  ASSERT_TRUE(recorder.StartPlay(killed, 0));
  for (int k = 0; k < 30; ++k) {
    Cycle();
    ASSERT_EQ(OutFrame(), TestFrame(k));
  }
  Cycle();
  EXPECT_TRUE(recorder.EndReached());
  EXPECT_EQ(HeaderOf(killed).FrameCount(), 0);  // reading never writes the file
}

// The file-size limit makes a write fail as on a full disk, part way into a frame.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = nullptr;
};

TEST_F(HdrRecorderTest, AFailedWriteStopsTheRecordingAndKeepsWhatWasWritten) {
  const std::string path = dir.File("full.dat");
  {
    FileSizeLimit limit(512 + 10 * 4096 + 1000);
    ASSERT_TRUE(recorder.StartRecord(path));
    for (int k = 0; k < 10; ++k) Cycle(20, TestFrame(k));
    EXPECT_FALSE(recorder.RecordFailed());
    Cycle(20, TestFrame(10));
  }
  EXPECT_FALSE(recorder.Recording());
  EXPECT_TRUE(recorder.RecordFailed());
  const std::string report = recorder.TakeRecordError();
  EXPECT_NE(report.find("10 frames"), std::string::npos) << report;
  EXPECT_NE(report.find("full.dat"), std::string::npos) << report;
  EXPECT_FALSE(recorder.RecordFailed());
  EXPECT_EQ(recorder.Position(), 10);

  EXPECT_EQ(test::TempDir::Read(path).size(), 512u + 10u * 4096u);
  EXPECT_EQ(HeaderOf(path).FrameCount(), 10);
  EXPECT_GT(HeaderOf(path).StopTime(), 0.0);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  for (int k = 0; k < 10; ++k) {
    Cycle();
    ASSERT_EQ(OutFrame(), TestFrame(k));
  }
}

// A disk too full for even the header: no empty file is left behind, and an older
// recording of that name stays whole.
TEST_F(HdrRecorderTest, ARecordingThatCannotStartLeavesNoFileAndTheOldOneWhole) {
  const std::string fresh = dir.File("fresh.dat");
  const std::string older = Record("older.dat", 3);
  const std::string olderBytes = test::TempDir::Read(older);
  for (const std::string& path : {fresh, older}) {
    std::string error;
    {
      FileSizeLimit limit(100);
      EXPECT_FALSE(recorder.StartRecord(path, &error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(recorder.Recording());
  }
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(test::TempDir::Read(older), olderBytes);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

// Recording into a FIFO blocked for ever, reading one too; a read-only recording was
// emptied by root. All are refused at once now, and left as they were.
TEST_F(HdrRecorderTest, SpecialAndReadOnlyFilesAreRefusedWithoutBlocking) {
  const std::string fifo = dir.File("fifo.dat");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const std::string kept = Record("kept.dat", 2);
  const std::string keptBytes = test::TempDir::Read(kept);
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  auto attempts = std::async(std::launch::async, [&] {
    std::string recordFifo, recordKept, readFifo;
    const bool any = recorder.StartRecord(fifo, &recordFifo) ||
                     recorder.StartRecord(kept, &recordKept) ||
                     recorder.ReadHeader(fifo, nullptr, false, &readFifo) ||
                     recorder.Open(fifo, false) || recorder.StartPlay(fifo, 0);
    return std::make_tuple(any, recordFifo, recordKept, readFifo);
  });
  if (attempts.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Let a blocked open of the FIFO return, so the test can end.
    const int other = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    if (other >= 0) ::close(other);
    FAIL() << "a FIFO blocked the recorder";
  }
  const auto [any, recordFifo, recordKept, readFifo] = attempts.get();
  EXPECT_FALSE(any);
  EXPECT_NE(recordFifo.find("FIFO"), std::string::npos) << recordFifo;
  EXPECT_NE(recordKept.find("read-only"), std::string::npos) << recordKept;
  EXPECT_NE(readFifo.find("FIFO"), std::string::npos) << readFifo;
  EXPECT_EQ(test::TempDir::Read(kept), keptBytes);
  EXPECT_FALSE(recorder.Recording());
  EXPECT_FALSE(recorder.Playing());
}

TEST_F(HdrRecorderTest, ReplacingOrDestroyingARecordingFinishesItsHeader) {
  const std::string first = dir.File("first.dat");
  ASSERT_TRUE(recorder.StartRecord(first));
  for (int k = 0; k < 4; ++k) Cycle(20, TestFrame(k));
  const std::string second = dir.File("second.dat");
  ASSERT_TRUE(recorder.StartRecord(second));  // closes the first as Stop does
  EXPECT_EQ(HeaderOf(first).FrameCount(), 4);
  Cycle(20, TestFrame(0));
  {
    ManualClock otherClock;
    THdrRecorder scoped(8, otherClock);
    ASSERT_TRUE(scoped.StartRecord(dir.File("third.dat")));
    otherClock.Advance(60);
    scoped.Tick(out.data());
  }
  EXPECT_EQ(HeaderOf(dir.File("third.dat")).FrameCount(), 3);
}

TEST_F(HdrRecorderTest, ANewRecordingHeaderCarriesNothingOfAFileReadBefore) {
  std::string foreign = test::TempDir::Read(WriteFile(dir, "foreign.dat", 4096, 1, 4096, 4096));
  foreign[9] = 'R';      // reserved
  foreign[300] = 'R';    // reserved
  foreign[72] = '\x40';  // a stop time
  const std::string path = dir.Write("foreign.dat", foreign);
  ASSERT_TRUE(recorder.ReadHeader(path, nullptr, true));
  const std::string rec = dir.File("fresh.dat");
  ASSERT_TRUE(recorder.StartRecord(rec));
  const HdrHeader h = HeaderOf(rec);
  EXPECT_EQ(h.Bytes[9], 0);
  EXPECT_EQ(h.Bytes[300], 0);
  EXPECT_EQ(h.StopTime(), 0.0);
}

TEST_F(HdrRecorderTest, RepeatLimitPlaysTheFileAgain) {
  const std::string path = Record("twice.dat", 3);
  recorder.SetRepeatLimit(2);
  ASSERT_TRUE(recorder.StartPlay(path, 0));
  for (int k : {0, 1, 2, 0, 1, 2}) {
    Cycle();
    ASSERT_EQ(OutFrame(), TestFrame(k));
  }
  EXPECT_EQ(recorder.RepeatCount(), 2);
  Cycle();
  EXPECT_TRUE(recorder.EndReached());
}

TEST_F(HdrRecorderTest, TimeTextOfFrameCounts) {
  const struct {
    std::int64_t frames;
    const char* text;
  } cases[] = {
      {0, "00:00:00.00"},
      {1, "00:00:00.02"},
      {29, "00:00:00.58"},
      {4500, "00:01:30.00"},
      {180'000, "01:00:00.00"},
      {6'000, "00:02:00.00"},
      {180'000 * 100 + 1, "100:00:00.02"},
      {-3, "00:00:00.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(recorder.TimeText(c.frames), c.text) << c.frames;
}

TEST_F(HdrRecorderTest, GuiOperationsDuringTicksNeitherCrashNorCorruptTheFile) {
  const std::string played = Record("shared.dat", 50);
  const std::string recorded = dir.File("recorded.dat");
  std::atomic<bool> done{false};
  std::thread engine([&] {
    Frame levels = TestFrame(9);
    Frame output(kLevels);
    while (!done) {
      clock.Advance(7);
      recorder.TakeInput(levels.data());
      recorder.Tick(output.data());
    }
  });
  for (int i = 0; i < 300; ++i) {
    switch (i % 6) {
      case 0:
        recorder.StartPlay(played, i % 50);
        break;
      case 1:
        recorder.SeekRatio(0.3);
        break;
      case 2:
        recorder.Pause();
        break;
      case 3:
        recorder.StartRecord(recorded);
        break;
      case 4:
        recorder.Stop();
        break;
      case 5:
        recorder.Seek(i % 50);
        break;
    }
  }
  done = true;
  engine.join();
  recorder.Stop();
  const HdrHeader h = HeaderOf(recorded);
  EXPECT_EQ(test::TempDir::Read(recorded).size(),
            512u + static_cast<size_t>(h.FrameCount()) * 4096u);
  EXPECT_EQ(HeaderOf(played).FrameCount(), 50);
}

}  // namespace
}  // namespace lumaplot
