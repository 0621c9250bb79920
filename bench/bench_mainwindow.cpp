// The main window at the sizes of a busy show, offscreen: start-up with 20 plots of
// 500 lights reopened until the page is first painted (goal: well under 1.5 s); one
// refresh tick in which 2000 lights change colour, with the repaint of what the tick
// drew (goal: under 10 ms), with and without each light's level and channel texts;
// a full rig of 4096 one-channel lights all changing on every tick (goal: under
// 5 ms); and a tick at rest over 20000 lights, when no level changed (it should cost
// next to nothing). The Art-Net engine listens on loopback only.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>

#include "model/StageFile.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"

namespace lumaplot {
namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_mainwindow";
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

// A plot of `lights` RGB lights, with level and channel texts unless `texts` is
// false, in rows over the page.
std::string WritePlot(const std::string& path, int lights, int width, int height,
                      bool texts = true) {
  TStageData doc;
  doc.ScrWidth = width;
  doc.ScrHeight = height;
  const int perRow = (width - 20) / 38;
  for (int i = 0; i < lights; ++i) {
    TLightCell* light =
        test::AddLight(doc, DefaultLibItem(), 10 + (i % perRow) * 38,
                       20 + (i / perRow) * 44 % (height - 40), (i * 2) % (kStageChannels - 3));
    light->Flags = texts ? kFlagShowLevel | kFlagShowChannel : 0;
  }
  if (!test::SavePlot(doc, path)) std::abort();
  return path;
}

TMainFormSetup FormSetup() {
  TMainFormSetup setup;
  setup.Prompts.Error = [](const QString&, const QString&) {};
  // The plots hold "*default*" lights, a type no library has: keep the name.
  setup.AskMissingType = [](const std::string& name) { return name; };
  return setup;
}

void WaitForFirstPaint(TLumaplotForm& form) {
  QElapsedTimer clock;
  clock.start();
  while (form.PagePaintCount() == 0 && clock.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-startup");
  std::string settings = "[General]\r\n";
  for (int n = 1; n <= 20; ++n) {
    const std::string plot =
        WritePlot(folder + "/plot" + std::to_string(n) + ".dat", 500, 1000, 700);
    settings += "LastFile" + std::to_string(n) + "=" + plot + "\r\n";
  }
  for (auto _ : state) {
    state.PauseTiming();
    { std::ofstream(folder + "/lumaplot.INI", std::ios::binary) << settings; }
    state.ResumeTiming();
    TAppCore core(test::LoopbackCoreSetup(folder));
    TLumaplotForm form(core, FormSetup());
    form.resize(1280, 800);
    form.show();
    WaitForFirstPaint(form);
    state.PauseTiming();
    if (core.Documents().Count() != 20 || form.PagePaintCount() == 0)
      state.SkipWithError("no plot");
    form.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

// A one-channel dimmer type of the plots of the full-rig tick.
constexpr char kDimmerLibrary[] =
    "[Define001]\r\nName=DIM\r\nShape=Circle\r\nWidth=20\r\nHeight=20\r\nChannels=1\r\n"
    "ChAtr1=D\r\n";

// `lights` one-channel dimmers on channels 0, 1, ..., with both texts, in rows.
std::string WriteDimmerPlot(const std::string& path, int lights, int width, int height) {
  TStageData doc;
  doc.ScrWidth = width;
  doc.ScrHeight = height;
  TLibItem dimmer = test::MakeType({RoleDimmer});
  dimmer.Name = "DIM";
  const int perRow = (width - 20) / 30;
  for (int i = 0; i < lights; ++i) {
    TLightCell* light = test::AddLight(doc, dimmer, 10 + (i % perRow) * 30,
                                       20 + (i / perRow) * 44 % (height - 40), i % kStageChannels);
    light->Flags = kFlagShowLevel | kFlagShowChannel;
  }
  if (!test::SavePlot(doc, path)) std::abort();
  return path;
}

// The main window showing `plot`, its refresh timer stopped: the ticks are driven
// by the benchmark.
struct ShownPlot {
  ShownPlot(const std::string& folder, const std::string& plot)
      : core(WriteSettings(folder, plot)), form(core, FormSetup()) {
    form.resize(1920, 1200);
    form.show();
    WaitForFirstPaint(form);
    form.Timer1()->stop();
  }
  static TCoreSetup WriteSettings(const std::string& folder, const std::string& plot) {
    std::ofstream(folder + "/lumaplot.INI", std::ios::binary)
        << "[General]\r\nLastFile1=" + plot + "\r\n";
    return test::LoopbackCoreSetup(folder);
  }
  void SetLevels(const TLevelBuffer& levels) {
    std::lock_guard lock(core.Documents().LevelLock);
    core.CurrentDoc()->ShownLevels = levels;
    ++core.CurrentDoc()->LevelChanges;
  }

  TAppCore core;
  TLumaplotForm form;
};

// Ticks in which the levels alternate between `levels[0]` and `levels[1]`; counts the
// lights whose colour changed per tick.
void RunChangingTicks(benchmark::State& state, ShownPlot& shown, const TLevelBuffer (&levels)[2]) {
  TStageData& doc = *shown.core.CurrentDoc();
  std::vector<int32_t> before(doc.Objects.size());
  size_t frame = 0;
  int64_t changed = 0;
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shown.SetLevels(levels[frame++ % 2]);
    for (size_t i = 0; i < before.size(); ++i) before[i] = doc.Objects[i]->Color;
    state.ResumeTiming();
    shown.form.Timer1Timer();
    QApplication::processEvents();  // the repaint of what the tick drew
    state.PauseTiming();
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != doc.Objects[i]->Color;
    ++ticks;
    state.ResumeTiming();
  }
  state.counters["changed"] = ticks ? static_cast<double>(changed) / static_cast<double>(ticks) : 0;
}

void BM_RefreshTick2000Lights(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-tick");
  ShownPlot shown(folder, WritePlot(folder + "/big.dat", 2000, 1920, 1080, state.range(0) != 0));
  TLevelBuffer levels[2];
  std::mt19937 random(7);
  for (auto& buffer : levels) {
    for (uint8_t& level : buffer) level = static_cast<uint8_t>(random());
  }
  RunChangingTicks(state, shown, levels);
}
BENCHMARK(BM_RefreshTick2000Lights)
    ->ArgName("texts")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

void BM_RefreshTick4096Dimmers(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-rig");
  std::ofstream(folder + "/LIBRARY.INI", std::ios::binary) << kDimmerLibrary;
  ShownPlot shown(folder, WriteDimmerPlot(folder + "/rig.dat", 4096, 1920, 3000));
  // Every channel on a ramp, as a desk fading everything: each tick changes them all.
  TLevelBuffer levels[2];
  for (int i = 0; i < kStageChannels; ++i) {
    levels[0][static_cast<size_t>(i)] = static_cast<uint8_t>(i % 200);
    levels[1][static_cast<size_t>(i)] = static_cast<uint8_t>(i % 200 + 40);
  }
  RunChangingTicks(state, shown, levels);
}
BENCHMARK(BM_RefreshTick4096Dimmers)->Unit(benchmark::kMillisecond);

void BM_RefreshTickAtRest20000Lights(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-rest");
  ShownPlot shown(folder, WritePlot(folder + "/huge.dat", 20000, 4000, 8000));
  shown.form.Timer1Timer();
  for (auto _ : state) {
    shown.form.Timer1Timer();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_RefreshTickAtRest20000Lights)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
