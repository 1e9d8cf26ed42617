// Throughput of the pixel routines: nine-slice rendering (stretched and tiled
// middle), key-colour drawing, region runs and gradient fills, in Mpixel/s of
// output.
#include <benchmark/benchmark.h>

#include "skin/data/ImgUtil.h"

namespace {

// A 5-frame button strip of 5 x (60 x 22) with a keyed corner in every frame.
Image ButtonStrip() {
  Image img(300, 22);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 300; ++x) img.SetPixel(x, y, MakePixel(x & 0xFF, (y * 11) & 0xFF, (x * y) & 0xFF));
  for (int f = 0; f < 5; ++f) img.FillRect({f * 60, 0, f * 60 + 2, 2}, MakePixel(255, 0, 255));
  return img;
}

void SetRate(benchmark::State& state, int64_t pixelsPerIteration) {
  state.counters["Mpixel/s"] = benchmark::Counter(double(pixelsPerIteration) * double(state.iterations()) / 1e6,
                                                  benchmark::Counter::kIsRate);
}

void NineSlice(benchmark::State& state) {
  const Image strip = ButtonStrip();
  const int w = int(state.range(0)), h = int(state.range(1));
  const bool tile = state.range(2) != 0;
  for (auto _ : state) {
    Image out = BuildFrameBitmap({0, 0, w, h}, strip, {6, 6, 6, 6}, false, tile, 5, 3);
    benchmark::DoNotOptimize(out.Pixels());
  }
  SetRate(state, int64_t(w) * h);
}
BENCHMARK(NineSlice)
    ->Args({75, 23, 0})    // a push button
    ->Args({600, 28, 0})   // a caption band
    ->Args({600, 28, 1})
    ->Args({1024, 768, 0})  // a whole window
    ->Args({1024, 768, 1});

void DrawFrameKeyed(benchmark::State& state) {
  const Image strip = ButtonStrip();
  Image target(640, 480, MakePixel(40, 40, 40));
  for (auto _ : state) {
    DrawFrame(target, {10, 10, 630, 470}, strip, false, false, true, 5, 2, {6, 6, 6, 6});
    benchmark::DoNotOptimize(target.Pixels());
  }
  SetRate(state, 620 * 460);
}
BENCHMARK(DrawFrameKeyed);

void RegionRuns(benchmark::State& state) {
  Image img(800, 600, MakePixel(10, 20, 30));
  for (int y = 0; y < 600; ++y)  // keyed rounded-corner-like edges on every row
    img.FillRect({0, y, (y * 7) % 13, y + 1}, MakePixel(255, 0, 255));
  for (auto _ : state) benchmark::DoNotOptimize(RegionRects(img, 0, 0, 1, 1, 1, kMagenta));
  SetRate(state, 800 * 600);
}
BENCHMARK(RegionRuns);

void Gradient(benchmark::State& state) {
  Image img(1024, 40);
  for (auto _ : state) {
    GradientFillImage(img, img.Bounds(), 0x00F0E0D0, true, 0x00302010);
    benchmark::DoNotOptimize(img.Pixels());
  }
  SetRate(state, 1024 * 40);
}
BENCHMARK(Gradient);

}  // namespace

BENCHMARK_MAIN();
