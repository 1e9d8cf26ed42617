#include "skin/data/Image.h"

#include <algorithm>

bool Image::Resize(int width, int height, uint32_t fill) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      std::size_t(width) * std::size_t(height) > kMaxPixels) {
    Clear();
    return false;
  }
  width_ = width;
  height_ = height;
  pixels_.assign(std::size_t(width) * std::size_t(height), fill);
  return true;
}

void Image::Fill(uint32_t p) { std::fill(pixels_.begin(), pixels_.end(), p); }

void Image::FillRect(ImgRect r, uint32_t p) {
  int l = std::max(r.Left, 0), t = std::max(r.Top, 0);
  int rt = std::min(r.Right, width_), b = std::min(r.Bottom, height_);
  for (int y = t; y < b; ++y) std::fill(Row(y) + l, Row(y) + std::max(l, rt), p);
}

Image Image::Crop(ImgRect r) const {
  int l = std::max(r.Left, 0), t = std::max(r.Top, 0);
  int rt = std::min(r.Right, width_), b = std::min(r.Bottom, height_);
  Image out;
  if (rt <= l || b <= t) return out;
  out.Resize(rt - l, b - t);
  out.bitCount_ = bitCount_;
  for (int y = t; y < b; ++y) std::copy(Row(y) + l, Row(y) + rt, out.Row(y - t));
  return out;
}

void Image::Blit(int x, int y, const Image& src, ImgRect s) {
  // Clip the source part to the source image, then the target to this image.
  if (s.Left < 0) { x -= s.Left; s.Left = 0; }
  if (s.Top < 0) { y -= s.Top; s.Top = 0; }
  s.Right = std::min(s.Right, src.Width());
  s.Bottom = std::min(s.Bottom, src.Height());
  if (x < 0) { s.Left -= x; x = 0; }
  if (y < 0) { s.Top -= y; y = 0; }
  int w = std::min(s.Width(), width_ - x);
  int h = std::min(s.Height(), height_ - y);
  if (w <= 0 || h <= 0) return;
  for (int j = 0; j < h; ++j)
    std::copy(src.Row(s.Top + j) + s.Left, src.Row(s.Top + j) + s.Left + w, Row(y + j) + x);
}
