// Off-screen 32-bit DIB surfaces and moving pixels between Image and GDI
// (Windows).
//
// Classes and functions in this file:
//   DibSurface                 32-bit top-down DIB section with its memory DC
//   DrawImage                  opaque copy of an Image to a DC
//   ImageFromBitmap, CaptureDC pixels back from GDI objects
//   AssignImage                Image -> the library's TBitmap
#pragma once

#include <windows.h>

#include <cstdint>

#include "gui/Graphics.h"
#include "skin/data/Image.h"

class DibSurface {
public:
  // Construction
  DibSurface();
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // Attributes
  HDC DC() const { return dc_; }
  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Pixel rows (top-down, 0xAARRGGBB); call GdiFlush() after GDI drawing
  // before reading them.
  uint32_t* Bits() const { return bits_; }

  // Operations
  // New contents of the given size, all zero. False (and size 0) on failure
  // or for sizes outside Image's bounds.
  bool Resize(int width, int height);
  // Resizes to the image and copies it in.
  bool Assign(const Image& img);
  Image ToImage() const;
  void DrawTo(HDC target, int x, int y) const;

private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Opaque copy of the image (or its part `src`) with its top-left at (x, y).
void DrawImage(HDC dc, int x, int y, const Image& img);
void DrawImage(HDC dc, int x, int y, const Image& img, ImgRect src);

// The library's bitmap: resized to the image and given its pixels.
void AssignImage(TBitmap& bitmap, const Image& img);
Image ImageFromBitmap(const TBitmap& bitmap);
// Pixels of a bitmap (any format GDI can convert) as a 32-bit Image.
Image ImageFromBitmap(HBITMAP bitmap);
// Copy of a DC's pixels in `rect` (logical coordinates).
Image CaptureDC(HDC dc, const RECT& rect);
