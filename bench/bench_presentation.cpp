// Light presentation and drawing at the sizes of a large plot: the presentation
// update over 4000 lights (every refresh tick), and the drawing of 1000 changed
// lights onto a full-HD page surface (the redraw that follows the tick).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <random>

#include "model/LightPresentation.h"
#include "model/ObjectDrawing.h"
#include "support/StageBuilder.h"
#include "ui/qt/QtCanvas.h"

namespace lumaplot {
namespace {

// `count` lights of five kinds in rows across a 1920 x 1080 page, each showing its
// level and channel texts, patched one after another through the 4096 channels.
void FillPlot(TStageData& doc, int count) {
  const TLibItem types[] = {
      test::MakeType({RoleRed, RoleGreen, RoleBlue}, Circle, 24, 24),
      test::MakeType({RoleRed, RoleGreen, RoleBlue, RoleWhite, RoleDimmer}, Circle, 24, 24),
      test::MakeType({RoleDimmer, RoleCyan, RoleMagenta, RoleYellow}, Octagon, 24, 24),
      test::MakeType({RoleBrightness, RoleRed, RoleGreen, RoleBlue}, Rectangle, 30, 20),
      test::MakeType({RoleDimmer}, BarGraph, 10, 30),
  };
  int32_t channel = 0;
  for (int i = 0; i < count; ++i) {
    const TLibItem& type = types[i % 5];
    if (channel + type.Channels > kStageChannels) channel = 0;
    TLightCell* light =
        test::AddLight(doc, type, 10 + (i % 40) * 47, 20 + (i / 40) * 42 % 1040, channel);
    light->Angle = (i % 7 == 0) ? 30 : 0;
    light->Flags = kFlagShowLevel | kFlagShowChannel;
    channel += type.Channels;
  }
}

void FillLevels(TStageData& doc, unsigned seed) {
  std::mt19937 random(seed);
  for (uint8_t& level : doc.ShownLevels) level = static_cast<uint8_t>(random());
}

void BM_UpdateLights(benchmark::State& state) {
  TStageData doc;
  FillPlot(doc, static_cast<int>(state.range(0)));
  TStageData other;
  FillLevels(doc, 1);
  FillLevels(other, 2);
  for (auto _ : state) {
    // Every other tick sees new levels, so colours change and lights are marked.
    doc.ShownLevels.swap(other.ShownLevels);
    UpdateLights(doc);
    benchmark::DoNotOptimize(doc.Objects.front()->Color);
  }
}
BENCHMARK(BM_UpdateLights)->Arg(4000)->Unit(benchmark::kMicrosecond);

void BM_DrawAllChanged(benchmark::State& state) {
  QtCanvas canvas(QSize(1920, 1080));
  TStageData doc;
  doc.Canvas = &canvas;
  FillPlot(doc, 1000);
  const bool texts = state.range(0) != 0;
  for (TLightCell* light : doc.Objects) {
    if (!texts) light->Flags = 0;
  }
  const TPresentationSettings settings;
  TLevelBuffer levels[2];
  std::mt19937 random(3);
  for (auto& buffer : levels) {
    for (uint8_t& level : buffer) level = static_cast<uint8_t>(random());
  }
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    doc.ShownLevels = levels[round++ % 2];
    UpdateLights(doc);
    for (TLightCell* light : doc.Objects) light->SetNeedsDraw();  // all 1000 changed
    state.ResumeTiming();
    DrawAll(doc, true, false, false, settings);
    benchmark::DoNotOptimize(canvas.TakeDirtyRect());
  }
}
BENCHMARK(BM_DrawAllChanged)->Arg(1)->Arg(0)->ArgName("texts")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
