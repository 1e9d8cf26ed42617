// Glyph layout, drop-down arrow, speed-button looks and check/radio frames.
#include <gtest/gtest.h>

#include "skin/controls/ButtonGeometry.h"

namespace {

TEST(ButtonGeometry, GlyphAndCaptionShareTheFreeRoomWhenBothAreAutomatic) {
  // 100x30 button, 16x16 glyph, 40x12 caption: margin = spacing = 44 / 3.
  const TGlyphPlacement left = PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Left, -1, -1, false, false);
  EXPECT_EQ(left.glyphX, 14);
  EXPECT_EQ(left.textX, 44);
  EXPECT_EQ(left.glyphY, 7);
  EXPECT_EQ(left.textY, 9);
  EXPECT_EQ(left.textFlags, kTextWordBreak);

  const TGlyphPlacement right = PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Right, -1, -1, false, false);
  EXPECT_EQ(right.glyphX, 100 - 14 - 16);
  EXPECT_EQ(right.textX, right.glyphX - 14 - 40);
  EXPECT_EQ(right.textFlags, kTextWordBreak | kTextRight);

  // Top: the vertical room 60 - 28 = 32 splits in thirds of 10.
  const TGlyphPlacement top = PlaceGlyphAndText(80, 60, 16, 16, 40, 12, TGlyphLayout::Top, -1, -1, false, false);
  EXPECT_EQ(top.glyphY, 10);
  EXPECT_EQ(top.textY, 36);
  EXPECT_EQ(top.glyphX, 32);
  EXPECT_EQ(top.textX, 20);
  const TGlyphPlacement bottom = PlaceGlyphAndText(80, 60, 16, 16, 40, 12, TGlyphLayout::Bottom, -1, -1, false, false);
  EXPECT_EQ(bottom.glyphY, 60 - 10 - 16);
  EXPECT_EQ(bottom.textY, bottom.glyphY - 10 - 12);
  EXPECT_EQ(bottom.textFlags, kTextWordBreak | kTextCenter);
}

TEST(ButtonGeometry, GivenSpacingMarginAndCentring) {
  // Automatic margin with spacing 4: (100 - 60) / 2; a speed button one more.
  EXPECT_EQ(PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Left, -1, 4, false, false).glyphX, 20);
  EXPECT_EQ(PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Left, -1, 4, false, true).glyphX, 21);
  // Explicit margin 5 with automatic spacing centres the caption after the glyph.
  const TGlyphPlacement m = PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Left, 5, -1, false, false);
  EXPECT_EQ(m.glyphX, 5);
  EXPECT_EQ(m.textX, 5 + 16 + (100 - 21 - 40) / 2);
  // taCenter overrides an explicit margin.
  EXPECT_EQ(PlaceGlyphAndText(100, 30, 16, 16, 40, 12, TGlyphLayout::Left, 5, 4, true, false).glyphX, 20);
  // Without a caption there is no spacing: the glyph is centred.
  EXPECT_EQ(PlaceGlyphAndText(100, 30, 16, 16, 0, 0, TGlyphLayout::Left, -1, 4, false, false).glyphX, 42);
  EXPECT_EQ(GlyphLayoutFromName(L"blGlyphBottom"), TGlyphLayout::Bottom);
  EXPECT_EQ(GlyphLayoutFromName(L"something"), TGlyphLayout::Left);
}

TEST(ButtonGeometry, MenuButtonArrowAndCaption) {
  const TMenuButtonPlace p = PlaceMenuButton(80, 24, 30, 13);
  EXPECT_EQ(p.arrowX[0], 68);
  EXPECT_EQ(p.arrowY[0], 14);
  EXPECT_EQ(p.arrowX[1], 65);
  EXPECT_EQ(p.arrowX[2], 71);
  EXPECT_EQ(p.arrowY[1], 11);
  EXPECT_EQ(p.textX, (80 - 17 - 30) / 2 + 2);
  EXPECT_EQ(p.textY, 6);
  EXPECT_EQ(MenuButtonFrame(false, false, true, true), 4) << "focused shows the hot frame";
  EXPECT_EQ(MenuButtonFrame(true, true, true, false), 3);
}

