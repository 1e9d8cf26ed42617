// Docking arithmetic.
#include <gtest/gtest.h>

#include "gui/Layout.h"

namespace {
TLayoutItem Item(TAlign a, int l, int t, int w, int h) { return TLayoutItem{a, l, t, w, h}; }
std::string Str(const TLayoutItem& i) {
  return std::to_string(i.left) + "," + std::to_string(i.top) + " " + std::to_string(i.width) + "x" +
         std::to_string(i.height);
}
}  // namespace

TEST(AlignLayout, TopBlocksStackByTheirTopAndClientTakesTheRest) {
  // Listed out of order: stacking follows the stored tops.
  std::vector<TLayoutItem> items = {
      Item(alTop, 0, 345, 533, 64), Item(alTop, 0, 0, 533, 161), Item(alTop, 0, 297, 533, 48),
      Item(alTop, 0, 161, 533, 136), Item(alNone, 218, 416, 97, 33), Item(alClient, 5, 5, 1, 1),
  };
  AlignLayout(TLayoutRect{0, 0, 533, 456}, items);
  EXPECT_EQ(Str(items[1]), "0,0 533x161");
  EXPECT_EQ(Str(items[3]), "0,161 533x136");
  EXPECT_EQ(Str(items[2]), "0,297 533x48");
  EXPECT_EQ(Str(items[0]), "0,345 533x64");
  EXPECT_EQ(Str(items[4]), "218,416 97x33");  // not docked: untouched
  EXPECT_EQ(Str(items[5]), "0,409 533x47");
}

TEST(AlignLayout, BottomLeftRightAndClientShareWhatIsLeft) {
  // A group box's inner rectangle with a client list over a bottom button strip.
  std::vector<TLayoutItem> items = {Item(alClient, 0, 0, 10, 10), Item(alBottom, 0, 94, 529, 26)};
  AlignLayout(TLayoutRect{2, 14, 531, 134}, items);
  EXPECT_EQ(Str(items[1]), "2,108 529x26");
  EXPECT_EQ(Str(items[0]), "2,14 529x94");

  std::vector<TLayoutItem> sides = {Item(alRight, 90, 0, 10, 5), Item(alLeft, 0, 0, 20, 5),
                                    Item(alLeft, 30, 0, 15, 5), Item(alRight, 60, 0, 5, 5),
                                    Item(alClient, 0, 0, 0, 0)};
  AlignLayout(TLayoutRect{0, 0, 100, 50}, sides);
  EXPECT_EQ(Str(sides[1]), "0,0 20x50");
  EXPECT_EQ(Str(sides[2]), "20,0 15x50");
  EXPECT_EQ(Str(sides[0]), "90,0 10x50");  // rightmost first
  EXPECT_EQ(Str(sides[3]), "85,0 5x50");
  EXPECT_EQ(Str(sides[4]), "35,0 50x50");
}

TEST(AlignLayout, OversizedBlocksAreCutAndNothingGoesNegative) {
  std::vector<TLayoutItem> items = {Item(alTop, 0, 0, 0, 80), Item(alTop, 0, 10, 0, 80), Item(alLeft, 0, 0, 500, 0),
                                    Item(alClient, 0, 0, 0, 0)};
  AlignLayout(TLayoutRect{0, 0, 100, 100}, items);
  EXPECT_EQ(Str(items[0]), "0,0 100x80");
  EXPECT_EQ(Str(items[1]), "0,80 100x20");
  EXPECT_EQ(Str(items[2]), "0,100 100x0");
  EXPECT_EQ(Str(items[3]), "100,100 0x0");
  // An inverted client rectangle behaves as an empty one.
  std::vector<TLayoutItem> one = {Item(alClient, 0, 0, 5, 5)};
  AlignLayout(TLayoutRect{10, 10, 0, 0}, one);
  EXPECT_EQ(Str(one[0]), "10,10 0x0");
}
