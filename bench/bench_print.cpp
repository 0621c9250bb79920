// Printing and the library editor at the sizes of a big show, offscreen:
// - a one-page PDF of a plot with 10 000 objects (7 000 lights showing their level
//   and channel texts, 1 000 texts, lines and shapes each), A4 landscape through the
//   print routine (goal: under 2 s);
// - opening the fixture library editor on a library of 200 types, made anew (the
//   first opening) and shown again (goal: under 100 ms).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/LightPresentation.h"
#include "support/StageBuilder.h"
#include "ui/dialogs/LibraryDlg.h"
#include "ui/qt/PagePrinter.h"
#include "ui/qt/Prompts.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_print";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

void FillBigPlot(TStageData& doc) {
  doc.ScrWidth = 4000;
  doc.ScrHeight = 3000;
  doc.ShowGrid = true;
  doc.GridStyle = 1;
  const TLibItem rgb = test::LibraryType("RGB", Circle, 20, 20, {RoleRed, RoleGreen, RoleBlue});
  const TLibItem bar = test::LibraryType("BAR", BarGraph, 10, 30, {RoleDimmer});
  for (int i = 0; i < 7000; ++i) {
    TLightCell* light = test::AddLight(doc, i % 5 == 0 ? bar : rgb, 10 + (i % 100) * 39,
                                       20 + (i / 100) * 42, (i * 3) % (kStageChannels - 3));
    light->Flags = kFlagShowLevel | kFlagShowChannel;
  }
  for (int i = 0; i < 1000; ++i) {
    test::AddText(doc, 5 + (i % 40) * 99, 10 + (i / 40) * 118, "Text " + std::to_string(i));
    test::AddLine(doc, (i % 50) * 80, (i / 50) * 150, (i % 50) * 80 + 70, (i / 50) * 150 + 60, 2);
    TLightCell* shape = test::AddCell(doc, KindShape, (i % 50) * 80, (i / 50) * 150 + 70,
                                      (i % 50) * 80 + 60, (i / 50) * 150 + 110);
    shape->ShapeType = i % 2;
    shape->Color = 0x404040;
    shape->Color2 = 0xFFFFFF;
  }
  for (size_t i = 0; i < doc.ShownLevels.size(); ++i) doc.ShownLevels[i] = (i * 37) % 256;
  UpdateLights(doc);
}

void BM_PdfOf10000Objects(benchmark::State& state) {
  Application();
  TStageData doc;
  FillBigPlot(doc);
  size_t bytes = 0;
  for (auto _ : state) {
    QByteArray pdf;
    if (!PdfBytes(doc, QPageSize::A4, {}, PresentationSettings(), pdf)) std::abort();
    bytes = static_cast<size_t>(pdf.size());
  }
  state.counters["objects"] = static_cast<double>(doc.Objects.size());
  state.counters["pdf_kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_PdfOf10000Objects)->Unit(benchmark::kMillisecond)->Iterations(3);

TLightLib TwoHundredTypes() {
  TLightLib library;
  library.FileName =
      (std::filesystem::temp_directory_path() / "lumaplot-bench-LIBRARY.INI").string();
  for (int i = 0; i < kMaxLibItems; ++i) {
    library.Items.Add(test::LibraryType("Type " + std::to_string(kMaxLibItems - i), i % 4,
                                        20 + i % 50, 20 + i % 30, {1, 2, 3, 7, 8, 9}));
  }
  return library;
}

void BM_OpenLibraryEditorFirstTime(benchmark::State& state) {
  Application();
  TLightLib library = TwoHundredTypes();
  IniFile ini;
  TPrompts prompts;
  for (auto _ : state) {
    TLibraryDlg dialog(library, ini, prompts);
    dialog.show();
    QApplication::processEvents();
    dialog.hide();
  }
}
BENCHMARK(BM_OpenLibraryEditorFirstTime)->Unit(benchmark::kMillisecond);

void BM_OpenLibraryEditorAgain(benchmark::State& state) {
  Application();
  TLightLib library = TwoHundredTypes();
  IniFile ini;
  TPrompts prompts;
  TLibraryDlg dialog(library, ini, prompts);
  for (auto _ : state) {
    dialog.show();
    QApplication::processEvents();
    dialog.hide();
  }
}
BENCHMARK(BM_OpenLibraryEditorAgain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
