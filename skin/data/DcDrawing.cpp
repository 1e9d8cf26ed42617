#include "skin/data/DcDrawing.h"

#include <algorithm>
#include <vector>

#include "skin/data/DibSurface.h"

namespace {

ImgRect ToImgRect(const RECT& r) { return ImgRect{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

// Draws a composed image: masked when transparent, else copied.
void Put(HDC dc, int x, int y, const Image& piece, bool transparent) {
  if (piece.Empty()) return;
  if (transparent)
    TransparentDraw(dc, RECT{x, y, x + piece.Width(), y + piece.Height()}, piece, kMagenta);
  else
    DrawImage(dc, x, y, piece);
}

}  // namespace

void TransparentDraw(HDC dc, const RECT& rect, const Image& img, COLORREF transColour) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  const int w = std::min<int>(rect.right - rect.left, img.Width());
  const int h = std::min<int>(rect.bottom - rect.top, img.Height());
  if (w <= 0 || h <= 0) return;
  DibSurface src;
  if (!src.Resize(w, h)) return;
  for (int y = 0; y < h; ++y) std::copy(img.Row(y), img.Row(y) + w, src.Bits() + std::size_t(y) * std::size_t(w));
  // Monochrome mask: 1 (white) where the image has the transparent colour.
  const int maskStride = ((w + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(std::size_t(maskStride) * std::size_t(h), 0);
  const uint32_t key = PixelFromColour(transColour & 0x00FFFFFF);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (PixelRGB(img.Row(y)[x]) == key) maskBits[std::size_t(y) * std::size_t(maskStride) + std::size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
  HBITMAP mask = CreateBitmap(w, h, 1, 1, maskBits.data());
  if (!mask) return;
  GdiFlush();
  // Where the mask is white keep the destination, elsewhere copy the source.
  MaskBlt(dc, rect.left, rect.top, w, h, src.DC(), 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
  DeleteObject(mask);
}

void DrawFrame(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, bool tile,
               bool transparent, int frameCount, int frameNumber, FrameMargins m) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  Image piece = BuildFrameBitmap(ToImgRect(rect), img, m, verticalStrip, tile, frameCount, frameNumber);
  Put(dc, rect.left, rect.top, piece, transparent);
}

void DrawHorzBar(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, bool transparent,
                 int frameCount, int frameNumber, FrameMargins m) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  Image bar(rect.right - rect.left, rect.bottom - rect.top);
  ::DrawHorzBar(bar, bar.Bounds(), img, verticalStrip, false, frameCount, frameNumber, m);
  Put(dc, rect.left, rect.top, bar, transparent);
}

void DrawThreePart(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, int frameCount,
                   int frameNumber, FrameMargins m) {
  if (rect.right < rect.left || rect.bottom < rect.top || img.Empty()) return;
  // Compose over what the DC shows, so pieces that are not drawn leave it as it is.
  Image piece = CaptureDC(dc, rect);
  if (piece.Empty()) return;
  ::DrawThreePart(piece, piece.Bounds(), img, verticalStrip, frameCount, frameNumber, m);
  DrawImage(dc, rect.left, rect.top, piece);
}

void DrawFrameStretched(HDC dc, const RECT& rect, const Image& img, bool transparent,
                        int frameCount, int frameNumber) {
  if (rect.right < rect.left || rect.bottom < rect.top || img.Empty()) return;
  Image piece(rect.right - rect.left, rect.bottom - rect.top);
  StretchCopy(piece, piece.Bounds(), img, FrameSourceRect(img, false, frameCount, frameNumber));
  Put(dc, rect.left, rect.top, piece, transparent);
}

void DrawFrameCentred(HDC dc, const RECT& rect, const Image& img, bool transparent, int frameCount,
                      int frameNumber) {
  if (rect.right < rect.left || rect.bottom < rect.top) return;
  const ImgRect f = FrameSourceRect(img, false, frameCount, frameNumber);
  Image piece = img.Crop(f);
  const int x = rect.left + (int(rect.right - rect.left) - f.Width()) / 2;
  const int y = rect.top + (int(rect.bottom - rect.top) - f.Height()) / 2;
  Put(dc, x, y, piece, transparent);
}

void GradientFill(HDC dc, const RECT& rect, COLORREF colour1, bool vertical, COLORREF colour2) {
  if (!RectVisible(dc, &rect)) return;
  const uint32_t c1 = ResolveColour(colour1), c2 = ResolveColour(colour2);
  const int64_t n = vertical ? int64_t(rect.bottom) - rect.top : int64_t(rect.right) - rect.left;
  if (n <= 0) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) clip = rect;
  const int64_t origin = vertical ? rect.top : rect.left;
  const int64_t start = std::max<int64_t>(0, (vertical ? clip.top : clip.left) - origin);
  const int64_t stop = std::min<int64_t>(n, (vertical ? clip.bottom : clip.right) - origin);
  if (start >= stop) return;
  std::vector<uint32_t> colours;
  if (n <= kGradientTableLimit) colours = GradientColours(int(n), c1, c2);
  for (int64_t i = start; i < stop; ++i) {
    const uint32_t c = colours.empty() ? GradientColourAt(n, c1, c2, i) : colours[std::size_t(i)];
    HBRUSH brush = CreateSolidBrush(c);
    const LONG at = LONG(origin + i);
    RECT line = vertical ? RECT{rect.left, at, rect.right, at + 1} : RECT{at, rect.top, at + 1, rect.bottom};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
}

void PaintParentBackground(HWND control, HDC dc) {
  HWND parent = GetParent(control);
  if (!parent) return;
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  PaintParentBackground(parent, r, dc);
}

void PaintParentBackground(HWND parent, const RECT& r, HDC dc) {
  if (!parent) return;
  const int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - r.left, origin.y - r.top, nullptr);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  SendMessageW(parent, WM_ERASEBKGND, WPARAM(dc), 0);
  SendMessageW(parent, WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}

void TileDraw(TCanvas* canvas, const RECT& target, const Image& img, ImgRect src) {
  if (!canvas || !canvas->Handle()) return;
  const Image tile = img.Crop(src);
  // The source part as given must lie inside the image; a clipped part would
  // change the repeat distance.
  if (tile.Empty() || tile.Width() != src.Width() || tile.Height() != src.Height()) return;
  HDC dc = canvas->Handle();
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) clip = target;
  auto first = [](LONG from, LONG visible, int step) {
    return visible <= from ? int64_t(from) : int64_t(from) + (int64_t(visible) - from) / step * step;
  };
  const int64_t right = std::min<int64_t>(target.right, clip.right);
  const int64_t bottom = std::min<int64_t>(target.bottom, clip.bottom);
  for (int64_t y = first(target.top, clip.top, tile.Height()); y < bottom; y += tile.Height())
    for (int64_t x = first(target.left, clip.left, tile.Width()); x < right; x += tile.Width())
      DrawImage(dc, int(x), int(y), tile);
}

void DrawHorzBar(TCanvas* canvas, const RECT& rect, const Image& img, bool verticalStrip,
                 bool transparent, int frameCount, int frameNumber, FrameMargins m) {
  if (canvas && canvas->Handle())
    DrawHorzBar(canvas->Handle(), rect, img, verticalStrip, transparent, frameCount, frameNumber, m);
}
