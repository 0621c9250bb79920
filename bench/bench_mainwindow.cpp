// The main window at the sizes of a busy show, offscreen: start-up with 20 plots of
// 500 lights reopened until the page is first painted (goal: well under 1.5 s), and
// one refresh tick in which 2000 lights change colour, with the repaint of what the
// tick drew (goal: under 10 ms), with and without each light's level and channel
// texts (drawing the two texts is most of the tick). The Art-Net engine listens on loopback only.
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

void BM_RefreshTick2000Lights(benchmark::State& state) {
  Application();
  const std::string folder = MakeFolder("lumaplot-bench-tick");
  const std::string plot = WritePlot(folder + "/big.dat", 2000, 1920, 1080, state.range(0) != 0);
  {
    std::ofstream(folder + "/lumaplot.INI", std::ios::binary)
        << "[General]\r\nLastFile1=" + plot + "\r\n";
  }
  TAppCore core(test::LoopbackCoreSetup(folder));
  TLumaplotForm form(core, FormSetup());
  form.resize(1920, 1200);
  form.show();
  WaitForFirstPaint(form);
  // The tick is driven here, not by the timer.
  form.Timer1()->stop();
  TStageData& doc = *core.CurrentDoc();
  TLevelBuffer levels[2];
  std::mt19937 random(7);
  for (auto& buffer : levels) {
    for (uint8_t& level : buffer) level = static_cast<uint8_t>(random());
  }
  std::vector<int32_t> before(doc.Objects.size());
  size_t frame = 0;
  int64_t changed = 0;
  int64_t ticks = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      std::lock_guard lock(core.Documents().LevelLock);
      doc.ShownLevels = levels[frame++ % 2];
    }
    for (size_t i = 0; i < before.size(); ++i) before[i] = doc.Objects[i]->Color;
    state.ResumeTiming();
    form.Timer1Timer();
    QApplication::processEvents();  // the repaint of what the tick drew
    state.PauseTiming();
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != doc.Objects[i]->Color;
    ++ticks;
    state.ResumeTiming();
  }
  // Lights whose colour changed in a tick, on average.
  state.counters["changed"] = ticks ? static_cast<double>(changed) / static_cast<double>(ticks) : 0;
}
BENCHMARK(BM_RefreshTick2000Lights)
    ->ArgName("texts")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
