// Combo box, track-bar channel and up-down pictures and their rules,
// natively: no window involved.
#include <gtest/gtest.h>

#include "skin/controls/InputGeometry.h"
#include "skin/controls/InputPictures.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr uint32_t kKey = MakePixel(255, 0, 255);

// `frames` frames of w x h, frame k filled with base + k.
Image Strip(int frames, int w, int h, uint32_t base) {
  Image img(frames * w, h, 0);
  for (int k = 0; k < frames; ++k) img.FillRect(MakeRect(k * w, 0, (k + 1) * w, h), base + uint32_t(k + 1));
  return img;
}

uint32_t At(const Image& img, int x, int y) { return PixelRGB(img.Pixel(x, y)); }

// ---- combo box -----------------------------------------------------------------------

class ComboPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.Bitmap = Strip(4, 18, 21, 0x100000);
    button.Bitmap2 = button.Bitmap;
    MirrorBitmap(button.Bitmap2);
    button.FrameCount = sunk.FrameCount = 4;  // fixed by the vocabulary
    sunk.Bitmap = Strip(4, 24, 21, 0x200000);
    sunk.LeftWidth = sunk.TopHeight = sunk.RightWidth = sunk.BottomHeight = 3;
    extra.Bitmap = Strip(5, 8, 8, 0x300000);
    skin = ComboSkin{&button, &sunk, &extra, 0x0A0B0C, 0xFFFFFF};
  }
  ComboPicture Compose(const ComboState& s, bool left = false) {
    return ComposeComboBox(120, 21, skin, s, left, 17, 16);
  }
  TDataSkinBorder button;
  TDataSkinObject sunk, extra;
  ComboSkin skin;
};

TEST_F(ComboPictureTest, ButtonEdgeAndGlyphShowTheStateAndTheTextAreaIsKept) {
  const ComboPicture normal = Compose({});
  ASSERT_EQ(normal.Picture.Width(), 120);
  EXPECT_EQ(normal.Button, MakeRect(101, 0, 118, 21));
  EXPECT_EQ(At(normal.Picture, 102, 1), 0x100001u) << "button frame 1";
  EXPECT_EQ(At(normal.Picture, 109, 10), 0x300001u) << "glyph frame 1 centred on the button";
  EXPECT_EQ(At(normal.Picture, 0, 10), 0x200001u) << "sunk edge frame 1";
  EXPECT_EQ(At(normal.Picture, 50, 10), kKey) << "text area left as drawn";
  EXPECT_EQ(At(normal.Picture, 98, 18), kKey);
  EXPECT_EQ(At(normal.Picture, 119, 10), 0x200001u) << "edge beyond the button";

  ComboState hot;
  hot.Hot = true;
  EXPECT_EQ(At(Compose(hot).Picture, 102, 1), 0x100004u);
  ComboState focused;
  focused.Focused = true;
  EXPECT_EQ(At(Compose(focused).Picture, 0, 10), 0x200004u);
  ComboState pressed = hot;
  pressed.Pressed = true;
  EXPECT_EQ(At(Compose(pressed).Picture, 102, 1), 0x100002u) << "pressed wins over hot";
  ComboState disabled = pressed;
  disabled.Enabled = false;
  EXPECT_EQ(At(Compose(disabled).Picture, 102, 1), 0x100003u) << "disabled wins over everything";
}

TEST_F(ComboPictureTest, LeftScrollBarBoxDrawsTheMirroredButtonAtTheLeft) {
  const ComboPicture left = Compose({}, true);
  EXPECT_EQ(left.Button, MakeRect(2, 0, 19, 21));
  // The mirror holds the frames in reverse order: each state still shows
  // its own frame.
  EXPECT_EQ(At(left.Picture, 3, 1), 0x100001u);
  ComboState hot;
  hot.Hot = true;
  EXPECT_EQ(At(Compose(hot, true).Picture, 3, 1), 0x100004u);
  EXPECT_EQ(At(left.Picture, 30, 10), kKey);
  EXPECT_EQ(At(left.Picture, 117, 10), kKey) << "text area reaches the right edge";
  EXPECT_EQ(At(left.Picture, 118, 10), 0x200001u);
}

