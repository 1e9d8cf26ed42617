// Tab-strip geometry, natively: the strip mapping is checked against the
// real turning routines, so a tab lands where the window has it and a box
// recorded for a click lies exactly where its pixels show.
#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
