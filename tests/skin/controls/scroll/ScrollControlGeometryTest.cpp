// The thumb of a scroll-bar control worked out from its range alone (used
// when the control cannot report its thumb), and the skin's bar thickness.
#include "skin/controls/SkinScrollBarLayout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kL = 200, kA = 17;

TEST(ControlBarThumb, FollowsThePositionBetweenTheArrows) {
  // At the minimum the thumb lies against the first arrow, whatever the page.
  EXPECT_EQ(ControlBarThumb(kL, kA, {0, 100, 0, 0}).Start, kA);
  EXPECT_EQ(ControlBarThumb(kL, kA, {-50, 50, 20, -50}).Start, kA);
  // Without a page the thumb is one arrow long and reaches the second arrow
  // at the maximum.
  const ThumbSpan last = ControlBarThumb(kL, kA, {0, 100, 0, 100});
  EXPECT_EQ(last.End - last.Start, kA);
  EXPECT_EQ(last.End, kL - kA);
  // With a page its length is the page's share of the track, and moving the
  // position moves it forward without changing its length.
  const ThumbSpan half = ControlBarThumb(kL, kA, {0, 100, 51, 0});
  EXPECT_EQ(half.End - half.Start, (kL - 2 * kA) / 2);
  const ThumbSpan moved = ControlBarThumb(kL, kA, {0, 100, 51, 40});
  EXPECT_EQ(moved.End - moved.Start, half.End - half.Start);
  EXPECT_GT(moved.Start, half.Start);
  EXPECT_LT(moved.End, kL - kA);
}

TEST(ControlBarThumb, TinyPageGetsAnEightPixelThumbAndEqualRangeEndsDoNotDivideByZero) {
  const ThumbSpan tiny = ControlBarThumb(kL, kA, {0, 100000, 2, 50000});
  EXPECT_EQ(tiny.End - tiny.Start, 8);
  EXPECT_GT(tiny.Start, kA);
  EXPECT_LE(tiny.End, kL - kA);
  const ThumbSpan flat = ControlBarThumb(kL, kA, {5, 5, 1, 5});
  EXPECT_EQ(flat.Start, kA);
  EXPECT_GE(flat.End, flat.Start);
}

TEST(ScrollThickness, StripHeightUnlessFarFromTheArrowSize) {
  EXPECT_EQ(ScrollThickness(16, 17), 16);
  EXPECT_EQ(ScrollThickness(19, 17), 19);
  EXPECT_EQ(ScrollThickness(20, 17), 17);
  EXPECT_EQ(ScrollThickness(8, 17), 17);
}

}  // namespace