TEST(ButtonGeometry, SpeedButtonLooks) {
  const TSpeedLook down = SpeedButtonLook(true, false, false, true, false);
  EXPECT_EQ(down.frame, 2);
  EXPECT_EQ(down.glyph, 4);
  EXPECT_EQ(SpeedButtonLook(false, false, true, true, false).frame, 3);
  EXPECT_EQ(SpeedButtonLook(false, true, true, true, false).glyph, 3);
  EXPECT_EQ(SpeedButtonLook(false, true, false, true, false).frame, 4);
  EXPECT_FALSE(SpeedButtonLook(false, true, false, false, true).drawFrame) << "flat and idle: background only";
  EXPECT_TRUE(SpeedButtonLook(false, true, false, true, true).drawFrame);
  EXPECT_EQ(BitButtonGlyph(2, true), 3);
  EXPECT_EQ(BitButtonGlyph(2, false), 2);
  EXPECT_EQ(BitButtonGlyph(4, true), 1);
}

TEST(ButtonGeometry, CheckBoxFrames) {
  TCheckBoxState s;
  s.hasState = true;
  s.state = L"cbUnchecked";
  s.checked = true;
  EXPECT_EQ(CheckBoxFrame(s, 4), 1) << "\"uncheck\" is tested before \"check\"";
  s.state = L"cbChecked";
  EXPECT_EQ(CheckBoxFrame(s, 4), 2);
  EXPECT_EQ(CheckBoxFrame(s, 12), 5);
  s.disabled = true;
  EXPECT_EQ(CheckBoxFrame(s, 4), 4);
  EXPECT_EQ(CheckBoxFrame(s, 12), 8);
  s.state = L"cbUnchecked";
  EXPECT_EQ(CheckBoxFrame(s, 12), 4);
  s.state = L"cbGrayed";
  EXPECT_EQ(CheckBoxFrame(s, 4), 4) << "a disabled grayed box stays on the grayed frame";
  EXPECT_EQ(CheckBoxFrame(s, 12), 8);
  s.indeterminate = true;
  EXPECT_EQ(CheckBoxFrame(s, 12), 12);
  s.disabled = false;
  EXPECT_EQ(CheckBoxFrame(s, 12), 9);

  TCheckBoxState checkedOnly;
  checkedOnly.hasChecked = true;
  checkedOnly.checkedText = L"False";
  EXPECT_EQ(CheckBoxFrame(checkedOnly, 4), 1) << "unchecked, not the disabled frame";
  TCheckBoxState data;
  data.hasDataField = true;
  data.dataState = 3;
  EXPECT_EQ(CheckBoxFrame(data, 4), 4);

  EXPECT_EQ(RadioButtonFrame(false, true, L"True", false, 8), 5);
  EXPECT_EQ(RadioButtonFrame(true, true, L"False", false, 4), 1) << "Checked overrides the window";
  EXPECT_EQ(RadioButtonFrame(true, false, L"", true, 8), 8);
  EXPECT_EQ(RadioButtonFrame(false, false, L"", true, 4), 3);
}

TEST(ButtonGeometry, CheckBoxPlacement) {
  const TCheckPlace plain = PlaceCheckBox(MakeRect(0, 0, 100, 20), 13, 13, false, false);
  EXPECT_EQ(plain.box, MakeRect(0, 3, 13, 16));
  EXPECT_EQ(plain.caption, MakeRect(15, 0, 100, 20));
  const TCheckPlace left = PlaceCheckBox(MakeRect(0, 0, 100, 20), 13, 13, true, false);
  EXPECT_EQ(left.box, MakeRect(87, 3, 100, 16));
  EXPECT_EQ(left.caption, MakeRect(0, 0, 85, 20));
  const TCheckPlace radio = PlaceCheckBox(MakeRect(0, 0, 100, 20), 13, 13, true, true);
  EXPECT_EQ(radio.box, MakeRect(86, 3, 99, 16));
  EXPECT_EQ(radio.caption.Right, 84);
}

}  // namespace
