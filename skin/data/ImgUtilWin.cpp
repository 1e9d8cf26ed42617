#include "skin/data/ImgUtilWin.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

ImgRect ToImgRect(const RECT& r) { return ImgRect{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

uint32_t SystemColour(int index) { return uint32_t(GetSysColor(index)); }

int g_startups = 0;
std::unique_ptr<TBitmap> g_scratch;
std::unique_ptr<std::vector<std::wstring>> g_scratchStrings;

// Draws a composed image: masked when transparent, else copied.
void Put(HDC dc, int x, int y, const Image& piece, bool transparent) {
  if (piece.Empty()) return;
  if (transparent)
    TransparentDraw(dc, RECT{x, y, x + piece.Width(), y + piece.Height()}, piece, kMagenta);
  else
    DrawImage(dc, x, y, piece);
}

}  // namespace

// ---- DibSurface ---------------------------------------------------------------

DibSurface::DibSurface() {
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_) SetStretchBltMode(dc_, COLORONCOLOR);
}

DibSurface::~DibSurface() {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

bool DibSurface::Resize(int width, int height) {
  if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
  oldBitmap_ = nullptr;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
  if (!dc_ || width <= 0 || height <= 0 || width > Image::kMaxSide || height > Image::kMaxSide ||
      std::size_t(width) * std::size_t(height) > Image::kMaxPixels)
    return false;
  BITMAPINFO bi = TopDownInfo(width, height);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_ || !bits) {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
    return false;
  }
  oldBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  std::fill(bits_, bits_ + std::size_t(width) * std::size_t(height), 0u);
  return true;
}

bool DibSurface::Assign(const Image& img) {
  if (!Resize(img.Width(), img.Height())) return false;
  std::copy(img.Pixels(), img.Pixels() + std::size_t(width_) * std::size_t(height_), bits_);
  return true;
}

Image DibSurface::ToImage() const {
  Image img;
  if (!bits_ || !img.Resize(width_, height_)) return img;
  GdiFlush();
  std::copy(bits_, bits_ + std::size_t(width_) * std::size_t(height_), img.Pixels());
  return img;
}

void DibSurface::DrawTo(HDC target, int x, int y) const {
  if (!bits_) return;
  GdiFlush();
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

// ---- start-up and scratch objects --------------------------------------------

void StartupDrawingUtilities() {
  if (g_startups++ > 0) return;
  SetSysColourResolver(SystemColour);
  g_scratch = std::make_unique<TBitmap>(1, 1);
  if (g_scratch->DC()) SetStretchBltMode(g_scratch->DC(), COLORONCOLOR);
  g_scratchStrings = std::make_unique<std::vector<std::wstring>>();
}

void ShutdownDrawingUtilities() {
  if (g_startups <= 0 || --g_startups > 0) return;
  g_scratch.reset();
  g_scratchStrings.reset();
}

TBitmap* ScratchBitmap() { return g_scratch.get(); }
std::vector<std::wstring>* ScratchStrings() { return g_scratchStrings.get(); }

// ---- drawing -------------------------------------------------------------------

void DrawImage(HDC dc, int x, int y, const Image& img) { DrawImage(dc, x, y, img, img.Bounds()); }

void DrawImage(HDC dc, int x, int y, const Image& img, ImgRect src) {
  src.Left = std::max(src.Left, 0);
  src.Top = std::max(src.Top, 0);
  src.Right = std::min(src.Right, img.Width());
  src.Bottom = std::min(src.Bottom, img.Height());
  if (src.Empty()) return;
  // The source offsets of SetDIBitsToDevice count from the bottom for
  // top-down DIBs; a part is cut out first so that only whole images go.
  if (!(src == img.Bounds())) {
    DrawImage(dc, x, y, img.Crop(src));
    return;
  }
  BITMAPINFO bi = TopDownInfo(img.Width(), img.Height());
  SetDIBitsToDevice(dc, x, y, DWORD(img.Width()), DWORD(img.Height()), 0, 0, 0, UINT(img.Height()),
                    img.Pixels(), &bi, DIB_RGB_COLORS);
}

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

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  return DrawTextW(dc, text.c_str(), int(text.size()), &rect, format);
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

Image ImageFromBitmap(HBITMAP bitmap) {
  Image img;
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm) || !img.Resize(bm.bmWidth, bm.bmHeight)) return img;
  if (img.Empty()) return img;
  BITMAPINFO bi = TopDownInfo(bm.bmWidth, bm.bmHeight);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), img.Pixels(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != bm.bmHeight) img.Clear();
  if (bm.bmBitsPixel != 32) img.SetBitCount(24);
  return img;
}

Image CaptureDC(HDC dc, const RECT& rect) {
  DibSurface surface;
  if (!surface.Resize(rect.right - rect.left, rect.bottom - rect.top)) return Image();
  BitBlt(surface.DC(), 0, 0, surface.Width(), surface.Height(), dc, rect.left, rect.top, SRCCOPY);
  return surface.ToImage();
}

void AssignImage(TBitmap& bitmap, const Image& img) {
  bitmap.SetSize(img.Width(), img.Height());
  if (!bitmap.Pixels() || img.Empty()) return;
  GdiFlush();
  std::copy(img.Pixels(), img.Pixels() + std::size_t(img.Width()) * std::size_t(img.Height()), bitmap.Pixels());
}

Image ImageFromBitmap(const TBitmap& bitmap) {
  Image img;
  if (!bitmap.Pixels() || !img.Resize(bitmap.Width(), bitmap.Height())) return img;
  GdiFlush();
  std::copy(bitmap.Pixels(), bitmap.Pixels() + std::size_t(img.Width()) * std::size_t(img.Height()), img.Pixels());
  return img;
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
