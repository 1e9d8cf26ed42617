#include "skin/controls/TabGeometry.h"

TabSide TabOrientation(uint32_t style) {
  const bool bottom = (style & 0x2u) != 0, vertical = (style & 0x80u) != 0;
  if (vertical) return bottom ? kTabRight : kTabLeft;
  return bottom ? kTabBottom : kTabTop;
}

ImgRect TabPaneRect(ImgRect display, TabSide side) {
  ImgRect p{display.Left - 4, display.Top - 4, display.Right + 4, display.Bottom + 4};
  switch (side) {
    case kTabTop: ++p.Top; break;
    case kTabBottom: --p.Bottom; break;
    case kTabLeft: ++p.Left; break;
    case kTabRight: --p.Right; break;
  }
  return p;
}

ImgRect TabStripRect(int width, int height, ImgRect pane, TabSide side) {
  switch (side) {
    case kTabBottom: return {0, pane.Bottom, width, height};
    case kTabLeft: return {0, 0, pane.Left, height};
    case kTabRight: return {pane.Right, 0, width, height};
    case kTabTop: break;
  }
  return {0, 0, width, pane.Top};
}

int TabStripLength(ImgRect strip, TabSide side) {
  return side == kTabLeft || side == kTabRight ? strip.Height() : strip.Width();
}

ImgRect TabToStrip(ImgRect r, TabSide side, int width, ImgRect pane, int length) {
  switch (side) {
    case kTabBottom: {
      const int dy = pane.Bottom + 1;
      return {r.Left, r.Top - dy, r.Right, r.Bottom - dy};
    }
    case kTabLeft: return {length - r.Bottom, r.Left, length - r.Top, r.Right};
    case kTabRight: return {r.Top - 1, width - r.Right, r.Bottom - 1, width - r.Left};
    case kTabTop: break;
  }
  return {r.Left, r.Top + 1, r.Right, r.Bottom + 1};
}

ImgRect StripToWindow(ImgRect b, TabSide side, int width, ImgRect pane, int length) {
  switch (side) {
    case kTabBottom: return {b.Left, b.Top + pane.Bottom, b.Right, b.Bottom + pane.Bottom};
    case kTabLeft: return {b.Top, length - b.Right, b.Bottom, length - b.Left};
    case kTabRight: return {width - b.Bottom, b.Left, width - b.Top, b.Right};
    case kTabTop: break;
  }
  return b;
}

ImgRect TabCloseBox(ImgRect tab) { return {tab.Right - 8, tab.Top + 2, tab.Right - 2, tab.Top + 8}; }

int CloseBoxAt(const std::vector<ImgRect>& boxes, int x, int y) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    const ImgRect& b = boxes[i];
    if (!b.Empty() && x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return int(i);
  }
  return -1;
}
