// The skinned scroll bar's geometry and picture, drawn from small strips made
// in the test: every frame of a strip has its own colour, so a pixel tells
// which frame was drawn where.
#include "skin/controls/SkinScrollBarLayout.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kA = 17;  // arrow size

// Colour of frame k of each strip.
uint32_t ArrowColour(int k) { return MakePixel(k * 10, 1, 1); }
uint32_t TrackColour(int k) { return MakePixel(2, k * 40, 2); }
uint32_t ThumbColour(int k) { return MakePixel(3, 3, k * 50); }
const uint32_t kFacePixel = MakePixel(0xC0, 0xC0, 0xC0);
const uint32_t kFace = ColourFromPixel(kFacePixel);

// A strip of `frames` frames of w x h, frame k filled with colour(k).
std::unique_ptr<TDataSkinObject> Strip(int frames, int w, int h, uint32_t (*colour)(int)) {
  auto o = std::make_unique<TDataSkinObject>("strip");
  o->Bitmap = Image(frames * w, h);
  for (int k = 1; k <= frames; ++k) o->Bitmap.FillRect(MakeRect((k - 1) * w, 0, k * w, h), colour(k));
  o->FrameCount = frames;
  return o;
}

struct Skin {
  std::unique_ptr<TDataSkinObject> arrows = Strip(23, 17, 17, ArrowColour);
  std::unique_ptr<TDataSkinObject> track = Strip(4, 8, 17, TrackColour);
  std::unique_ptr<TDataSkinObject> thumb = Strip(3, 17, 12, ThumbColour);
  ScrollBarLook Look() const { return ScrollBarLook{arrows.get(), track.get(), thumb.get(), kFace}; }
};

ScrollBarGeometry Vertical(int length, ThumbSpan thumb) {
  ScrollBarGeometry g;
  g.Vertical = true;
  g.Length = length;
  g.Cross = kA;
  g.Arrow = kA;
  g.Thumb = thumb;
  return g;
}

TEST(ScrollBarPicture, ArrowsTrackThumbAndGripOfAVerticalBar) {
  Skin s;
  const Image img = ComposeScrollBar(Vertical(100, {17, 47}), s.Look(), {});
  ASSERT_EQ(img.Width(), kA);
  ASSERT_EQ(img.Height(), 100);
  EXPECT_EQ(img.Pixel(8, 0), ArrowColour(9));    // up arrow
  EXPECT_EQ(img.Pixel(8, 16), ArrowColour(9));
  EXPECT_EQ(img.Pixel(8, 83), ArrowColour(13));  // down arrow
  EXPECT_EQ(img.Pixel(8, 99), ArrowColour(13));
  EXPECT_EQ(img.Pixel(8, 17), ThumbColour(1));   // thumb end outside the grip
  EXPECT_EQ(img.Pixel(8, 46), ThumbColour(1));
  EXPECT_EQ(img.Pixel(8, 23), ArrowColour(20));  // grip: 17 long, centred (start 17 + 6)
  EXPECT_EQ(img.Pixel(8, 39), ArrowColour(20));
  EXPECT_EQ(img.Pixel(8, 22), ThumbColour(1));
  EXPECT_EQ(img.Pixel(8, 47), TrackColour(1));   // track after the thumb
  EXPECT_EQ(img.Pixel(8, 82), TrackColour(1));
}

