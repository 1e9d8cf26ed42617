#include "skin/controls/SkinHeaderLayout.h"

#include <algorithm>

#include "skin/data/ImgUtil.h"

namespace {

constexpr int kHdfRight = 1, kHdfCenter = 2, kHdfJustifyMask = 3;

void DrawItem(Image& out, const TDataSkinObject& bar, ImgRect r, int frame) {
  const FrameMargins m{bar.LeftWidth, bar.TopHeight, bar.RightWidth, bar.BottomHeight};
  const int count = std::max(1, bar.FrameCount);
  DrawFrame(out, r, bar.Bitmap, false, bar.Tile == 1, false, count, frame <= count ? frame : 1, m);
}

}  // namespace

HeaderAlign HeaderTextAlign(int format) {
  switch (format & kHdfJustifyMask) {
    case kHdfRight: return haRight;
    case kHdfCenter: return haCentre;
    default: return haLeft;
  }
}

int HeaderContentX(HeaderAlign align, int itemWidth, int imageWidth, int textWidth) {
  int x = 3;
  if (align == haCentre) x = (itemWidth - imageWidth - textWidth) / 2;
  if (align == haRight) x = itemWidth - imageWidth - textWidth - 2;
  return x < 2 ? 1 : x;
}

ImgRect HeaderHotRect(ImgRect item) {
  return MakeRect(item.Left + 3, item.Top, item.Right - 3, item.Bottom);
}

int HeaderHitTest(const std::vector<ImgRect>& hotRects, int x, int y) {
  for (size_t i = 0; i < hotRects.size(); ++i) {
    const ImgRect& r = hotRects[i];
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return int(i);
  }
  return -1;
}

Image ComposeHeaderBar(const TDataSkinObject& bar, const std::vector<ImgRect>& items, int hot, int width,
                       int height, uint32_t face) {
  if (bar.Bitmap.Empty()) return Image{};
  Image out(width, height, PixelFromColour(ResolveColour(face)));
  if (out.Empty()) return out;
  int right = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    DrawItem(out, bar, items[i], int(i) == hot ? 2 : 1);
    right = std::max(right, items[i].Right);
  }
  if (right < width) DrawItem(out, bar, MakeRect(right, 0, width, height), 1);
  return out;
}
