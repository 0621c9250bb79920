// Editing with the mouse on large plots, in the main window offscreen, driven with
// the page's own mouse events:
// - one pointer move while 1000 selected lights are dragged (goal: under 4 ms), and
//   the same move followed by the drawing the next refresh tick does for it;
// - the release of a selection band over a plot of 10 000 objects (goal: under
//   20 ms), with the band enclosing a quarter of them or all of them.
// The Art-Net engine listens on loopback only.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "model/ObjectDrawing.h"
#include "model/Selection.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/PageView.h"
#include "ui/main/commands/FileCommands.h"

namespace lumaplot {
namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_mouse_editing";
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

TMainFormSetup FormSetup() {
  TMainFormSetup setup;
  setup.Prompts.Error = [](const QString&, const QString&) {};
  return setup;
}

// The window with one new plot of `width` x `height`, the refresh tick stopped (the
// benchmarks drive it).
struct TEditingWindow {
  TEditingWindow(const char* folder, int width, int height)
      : core(test::LoopbackCoreSetup(MakeFolder(folder))), form(core, FormSetup()) {
    form.resize(1600, 1000);
    form.show();
    QApplication::processEvents();
    FileNewItemClick(form.Context());
    form.Timer1()->stop();
    TStageData& doc = Doc();
    doc.ScrWidth = width;
    doc.ScrHeight = height;
    form.FullRefresh();
    QApplication::processEvents();
  }

  TStageData& Doc() { return *core.CurrentDoc(); }

  void Send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
    QWidget* page = form.ScrollBox()->ScrBox();
    const QPointF at(x, y);
    QMouseEvent event(type, at, page->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(page, &event);
  }
  void Press(int x, int y) { Send(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton); }
  void Move(int x, int y) { Send(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
  void Release(int x, int y) {
    Send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
  }
  // What the refresh tick does for the marked objects: draw them, show them.
  void DrawMarked() {
    DrawAll(Doc(), true, false, false);
    form.ScrollBox()->ScrBox()->ShowDrawn();
    QApplication::processEvents();
  }

  TAppCore core;
  TLumaplotForm form;
};

// 1000 lights in rows over a 1920 x 1080 page, every one selected; the press arms the
// move. Each iteration moves the pointer by one pixel (back and forth), so every
// light is erased and moved each time. With range(1), the drawing of the next
// refresh tick is part of the iteration.
void BM_DragMove1000Lights(benchmark::State& state) {
  Application();
  TEditingWindow window("lumaplot-bench-drag", 1920, 1080);
  TStageData& doc = window.Doc();
  TLibItem type = DefaultLibItem();
  for (int i = 0; i < 1000; ++i) {
    TLightCell* light = test::AddLight(doc, type, 40 + (i % 40) * 45, 40 + (i / 40) * 40, i * 3);
    light->Flags = state.range(0) ? kFlagShowLevel | kFlagShowChannel : 0;
  }
  window.form.FullRefresh();
  QApplication::processEvents();
  SelectAll(doc, true);
  window.DrawMarked();
  window.Press(50, 50);
  int x = 50;
  const bool withTick = state.range(1) != 0;
  for (auto _ : state) {
    x += x == 50 ? 1 : -1;
    window.Move(x, 50);
    if (withTick) window.DrawMarked();
  }
  const bool moved = window.form.Edit().Moved;
  window.Release(x, 50);
  if (!moved && state.iterations() > 0) state.SkipWithError("nothing moved");
}
BENCHMARK(BM_DragMove1000Lights)
    ->ArgNames({"texts", "tick"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

// 10 000 objects on a 2000 x 2000 page: 9 600 lights 16 x 16 on a 20-pixel grid, with
// 200 texts and 200 lines among them. The band starts in a gap at (17, 17) and ends
// at the middle of the page (range(0) 0: a quarter) or past its far corner (all).
void BM_BandRelease10000Objects(benchmark::State& state) {
  Application();
  TEditingWindow window("lumaplot-bench-band", 2000, 2000);
  TStageData& doc = window.Doc();
  TLibItem type = DefaultLibItem();
  type.Width = 16;
  type.Height = 16;
  for (int i = 0; i < 10000; ++i) {
    const int x = (i % 100) * 20;
    const int y = (i / 100) * 20;
    TLightCell* cell = nullptr;
    if (i % 50 == 7) {
      cell = test::NewObject(KindText, x, y, -1, -1);
      cell->Text = std::to_string(i);
    } else if (i % 50 == 23) {
      cell = test::NewObject(KindLine, x, y, x + 15, y + 15);
      cell->Size = 1;
    } else {
      cell = test::NewLight(type, x, y, i % 4000);
    }
    doc.AppendObject(cell);
  }
  doc.SortObjects();
  window.form.FullRefresh();
  QApplication::processEvents();
  const int end = state.range(0) ? 1999 : 1000;
  int64_t selected = 0;
  for (auto _ : state) {
    state.PauseTiming();
    window.Press(17, 17);  // clears the selection, starts the band
    window.DrawMarked();   // as the ticks during the drag would
    window.Move(end, end);
    QApplication::processEvents();
    state.ResumeTiming();
    window.Release(end, end);
    QApplication::processEvents();  // the repaint of what the release drew
    state.PauseTiming();
    selected = static_cast<int64_t>(doc.Selection.size());
    state.ResumeTiming();
  }
  state.counters["selected"] = static_cast<double>(selected);
}
BENCHMARK(BM_BandRelease10000Objects)
    ->ArgName("all")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
