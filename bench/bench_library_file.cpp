// Reading and writing LIBRARY.INI: a full library (200 types of 8 channels, about
// 30 KB) and the same library in a file of 1 MB, the most the reader takes, whose
// other sections (notes kept by other tools) fill the rest. Writing includes the
// atomic write (temporary file, flush to disk, rename).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/LightLib.h"

namespace lumaplot {
namespace {

TLightLib FullLibrary() {
  TLightLib lib;
  for (int i = 0; i < kMaxLibItems; ++i) {
    TLibItem type = DefaultLibItem();
    type.Name = "灯体 " + std::to_string(i);
    type.Channels = 8;
    for (int k = 0; k < 8; ++k) type.ChAtr[static_cast<size_t>(k)] = 1 + (i + k) % 9;
    lib.Items.Add(type);
  }
  return lib;
}

class LibraryFileBench : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    folder_ =
        std::filesystem::temp_directory_path() / ("lumaplot-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    full_ = (folder_ / "LIBRARY.INI").string();
    large_ = (folder_ / "LARGE.INI").string();
    if (!FullLibrary().SaveToFile(full_)) std::abort();
    // Notes first, so that the library's sections stand at the end of the file.
    std::ofstream notes(large_, std::ios::binary);
    const std::string filler(60, 'x');
    char header[32];
    for (int i = 0; notes.tellp() < std::streamoff{1000 * 1000 - 40 * 1000}; ++i) {
      std::snprintf(header, sizeof header, "[Note%05d]\r\n", i);
      notes << header << "Text=" << filler << "\r\nMore=" << filler << "\r\n";
    }
    notes.close();
    if (!FullLibrary().SaveToFile(large_)) std::abort();
    if (std::filesystem::file_size(large_) > kMaxLibraryFileBytes) std::abort();
  }
  void TearDown(const benchmark::State&) override { std::filesystem::remove_all(folder_); }

 protected:
  std::filesystem::path folder_;
  std::string full_;
  std::string large_;
};

BENCHMARK_DEFINE_F(LibraryFileBench, LoadFull)(benchmark::State& state) {
  for (auto _ : state) {
    TLightLib lib;
    if (lib.LoadFromFile(full_, false) != kMaxLibItems) std::abort();
  }
}
BENCHMARK_REGISTER_F(LibraryFileBench, LoadFull)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(LibraryFileBench, Load1MB)(benchmark::State& state) {
  for (auto _ : state) {
    TLightLib lib;
    if (lib.LoadFromFile(large_, false) != kMaxLibItems) std::abort();
  }
}
BENCHMARK_REGISTER_F(LibraryFileBench, Load1MB)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(LibraryFileBench, SaveFull)(benchmark::State& state) {
  const TLightLib lib = FullLibrary();
  for (auto _ : state) {
    if (!lib.SaveToFile(full_)) std::abort();
  }
}
BENCHMARK_REGISTER_F(LibraryFileBench, SaveFull)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(LibraryFileBench, Save1MB)(benchmark::State& state) {
  const TLightLib lib = FullLibrary();
  for (auto _ : state) {
    if (!lib.SaveToFile(large_)) std::abort();
  }
}
BENCHMARK_REGISTER_F(LibraryFileBench, Save1MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumaplot

BENCHMARK_MAIN();
