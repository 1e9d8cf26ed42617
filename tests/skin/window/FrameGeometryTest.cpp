// Frame sizes, frame kinds, client rectangles, border pieces and hit codes of
// a skinned frame, computed without any window.
#include <gtest/gtest.h>

#include <memory>

#include "skin/data/WinSkinData.h"
#include "skin/window/FrameGeometry.h"

namespace {

std::unique_ptr<TDataSkinBorder> Strip(int w, int h, int frames) {
  auto e = std::make_unique<TDataSkinBorder>();
  e->Bitmap = Image(w, h, 0x112233);
  e->FrameCount = frames;
  return e;
}

constexpr uint32_t WS_CAPTION_ = 0x00C00000, WS_BORDER_ = 0x00800000, WS_THICKFRAME_ = 0x00040000;

}  // namespace

TEST(FrameSizes, SideBordersSplitTheWidthAndTopBottomTheHeightByTheirFrameCount) {
  // Two frames each: side strips are side by side, top and bottom stacked.
  auto left = Strip(12, 40, 2), right = Strip(10, 40, 2), top = Strip(50, 60, 2), bottom = Strip(50, 8, 2);
  const TFrameSizes s = FrameSizesOf(left.get(), top.get(), right.get(), bottom.get(), TBorderKind::Sizeable);
  EXPECT_EQ(s, (TFrameSizes{6, 30, 5, 4, 0}));
  EXPECT_EQ(s.Width(), 11);
  EXPECT_EQ(s.Height(), 34);
}

TEST(FrameSizes, HostileFrameCountsAndMissingImagesNeverDivideByZero) {
  auto zero = Strip(12, 40, 0), negative = Strip(9, 30, -3);
  TDataSkinBorder empty;
  const TFrameSizes s = FrameSizesOf(zero.get(), negative.get(), nullptr, &empty, TBorderKind::Single);
  EXPECT_EQ(s, (TFrameSizes{12, 30, 0, 0, 0}));
  // A window without caption bits gets no frame at all.
  auto any = Strip(8, 8, 1);
  EXPECT_EQ(FrameSizesOf(any.get(), any.get(), any.get(), any.get(), TBorderKind::None), TFrameSizes{});
}

TEST(BorderKind, CaptionBitsThickFrameDialogBitsAndDialogClass) {
  EXPECT_EQ(BorderKindOf(WS_BORDER_, 0, false), TBorderKind::None);  // one caption bit is not a caption
  EXPECT_EQ(BorderKindOf(WS_CAPTION_ | WS_THICKFRAME_, 0, false), TBorderKind::Sizeable);
  EXPECT_EQ(BorderKindOf(WS_CAPTION_, 0, false), TBorderKind::Single);
  EXPECT_EQ(BorderKindOf(WS_CAPTION_ | kStyleDialogBit, 0, false), TBorderKind::Dialog);
  EXPECT_EQ(BorderKindOf(WS_CAPTION_ | WS_THICKFRAME_, kExStyleDlgModalFrame, false), TBorderKind::Dialog);
  EXPECT_EQ(BorderKindOf(WS_CAPTION_ | WS_THICKFRAME_, 0, true), TBorderKind::Dialog);
  // A dialog class without a caption still counts as a dialog frame.
  EXPECT_EQ(BorderKindOf(0, 0, true), TBorderKind::Dialog);
}

TEST(ClientRect, InsetByBordersCaptionAndMenuBandAndNeverInverted) {
  const TFrameSizes s{6, 30, 5, 4, 20};
  EXPECT_EQ(SkinClientRect(ImgRect{100, 200, 400, 500}, s), (ImgRect{106, 250, 395, 496}));
  // The client size under the frame and the outer size for a client size agree.
  const TSize2 outer = SkinnedWindowSize(533, 456, s);
  const ImgRect c = SkinClientRect(ImgRect{0, 0, outer.Width, outer.Height}, s);
  EXPECT_EQ(c.Width(), 533);
  EXPECT_EQ(c.Height(), 456);
  // A window smaller than its frame: an empty client area, not an inverted one.
  const ImgRect tiny = SkinClientRect(ImgRect{10, 10, 15, 20}, s);
  EXPECT_FALSE(tiny.Inverted());
  EXPECT_TRUE(tiny.Empty());
}

TEST(ClientRect, DetachGivesTheNativeClientSizeBackWithoutTheMenuBand) {
  const TFrameSizes s{6, 30, 5, 4, 0};
  const TSize2 skinned = SkinnedWindowSize(533, 456, s);
  // Native frame 8 x 27 (borders and caption): the native window around the same client.
  EXPECT_EQ(NativeWindowSize(skinned.Width, skinned.Height, 8, 27, s), (TSize2{541, 483}));
  // A menu band is left in the height: the native menu bar takes its place.
  const TFrameSizes withMenu{6, 30, 5, 4, 19};
  const TSize2 menuSkinned = SkinnedWindowSize(533, 456, withMenu);
  EXPECT_EQ(NativeWindowSize(menuSkinned.Width, menuSkinned.Height, 8, 27, withMenu), (TSize2{541, 502}));
}

TEST(FramePieces, SidesSpanTheHeightBottomAndTopSitBetweenThem) {
  const TFramePieces p = FramePiecesOf(300, 200, TFrameSizes{6, 30, 5, 4, 20});
  EXPECT_EQ(p.Left, (ImgRect{0, 0, 6, 200}));
  EXPECT_EQ(p.Right, (ImgRect{295, 0, 300, 200}));
  EXPECT_EQ(p.Bottom, (ImgRect{6, 196, 295, 200}));
  EXPECT_EQ(p.Top, (ImgRect{6, 0, 295, 30}));
  EXPECT_EQ(p.MenuBand, (ImgRect{6, 30, 295, 50}));
  EXPECT_EQ(p.Client, (ImgRect{6, 50, 295, 196}));
}

TEST(HitTest, BordersAndClientKeepThePreviousAnswerTheCaptionBandBecomesCaption) {
  const TFrameSizes s{6, 30, 5, 4, 0};
  EXPECT_EQ(SkinHitTest(kHitLeft, 2, 100, s), kHitLeft);
  EXPECT_EQ(SkinHitTest(kHitClient, 50, 60, s), kHitClient);
  EXPECT_EQ(SkinHitTest(kHitTop, 50, 1, s), kHitTop);
  EXPECT_EQ(SkinHitTest(kHitNowhere, 50, 10, s), kHitCaption);
  EXPECT_EQ(SkinHitTest(kHitCaption, 50, 29, s), kHitCaption);
  // The top three pixels of a fixed frame stay what they were.
  EXPECT_EQ(SkinHitTest(kHitNowhere, 50, 3, s), kHitNowhere);
  // Below the caption a menu band answers menu; without one it stays caption.
  EXPECT_EQ(SkinHitTest(kHitNowhere, 50, 35, TFrameSizes{6, 30, 5, 4, 20}), kHitMenu);
  EXPECT_EQ(SkinHitTest(kHitNowhere, 50, 35, s), kHitCaption);
}

TEST(BorderFrame, ActiveOrSingleFrameStripsUseFrameOneInactiveFrameTwo) {
  EXPECT_EQ(PickBorderFrame(true, 2), 1);
  EXPECT_EQ(PickBorderFrame(false, 2), 2);
  EXPECT_EQ(PickBorderFrame(false, 1), 1);
  EXPECT_EQ(PickBorderFrame(false, 0), 1);
}
