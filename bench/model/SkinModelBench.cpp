// Full skin model build from a package: expand, read the archive and the
// settings, then build every element (goal: under 5 ms natively).
#include <benchmark/benchmark.h>

#include "tests/skin/data/model/SkinTestPackage.h"

namespace {

// A package shaped like a real skin: the full settings and images of the
// sizes skins use, about 350 KB expanded and 50-60 KB stored (skin images are
// mostly flat areas and gradients with some detail).
SkinTestPackage RealisticSkin() {
  SkinTestPackage p = FullSkin();
  for (int i = 0; i < 2; ++i) {
    Image backdrop(240, 150, 0);
    for (int y = 0; y < backdrop.Height(); ++y)
      for (int x = 0; x < backdrop.Width(); ++x)
        backdrop.SetPixel(x, y, (x + y) % 37 == 0 ? MakePixel(255, x, y) : MakePixel(40 + y / 3, 90 + i * 40, 160 - x / 4));
    backdrop.SetBitCount(24);
    p.Add("backdrop" + std::to_string(i) + ".bmp", backdrop);
  }
  return p;
}

const std::vector<uint8_t>& Package() {
  static const std::vector<uint8_t> bytes = RealisticSkin().Package();
  return bytes;
}

void BM_OpenAndBuild(benchmark::State& state) {
  const std::vector<uint8_t>& package = Package();
  TSkinModel model;
  size_t expanded = 0;
  for (auto _ : state) {
    TSkinReader reader;
    reader.Open(package);
    std::vector<uint8_t> text;
    std::string name;
    reader.ExtractFirstMatch(".ini", text, name);
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    model.Build(reader, ini, SkinTestPackage::DefaultEnvironment());
    expanded = reader.Contents().size();
    benchmark::DoNotOptimize(model.Toolbar());
  }
  state.counters["package_bytes"] = double(package.size());
  state.counters["expanded_bytes"] = double(expanded);
}
BENCHMARK(BM_OpenAndBuild)->Unit(benchmark::kMillisecond);

// Expanding and reading the package alone.
void BM_OpenOnly(benchmark::State& state) {
  const std::vector<uint8_t>& package = Package();
  for (auto _ : state) {
    TSkinReader reader;
    reader.Open(package);
    benchmark::DoNotOptimize(reader.FileCount());
  }
}
BENCHMARK(BM_OpenOnly)->Unit(benchmark::kMillisecond);

// The builder alone, on an opened package and loaded settings.
void BM_BuildOnly(benchmark::State& state) {
  TSkinReader reader;
  reader.Open(Package());
  std::vector<uint8_t> text;
  std::string name;
  reader.ExtractFirstMatch(".ini", text, name);
  TQuickIni ini;
  ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  TSkinModel model;
  for (auto _ : state) {
    model.Build(reader, ini, SkinTestPackage::DefaultEnvironment());
    benchmark::DoNotOptimize(model.ComboButton());
  }
}
BENCHMARK(BM_BuildOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
