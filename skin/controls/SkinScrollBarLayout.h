// Scroll-bar geometry and the skinned bar's picture (portable).
//
// Functions in this file:
//   ScrollArrowLength  length of each arrow (two half-length arrows on a short bar)
//   ScrollHitTest      part of the bar under a point along its axis
//   DragThumb          thumb extent while a press on the thumb is being dragged
//   ScrollCornerRect   the square between a vertical and a horizontal bar
//   ScrollThickness    the bar's thickness as the skin draws it
//   ControlBarThumb    thumb of a scroll-bar control from its range, when the
//                      control cannot report it itself
//   ComposeScrollBar   the whole bar (track, arrows, thumb and grip) as an image
//
// Coordinates along the axis run from 0 (top or left end of the bar) to the
// bar's length; across it from 0 to its thickness.
#pragma once

#include <cstdint>

#include "skin/data/Image.h"
#include "skin/data/WinSkinData.h"

// Parts of a bar. The first five equal the scroll codes SB_LINEUP,
// SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN and SB_THUMBTRACK, so the code of a
// scroll notification names the part being scrolled.
enum ScrollPart : int {
  kScrollNone = -1,
  kScrollFirstArrow = 0,
  kScrollSecondArrow = 1,
  kScrollPageBefore = 2,
  kScrollPageAfter = 3,
  kScrollThumb = 5,
};

// Extent of the thumb along the axis, end exclusive.
struct ThumbSpan {
  int Start = 0, End = 0;
  bool operator==(const ThumbSpan&) const = default;
};

// What the native bar reports, in bar coordinates.
struct ScrollBarGeometry {
  bool Vertical = true;
  int Length = 0;  // along the axis
  int Cross = 0;   // across it
  int Arrow = 17;  // the platform's arrow size (SM_CXHSCROLL)
  ThumbSpan Thumb;
  bool Enabled = true;
};

// The arrow size, or half the bar (truncating) when the bar is shorter than
// two arrows; never negative.
int ScrollArrowLength(int length, int arrow);

// The part at position p along the axis. Arrows are as long as
// ScrollArrowLength says, so on a short bar each half is its own arrow.
ScrollPart ScrollHitTest(const ScrollBarGeometry& g, int p);

// Thumb extent while dragging: the thumb pressed at `pressed` follows the
// cursor (pressCursor -> cursor, along the axis) keeping the size of
// `current` (the thumb the native bar reports now), never entering the arrows.
ThumbSpan DragThumb(int length, int arrow, ThumbSpan pressed, ThumbSpan current, int pressCursor,
                    int cursor);

// Square between a vertical bar and a horizontal bar given in one coordinate
// system; empty when the two do not meet in a corner.
ImgRect ScrollCornerRect(ImgRect vertical, ImgRect horizontal);

// The strip's height, or the platform's arrow size when the two differ by
// more than 2 pixels.
int ScrollThickness(int stripHeight, int arrow);

// Range of a scroll-bar control as its scroll information gives it.
struct ScrollRange {
  int Min = 0, Max = 0, Page = 0, Pos = 0;
};

// Thumb of a scroll-bar control `length` long with arrows of `arrow` from its
// range alone: proportional to the page (at least 8 pixels) or one arrow long
// without a page; a position at the minimum puts it against the first arrow.
ThumbSpan ControlBarThumb(int length, int arrow, const ScrollRange& r);

// The skin objects of a bar. Arrows (the 23-frame Scrollbar strip) is
// required; a missing track leaves the face colour, a missing thumb object
// draws the grip frame stretched over the thumb.
struct ScrollBarLook {
  const TDataSkinObject* Arrows = nullptr;
  const TDataSkinObject* Track = nullptr;  // HorzScroll / VertScroll, 4 frames
  const TDataSkinObject* Thumb = nullptr;  // HorzScrollThumb / VertScrollThumb
  uint32_t Face = 0;                      // skin colour (0x00BBGGRR) of the background
};

struct ScrollBarFeedback {
  int HotPart = kScrollNone;  // ScrollPart under the mouse or being scrolled
  bool Tracking = false;      // a press is being handed to the native bar
};

// The bar of g.Length x g.Cross (width x height for a horizontal bar, the
// other way round for a vertical one) drawn from the skin; an empty image when
// the look has no Scrollbar image or the size is not positive. The thumb is
// g.Thumb (the caller passes DragThumb's result while dragging); it is drawn
// only on an enabled bar and only when it lies inside the bar.
Image ComposeScrollBar(const ScrollBarGeometry& g, const ScrollBarLook& look, ScrollBarFeedback f);
