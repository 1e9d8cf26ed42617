// Tab-strip and status-bar geometry, natively: the strip mapping is checked
// against the real turning routines, so a box recorded for a click lies
// exactly where its pixels show.
#include <gtest/gtest.h>

#include "skin/controls/StatusBarGeometry.h"
#include "skin/controls/TabGeometry.h"
#include "skin/data/ImgUtil.h"

namespace {

constexpr uint32_t kMark = 0x123456, kGround = 0x000000;

// What a window of width x height shows when `onStrip` is filled on the
// strip bitmap, the strip is turned upright and copied to its band.
Image ShowStripMark(TabSide side, int width, int height, ImgRect pane, ImgRect onStrip) {
  const ImgRect band = TabStripRect(width, height, pane, side);
  const int length = TabStripLength(band, side);
  const bool lying = side == kTabTop || side == kTabBottom;
  Image strip(length, lying ? band.Height() : band.Width(), kGround);
  strip.FillRect(onStrip, kMark);
  if (side == kTabLeft) RotateLeft(strip);
  if (side == kTabRight) RotateRight(strip);
  Image window(width, height, kGround);
  window.Blit(band.Left, band.Top, strip);
  return window;
}

// The bounding box of the marked pixels.
ImgRect MarkedBox(const Image& img) {
  ImgRect box{img.Width(), img.Height(), 0, 0};
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (PixelRGB(img.Pixel(x, y)) == kMark) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

TEST(TabGeometry, OrientationFromTheStyleBits) {
  EXPECT_EQ(TabOrientation(0x0000), kTabTop);
  EXPECT_EQ(TabOrientation(0x0002), kTabBottom);
  EXPECT_EQ(TabOrientation(0x0080), kTabLeft);
  EXPECT_EQ(TabOrientation(0x0082), kTabRight);
  EXPECT_EQ(TabOrientation(0x50010202), kTabBottom) << "other bits do not count";
}

TEST(TabGeometry, PaneGrowsByFourAndStripTakesTheTabSide) {
  const ImgRect display{4, 26, 196, 116};  // 200 x 120 window, tabs on top
  const ImgRect top = TabPaneRect(display, kTabTop);
  EXPECT_EQ(top, MakeRect(0, 23, 200, 120));
  EXPECT_EQ(TabStripRect(200, 120, top, kTabTop), MakeRect(0, 0, 200, 23));
  const ImgRect bottom = TabPaneRect(MakeRect(4, 4, 196, 94), kTabBottom);
  EXPECT_EQ(bottom, MakeRect(0, 0, 200, 97));
  EXPECT_EQ(TabStripRect(200, 120, bottom, kTabBottom), MakeRect(0, 97, 200, 120));
  const ImgRect left = TabPaneRect(MakeRect(30, 4, 196, 116), kTabLeft);
  EXPECT_EQ(TabStripRect(200, 120, left, kTabLeft), MakeRect(0, 0, 27, 120));
  EXPECT_EQ(TabStripLength(TabStripRect(200, 120, left, kTabLeft), kTabLeft), 120);
  const ImgRect right = TabPaneRect(MakeRect(4, 4, 170, 116), kTabRight);
  EXPECT_EQ(TabStripRect(200, 120, right, kTabRight), MakeRect(173, 0, 200, 120));
}

TEST(TabGeometry, TabsShowWhereTheWindowHasThemOnEverySide) {
  struct Case {
    TabSide side;
    ImgRect display, tab, shown;  // shown: where the drawn tab lands in the window
  } cases[] = {
      {kTabTop, {4, 26, 196, 116}, {2, 2, 60, 22}, {2, 3, 60, 23}},
      {kTabBottom, {4, 4, 196, 94}, {2, 98, 60, 118}, {2, 97, 60, 117}},
      {kTabLeft, {30, 4, 196, 116}, {2, 2, 26, 50}, {2, 2, 26, 50}},
      {kTabRight, {4, 4, 170, 116}, {174, 2, 198, 50}, {174, 1, 198, 49}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.side));
    const ImgRect pane = TabPaneRect(c.display, c.side);
    const int length = TabStripLength(TabStripRect(200, 120, pane, c.side), c.side);
    const ImgRect onStrip = TabToStrip(c.tab, c.side, 200, pane, length);
    EXPECT_EQ(MarkedBox(ShowStripMark(c.side, 200, 120, pane, onStrip)), c.shown);
    // The close box recorded for a click is where its pixels show.
    const ImgRect box = TabCloseBox(onStrip);
    EXPECT_EQ(MarkedBox(ShowStripMark(c.side, 200, 120, pane, box)), StripToWindow(box, c.side, 200, pane, length));
    EXPECT_EQ(StripToWindow(onStrip, c.side, 200, pane, length), c.shown);
  }
}

TEST(TabGeometry, CloseBoxSitsAtTheTabsTopRightAndOnlyItsPixelsHit) {
  EXPECT_EQ(TabCloseBox(MakeRect(10, 3, 70, 23)), MakeRect(62, 5, 68, 11));
  const std::vector<ImgRect> boxes{{}, {62, 5, 68, 11}, {122, 5, 128, 11}};
  EXPECT_EQ(CloseBoxAt(boxes, 62, 5), 1);
  EXPECT_EQ(CloseBoxAt(boxes, 67, 10), 1);
  EXPECT_EQ(CloseBoxAt(boxes, 68, 10), -1) << "right edge is outside";
  EXPECT_EQ(CloseBoxAt(boxes, 125, 7), 2);
  EXPECT_EQ(CloseBoxAt(boxes, 0, 0), -1) << "a tab that was not painted has no box";
}

TEST(StatusBarGeometry, PanelsEdgesGripAndAlignment) {
  EXPECT_EQ(StatusPanelBox(MakeRect(0, 2, 100, 19), false, 400), MakeRect(0, 2, 102, 19));
  EXPECT_EQ(StatusPanelBox(MakeRect(104, 2, 180, 19), true, 400), MakeRect(104, 2, 400, 19))
      << "the last panel reaches the bar's end whatever its width";
  EXPECT_EQ(StatusPanelFrame(kBevelLowered), 1);
  EXPECT_EQ(StatusPanelFrame(kBevelRaised), 2);
  EXPECT_EQ(StatusPanelFrame(kBevelNone), 3);
  EXPECT_EQ(StatusGripRect(400, 20, 12, 12), MakeRect(387, 7, 399, 19));
  EXPECT_EQ(StatusPanelAlign(kStatusRight, true), kStatusLeft);
  EXPECT_EQ(StatusPanelAlign(kStatusLeft, true), kStatusRight);
  EXPECT_EQ(StatusPanelAlign(kStatusCentre, true), kStatusCentre);
  EXPECT_EQ(StatusPanelAlign(kStatusRight, false), kStatusRight);
}

}  // namespace
