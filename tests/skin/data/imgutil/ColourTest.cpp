// Blend, saturation, gradient tables and gradient fills.
#include "skin/data/ImgUtil.h"

#include <gtest/gtest.h>

namespace {

uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }
int Red(uint32_t c) { return int(c & 0xFF); }

TEST(Blend, PercentAndPerMilleWeights) {
  EXPECT_EQ(Blend(0xFFFFFF, 0x000000, 50), Rgb(128, 128, 128));
  // 100 switches to per mille: 10 % of colour1.
  EXPECT_EQ(Blend(Rgb(200, 0, 0), Rgb(0, 0, 0), 100), Rgb(20, 0, 0));
  EXPECT_EQ(Blend(Rgb(200, 100, 0), Rgb(0, 0, 200), 150), Rgb(30, 15, 170));
  EXPECT_EQ(Blend(Rgb(1, 2, 3), Rgb(9, 8, 7), 0), Rgb(9, 8, 7));
  EXPECT_EQ(Blend(Rgb(1, 2, 3), Rgb(9, 8, 7), 1000), Rgb(1, 2, 3));
  EXPECT_EQ(Blend(0x12345678, 0x12345678, 99) >> 24, 0u);  // top byte cleared
}

TEST(Blend, OutOfRangeWeightsStayInsideTheChannel) {
  // Weights beyond the scale would push channels outside 0..255 (and into
  // their neighbours); they are clamped.
  EXPECT_EQ(Blend(Rgb(255, 255, 255), Rgb(0, 0, 0), 5000), Rgb(255, 255, 255));
  EXPECT_EQ(Blend(Rgb(255, 255, 255), Rgb(0, 0, 0), -30), Rgb(0, 0, 0));
}

uint32_t TestResolver(int index) { return index == 15 ? Rgb(10, 20, 30) : 0xFFFFFF; }

TEST(Blend, SystemColoursAreResolvedFirst) {
  SetSysColourResolver(TestResolver);
  EXPECT_EQ(Blend(0xFF00000F, 0xFF00000F, 50), Rgb(10, 20, 30));
  EXPECT_EQ(ResolveColour(0xFF000005), 0xFFFFFFu);
  EXPECT_EQ(Saturation(0xFF00000F), 200);
  SetSysColourResolver(nullptr);
  EXPECT_EQ(ResolveColour(0x1FFFFFFF), 0xFFFFFFu);  // not a system colour: top byte dropped
  EXPECT_NE(ResolveColour(0xFF00000F), Rgb(10, 20, 30));
}

TEST(Saturation, BrightColoursScaleDarkOnesAreFixed) {
  EXPECT_EQ(Saturation(Rgb(159, 0, 0)), 200);
  EXPECT_EQ(Saturation(Rgb(20, 150, 90)), 200);
  EXPECT_EQ(Saturation(Rgb(160, 0, 0)), 255);
  EXPECT_EQ(Saturation(Rgb(200, 200, 200)), 0);
  EXPECT_EQ(Saturation(Rgb(200, 100, 50)), 191);  // 0.75 x 255 = 191.25
  EXPECT_EQ(Saturation(Rgb(50, 100, 200)), 191);
  EXPECT_EQ(Saturation(Rgb(255, 128, 255)), 127);  // 127/255 x 255 = 127
}

TEST(Gradient, EndsMidpointAndTruncation) {
  EXPECT_EQ(GradientColours(1, Rgb(0, 100, 255), Rgb(100, 0, 55)), std::vector<uint32_t>{Rgb(50, 50, 155)});
  EXPECT_EQ(GradientColours(5, Rgb(0, 0, 0), Rgb(100, 0, 0)),
            (std::vector<uint32_t>{Rgb(0, 0, 0), Rgb(25, 0, 0), Rgb(50, 0, 0), Rgb(75, 0, 0), Rgb(100, 0, 0)}));
  // Falling channels: ((q / 2) + i d) / q truncates toward zero, so the last
  // entry stops one short of colour2 (the table's defined result).
  std::vector<uint32_t> down = GradientColours(5, Rgb(100, 0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(down, (std::vector<uint32_t>{Rgb(100, 0, 0), Rgb(76, 0, 0), Rgb(51, 0, 0), Rgb(26, 0, 0), Rgb(1, 0, 0)}));
  EXPECT_TRUE(GradientColours(0, 1, 2).empty());
  EXPECT_TRUE(GradientColours(-3, 1, 2).empty());
}

TEST(Gradient, CacheIsKeyedByTheRequestedEnds) {
  // 100 -> 0 ends at 1; a later request 100 -> 1 must not get that table.
  std::vector<uint32_t> first = GradientColours(5, Rgb(100, 0, 0), Rgb(0, 0, 0));
  std::vector<uint32_t> second = GradientColours(5, Rgb(100, 0, 0), Rgb(1, 0, 0));
  EXPECT_EQ(Red(first.back()), 1);
  EXPECT_EQ(Red(second[1]), 76);  // (2 - 99) / 4 = -24
  EXPECT_EQ(Red(second.back()), 2);
  // Cycling more than 16 tables through the cache still gives the same lists.
  for (int i = 0; i < 40; ++i) GradientColours(10 + i, Rgb(i, 0, 0), Rgb(0, i, 0));
  EXPECT_EQ(GradientColours(5, Rgb(100, 0, 0), Rgb(0, 0, 0)), first);
}

TEST(GradientFill, ClippedFillKeepsTheFullGradientsColours) {
  const ImgRect r{0, 0, 2, 11};
  Image full(2, 11, 0), clipped(2, 11, 0);
  GradientFillImage(full, r, Rgb(0, 0, 0), true, Rgb(0, 0, 250));
  GradientFillImage(clipped, r, Rgb(0, 0, 0), true, Rgb(0, 0, 250), {0, 4, 2, 7});
  EXPECT_EQ(PixelB(full.Pixel(0, 0)), 0);
  EXPECT_EQ(PixelB(full.Pixel(1, 10)), 250);
  EXPECT_EQ(PixelB(full.Pixel(0, 5)), 125);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(clipped.Pixel(x, y), (y >= 4 && y < 7) ? full.Pixel(x, y) : 0u) << y;
}

TEST(GradientFill, HorizontalAndSingleLine) {
  Image img(4, 2, 0x123456);
  GradientFillImage(img, {1, 0, 4, 1}, Rgb(255, 0, 0), false, Rgb(0, 0, 255));
  EXPECT_EQ(img.Pixel(1, 0), PixelFromColour(Rgb(255, 0, 0)));
  EXPECT_EQ(img.Pixel(2, 0), PixelFromColour(Rgb(128, 0, 128)));  // (1 + 255) / 2 = 128 up, 255 - 127
  EXPECT_EQ(img.Pixel(3, 0), PixelFromColour(Rgb(1, 0, 255)));
  EXPECT_EQ(img.Pixel(0, 0), 0x123456u);
  EXPECT_EQ(img.Pixel(2, 1), 0x123456u);
  Image line(3, 1, 0);
  GradientFillImage(line, {0, 0, 3, 1}, Rgb(0, 0, 0), true, Rgb(200, 100, 50));
  EXPECT_EQ(line.Pixel(1, 0), PixelFromColour(Rgb(100, 50, 25)));
}

}  // namespace
