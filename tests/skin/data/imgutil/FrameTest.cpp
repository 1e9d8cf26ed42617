// Nine-slice rendering, bars, stretched and centred frames, tiling and key
// transparency, checked pixel by pixel.
#include "skin/data/ImgUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Images are written as text, one letter per pixel; each letter is a colour.
uint32_t Colour(char c) { return c == 'M' ? 0xFF00FFu : uint32_t(c) * 0x010101u; }

Image FromText(std::initializer_list<const char*> rows) {
  Image img(int(std::string(*rows.begin()).size()), int(rows.size()));
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; row[x]; ++x) img.SetPixel(x, y, Colour(row[x]));
    ++y;
  }
  return img;
}

std::string Text(const Image& img) {
  std::string s;
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      uint32_t p = PixelRGB(img.Pixel(x, y));
      s += p == 0xFF00FF ? 'M' : (p == 0 ? '.' : char(p & 0xFF));
    }
    s += '\n';
  }
  return s;
}

std::string Lines(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) (s += r) += '\n';
  return s;
}

// A 6 x 6 frame with 2-pixel margins: corners a b c d, edges t l r u
// (top, left, right, bottom), centre 2 x 2 "wx/yz".
Image NineSlice() {
  return FromText({"aattbb", "aattbb", "llwxrr", "llyzrr", "ccuudd", "ccuudd"});
}

TEST(NineSlice, CornersKeptEdgesAndCentreStretched) {
  Image out = BuildFrameBitmap({5, 5, 15, 13}, NineSlice(), {2, 2, 2, 2}, false, false, 1, 1);
  EXPECT_EQ(Text(out), Lines({"aattttttbb", "aattttttbb", "llwwwxxxrr", "llwwwxxxrr", "llyyyzzzrr",
                              "llyyyzzzrr", "ccuuuuuudd", "ccuuuuuudd"}));
}

TEST(NineSlice, MarginsWiderThanTargetAreDropped) {
  // 3 wide < L + R = 4: no left or right pieces, the top/centre/bottom span the width.
  Image out = BuildFrameBitmap({0, 0, 3, 6}, NineSlice(), {2, 2, 2, 2}, false, false, 1, 1);
  // Top, centre and bottom each shrink the whole frame width to 3 columns.
  EXPECT_EQ(Text(out), Lines({"atb", "atb", "lwr", "lyr", "cud", "cud"}));
}

TEST(NineSlice, TiledCentreRepeatsAndIsCutByTheRightAndBottomPieces) {
  Image out = BuildFrameBitmap({0, 0, 9, 7}, NineSlice(), {2, 2, 2, 2}, false, true, 1, 1);
  EXPECT_EQ(Text(out), Lines({"aatttttbb", "aatttttbb", "llwxwxwrr", "llyzyzyrr", "llwxwxwrr",
                              "ccuuuuudd", "ccuuuuudd"}));
}

TEST(NineSlice, FrameOfHorizontalAndVerticalStrips) {
  Image strip = FromText({"abcd", "efgh"});  // 2 frames of 2 x 2 side by side
  EXPECT_EQ(Text(BuildFrameBitmap({0, 0, 2, 2}, strip, {}, false, false, 2, 2)), Lines({"cd", "gh"}));
  Image stack = FromText({"ab", "cd", "ef", "gh"});  // 2 frames stacked
  EXPECT_EQ(Text(BuildFrameBitmap({0, 0, 2, 2}, stack, {}, true, false, 2, 2)), Lines({"ef", "gh"}));
  // Stretched 2x in both directions, no margins.
  EXPECT_EQ(Text(BuildFrameBitmap({0, 0, 4, 2}, stack, {}, true, false, 2, 1)), Lines({"aabb", "ccdd"}));
}

TEST(NineSlice, NegativeMarginsCountAsZero) {
  Image a = BuildFrameBitmap({0, 0, 8, 8}, NineSlice(), {-2, -3, 0, 0}, false, false, 1, 1);
  Image b = BuildFrameBitmap({0, 0, 8, 8}, NineSlice(), {0, 0, 0, 0}, false, false, 1, 1);
  EXPECT_EQ(a, b);
}