TEST(ScrollBarPicture, HotAndPressedPartsUseTheirFrames) {
  Skin s;
  const ScrollBarGeometry g = Vertical(100, {40, 70});
  EXPECT_EQ(ComposeScrollBar(g, s.Look(), {kScrollFirstArrow, false}).Pixel(8, 5), ArrowColour(12));
  EXPECT_EQ(ComposeScrollBar(g, s.Look(), {kScrollFirstArrow, true}).Pixel(8, 5), ArrowColour(10));
  EXPECT_EQ(ComposeScrollBar(g, s.Look(), {kScrollSecondArrow, true}).Pixel(8, 95), ArrowColour(14));
  const Image hot = ComposeScrollBar(g, s.Look(), {kScrollThumb, false});
  EXPECT_EQ(hot.Pixel(8, 41), ThumbColour(3));
  EXPECT_EQ(hot.Pixel(8, 55), ArrowColour(22));
  EXPECT_EQ(hot.Pixel(8, 5), ArrowColour(9));  // arrows stay normal
  const Image pressed = ComposeScrollBar(g, s.Look(), {kScrollThumb, true});
  EXPECT_EQ(pressed.Pixel(8, 41), ThumbColour(2));
  EXPECT_EQ(pressed.Pixel(8, 55), ArrowColour(21));
  // A page part being scrolled changes no frame.
  EXPECT_EQ(ComposeScrollBar(g, s.Look(), {kScrollPageBefore, true}), ComposeScrollBar(g, s.Look(), {}));
}

TEST(ScrollBarPicture, HorizontalBarUsesTheLeftRightFrames) {
  Skin s;
  ScrollBarGeometry g = Vertical(120, {60, 90});
  g.Vertical = false;
  const Image img = ComposeScrollBar(g, s.Look(), {kScrollSecondArrow, false});
  ASSERT_EQ(img.Width(), 120);
  ASSERT_EQ(img.Height(), kA);
  EXPECT_EQ(img.Pixel(3, 8), ArrowColour(1));
  EXPECT_EQ(img.Pixel(110, 8), ArrowColour(8));  // hot right arrow
  EXPECT_EQ(img.Pixel(61, 8), ThumbColour(1));
  EXPECT_EQ(img.Pixel(75, 8), ArrowColour(17));
  EXPECT_EQ(img.Pixel(30, 8), TrackColour(1));
}

TEST(ScrollBarPicture, DisabledBarShowsTheDisabledTrackAndNoThumb) {
  Skin s;
  ScrollBarGeometry g = Vertical(100, {17, 47});
  g.Enabled = false;
  const Image img = ComposeScrollBar(g, s.Look(), {kScrollThumb, false});
  EXPECT_EQ(img.Pixel(8, 20), TrackColour(3));
  EXPECT_EQ(img.Pixel(8, 30), TrackColour(3));
}

TEST(ScrollBarPicture, ShortBarHasTwoHalfLengthArrowsAndHitsThem) {
  Skin s;
  const ScrollBarGeometry g = Vertical(21, {0, 0});  // shorter than two arrows
  EXPECT_EQ(ScrollArrowLength(21, kA), 10);
  const Image img = ComposeScrollBar(g, s.Look(), {});
  EXPECT_EQ(img.Pixel(8, 0), ArrowColour(9));
  EXPECT_EQ(img.Pixel(8, 9), ArrowColour(9));
  EXPECT_EQ(img.Pixel(8, 10), kFacePixel);  // the odd middle pixel
  EXPECT_EQ(img.Pixel(8, 11), ArrowColour(13));
  EXPECT_EQ(img.Pixel(8, 20), ArrowColour(13));
  EXPECT_EQ(ScrollHitTest(g, 9), kScrollFirstArrow);
  EXPECT_EQ(ScrollHitTest(g, 12), kScrollSecondArrow);  // not the first arrow's 17 pixels
}

TEST(ScrollBarPicture, ThumbOutsideTheBarOrMissingSkinPartsAreSafe) {
  Skin s;
  // A thumb the native bar reports beyond the window is not drawn.
  const Image beyond = ComposeScrollBar(Vertical(100, {90, 130}), s.Look(), {});
  EXPECT_EQ(beyond.Pixel(8, 95), ArrowColour(13));
  EXPECT_EQ(beyond.Pixel(8, 82), TrackColour(1));
  // No Scrollbar image: nothing to draw.
  ScrollBarLook none = s.Look();
  none.Arrows = nullptr;
  EXPECT_TRUE(ComposeScrollBar(Vertical(100, {17, 47}), none, {}).Empty());
  EXPECT_TRUE(ComposeScrollBar(Vertical(0, {0, 0}), s.Look(), {}).Empty());
  // No track and no thumb object: face colour, grip stretched over the thumb.
  ScrollBarLook bare = s.Look();
  bare.Track = bare.Thumb = nullptr;
  const Image img = ComposeScrollBar(Vertical(100, {40, 70}), bare, {});
  EXPECT_EQ(img.Pixel(8, 30), kFacePixel);
  EXPECT_EQ(img.Pixel(8, 41), ArrowColour(20));
  // A thumb strip with a frame count of 0 is one frame; a hot thumb still draws.
  s.thumb->FrameCount = 0;
  const Image zero = ComposeScrollBar(Vertical(100, {40, 70}), s.Look(), {kScrollThumb, false});
  EXPECT_EQ(PixelR(zero.Pixel(8, 41)), 3) << "a pixel of the thumb strip";
}

