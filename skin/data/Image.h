// Portable pixel buffer of the skin engine.
//
// Classes in this file:
//   ImgRect   - integer rectangle, right and bottom exclusive
//   Image     - 32-bit pixel buffer, top-down rows, no padding
//
// Pixel layout: one uint32_t per pixel whose bytes in memory are blue, green,
// red, alpha (the layout of a 32-bit top-down DIB section), i.e. the value
// 0xAARRGGBB. Skin colours use the other order (red in the low byte, value
// 0x00BBGGRR); convert with PixelFromColour / ColourFromPixel. Magenta
// 0xFF00FF reads the same in both.
//
// The alpha byte is carried but never interpreted by the pixel routines: key
// colours are compared on red, green and blue only. Images that come from
// formats without alpha, or that were made 24-bit, hold 0 there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ImgRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;

  // Differences computed without overflow (saturated to the int range).
  int Width() const { return Span(Left, Right); }
  int Height() const { return Span(Top, Bottom); }
  // True when right < left or bottom < top (the drawing routines then do
  // nothing). A zero-sized rectangle is empty but not inverted.
  bool Inverted() const { return Right < Left || Bottom < Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const ImgRect&) const = default;

private:
  static int Span(int a, int b) {
    const int64_t d = int64_t(b) - int64_t(a);
    return d > INT32_MAX ? INT32_MAX : d < INT32_MIN ? INT32_MIN : int(d);
  }
};

inline ImgRect MakeRect(int left, int top, int right, int bottom) { return ImgRect{left, top, right, bottom}; }

// Skin colour (0x00BBGGRR) to pixel (0x00RRGGBB) and back; the top byte is dropped.
constexpr uint32_t PixelFromColour(uint32_t c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr uint32_t ColourFromPixel(uint32_t p) {
  return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
constexpr uint32_t PixelRGB(uint32_t p) { return p & 0x00FFFFFFu; }
constexpr uint32_t MakePixel(int r, int g, int b) {
  return (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(b & 0xFF);
}
constexpr int PixelR(uint32_t p) { return int((p >> 16) & 0xFF); }
constexpr int PixelG(uint32_t p) { return int((p >> 8) & 0xFF); }
constexpr int PixelB(uint32_t p) { return int(p & 0xFF); }

class Image {
public:
  // Largest side accepted by Resize and by the BMP reader.
  static constexpr int kMaxSide = 16384;
  // Largest pixel count (64 MiB of pixels); real skin images are far smaller.
  static constexpr std::size_t kMaxPixels = std::size_t(16) * 1024 * 1024;

  // Construction
  Image() = default;
  // A w x h image filled with `fill`; sizes outside the bounds give an empty image.
  Image(int width, int height, uint32_t fill = 0) { Resize(width, height, fill); }

  // Attributes
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  ImgRect Bounds() const { return ImgRect{0, 0, width_, height_}; }
  // Pixel format tag: 24 or 32. Decides what EncodeBmp writes by default and
  // what CopyBitmap carries over; 24-bit images keep 0 in the alpha byte.
  int BitCount() const { return bitCount_; }
  void SetBitCount(int bits) { bitCount_ = bits == 24 ? 24 : 32; }

  uint32_t* Pixels() { return pixels_.data(); }
  const uint32_t* Pixels() const { return pixels_.data(); }
  uint32_t* Row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
  const uint32_t* Row(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Checked accessors: reads outside give 0, writes outside are ignored.
  uint32_t Pixel(int x, int y) const { return Contains(x, y) ? Row(y)[x] : 0u; }
  void SetPixel(int x, int y, uint32_t p) {
    if (Contains(x, y)) Row(y)[x] = p;
  }

  // Operations
  // Sets the size (contents become `fill`); false and empty when the size is
  // negative or beyond kMaxSide / kMaxPixels.
  bool Resize(int width, int height, uint32_t fill = 0);
  void Clear() {
    pixels_.clear();
    width_ = height_ = 0;
  }
  void Fill(uint32_t p);
  void FillRect(ImgRect r, uint32_t p);  // clipped to the image
  // The part `r` of this image as a new image (clipped to the image).
  Image Crop(ImgRect r) const;
  // Plain copy of `src` part `srcRect` to (x, y), clipped on both sides.
  void Blit(int x, int y, const Image& src, ImgRect srcRect);
  void Blit(int x, int y, const Image& src) { Blit(x, y, src, src.Bounds()); }

  bool operator==(const Image& o) const {
    return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
  }

private:
  int width_ = 0, height_ = 0;
  int bitCount_ = 32;
  std::vector<uint32_t> pixels_;
};
