// BMP reading (files written by an outside tool, and hand-built edge cases)
// and writing.
#include "skin/data/Bmp.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#ifndef TW_BMP_FIXTURES
#error "TW_BMP_FIXTURES must name the fixture folder"
#endif

namespace {

std::string ReadFixture(const char* name) {
  std::ifstream in(std::string(TW_BMP_FIXTURES) + "/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The pattern make_fixtures.sh draws: colour (x + 7y) mod n.
uint32_t Pattern(int x, int y, int n) {
  int i = (x + 7 * y) % n;
  return MakePixel((37 * i) % 256, 255 - 13 * i, (90 + 11 * i) % 256);
}

void ExpectPattern(const Image& img, int n, int tolerance, const char* what) {
  ASSERT_EQ(img.Width(), 7) << what;
  ASSERT_EQ(img.Height(), 5) << what;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      uint32_t want = Pattern(x, y, n), got = img.Pixel(x, y);
      EXPECT_LE(std::abs(PixelR(got) - PixelR(want)), tolerance) << what << " x=" << x << " y=" << y;
      EXPECT_LE(std::abs(PixelG(got) - PixelG(want)), tolerance) << what << " x=" << x << " y=" << y;
      EXPECT_LE(std::abs(PixelB(got) - PixelB(want)), tolerance) << what << " x=" << x << " y=" << y;
    }
}

TEST(BmpReadFromTool, EveryCommonFormatGivesThePattern) {
  struct Case {
    const char* file;
    int colours, tolerance, bitCount;
  } cases[] = {{"mono.bmp", 2, 0, 24},  {"pal4.bmp", 16, 0, 24},   {"pal8.bmp", 20, 0, 24},
               {"rle8.bmp", 20, 0, 24}, {"rgb24.bmp", 16, 0, 24},  {"rgb565.bmp", 16, 8, 24},
               {"rgb555.bmp", 16, 8, 24}, {"argb32.bmp", 16, 0, 32}};
  for (const Case& c : cases) {
    std::string bytes = ReadFixture(c.file);
    ASSERT_FALSE(bytes.empty()) << c.file;
    Image img;
    ASSERT_TRUE(DecodeBmp(bytes, img)) << c.file;
    ExpectPattern(img, c.colours, c.tolerance, c.file);
    EXPECT_EQ(img.BitCount(), c.bitCount) << c.file;
    if (c.bitCount == 24) {
      EXPECT_EQ(img.Pixel(3, 2) >> 24, 0u) << c.file;
    }
  }
  Image argb = DecodeBmp(ReadFixture("argb32.bmp"));
  EXPECT_EQ(argb.Pixel(0, 0) >> 24, 128u);  // alpha from the alpha mask
}

TEST(BmpReadFromTool, ExtremesOfFiveBitChannelsScaleToFullRange) {
  // rgb555 of pure white and black: 31 must read as 255, 0 as 0.
  std::string bytes = ReadFixture("rgb555.bmp");
  ASSERT_GT(bytes.size(), 0x8Au + 4);
  std::string white = bytes, black = bytes;
  for (std::size_t i = 0x8A; i + 1 < bytes.size(); i += 2) {
    white[i] = char(0xFF), white[i + 1] = char(0x7F);
    black[i] = 0, black[i + 1] = 0;
  }
  EXPECT_EQ(PixelRGB(DecodeBmp(white).Pixel(6, 4)), 0xFFFFFFu);
  EXPECT_EQ(PixelRGB(DecodeBmp(black).Pixel(6, 4)), 0u);
}

// Hand-built files -------------------------------------------------------------

struct Spec {
  int width = 0, height = 0, bpp = 24;
  uint32_t compression = 0, colorsUsed = 0, headerSize = 40;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint32_t> masks;    // written after a 40-byte header (or inside a larger one)
  std::string pixels;
};

Spec Make(int width, int height, int bpp, uint32_t compression = 0) {
  Spec sp;
  sp.width = width;
  sp.height = height;
  sp.bpp = bpp;
  sp.compression = compression;
  return sp;
}

void Put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string Build(const Spec& sp) {
  std::string info;
  Put32(info, sp.headerSize);
  if (sp.headerSize == 12) {
    Put16(info, uint32_t(sp.width));
    Put16(info, uint32_t(sp.height));
    Put16(info, 1);
    Put16(info, uint32_t(sp.bpp));
  } else {
    Put32(info, uint32_t(sp.width));
    Put32(info, uint32_t(sp.height));
    Put16(info, 1);
    Put16(info, uint32_t(sp.bpp));
    Put32(info, sp.compression);
    Put32(info, uint32_t(sp.pixels.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, sp.colorsUsed);
    Put32(info, 0);
    if (sp.headerSize > 40) {
      for (uint32_t m : sp.masks) Put32(info, m);
      info.resize(sp.headerSize, '\0');
    }
  }
  if (sp.headerSize == 40)
    for (uint32_t m : sp.masks) Put32(info, m);
  for (uint32_t c : sp.palette) {
    info += char(c & 0xFF);
    info += char((c >> 8) & 0xFF);
    info += char((c >> 16) & 0xFF);
    if (sp.headerSize != 12) info += '\0';
  }
  std::string file = "BM";
  Put32(file, uint32_t(14 + info.size() + sp.pixels.size()));
  Put32(file, 0);
  Put32(file, uint32_t(14 + info.size()));
  return file + info + sp.pixels;
}

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += char(v);
  return s;
}

TEST(BmpReadRows, BottomUpAndTopDown) {
  // 2 x 2, 24-bit: rows of 6 bytes padded to 8.
  std::string rows = Bytes({0, 0, 255, 0, 255, 0, 0, 0,     // file row 0: red, green
                            255, 0, 0, 255, 255, 255, 0, 0});  // file row 1: blue, white
  Spec sp = Make(2, 2, 24);
  sp.pixels = rows;
  Image up = DecodeBmp(Build(sp));
  EXPECT_EQ(up.Pixel(0, 1), 0xFF0000u);  // first file row is the bottom row
  EXPECT_EQ(up.Pixel(1, 1), 0x00FF00u);
  EXPECT_EQ(up.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(up.Pixel(1, 0), 0xFFFFFFu);
  sp.height = -2;
  Image down = DecodeBmp(Build(sp));
  EXPECT_EQ(down.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(down.Pixel(1, 1), 0xFFFFFFu);
}

TEST(BmpReadRows, LastRowWithoutPaddingIsAccepted) {
  Spec sp = Make(1, 2, 24);
  sp.pixels = Bytes({1, 2, 3, 0, 4, 5, 6});  // second row lacks its one padding byte
  Image img = DecodeBmp(Build(sp));
  EXPECT_EQ(img.Pixel(0, 0), MakePixel(6, 5, 4));
  sp.pixels.pop_back();
  EXPECT_TRUE(DecodeBmp(Build(sp)).Empty());
}

TEST(BmpReadPalette, ShortPaletteAndIndexBeyondIt) {
  Spec sp = Make(4, 1, 8);
  sp.colorsUsed = 2;
  sp.palette = {0x102030, 0xA0B0C0};
  sp.pixels = Bytes({1, 0, 5, 255});
  Image img = DecodeBmp(Build(sp));
  ASSERT_EQ(img.Width(), 4);
  EXPECT_EQ(img.Pixel(0, 0), 0xA0B0C0u);
  EXPECT_EQ(img.Pixel(1, 0), 0x102030u);
  EXPECT_EQ(img.Pixel(2, 0), 0u);  // beyond the palette: black
  EXPECT_EQ(img.Pixel(3, 0), 0u);
}

TEST(BmpReadPalette, OneAndFourBitsMostSignificantFirst) {
  Spec mono = Make(10, 1, 1);
  mono.palette = {0x000000, 0xFFFFFF};
  mono.pixels = Bytes({0xA5, 0x40, 0, 0});  // 1010 0101 01
  Image m = DecodeBmp(Build(mono));
  std::string bits;
  for (int x = 0; x < 10; ++x) bits += m.Pixel(x, 0) ? '1' : '0';
  EXPECT_EQ(bits, "1010010101");

  Spec four = Make(3, 1, 4);
  four.colorsUsed = 3;
  four.palette = {0x000001, 0x000002, 0x000003};
  four.pixels = Bytes({0x21, 0x00, 0, 0});
  Image f = DecodeBmp(Build(four));
  EXPECT_EQ(f.Pixel(0, 0), 3u);
  EXPECT_EQ(f.Pixel(1, 0), 2u);
  EXPECT_EQ(f.Pixel(2, 0), 1u);
}

TEST(BmpReadHeaders, CoreHeaderWithThreeBytePalette) {
  Spec sp = Make(2, 1, 8);
  sp.headerSize = 12;
  sp.palette = {0x112233, 0x445566};
  sp.pixels = Bytes({1, 0, 0, 0});
  Image img = DecodeBmp(Build(sp));
  ASSERT_EQ(img.Width(), 2);
  EXPECT_EQ(img.Pixel(0, 0), 0x445566u);
  EXPECT_EQ(img.Pixel(1, 0), 0x112233u);
}

TEST(BmpReadHeaders, MasksAfterHeaderOrInsideLargerHeader) {
  for (uint32_t headerSize : {40u, 56u, 108u, 124u}) {
    Spec sp = Make(1, 1, 16, 3);
    sp.headerSize = headerSize;
    sp.masks = {0xF800, 0x07E0, 0x001F};
    if (headerSize > 40) sp.masks.push_back(0);
    sp.pixels = Bytes({0x1F, 0xF8, 0, 0});  // red 31, green 0, blue 31
    Image img = DecodeBmp(Build(sp));
    ASSERT_FALSE(img.Empty()) << headerSize;
    EXPECT_EQ(img.Pixel(0, 0), 0xFF00FFu) << headerSize;
  }
}

TEST(BmpReadHeaders, ThirtyTwoBitsKeepTheFourthByte) {
  Spec sp = Make(1, 1, 32);
  sp.pixels = Bytes({0x30, 0x20, 0x10, 0x7F});
  Image img = DecodeBmp(Build(sp));
  EXPECT_EQ(img.Pixel(0, 0), 0x7F102030u);
  EXPECT_EQ(img.BitCount(), 32);
}

// Every info header size from 12 to 124 with every compression kind, cut at
// every length. The buffer is exactly the file, so the sanitizer sees any
// read past it; a complete file with a standard header size decodes.
TEST(BmpReadHeaders, EveryHeaderSizeAndCompressionCutAnywhereStaysInTheFile) {
  struct Kind {
    int bpp;
    uint32_t compression;
    std::vector<uint32_t> masks;
    std::string pixels;
  };
  const Kind kinds[] = {
      {24, 0, {}, std::string(16, '\x11')},
      {8, 0, {}, Bytes({1, 0, 0, 0, 0, 1, 0, 0})},
      {8, 1, {}, Bytes({2, 1, 0, 0, 2, 0, 0, 1})},
      {4, 2, {}, Bytes({2, 0x11, 0, 0, 2, 0, 0, 1})},
      {16, 3, {0xF800, 0x07E0, 0x001F}, std::string(8, '\x22')},
      {32, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}, std::string(16, '\x33')},
  };
  for (uint32_t headerSize = 12; headerSize <= 124; ++headerSize) {
    for (const Kind& k : kinds) {
      Spec sp = Make(2, 2, k.bpp, k.compression);
      sp.headerSize = headerSize;
      sp.masks = k.masks;
      if (k.bpp <= 8) sp.palette = {0x102030, 0x405060};
      sp.pixels = k.pixels;
      const std::string file = Build(sp);
      const bool standard = headerSize == 12 || headerSize == 40 || headerSize == 52 || headerSize == 56 ||
                            headerSize == 108 || headerSize == 124;
      for (std::size_t cut = 0; cut <= file.size(); ++cut) {
        const std::vector<uint8_t> exact(file.begin(), file.begin() + std::ptrdiff_t(cut));
        Image img;
        const bool ok = DecodeBmp(exact.data(), exact.size(), img);
        ASSERT_EQ(ok, !img.Empty()) << headerSize << "/" << k.compression << " cut " << cut;
        if (ok) EXPECT_EQ(img.Width(), 2) << headerSize << "/" << k.compression << " cut " << cut;
        if (cut == file.size() && standard) EXPECT_TRUE(ok) << headerSize << "/" << k.compression;
      }
    }
  }
  // The file that showed the fault: 66 bytes, a 52-byte header that holds
  // three masks while its compression kind asks for a fourth.
  Spec sp = Make(1, 1, 32, 6);
  sp.headerSize = 52;
  sp.masks = {0xFF0000, 0xFF00, 0xFF};
  const std::string file = Build(sp);
  ASSERT_EQ(file.size(), 66u);
  const std::vector<uint8_t> exact(file.begin(), file.end());
  Image img;
  EXPECT_FALSE(DecodeBmp(exact.data(), exact.size(), img));
}

// RLE ----------------------------------------------------------------------------

Spec Rle(int w, int h, uint32_t compression, std::string data) {
  Spec sp = Make(w, h, compression == 1 ? 8 : 4, compression);
  sp.colorsUsed = 4;
  sp.palette = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
  sp.pixels = std::move(data);
  return sp;
}

std::string Row(const Image& img, int y) {
  std::string s;
  for (int x = 0; x < img.Width(); ++x)
    s += "KBGR?"[img.Pixel(x, y) == 0 ? 0 : img.Pixel(x, y) == 0xFF ? 1 : img.Pixel(x, y) == 0xFF00 ? 2 : img.Pixel(x, y) == 0xFF0000 ? 3 : 4];
  return s;
}

TEST(BmpReadRle, Rle8RunsAbsoluteDeltaAndEnds) {
  // Bottom row: run of 2 x colour 1, absolute 3 pixels (3,2,1) + pad, EOL.
  // Next row: delta (1, 0), run 1 x colour 3, EOF.
  Image img = DecodeBmp(Build(Rle(6, 2, 1, Bytes({2, 1, 0, 3, 3, 2, 1, 0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1}))));
  ASSERT_EQ(img.Height(), 2);
  EXPECT_EQ(Row(img, 1), "BBRGBK");
  EXPECT_EQ(Row(img, 0), "KRKKKK");
}

TEST(BmpReadRle, Rle4AlternatesNibbles) {
  // Run of 5 with nibbles 1,2; absolute 3 nibbles 3,1,2 (2 bytes, no pad).
  Image img = DecodeBmp(Build(Rle(8, 1, 2, Bytes({5, 0x12, 0, 3, 0x31, 0x20, 0, 1}))));
  EXPECT_EQ(Row(img, 0), "BGBGBRBG");
}

TEST(BmpReadRle, RunsAndDeltasPastTheImageAreCut) {
  // A run of 200 on a 3-wide row, an absolute block past the row, a delta far
  // outside, then data for a row beyond the top.
  Image img = DecodeBmp(Build(Rle(3, 2, 1, Bytes({200, 2, 0, 0, 0, 5, 1, 1, 1, 1, 1, 0, 0, 2, 250, 250, 9, 3}))));
  ASSERT_EQ(img.Width(), 3);
  EXPECT_EQ(Row(img, 1), "GGG");
  EXPECT_EQ(Row(img, 0), "BBB");
  Image four = DecodeBmp(Build(Rle(3, 1, 2, Bytes({255, 0x33, 0, 255, 0x11}))));
  EXPECT_EQ(Row(four, 0), "RRR");
}

TEST(BmpReadRle, TruncatedStreamKeepsWhatWasDecoded) {
  Image img = DecodeBmp(Build(Rle(4, 1, 1, Bytes({2, 3, 0, 4, 1}))));  // absolute block cut short
  ASSERT_EQ(img.Width(), 4);
  EXPECT_EQ(Row(img, 0), "RRBK");
}

// Broken files -----------------------------------------------------------------

TEST(BmpReadBroken, EachGivesAnEmptyImage) {
  Spec good = Make(2, 2, 24);
  good.pixels = std::string(16, '\x7F');
  ASSERT_FALSE(DecodeBmp(Build(good)).Empty());

  std::vector<std::pair<const char*, std::string>> broken;
  auto with = [&](const char* what, auto change) {
    Spec sp = good;
    change(sp);
    broken.emplace_back(what, Build(sp));
  };
  with("zero width", [](Spec& s) { s.width = 0; });
  with("negative width", [](Spec& s) { s.width = -2; });
  with("zero height", [](Spec& s) { s.height = 0; });
  with("side beyond bound", [](Spec& s) { s.width = Image::kMaxSide + 1; s.height = 1; });
  with("height INT_MIN", [](Spec& s) { s.height = INT_MIN; });
  with("too many pixels", [](Spec& s) { s.width = s.height = Image::kMaxSide; });
  with("odd bit count", [](Spec& s) { s.bpp = 7; });
  with("RLE8 on 4 bits", [](Spec& s) { s.bpp = 4; s.compression = 1; });
  with("RLE top-down", [](Spec& s) { s.bpp = 8; s.compression = 1; s.height = -2; });
  with("unknown compression", [](Spec& s) { s.compression = 4; });
  with("bit fields on 24 bits", [](Spec& s) { s.compression = 3; s.masks = {1, 2, 4}; });
  with("short pixel data", [](Spec& s) { s.pixels.resize(10); });
  with("odd header size", [](Spec& s) { s.headerSize = 20; });
  for (auto& [what, bytes] : broken) {
    Image img(3, 3, 1);
    EXPECT_FALSE(DecodeBmp(bytes, img)) << what;
    EXPECT_TRUE(img.Empty()) << what;
  }
  std::string file = Build(good);
  std::string magic = file;
  magic[0] = 'X';
  EXPECT_TRUE(DecodeBmp(magic).Empty());
  std::string offset = file;
  offset[10] = char(0xF0);  // pixel data beyond the file
  EXPECT_TRUE(DecodeBmp(offset).Empty());
  std::string header = file;
  header[14] = char(0xF0);  // info header longer than the file
  EXPECT_TRUE(DecodeBmp(header).Empty());
  // Cuts inside the header, palette or any row but the last one's padding.
  for (std::size_t cut = 0; cut + 2 < file.size(); ++cut)
    EXPECT_TRUE(DecodeBmp(std::string_view(file).substr(0, cut)).Empty()) << cut;
  Image none;
  EXPECT_FALSE(DecodeBmp(nullptr, 10, none));
}

// Writing ------------------------------------------------------------------------

TEST(BmpWrite, RoundTripOddWidthsIn24And32Bits) {
  Image img(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) img.SetPixel(x, y, 0x80000000u | MakePixel(x * 50, y * 100, 255 - x * 40));
  std::vector<uint8_t> b24 = EncodeBmp(img, 24);
  EXPECT_EQ(b24.size(), 54u + 16u * 3u);  // 15 bytes a row padded to 16
  Image back24;
  ASSERT_TRUE(DecodeBmp(b24.data(), b24.size(), back24));
  EXPECT_EQ(back24.BitCount(), 24);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back24.Pixel(x, y), PixelRGB(img.Pixel(x, y)));
  std::vector<uint8_t> b32 = EncodeBmp(img, 32);
  Image back32;
  ASSERT_TRUE(DecodeBmp(b32.data(), b32.size(), back32));
  EXPECT_EQ(back32, img);
  EXPECT_TRUE(EncodeBmp(Image()).empty());
}

TEST(BmpWrite, DefaultDepthFollowsTheImage) {
  Image img(2, 2, 0x112233);
  img.SetBitCount(24);
  EXPECT_EQ(EncodeBmp(img)[28], 24);
  img.SetBitCount(32);
  EXPECT_EQ(EncodeBmp(img)[28], 32);
}

}  // namespace
