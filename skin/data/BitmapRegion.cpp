#include "skin/data/BitmapRegion.h"

#include <algorithm>
#include <climits>
#include <vector>

HRGN RegionFromBitmap(const Image& img, int xOffset, int yOffset, int blueTolerance,
                      int greenTolerance, int redTolerance, COLORREF keyColour) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  if (!result) return nullptr;
  const std::vector<ImgRect> runs =
      RegionRects(img, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, keyColour);
  constexpr std::size_t kBatch = 2000;
  std::vector<uint8_t> buffer;
  for (std::size_t first = 0; first < runs.size(); first += kBatch) {
    const std::size_t count = std::min(kBatch, runs.size() - first);
    buffer.assign(sizeof(RGNDATAHEADER) + count * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(count);
    data->rdh.nRgnSize = DWORD(count * sizeof(RECT));
    RECT bound{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < count; ++i) {
      const ImgRect& r = runs[first + i];
      rects[i] = RECT{r.Left, r.Top, r.Right, r.Bottom};
      bound.left = std::min<LONG>(bound.left, r.Left);
      bound.top = std::min<LONG>(bound.top, r.Top);
      bound.right = std::max<LONG>(bound.right, r.Right);
      bound.bottom = std::max<LONG>(bound.bottom, r.Bottom);
    }
    data->rdh.rcBound = bound;
    HRGN part = ExtCreateRegion(nullptr, DWORD(buffer.size()), data);
    if (part) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result;
}

