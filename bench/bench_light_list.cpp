// The tool windows at the sizes of a busy show, offscreen.
//
// Light list: one timer tick with 4000 lights of 16 channels listed (goal: under
// 5 ms when every level changed, under 0.5 ms when none did), and the same tick
// followed by the repaint of the grid's visible cells.
// Recorder: positioning a one-hour recording (180 000 frames, 737 MB, written to the
// temporary folder first) with the recorder window's scroll bar, each move reading
// the frame at the bar's place (goal: under 5 ms a move), with the file in the page
// cache and after the cache was told to drop it.
//
//   bench_light_list
//   bench_light_list --benchmark_filter=ListTick
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "dmx/HdrHeader.h"
#include "dmx/HdrRecorder.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "ui/dialogs/HdrToolFrm.h"
#include "ui/dialogs/LtListForm.h"
#include "ui/qt/Prompts.h"

namespace lumaplot {
namespace {

constexpr int kLights = 4000;
constexpr int kHourFrames = 180'000;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_light_list";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

std::string MakeFolder(const char* name) {
  const auto folder = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

// A core with one document of 4000 lights of 16 channels each, and the list window
// showing them, its rows built. The test drives the ticks.
struct ListFixture {
  std::string Folder = MakeFolder("lumaplot-bench-list");
  TAppCore Core{test::LoopbackCoreSetup(Folder)};
  TPrompts Prompts;
  TLtListForm List{TDialogContext{Core, Prompts}, nullptr};
  TStageData* Doc = nullptr;

  ListFixture() {
    TLibItem type = test::MakeType({RoleRed, RoleGreen, RoleBlue, RoleWhite, RoleDimmer, RoleNone,
                                    RoleNone, RoleNone, RoleCyan, RoleMagenta, RoleYellow,
                                    RoleBrightness, RoleNone, RoleNone, RoleNone, RoleNone});
    type.Name = "LED Wash";
    Doc = Core.Documents().Add(Core.NewDocument());
    Core.Documents().SetCurrent(0);
    for (int i = 0; i < kLights; ++i) {
      test::AddLight(*Doc, type, i % 100 * 30, i / 100 * 30, (i * 16) % (kStageChannels - 16));
    }
    Core.Env().GridSortMode = 1;
    List.resize(900, 700);
    List.show();
    List.Timer1()->stop();
    List.Timer1Timer();
    QApplication::processEvents();
    if (List.RowCount() != kLights) std::abort();
  }
  ~ListFixture() { std::filesystem::remove_all(Folder); }

  void SetLevels(const TLevelBuffer& levels) {
    std::lock_guard lock(Core.Documents().LevelLock);
    Doc->ShownLevels = levels;
  }
};

void BM_ListTick(benchmark::State& state) {
  Application();
  ListFixture fixture;
  const bool change = state.range(0) != 0;
  const bool paint = state.range(1) != 0;
  TLevelBuffer levels[2];
  std::mt19937 random(11);
  for (auto& buffer : levels) {
    for (uint8_t& level : buffer) level = static_cast<uint8_t>(random());
  }
  // Every level differs between the two buffers.
  for (size_t i = 0; i < levels[1].size(); ++i) {
    if (levels[1][i] == levels[0][i]) levels[1][i] ^= 0x80;
  }
  fixture.SetLevels(levels[0]);
  fixture.List.Timer1Timer();
  QApplication::processEvents();
  size_t frame = 1;
  for (auto _ : state) {
    if (change) {
      state.PauseTiming();
      fixture.SetLevels(levels[frame++ % 2]);
      state.ResumeTiming();
    }
    fixture.List.Timer1Timer();
    if (paint) QApplication::processEvents();
  }
  if (fixture.List.CellText(0, 4).isEmpty()) state.SkipWithError("no cells");
}
BENCHMARK(BM_ListTick)
    ->ArgNames({"changed", "paint"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// A one-hour recording whose frame k holds k in its first bytes.
std::string WriteHourRecording(const std::string& folder) {
  const std::string path = folder + "/hour.dat";
  HdrHeader header;
  header.SetMagic();
  header.SetFrameSize(4096);
  header.SetFrameCount(kHourFrames);
  header.SetIntervalMs(20);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header.Bytes.data()), kHdrHeaderSize);
  std::vector<char> frames(4096 * 1000);
  for (int k = 0; k < kHourFrames; k += 1000) {
    for (int j = 0; j < 1000; ++j) {
      const int frame = k + j;
      std::memcpy(&frames[static_cast<size_t>(j) * 4096], &frame, sizeof frame);
    }
    out.write(frames.data(), static_cast<std::streamsize>(frames.size()));
  }
  return out ? path : std::string();
}

void DropFromCache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

void BM_ScrubOneHour(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-scrub");
  const std::string path = WriteHourRecording(folder);
  if (path.empty()) {
    state.SkipWithError("cannot write the recording");
    return;
  }
  {
    TAppCore core(test::LoopbackCoreSetup(folder));
    TPrompts prompts;
    prompts.OpenFileName = [&path](const TFileDialogRequest&) {
      return QString::fromStdString(path);
    };
    THdrToolFrm window(TDialogContext{core, prompts}, nullptr);
    window.FileOpenActionExecute();
    const bool cold = state.range(0) != 0;
    if (cold) DropFromCache(path);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> place(1, THdrToolFrm::kScrollMax);
    std::vector<std::uint8_t> out(THdrRecorder::kMaxFrameLevels);
    int wrong = 0;
    for (auto _ : state) {
      const int position = place(random);
      window.PlayScrBar()->setValue(position);  // the user's move: one seek
      state.PauseTiming();
      core.Recorder().Tick(out.data());
      int frame = 0;
      std::memcpy(&frame, out.data(), sizeof frame);
      const int expected = std::min(
          kHourFrames - 1,
          static_cast<int>(static_cast<int64_t>(kHourFrames) * position / THdrToolFrm::kScrollMax));
      wrong += frame != expected;
      state.ResumeTiming();
    }
    if (wrong > 0) state.SkipWithError("a move showed the wrong frame");
    window.StopActionExecute();
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ScrubOneHour)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(400)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