TEST_F(ComboPictureTest, CombinedStripIsOneNineSliceWithAHole) {
  // The builder's combined strip: edge and button in one cell, hole magenta.
  Image cell = Strip(4, 50, 21, 0x400000);
  for (int k = 0; k < 4; ++k) cell.FillRect(MakeRect(k * 50 + 2, 2, k * 50 + 30, 18), kKey);
  button.Bitmap = cell;
  button.Style = 2;
  button.LeftWidth = 2;
  button.RightWidth = 21;
  button.TopHeight = button.BottomHeight = 3;
  ComboState hot;
  hot.Hot = true;
  const ComboPicture p = Compose(hot);
  EXPECT_EQ(p.Button, MakeRect(99, 0, 120, 21));
  EXPECT_EQ(At(p.Picture, 110, 10), 0x400004u);
  EXPECT_EQ(At(p.Picture, 60, 10), kKey) << "the stretched hole keeps the text";
  EXPECT_EQ(At(p.Picture, 0, 10), 0x400004u);
}

TEST_F(ComboPictureTest, FlatLayoutRingsAStripAndTheButtonAtTheInnerEdge) {
  button.Style = 1;
  ComboState pressedOff;
  pressedOff.Pressed = true;
  pressedOff.Enabled = false;
  const ComboPicture p = Compose(pressedOff);
  EXPECT_EQ(At(p.Picture, 0, 10), 0x0C0B0Au) << "outer ring in ButtonShadow";
  EXPECT_EQ(At(p.Picture, 1, 10), 0xFFFFFFu) << "inner ring";
  EXPECT_EQ(At(p.Picture, 50, 10), kKey) << "text left as drawn";
  EXPECT_EQ(p.Button, MakeRect(100, 2, 118, 19));
  EXPECT_EQ(At(p.Picture, 101, 5), 0x100002u) << "the flat layout shows a press even when disabled";
  const ComboPicture wide = ComposeComboBox(120, 21, skin, pressedOff, false, 17, 24);
  EXPECT_EQ(At(wide.Picture, 95, 10), 0xFFFFFFu) << "a strip wider than the button shows beside it";
  EXPECT_EQ(At(wide.Picture, 93, 10), kKey);
  EXPECT_EQ(At(Compose({}).Picture, 101, 5), 0x100001u);
}

TEST_F(ComboPictureTest, WithoutAButtonImageNothingIsDrawn) {
  button.Bitmap = Image();
  EXPECT_TRUE(Compose({}).Picture.Empty());
  button.Bitmap = Strip(4, 18, 21, 0x100000);
  EXPECT_TRUE(ComposeComboBox(0, 21, skin, {}, false, 17, 16).Picture.Empty());
}

// ---- track bar ------------------------------------------------------------------------

TEST(TrackChannel, EndsKeepTheirSizeAndTheMiddleStretchesCentredAcross) {
  TDataSkinObject track;
  track.Bitmap = Image(10, 4, MakePixel(0, 200, 0));
  track.Bitmap.FillRect(MakeRect(0, 0, 3, 4), MakePixel(200, 0, 0));
  track.Bitmap.FillRect(MakeRect(8, 0, 10, 4), MakePixel(0, 0, 200));
  track.LeftWidth = 3;
  track.RightWidth = 2;
  ImgRect at{};
  const Image h = ComposeTrackChannel(track, false, MakeRect(10, 20, 110, 30), &at);
  EXPECT_EQ(at, MakeRect(10, 23, 110, 27)) << "4 rows centred in a 10-row channel";
  EXPECT_EQ(At(h, 2, 1), MakePixel(200, 0, 0));
  EXPECT_EQ(At(h, 3, 1), MakePixel(0, 200, 0));
  EXPECT_EQ(At(h, 97, 1), MakePixel(0, 200, 0));
  EXPECT_EQ(At(h, 98, 1), MakePixel(0, 0, 200));

  TDataSkinObject vert;
  vert.Bitmap = Image(4, 10, MakePixel(0, 200, 0));
  vert.Bitmap.FillRect(MakeRect(0, 7, 4, 10), MakePixel(0, 0, 200));
  vert.BottomHeight = 3;
  const Image v = ComposeTrackChannel(vert, true, MakeRect(20, 5, 30, 85), &at);
  EXPECT_EQ(at, MakeRect(23, 5, 27, 85));
  EXPECT_EQ(At(v, 1, 76), MakePixel(0, 200, 0));
  EXPECT_EQ(At(v, 1, 77), MakePixel(0, 0, 200)) << "the last BottomHeight rows at the bottom";
  // Wider than the channel: drawn at its own width from the channel's left.
  EXPECT_EQ(ComposeTrackChannel(vert, true, MakeRect(20, 5, 22, 85), &at).Width(), 4);
  EXPECT_EQ(at.Left, 20);
}

