// Column header and edit border pictures and their geometry.
#include <gtest/gtest.h>

#include "skin/controls/SkinEditLayout.h"
#include "skin/controls/SkinHeaderLayout.h"
#include "skin/data/ImgUtil.h"

namespace {

uint32_t BarColour(int k) { return MakePixel(k * 40, 100, 7); }

// A 5-frame Headerbar strip of 10 x 20 frames with a 2-pixel darker left
// margin on every frame, so stretching shows.
void MakeHeaderbar(TDataSkinObject& o) {
  o.Bitmap = Image(50, 20);
  for (int k = 1; k <= 5; ++k) {
    o.Bitmap.FillRect(MakeRect((k - 1) * 10, 0, k * 10, 20), BarColour(k));
    o.Bitmap.FillRect(MakeRect((k - 1) * 10, 0, (k - 1) * 10 + 2, 20), MakePixel(1, 1, k));
  }
  o.FrameCount = 5;
  o.LeftWidth = 2;
}

TEST(HeaderPicture, StripPastTheLastColumnIsANormalButton) {
  // Columns of 350 and 80 in a 529-pixel list: x 430..529 gets frame 1.
  TDataSkinObject bar("Headerbar");
  MakeHeaderbar(bar);
  const std::vector<ImgRect> items{MakeRect(0, 0, 350, 20), MakeRect(350, 0, 430, 20)};
  const Image img = ComposeHeaderBar(bar, items, 1, 529, 20, 0);
  ASSERT_EQ(img.Width(), 529);
  EXPECT_EQ(img.Pixel(0, 5), MakePixel(1, 1, 1));   // item 0: frame 1 margin
  EXPECT_EQ(img.Pixel(200, 5), BarColour(1));
  EXPECT_EQ(img.Pixel(351, 5), MakePixel(1, 1, 2)); // hot item 1: frame 2
  EXPECT_EQ(img.Pixel(400, 19), BarColour(2));
  EXPECT_EQ(img.Pixel(430, 5), MakePixel(1, 1, 1)); // the strip, its own margin
  EXPECT_EQ(img.Pixel(431, 5), MakePixel(1, 1, 1));
  EXPECT_EQ(img.Pixel(432, 5), BarColour(1));
  EXPECT_EQ(img.Pixel(528, 0), BarColour(1));
  // Columns filling the header leave no strip; no items: all one strip.
  const Image full = ComposeHeaderBar(bar, {MakeRect(0, 0, 100, 20)}, -1, 100, 20, 0);
  EXPECT_EQ(full.Pixel(99, 5), BarColour(1));
  EXPECT_EQ(ComposeHeaderBar(bar, {}, -1, 60, 20, 0).Pixel(1, 1), MakePixel(1, 1, 1));
  TDataSkinObject empty("Headerbar");
  EXPECT_TRUE(ComposeHeaderBar(empty, items, -1, 529, 20, 0).Empty());
}

TEST(HeaderGeometry, ContentOffsetsByAlignment) {
  EXPECT_EQ(HeaderTextAlign(0), haLeft);
  EXPECT_EQ(HeaderTextAlign(1), haRight);
  EXPECT_EQ(HeaderTextAlign(2), haCentre);
  EXPECT_EQ(HeaderTextAlign(0x4000 | 2), haCentre);  // other format bits do not matter
  EXPECT_EQ(HeaderContentX(haLeft, 100, 0, 40), 3);
  EXPECT_EQ(HeaderContentX(haCentre, 100, 16, 40), 22);
  EXPECT_EQ(HeaderContentX(haCentre, 101, 0, 40), 30);
  EXPECT_EQ(HeaderContentX(haRight, 100, 0, 40), 58);
  // Text wider than the item: the content starts 1 pixel in.
  EXPECT_EQ(HeaderContentX(haRight, 50, 0, 80), 1);
  EXPECT_EQ(HeaderContentX(haCentre, 50, 0, 47), 1);
}

TEST(HeaderGeometry, HotRectanglesLeaveTheDividersOut) {
  std::vector<ImgRect> hot{HeaderHotRect(MakeRect(0, 0, 100, 18)), HeaderHotRect(MakeRect(100, 0, 180, 18))};
  EXPECT_EQ(hot[0], MakeRect(3, 0, 97, 18));
  EXPECT_EQ(HeaderHitTest(hot, 50, 5), 0);
  EXPECT_EQ(HeaderHitTest(hot, 98, 5), -1);  // on the divider
  EXPECT_EQ(HeaderHitTest(hot, 103, 5), 1);
  EXPECT_EQ(HeaderHitTest(hot, 150, 18), -1);
  EXPECT_EQ(HeaderHitTest(hot, 300, 5), -1);
}

TEST(EditBorder, ShadowRingThenTwoWhiteRings) {
  const uint32_t shadow = 0x00336699;  // skin colour
  const Image img = ComposeEditBorder(30, 12, shadow);
  const uint32_t s = PixelFromColour(shadow), white = MakePixel(255, 255, 255);
  EXPECT_EQ(img.Pixel(0, 0), s);
  EXPECT_EQ(img.Pixel(29, 11), s);
  EXPECT_EQ(img.Pixel(15, 11), s);
  EXPECT_EQ(img.Pixel(0, 6), s);
  EXPECT_EQ(img.Pixel(1, 1), white);
  EXPECT_EQ(img.Pixel(2, 6), white);
  EXPECT_EQ(img.Pixel(28, 10), white);
  EXPECT_TRUE(ComposeEditBorder(0, 12, shadow).Empty());
  EXPECT_TRUE(EditHasBorder(30, 12, 26, 8));
  EXPECT_FALSE(EditHasBorder(30, 12, 30, 8));
  EXPECT_FALSE(EditHasBorder(30, 12, 26, 12));
}

}  // namespace
