// Glyph and caption placement of glyph buttons (pure arithmetic).
#include <gtest/gtest.h>

#include "gui/ButtonLayout.h"

namespace {

TEST(ButtonLayout, AutomaticMarginCentresThePairAndAutomaticSpacingSharesTheRoom) {
  // 100 wide, glyph 16, text 40: centred with spacing 4 -> margin (100-60)/2.
  TButtonContents r = LayoutButtonContents(100, 30, 16, 16, 40, 12, blGlyphLeft, -1, 4);
  EXPECT_EQ(r.glyphX, 20);
  EXPECT_EQ(r.textX, 40);
  EXPECT_EQ(r.glyphY, 7);
  EXPECT_EQ(r.textY, 9);
  // Both automatic: margin = spacing = (100-56)/3.
  r = LayoutButtonContents(100, 30, 16, 16, 40, 12, blGlyphLeft, -1, -1);
  EXPECT_EQ(r.glyphX, 14);
  EXPECT_EQ(r.textX, 14 + 16 + 14);
}

TEST(ButtonLayout, RightAndBottomLayoutsMeasureFromTheFarEdge) {
  TButtonContents r = LayoutButtonContents(100, 60, 16, 16, 40, 12, blGlyphRight, 5, 3);
  EXPECT_EQ(r.glyphX, 100 - 5 - 16);
  EXPECT_EQ(r.textX, r.glyphX - 3 - 40);
  r = LayoutButtonContents(100, 60, 16, 16, 40, 12, blGlyphBottom, 5, -1);
  EXPECT_EQ(r.glyphY, 60 - 5 - 16);
  // Explicit margin, automatic spacing: the text centred in what is left.
  EXPECT_EQ(r.textY, r.glyphY - (60 - 21 - 12) / 2 - 12);
  EXPECT_EQ(r.glyphX, 42);
}

TEST(ButtonLayout, NoGlyphOrNoTextHasNoSpacingAndNothingStartsOutsideATinyButton) {
  TButtonContents r = LayoutButtonContents(100, 30, 0, 0, 40, 12, blGlyphLeft, -1, 10);
  EXPECT_EQ(r.textX, 30) << "the text alone is centred";
  r = LayoutButtonContents(10, 10, 16, 16, 40, 12, blGlyphLeft, -1, -1);
  EXPECT_GE(r.glyphX, 0);
  EXPECT_GE(r.textX, 0);
  EXPECT_GE(r.textX, r.glyphX + 16) << "text over the glyph";
}

}  // namespace
