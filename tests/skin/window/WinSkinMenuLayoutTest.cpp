// Menu-bar rules without windows: where the buttons sit, which one a point
// or an access key names, and where the arrow keys lead from an open
// drop-down.
#include "skin/window/MenuBarLayout.h"

#include <gtest/gtest.h>

namespace {

TMenuBarEntry Entry(int textWidth, bool visible = true, bool empty = false) {
  TMenuBarEntry e;
  e.TextWidth = textWidth;
  e.Visible = visible;
  e.EmptyCaption = empty;
  return e;
}

TEST(MenuBarLayout, ButtonsRunFromTheStartSkippingHiddenItemsAndEmptyCaptionsTakeNoRoom) {
  // A window 300 wide with borders 4 and 5, caption 24, band 19.
  const ImgRect band = MenuBandRect(300, 4, 24, 5, 19);
  EXPECT_EQ(band, (ImgRect{4, 24, 295, 43}));
  const int start = MenuBarStart(true, 3, 9, false, band.Width());
  ASSERT_EQ(start, 7);
  const auto rects = LayoutMenuBar({Entry(20), Entry(30, false), Entry(0, true, true), Entry(14)}, band, start, false);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0], (ImgRect{11, 24, 41, 42})) << "start + band left, text + 10, band height less one row";
  EXPECT_TRUE(rects[1].Empty());
  EXPECT_EQ(rects[2].Width(), 0);
  EXPECT_EQ(rects[3], (ImgRect{41, 24, 65, 42}));

  // Right to left: from the band's right edge less the start (right margin + 8).
  const int rtlStart = MenuBarStart(true, 3, 9, true, band.Width());
  ASSERT_EQ(rtlStart, 17);
  const auto rtl = LayoutMenuBar({Entry(20), Entry(14)}, band, rtlStart, true);
  EXPECT_EQ(rtl[0], (ImgRect{4 + 274 - 30, 24, 4 + 274, 42}));
  EXPECT_EQ(rtl[1], (ImgRect{4 + 274 - 54, 24, 4 + 274 - 30, 42}));

  // Without a MenuBar element the captions start at 6; a band narrower than
  // the element's start starts at 12.
  EXPECT_EQ(MenuBarStart(false, 50, 50, false, 10), 6);
  EXPECT_EQ(MenuBarStart(true, 50, 0, false, 40), 12);
}

TEST(MenuBarLayout, HitTestSkipsEmptyCaptionsAndHiddenButtonsAndExcludesTheRightEdge) {
  const std::vector<TMenuBarEntry> entries = {Entry(20), Entry(0, true, true), Entry(10, false), Entry(14)};
  const std::vector<ImgRect> rects = {{10, 20, 40, 38}, {40, 20, 40, 38}, {40, 20, 60, 38}, {40, 20, 64, 38}};
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 10, 20), 0);
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 39, 37), 0);
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 40, 25), 3) << "neither the empty nor the hidden button is hit";
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 64, 25), -1);
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 20, 38), -1);
  EXPECT_EQ(MenuBarButtonAt(rects, entries, 9, 25), -1);
}

TEST(MenuBarKeys, AccessKeyFindsTheFirstVisibleEnabledMatchInAnyCase) {
  EXPECT_EQ(MenuAccessKey(L"&File"), L'F');
  EXPECT_EQ(MenuAccessKey(L"Save && &quit"), L'Q') << "&& is a literal ampersand";
  EXPECT_EQ(MenuAccessKey(L"Plain"), 0);
  EXPECT_EQ(MenuAccessKey(L"Trailing&"), 0);
  const std::vector<TMenuBarKeyEntry> bar = {
      {L"&File", true, true}, {L"&Edit", true, false}, {L"&Edit again", true, true}, {L"&View", false, true},
      {L"Vie&w", true, true}};
  EXPECT_EQ(MenuBarButtonByKey(bar, L'f'), 0);
  EXPECT_EQ(MenuBarButtonByKey(bar, L'E'), 2) << "a disabled button is skipped";
  EXPECT_EQ(MenuBarButtonByKey(bar, L'v'), -1) << "a hidden button is skipped";
  EXPECT_EQ(MenuBarButtonByKey(bar, L'w'), 4);
  EXPECT_EQ(MenuBarButtonByKey(bar, 0), -1);
}

TEST(MenuBarKeys, ArrowKeysWrapBetweenNeighboursUnlessTheOpenMenuTakesThem) {
  using K = TArrowKey;
  // Nothing selected yet: both keys move, wrapping at the ends.
  EXPECT_EQ(MenuBarArrowTarget(K::Left, 0, 3, false, false, false, false), 2);
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 2, 3, false, false, false, false), 0);
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 0, 3, false, true, false, false), 1);
  // Left inside a nested submenu closes that submenu; Right on an item with
  // a submenu opens it: the menu keeps both keys.
  EXPECT_EQ(MenuBarArrowTarget(K::Left, 1, 3, true, true, false, false), -1);
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 1, 3, false, true, true, false), -1);
  // Right on a plain item of a nested submenu still moves on.
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 1, 3, true, true, false, false), 2);
  // Right to left: the keys swap.
  EXPECT_EQ(MenuBarArrowTarget(K::Left, 2, 3, false, false, false, true), 0);
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 0, 3, false, false, false, true), 2);
  // A single button has no neighbour other than itself; nothing is open.
  EXPECT_EQ(MenuBarArrowTarget(K::Right, 0, 1, false, false, false, false), 0);
  EXPECT_EQ(MenuBarArrowTarget(K::Right, -1, 3, false, false, false, false), -1);
}

}  // namespace
