// Geometry of the skinned tab strip (portable).
//
// Functions in this file:
//   TabOrientation      the side the tabs sit on, from the tab window's style
//   TabPaneRect         the page frame's rectangle from the display area
//   TabStripRect        the band the tabs are drawn in
//   TabStripLength      length of the strip bitmap (composed lying down)
//   TabToStrip          a tab's window rectangle in strip coordinates
//   StripToWindow       a strip rectangle back in window coordinates
//   TabCloseBox         the close box of a tab (strip coordinates)
//   CloseBoxAt          the tab whose close box holds a point
//
// The strip of left and right tabs is composed lying down (as top tabs are)
// and turned upright afterwards: left tabs with a counter-clockwise turn,
// right tabs with a clockwise one. TabToStrip and StripToWindow are inverse
// to each other across that turn.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/Image.h"

enum TabSide : uint8_t { kTabTop = 0, kTabBottom = 1, kTabLeft = 2, kTabRight = 3 };

// TCS_BOTTOM (2) alone: bottom; TCS_VERTICAL (0x80) alone: left; both: right.
TabSide TabOrientation(uint32_t style);

// The display area (the tab window's TCM_ADJUSTRECT answer) grown by 4, its
// tab-side edge moved one pixel toward the page.
ImgRect TabPaneRect(ImgRect display, TabSide side);

// The band between the window's tab-side edge and the pane, in a window of
// width x height.
ImgRect TabStripRect(int width, int height, ImgRect pane, TabSide side);

// Length of the strip bitmap: the strip's width for top and bottom tabs, its
// height for left and right ones. Its thickness is the other side.
int TabStripLength(ImgRect strip, TabSide side);

// A tab's rectangle (window coordinates) in strip coordinates. `width` is the
// window's width, `length` the strip's length.
ImgRect TabToStrip(ImgRect tab, TabSide side, int width, ImgRect pane, int length);
// A rectangle drawn on the strip, where it shows in the window once the strip
// is turned upright and copied to its band.
ImgRect StripToWindow(ImgRect r, TabSide side, int width, ImgRect pane, int length);

// The close box of a tab drawn at `tab` (strip coordinates): 6 x 6, 2 pixels
// in from the tab's right and top edges.
ImgRect TabCloseBox(ImgRect tab);

// Index of the first box holding (x, y); empty boxes never do; -1 for none.
int CloseBoxAt(const std::vector<ImgRect>& boxes, int x, int y);