TEST(DrawingNothing, InvertedRectanglesLeaveTheTargetAlone) {
  Image target(6, 6, 0x111111);
  const Image before = target;
  const ImgRect inverted{4, 1, 2, 5}, upside{1, 4, 5, 2};
  EXPECT_TRUE(BuildFrameBitmap(inverted, NineSlice(), {}, false, false, 1, 1).Empty());
  for (ImgRect r : {inverted, upside}) {
    DrawFrame(target, r, NineSlice(), false, false, false, 1, 1, {1, 1, 1, 1});
    DrawHorzBar(target, r, NineSlice(), false, false, 1, 1, {1, 1, 1, 1});
    DrawThreePart(target, r, NineSlice(), false, 1, 1, {1, 1, 1, 1});
    DrawFrameStretched(target, r, NineSlice(), false, 1, 1);
    DrawFrameCentred(target, r, NineSlice(), false, 1, 1);
    TransparentDraw(target, r, NineSlice(), kMagenta);
  }
  EXPECT_EQ(target, before);
}

TEST(Tiling, RepeatsFromTopLeftAndMayOverrunTheTarget) {
  Image src = FromText({"ab", "cd"});
  Image target(7, 4, 0);
  TileDraw(target, {1, 1, 4, 2}, src, {0, 0, 2, 2});
  EXPECT_EQ(Text(target), Lines({".......", ".abab..", ".cdcd..", "......."}));
  Image untouched(3, 3, 0);
  TileDraw(untouched, {0, 0, 3, 3}, src, {1, 1, 1, 2});  // empty source part
  EXPECT_EQ(untouched, Image(3, 3, 0));
}