TEST(ScrollBarPicture, StripFarFromTheArrowSizeIsDrawnAtTheArrowSize) {
  Skin s;
  s.arrows = Strip(23, 30, 30, ArrowColour);  // 30 high against arrows of 17
  ScrollBarGeometry g = Vertical(100, {17, 47});
  g.Cross = 24;
  const Image img = ComposeScrollBar(g, s.Look(), {});
  EXPECT_EQ(img.Pixel(16, 5), ArrowColour(9));
  EXPECT_EQ(img.Pixel(17, 5), kFacePixel);
  EXPECT_EQ(img.Pixel(16, 99), ArrowColour(13));
}

TEST(ScrollBarGeometry, HitTestWalksTheParts) {
  const ScrollBarGeometry g = Vertical(200, {60, 90});
  EXPECT_EQ(ScrollHitTest(g, 0), kScrollFirstArrow);
  EXPECT_EQ(ScrollHitTest(g, 16), kScrollFirstArrow);
  EXPECT_EQ(ScrollHitTest(g, 17), kScrollPageBefore);
  EXPECT_EQ(ScrollHitTest(g, 59), kScrollPageBefore);
  EXPECT_EQ(ScrollHitTest(g, 60), kScrollThumb);
  EXPECT_EQ(ScrollHitTest(g, 89), kScrollThumb);
  EXPECT_EQ(ScrollHitTest(g, 90), kScrollPageAfter);
  EXPECT_EQ(ScrollHitTest(g, 182), kScrollPageAfter);
  EXPECT_EQ(ScrollHitTest(g, 183), kScrollSecondArrow);
  // Without a thumb the track between the arrows pages forward.
  EXPECT_EQ(ScrollHitTest(Vertical(200, {0, 0}), 50), kScrollPageAfter);
}

TEST(ScrollBarGeometry, DraggedThumbFollowsTheCursorButNeverEntersTheArrows) {
  const ThumbSpan pressed{60, 90};
  // Pressed at 70: moving to 100 moves the thumb 30 pixels, size kept.
  EXPECT_EQ(DragThumb(200, kA, pressed, pressed, 70, 100), (ThumbSpan{90, 120}));
  // The native thumb may already have moved: its size is what counts.
  EXPECT_EQ(DragThumb(200, kA, pressed, ThumbSpan{80, 112}, 70, 100), (ThumbSpan{90, 122}));
  EXPECT_EQ(DragThumb(200, kA, pressed, pressed, 70, -500), (ThumbSpan{17, 47}));
  EXPECT_EQ(DragThumb(200, kA, pressed, pressed, 70, 5000), (ThumbSpan{153, 183}));
  // Extreme cursor values do not overflow.
  EXPECT_EQ(DragThumb(200, kA, pressed, pressed, INT32_MIN, INT32_MAX), (ThumbSpan{153, 183}));
}

TEST(ScrollBarGeometry, CornerSquareBetweenBothBars) {
  // Screen rectangles Wine reports for a list view with both bars.
  EXPECT_EQ(ScrollCornerRect(MakeRect(405, 45, 422, 225), MakeRect(26, 224, 406, 241)),
            MakeRect(405, 224, 422, 241));
  EXPECT_TRUE(ScrollCornerRect(MakeRect(405, 45, 422, 225), ImgRect{}).Empty());
}

}  // namespace
