// Whole-image transforms and region runs.
#include "skin/data/ImgUtil.h"

#include <gtest/gtest.h>

namespace {

// 3 x 2 image with pixel (x, y) = 10 y + x + 1.
Image Numbered(int w = 3, int h = 2) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.SetPixel(x, y, uint32_t(10 * y + x + 1));
  return img;
}

TEST(Transforms, GreyAveragesWithIntegerDivision) {
  Image img(2, 1);
  img.SetPixel(0, 0, 0xFF000102);  // 1 + 1 + 2 -> 1, alpha dropped
  img.SetPixel(1, 0, MakePixel(255, 255, 254));
  GreyBitmap(img);
  EXPECT_EQ(img.Pixel(0, 0), MakePixel(1, 1, 1));
  EXPECT_EQ(img.Pixel(1, 0), MakePixel(254, 254, 254));
  EXPECT_EQ(img.BitCount(), 24);
}

TEST(Transforms, ReplaceMagentaOnlyTheExactColour) {
  Image img(3, 1);
  img.SetPixel(0, 0, MakePixel(255, 0, 255));
  img.SetPixel(1, 0, MakePixel(255, 1, 255));
  img.SetPixel(2, 0, 0x7FFF00FF);  // magenta with a fourth byte
  ReplaceMagenta(img, 0x00332211);  // skin colour: red 0x11
  EXPECT_EQ(img.Pixel(0, 0), MakePixel(0x11, 0x22, 0x33));
  EXPECT_EQ(img.Pixel(1, 0), MakePixel(255, 1, 255));
  EXPECT_EQ(img.Pixel(2, 0), MakePixel(0x11, 0x22, 0x33));
}

TEST(Transforms, MirrorAndFlip) {
  Image m = Numbered();
  MirrorBitmap(m);
  EXPECT_EQ(m.Pixel(0, 0), 3u);
  EXPECT_EQ(m.Pixel(2, 1), 11u);
  Image f = Numbered();
  FlipBitmap(f);
  EXPECT_EQ(f.Pixel(0, 0), 11u);
  EXPECT_EQ(f.Pixel(2, 1), 3u);
  Image odd = Numbered(1, 3);
  FlipBitmap(odd);
  EXPECT_EQ(odd.Pixel(0, 1), 11u);  // middle row stays
  EXPECT_EQ(odd.Pixel(0, 0), 21u);
}

TEST(Transforms, RotationsFollowTheirFormulas) {
  const Image old = Numbered();  // 3 wide, 2 high
  Image left = old;
  RotateLeft(left);
  ASSERT_EQ(left.Width(), 2);
  ASSERT_EQ(left.Height(), 3);
  Image right = old;
  RotateRight(right);
  ASSERT_EQ(right.Width(), 2);
  ASSERT_EQ(right.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(left.Pixel(x, y), old.Pixel(3 - 1 - y, x));
      EXPECT_EQ(right.Pixel(x, y), old.Pixel(y, 2 - 1 - x));
    }
  // Counter-clockwise: the old top-right corner comes to the top-left.
  EXPECT_EQ(left.Pixel(0, 0), 3u);
  EXPECT_EQ(right.Pixel(0, 0), 11u);
  RotateRight(left);
  EXPECT_EQ(left, old);
  EXPECT_EQ(left.BitCount(), 24);
}

TEST(Transforms, CopyTakesSizeAndFormat) {
  Image src = Numbered();
  src.SetBitCount(24);
  Image dst(9, 9, 5);
  CopyBitmap(src, dst);
  EXPECT_EQ(dst, src);
  EXPECT_EQ(dst.BitCount(), 24);
  CopyBitmap(dst, dst);
  EXPECT_EQ(dst, src);
}

TEST(RegionRuns, RunsOutsideTheKeyRangeShifted) {
  const uint32_t M = MakePixel(255, 0, 255), n = MakePixel(254, 1, 254), o = MakePixel(10, 10, 10);
  Image img(5, 2);
  const uint32_t rows[2][5] = {{M, o, o, M, o}, {n, n, M, M, M}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 5; ++x) img.SetPixel(x, y, rows[y][x]);
  // Tolerance 1 per channel from the key upwards: 254 is below the key's 255,
  // green 1 is inside 0..1, so `n` is outside only by its red and blue.
  std::vector<ImgRect> runs = RegionRects(img, 10, 20, 1, 1, 1, kMagenta);
  EXPECT_EQ(runs, (std::vector<ImgRect>{{11, 20, 13, 21}, {14, 20, 15, 21}, {10, 21, 12, 22}}));
  // Key 254,0,254 with tolerance 1 covers both magentas and `n`.
  std::vector<ImgRect> wide = RegionRects(img, 0, 0, 1, 1, 1, 0xFE00FE);
  EXPECT_EQ(wide, (std::vector<ImgRect>{{1, 0, 3, 1}, {4, 0, 5, 1}}));
}

TEST(RegionRuns, AllKeyGivesNothing) {
  EXPECT_TRUE(RegionRects(Image(40, 30, MakePixel(255, 0, 255)), 0, 0, 0, 0, 0, kMagenta).empty());
  EXPECT_TRUE(RegionRects(Image(), 0, 0, 1, 1, 1, kMagenta).empty());
  EXPECT_EQ(RegionRects(Image(3, 2, 0), 0, 0, 1, 1, 1, kMagenta).size(), 2u);
}

}  // namespace