TEST(Bars, HorzBarRepeatsTheMiddleBetweenStretchedEnds) {
  Image frame = FromText({"lmnr", "LMNR"});  // L = 1, R = 1, middle "mn"
  Image target(9, 4, 0);
  DrawHorzBar(target, {0, 0, 9, 4}, frame, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(Text(target), Lines({"lmnmnmnmr", "lmnmnmnmr", "LMNMNMNMR", "LMNMNMNMR"}));
}

TEST(Bars, HorzBarWithoutMiddleAndTransparent) {
  Image frame = FromText({"lMr"});
  Image target(5, 1, 0x616161);  // 'a'
  // m = 3 - 1 - 1 = 1; the middle is magenta and transparent.
  DrawHorzBar(target, {0, 0, 5, 1}, frame, false, true, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(Text(target), Lines({"laaar"}));
  Image narrow = FromText({"lr"});  // m = 0: no middle drawn, black bitmap shows
  Image t2(4, 1, 0x616161);
  DrawHorzBar(t2, {0, 0, 4, 1}, narrow, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(Text(t2), Lines({"l..r"}));
}

TEST(Bars, ThreePartKeepsEndsOrStretchesTheWholeFrame) {
  Image frame = FromText({"lmmr"});
  Image wide(8, 1, 0);
  DrawThreePart(wide, {1, 0, 8, 1}, frame, false, 1, 1, {1, 9, 1, 9});
  EXPECT_EQ(Text(wide), Lines({".lmmmmmr"}));
  Image narrow(3, 1, 0);
  DrawThreePart(narrow, {0, 0, 2, 1}, frame, false, 1, 1, {1, 0, 1, 0});  // 2 < frame width 4
  EXPECT_EQ(Text(narrow), Lines({"lm."}));
}

TEST(Frames, StretchedAndCentredFrames) {
  Image strip = FromText({"aMbc", "dedM"});  // two 2 x 2 frames
  Image target(4, 4, 0x7A7A7A);              // 'z'
  DrawFrameStretched(target, {0, 0, 4, 4}, strip, true, 2, 1);
  EXPECT_EQ(Text(target), Lines({"aazz", "aazz", "ddee", "ddee"}));
  Image centred(5, 5, 0);
  DrawFrameCentred(centred, {0, 0, 5, 5}, strip, false, 2, 2);  // (5 - 2) / 2 = 1
  EXPECT_EQ(Text(centred), Lines({".....", ".bc..", ".dM..", ".....", "....."}));
  Image small(3, 3, 0);
  DrawFrameCentred(small, {1, 1, 2, 2}, FromText({"abc", "def", "ghi"}), false, 1, 1);
  // (1 - 3) / 2 = -1 (toward zero): the frame starts at (0, 0).
  EXPECT_EQ(Text(small), Lines({"abc", "def", "ghi"}));
}

TEST(Transparency, KeyPixelsKeepTheTargetAndOnlyTheTopLeftPartIsDrawn) {
  Image img = FromText({"aMb", "Mcd", "efg"});
  Image target(4, 3, 0x7A7A7A);
  TransparentDraw(target, {1, 1, 3, 3}, img, kMagenta);  // 2 x 2 of the image
  EXPECT_EQ(Text(target), Lines({"zzzz", "zazz", "zzcz"}));
  // The key compares colour only, not the fourth byte.
  Image alpha(1, 1, 0x80FF00FFu);
  Image t2(1, 1, 0x616161);
  TransparentDraw(t2, {0, 0, 1, 1}, alpha, kMagenta);
  EXPECT_EQ(Text(t2), "a\n");
}

TEST(Transparency, FramePiecesOutsideTheTargetAreClipped) {
  Image target(3, 3, 0);
  DrawFrame(target, {-4, -4, 2, 2}, NineSlice(), false, false, false, 1, 1, {2, 2, 2, 2});
  EXPECT_EQ(Text(target), Lines({"dd.", "dd.", "..."}));
}

TEST(HostileValues, ExtremeMarginsFramesAndRectanglesStaySafe) {
  // Margins and frame numbers come from settings files; rectangles may be
  // far outside. Nothing may overflow (UBSan) or loop for long.
  const Image img = NineSlice();
  const FrameMargins huge{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, low{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN};
  Image out = BuildFrameBitmap({0, 0, 8, 8}, img, huge, false, true, 1, 1);
  EXPECT_EQ(out.Width(), 8);
  EXPECT_EQ(out, BuildFrameBitmap({0, 0, 8, 8}, img, {}, false, true, 1, 1));  // margins dropped
  Image target(16, 16, 0x010101);
  for (FrameMargins m : {huge, low})
    for (int frame : {INT32_MIN, -1, 0, 2, INT32_MAX}) {
      DrawFrame(target, {0, 0, 16, 16}, img, frame & 1, true, false, INT32_MAX, frame, m);
      DrawHorzBar(target, {0, 0, 16, 16}, img, false, true, 3, frame, m);
      DrawThreePart(target, {0, 0, 16, 16}, img, true, 2, frame, m);
      DrawFrameStretched(target, {0, 0, 16, 16}, img, false, 7, frame);
      DrawFrameCentred(target, {0, 0, 16, 16}, img, true, 0, frame);
    }
  const ImgRect everything{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  TileDraw(target, everything, img, {0, 0, 1, 1});
  EXPECT_EQ(Text(target.Crop({0, 0, 3, 1})), "aaa\n");
  StretchCopy(target, everything, img, {2, 2, 3, 3});
  EXPECT_EQ(Text(target.Crop({0, 0, 3, 1})), "www\n");
  TransparentDraw(target, everything, img, kMagenta);  // the image lies far off the target
  EXPECT_EQ(Text(target.Crop({0, 0, 3, 1})), "www\n");
  GradientFillImage(target, {INT32_MIN, 0, INT32_MAX, 4}, 0, false, 0xFFFFFF);
  // Line 2^31 of 2^32 - 1: (2^31 - 1 + 2^31 x 255) / (2^32 - 2) = 128 per channel.
  EXPECT_EQ(PixelRGB(target.Pixel(0, 0)), 0x808080u);
}

}  // namespace
