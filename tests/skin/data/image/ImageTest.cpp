// The pixel buffer: bounds, clipping of fills and copies.
#include "skin/data/Image.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageBuffer, SizesBeyondTheBoundsGiveAnEmptyImage) {
  Image img(4, 3, 7);
  EXPECT_EQ(img.Pixel(3, 2), 7u);
  EXPECT_FALSE(img.Resize(-1, 5));
  EXPECT_TRUE(img.Empty());
  EXPECT_FALSE(Image(Image::kMaxSide + 1, 1).Width());
  EXPECT_FALSE(Image(Image::kMaxSide, Image::kMaxSide).Width());  // pixel count bound
  EXPECT_TRUE(Image(Image::kMaxSide, 1).Width());
  EXPECT_EQ(Image(0, 5).Pixels(), nullptr);
}

TEST(ImageBuffer, AccessOutsideIsHarmless) {
  Image img(2, 2, 1);
  img.SetPixel(-1, 0, 9);
  img.SetPixel(2, 1, 9);
  EXPECT_EQ(img.Pixel(5, 5), 0u);
  EXPECT_EQ(img, Image(2, 2, 1));
}

TEST(ImageBuffer, BlitClipsOnBothSides) {
  Image src(3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.SetPixel(x, y, uint32_t(10 * y + x));
  Image dst(4, 4, 0xEE);
  dst.Blit(-1, 2, src);  // left column and bottom row fall outside
  EXPECT_EQ(dst.Pixel(0, 2), 1u);
  EXPECT_EQ(dst.Pixel(1, 3), 12u);
  EXPECT_EQ(dst.Pixel(2, 2), 0xEEu);
  EXPECT_EQ(dst.Pixel(0, 1), 0xEEu);
  Image dst2(4, 4, 0xEE);
  dst2.Blit(0, 0, src, ImgRect{-2, 1, 2, 9});  // source part partly outside
  EXPECT_EQ(dst2.Pixel(2, 0), 10u);
  EXPECT_EQ(dst2.Pixel(3, 1), 21u);
  EXPECT_EQ(dst2.Pixel(0, 0), 0xEEu);
  EXPECT_EQ(dst2.Pixel(2, 2), 0xEEu);
}

TEST(ImageBuffer, FillRectAndCropClip) {
  Image img(3, 3, 0);
  img.FillRect({-5, 1, 2, 50}, 4);
  EXPECT_EQ(img.Pixel(1, 2), 4u);
  EXPECT_EQ(img.Pixel(2, 2), 0u);
  EXPECT_EQ(img.Pixel(0, 0), 0u);
  img.FillRect({2, 2, 1, 1}, 9);  // inverted: nothing
  EXPECT_EQ(img.Pixel(1, 1), 4u);
  Image part = img.Crop({1, 1, 10, 10});
  EXPECT_EQ(part.Width(), 2);
  EXPECT_EQ(part.Height(), 2);
  EXPECT_EQ(part.Pixel(0, 1), 4u);
  EXPECT_TRUE(img.Crop({3, 0, 5, 2}).Empty());
}

}  // namespace
