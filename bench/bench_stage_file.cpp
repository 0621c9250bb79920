// Loading and saving a plot of 10 000 objects (6 000 lights, 2 000 texts, 1 000
// lines, 1 000 shapes) as the stage file reader and writer do it, in code page 932.
// Saving includes the atomic write (temporary file, flush to disk, rename).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/StageFile.h"
#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

constexpr int kLights = 6000;
constexpr int kTexts = 2000;
constexpr int kLines = 1000;
constexpr int kShapes = 1000;

TLightLib MakeLibrary() {
  std::vector<TLibItem> types;
  for (int i = 0; i < 20; ++i) {
    TLibItem type = DefaultLibItem();
    type.Name = "灯体 " + std::to_string(i);
    type.Channels = 1 + i % 8;
    types.push_back(type);
  }
  return test::MakeLibrary(types);
}

// Appended in drawing order, so that the document needs no sorting.
void FillPlot(TStageData& doc, const TLightLib& lib) {
  const auto x = [](int i) { return i % 1900; };
  const auto y = [](int i) { return i / 1900 * 20; };
  for (int i = 0; i < kShapes; ++i) {
    TLightCell* shape = test::NewObject(KindShape, x(i), y(i), x(i) + 40, y(i) + 30);
    shape->Order = i;
    doc.AppendObject(shape);
  }
  for (int i = 0; i < kLines; ++i) {
    TLightCell* line = test::NewObject(KindLine, x(i), y(i), x(i) + 40, y(i) + 30);
    line->Order = i;
    doc.AppendObject(line);
  }
  for (int i = 0; i < kTexts; ++i) {
    TLightCell* text = test::NewObject(KindText, x(i), y(i), x(i) + 40, y(i) + 30);
    text->Text = "テキスト " + std::to_string(i);
    doc.AppendObject(text);
  }
  for (int i = 0; i < kLights; ++i) {
    TLightCell* light = test::NewLight(lib.Items[i % lib.Items.Count()], x(i), y(i), i % 4096);
    light->Flags = 6;
    light->Comment = i % 3 == 0 ? "コメント" : "";
    doc.AppendObject(light);
  }
}

class StageFileBench : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    folder_ =
        std::filesystem::temp_directory_path() / ("lumaplot-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "plot.dat").string();
    library_ = MakeLibrary();
    TStageData doc;
    FillPlot(doc, library_);
    if (!test::SavePlot(doc, path_)) std::abort();
  }
  void TearDown(const benchmark::State&) override { std::filesystem::remove_all(folder_); }

 protected:
  std::filesystem::path folder_;
  std::string path_;
  TLightLib library_;
};

BENCHMARK_DEFINE_F(StageFileBench, LoadStage)(benchmark::State& state) {
  TStageReadContext context;
  context.Library = &library_;
  for (auto _ : state) {
    TStageData doc;
    if (!LoadStage(doc, path_, context)) std::abort();
    benchmark::DoNotOptimize(doc.Objects.data());
  }
  state.counters["objects"] = kLights + kTexts + kLines + kShapes;
}
BENCHMARK_REGISTER_F(StageFileBench, LoadStage)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(StageFileBench, SaveStage)(benchmark::State& state) {
  TStageData doc;
  TStageReadContext context;
  context.Library = &library_;
  if (!LoadStage(doc, path_, context)) std::abort();
  for (auto _ : state) {
    if (!SaveStage(doc, false)) std::abort();
  }
}
BENCHMARK_REGISTER_F(StageFileBench, SaveStage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
