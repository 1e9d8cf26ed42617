// LZH benchmarks.
//   Expand/Ours, Expand/Reference  decode MB/s of output on a skin-like
//                                  package of about 350 KB
//   Compress/...                   encoder speed; counter "ratio" is stored
//                                  bytes / input bytes
// Arguments: a folder of skin files (one settings file and BMP images) adds
// the same figures for a package packed from that folder; text files given
// with --text=FILE replace the default text corpus (the license texts of the
// system).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/lzh/ReferenceLzhuf.h"
#include "skin/data/LZH.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct Rgb {
  int r, g, b;
};

// A 24-bit bottom-up BMP whose pixels come from fn(x, y).
template <class Fn>
Bytes Bmp(int w, int h, Fn fn) {
  const int stride = (w * 3 + 3) & ~3;
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + stride * h);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, w);
  Put32(b, h);
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, stride * h);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const Rgb c = fn(x, y);
      b.push_back(static_cast<uint8_t>(std::clamp(c.b, 0, 255)));
      b.push_back(static_cast<uint8_t>(std::clamp(c.g, 0, 255)));
      b.push_back(static_cast<uint8_t>(std::clamp(c.r, 0, 255)));
    }
    for (int p = w * 3; p < stride; ++p) b.push_back(0);
  }
  return b;
}

// Images like a skin's: frame strips with gradients, bevels, keyed corners,
// anti-aliased glyphs and a little dither.
Bytes SkinLikeArchive() {
  TSkinWriter w;
  std::mt19937 rng(5);
  std::string ini;
  const char* kinds[] = {"caption", "button", "check", "radio", "scroll", "tab", "header", "progress",
                         "edit", "combo", "border", "menu", "track", "spin", "group", "status"};
  int n = 0;
  size_t total = 0;
  while (total < 345000) {
    const std::string kind = kinds[n % 16];
    const int frames = 1 + static_cast<int>(rng() % 5);
    const int fw = 16 + static_cast<int>(rng() % 90);
    const int h = 13 + static_cast<int>(rng() % 26);
    const Rgb base{static_cast<int>(rng() % 200), static_cast<int>(rng() % 200), static_cast<int>(rng() % 200)};
    const unsigned seed = rng();
    Bytes image = Bmp(fw * frames, h, [&](int x, int y) -> Rgb {
      const int f = x / fw, fx = x % fw;
      if ((fx < 2 || fx >= fw - 2) && (y < 2 || y >= h - 2)) return {255, 0, 255};  // keyed corner
      if (fx == 0 || y == 0) return {base.r + 60, base.g + 60, base.b + 60};      // bevel
      if (fx == fw - 1 || y == h - 1) return {base.r - 60, base.g - 60, base.b - 60};
      const int shade = f * 18 - y * 90 / h;
      Rgb c{base.r + shade, base.g + shade, base.b + shade};
      // An anti-aliased ring as the glyph of the frame.
      const int dx = fx - fw / 2, dy = y - h / 2;
      const int d = dx * dx + dy * dy, rr = (h / 4) * (h / 4);
      if (d < rr + h && d > rr - h) c = {c.r / 2 + 30, c.g / 2 + 30, c.b / 2 + 30};
      if (((x * 7 + y * 13 + seed) % 29) == 0) c.g += 3;  // dither
      return c;
    });
    const std::string name = kind + std::to_string(n) + ".bmp";
    ini += "[" + kind + std::to_string(n) + "]\r\nBitmap=" + name + "\r\nFrame=" + std::to_string(frames) +
           "\r\nTrans=1\r\nLeftMargin=4\r\nRightMargin=4\r\nTopMargin=3\r\nBottomMargin=3\r\nTile=0\r\n";
    total += image.size();
    w.Add(name, std::move(image));
    ++n;
  }
  w.Add("skin.ini", Bytes(ini.begin(), ini.end()));
  return w.BuildArchive();
}

Bytes FolderArchive(const fs::path& dir) {
  TSkinWriter w;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const auto& f : files) w.Add(f.filename().string(), ReadFile(f));
  return w.BuildArchive();
}

void ExpandOurs(benchmark::State& state, const Bytes& stored, size_t expanded) {
  for (auto _ : state) {
    Bytes out = Expand(stored);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * expanded));
}

void ExpandReference(benchmark::State& state, const Bytes& stored, size_t expanded) {
  reference_lzhuf::Decoder ref;
  for (auto _ : state) {
    Bytes out = ref.Run(stored.data(), stored.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * expanded));
}

void CompressBench(benchmark::State& state, const Bytes& input) {
  size_t stored = 0;
  for (auto _ : state) {
    Bytes out = Compress(input);
    stored = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
  state.counters["input"] = static_cast<double>(input.size());
  state.counters["stored"] = static_cast<double>(stored);
  state.counters["ratio"] = static_cast<double>(stored) / static_cast<double>(input.size());
}

void AddPackage(const std::string& label, Bytes archive) {
  auto stored = std::make_shared<Bytes>(Compress(archive));
  auto input = std::make_shared<Bytes>(std::move(archive));
  // The two decoders must agree before their speed means anything.
  reference_lzhuf::Decoder ref;
  if (Expand(*stored) != *input || ref.Run(stored->data(), stored->size()) != *input) {
    std::fprintf(stderr, "%s: decoders disagree\n", label.c_str());
    std::exit(1);
  }
  std::printf("%s: %zu bytes expanded, %zu stored (%.1f%%)\n", label.c_str(), input->size(), stored->size(),
              100.0 * static_cast<double>(stored->size()) / static_cast<double>(input->size()));
  const size_t n = input->size();
  benchmark::RegisterBenchmark(("Expand/Ours/" + label).c_str(),
                               [stored, n](benchmark::State& s) { ExpandOurs(s, *stored, n); });
  benchmark::RegisterBenchmark(("Expand/Reference/" + label).c_str(),
                               [stored, n](benchmark::State& s) { ExpandReference(s, *stored, n); });
  benchmark::RegisterBenchmark(("Compress/" + label).c_str(),
                               [input](benchmark::State& s) { CompressBench(s, *input); });
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> folders, texts;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--text=", 0) == 0)
      texts.emplace_back(a.substr(7));
    else if (a.rfind("--", 0) != 0 && fs::is_directory(a))
      folders.emplace_back(a);
    else
      rest.push_back(argv[i]);
  }
  if (texts.empty() && fs::is_directory("/usr/share/common-licenses"))
    for (const auto& e : fs::directory_iterator("/usr/share/common-licenses"))
      if (e.is_regular_file() && !e.is_symlink()) texts.push_back(e.path());
  std::sort(texts.begin(), texts.end());

  AddPackage("skin-like", SkinLikeArchive());
  for (const auto& dir : folders) AddPackage(dir.filename().string(), FolderArchive(dir));
  Bytes corpus;
  for (const auto& t : texts) {
    const Bytes b = ReadFile(t);
    corpus.insert(corpus.end(), b.begin(), b.end());
  }
  if (!corpus.empty()) {
    std::printf("text corpus: %zu files, %zu bytes\n", texts.size(), corpus.size());
    auto text = std::make_shared<Bytes>(std::move(corpus));
    benchmark::RegisterBenchmark("Compress/text", [text](benchmark::State& s) { CompressBench(s, *text); });
  }

  int n = static_cast<int>(rest.size());
  benchmark::Initialize(&n, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
