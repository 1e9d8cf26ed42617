#include "skin/data/DibSurface.h"

#include <algorithm>

namespace {

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

// ---- moving pixels -----------------------------------------------------------

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