// ---- up-down ----------------------------------------------------------------------------

class UpDownPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strip.Bitmap = Strip(8, 16, 12, 0x500000);
    strip.Bitmap2 = Strip(8, 4, 4, 0x600000);
  }
  TDataSkinBorder strip;
  const TColour face = 0x00C8C8C8, shadow = 0x00646464, dark = 0x00101010;
};

TEST_F(UpDownPictureTest, PressingTheUpperHalfShowsFrameTwoOnItOnly) {
  const UpDownState pressed = UpDownStates(16, 24, false, 5, 3, true, false, true);
  const Image p = ComposeUpDown(16, 24, false, &strip, pressed, face, shadow, dark);
  EXPECT_EQ(At(p, 1, 1), 0x500002u);
  EXPECT_EQ(At(p, 8, 6), 0x600002u) << "glyph frame 2 centred in the upper half";
  EXPECT_EQ(At(p, 1, 13), 0x500005u) << "lower half: second button normal";
  const UpDownState released = UpDownStates(16, 24, false, 5, 3, false, false, true);
  EXPECT_EQ(At(ComposeUpDown(16, 24, false, &strip, released, face, shadow, dark), 1, 1), 0x500001u);
  const UpDownState lower = UpDownStates(16, 24, false, 5, 20, true, false, true);
  const Image q = ComposeUpDown(16, 24, false, &strip, lower, face, shadow, dark);
  EXPECT_EQ(At(q, 1, 1), 0x500001u);
  EXPECT_EQ(At(q, 1, 13), 0x500006u);
}

TEST_F(UpDownPictureTest, DisabledShowsFramesThreeAndSevenAndHorizontalSplitsTheWidth) {
  const UpDownState off = UpDownStates(16, 24, false, 5, 3, true, true, false);
  const Image p = ComposeUpDown(16, 24, false, &strip, off, face, shadow, dark);
  EXPECT_EQ(At(p, 1, 1), 0x500003u);
  EXPECT_EQ(At(p, 1, 13), 0x500007u);
  const UpDownState right = UpDownStates(30, 12, true, 20, 5, true, false, true);
  const Image h = ComposeUpDown(30, 12, true, &strip, right, face, shadow, dark);
  EXPECT_EQ(At(h, 14, 1), 0x500001u);
  EXPECT_EQ(At(h, 15, 1), 0x500006u);
}

TEST_F(UpDownPictureTest, WithoutAStripPlainButtonsWithArrows) {
  const UpDownState pressed = UpDownStates(16, 24, false, 5, 3, true, false, true);
  const Image p = ComposeUpDown(16, 24, false, nullptr, pressed, face, shadow, dark);
  EXPECT_EQ(At(p, 0, 0), 0x101010u) << "outline";
  EXPECT_EQ(At(p, 2, 2), 0x646464u) << "pressed button filled with the shadow colour";
  EXPECT_EQ(At(p, 2, 14), 0xC8C8C8u);
  EXPECT_EQ(At(p, 8, 4), 0x101010u) << "tip of the up arrow";
  EXPECT_EQ(At(p, 8, 19), 0x101010u) << "tip of the down arrow";
  EXPECT_EQ(At(p, 5, 4), 0x646464u);
}

TEST(UpDownRules, EmbeddedButtonsStayThreePixelsInsideTheEdit) {
  // Flush with the edit's top, bottom and right edges.
  const ImgRect r = KeepInsideEdit(MakeRect(0, 0, 16, 21), MakeRect(184, 40, 200, 61), MakeRect(100, 40, 200, 61));
  EXPECT_EQ(r, MakeRect(0, 3, 13, 18));
  // Already inside: unchanged.
  EXPECT_EQ(KeepInsideEdit(MakeRect(0, 0, 16, 15), MakeRect(180, 43, 196, 58), MakeRect(100, 40, 200, 61)),
            MakeRect(0, 0, 16, 15));
}

}  // namespace
