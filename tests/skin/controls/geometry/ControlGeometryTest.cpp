// Push-button caption and progress-bar rules and the progress picture,
// natively: no window involved (the states and the group box are tested on
// real windows).
#include <gtest/gtest.h>

#include "skin/controls/ControlGeometry.h"
#include "skin/controls/ProgressPicture.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

namespace {

// ---- push button -------------------------------------------------------------------

TEST(ButtonRules, OnlyTheFirstDoubleBarBreaksTheLine) {
  EXPECT_EQ(ButtonCaptionText(L"立即||转换||现在"), L"立即\r\n转换||现在");
  EXPECT_EQ(ButtonCaptionText(L"a|b"), L"a|b");
  EXPECT_EQ(ButtonCaptionText(L""), L"");
}

TEST(ButtonRules, CaptionSitsCentredOnePixelAboveTheMiddle) {
  // 75 x 25 button, caption 24 x 12: (75 - 24) / 2 = 25, (25 - 12) / 2 - 1 = 5.
  EXPECT_EQ(PlaceButtonCaption(75, 25, 24, 12, true), MakeRect(25, 5, 49, 17));
  // Wider than the button: the division truncates toward zero.
  EXPECT_EQ(PlaceButtonCaption(20, 10, 25, 13, true), MakeRect(-2, -2, 23, 11));
  EXPECT_EQ(PlaceButtonCaption(75, 25, 24, 12, false), MakeRect(0, 5, 75, 17));
}

// ---- progress bar --------------------------------------------------------------------

TEST(ProgressRules, FillRoundsHalvesAwayFromZero) {
  EXPECT_EQ(ProgressFillWidth(409, 50, 0, 100), 205) << "204.5 rounds up";
  EXPECT_EQ(ProgressFillWidth(409, 1, 0, 100), 4) << "4.09";
  EXPECT_EQ(ProgressFillWidth(409, 100, 0, 100), 409);
}

TEST(ProgressRules, EmptyRangesAndOutOfRangePositionsStayInsideTheBar) {
  EXPECT_EQ(ProgressFillWidth(409, 0, 0, 100), 0);
  EXPECT_EQ(ProgressFillWidth(409, 30, 0, 0), 0) << "upper limit 0";
  EXPECT_EQ(ProgressFillWidth(409, 30, 50, 20), 0) << "inverted range";
  EXPECT_EQ(ProgressFillWidth(409, 500, 0, 100), 409);
  EXPECT_EQ(ProgressFillWidth(409, -5, 0, 100), 0);
  EXPECT_EQ(ProgressFillWidth(0, 50, 0, 100), 0);
  EXPECT_EQ(ProgressFillWidth(2000000000, 0, -2000000000, 2000000000), 1000000000)
      << "no overflow on extreme values";
}

TEST(ProgressRules, FillCountsFromTheLowerLimit) {
  // 75 in 50..100 is half way: half the bar.
  EXPECT_EQ(ProgressFillWidth(400, 75, 50, 100), 200);
  EXPECT_EQ(ProgressFillWidth(400, 50, 50, 100), 0);
}

// Two-frame strip: frame 1 (empty bar) red, frame 2 (full bar) blue, each
// 10 x 6 with a magenta corner pixel (transparent).
Image TwoFrameStrip() {
  Image img(20, 6, MakePixel(255, 0, 0));
  img.FillRect(MakeRect(10, 0, 20, 6), MakePixel(0, 0, 255));
  img.SetPixel(0, 0, MakePixel(255, 0, 255));
  img.SetPixel(10, 0, MakePixel(255, 0, 255));
  return img;
}

const TColour kFace = MakeColour(200, 200, 200);

TEST(ProgressPicture, VerticalBarFillsFromTheBottom) {
  TDataSkinBorder p;
  p.Bitmap = TwoFrameStrip();
  const Image bar = ComposeProgress(6, 100, true, &p, nullptr, 25, 0, 100, kFace);
  ASSERT_EQ(bar.Width(), 6);
  ASSERT_EQ(bar.Height(), 100);
  EXPECT_EQ(PixelRGB(bar.Pixel(3, 99)), MakePixel(0, 0, 255));
  EXPECT_EQ(PixelRGB(bar.Pixel(3, 75)), MakePixel(0, 0, 255));
  EXPECT_EQ(PixelRGB(bar.Pixel(3, 74)), MakePixel(255, 0, 0));
}

TEST(ProgressPicture, TroughStyleDrawsTiledChunksAndNeedsThem) {
  TDataSkinBorder p;
  p.Style = 1;
  p.Bitmap = Image(10, 12, MakePixel(0, 255, 0));
  EXPECT_FALSE(CanComposeProgress(&p, nullptr)) << "no chunk image: the native bar paints";
  EXPECT_TRUE(ComposeProgress(100, 12, false, &p, nullptr, 50, 0, 100, kFace).Empty());
  TDataSkinObject chunk;
  chunk.Tile = 1;
  chunk.Bitmap = Image(4, 6, MakePixel(0, 0, 255));
  chunk.Bitmap.SetPixel(3, 0, MakePixel(255, 0, 255));  // a gap pixel in each chunk
  ASSERT_TRUE(CanComposeProgress(&p, &chunk));
  const Image bar = ComposeProgress(100, 12, false, &p, &chunk, 50, 0, 100, kFace);
  // Chunks from x = LeftWidth (0) + 2, for 50 pixels, on the row (12 - 6) / 2 = 3.
  EXPECT_EQ(PixelRGB(bar.Pixel(2, 5)), MakePixel(0, 0, 255));
  EXPECT_EQ(PixelRGB(bar.Pixel(51, 5)), MakePixel(0, 0, 255));
  EXPECT_EQ(PixelRGB(bar.Pixel(52, 5)), MakePixel(0, 255, 0)) << "trough past the fill";
  EXPECT_EQ(PixelRGB(bar.Pixel(5, 3)), MakePixel(0, 255, 0)) << "magenta in a chunk shows the trough";
  EXPECT_EQ(PixelRGB(bar.Pixel(5, 2)), MakePixel(0, 255, 0)) << "above the chunk row";
}

TEST(ProgressPicture, NothingWithoutAProgressImage) {
  TDataSkinBorder empty;
  EXPECT_FALSE(CanComposeProgress(&empty, nullptr));
  EXPECT_FALSE(CanComposeProgress(nullptr, nullptr));
  TDataSkinBorder p;
  p.Bitmap = TwoFrameStrip();
  EXPECT_TRUE(ComposeProgress(0, 6, false, &p, nullptr, 50, 0, 100, kFace).Empty());
}

}  // namespace
