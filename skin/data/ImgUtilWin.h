// Bitmap utilities of the skin engine: the device-context routines (Windows).
//
// Classes and functions in this file:
//   DibSurface                 32-bit top-down DIB section with its memory DC
//   StartupDrawingUtilities,   counted start-up / shut-down of the shared
//   ShutdownDrawingUtilities,  scratch bitmap and scratch string list; the
//   ScratchBitmap,             first start-up also installs GetSysColor as the
//   ScratchStrings             resolver of system colours (ImgUtil.h)
//   DrawImage                  opaque copy of an Image to a DC
//   TransparentDraw            masked copy that keeps the DC under the key colour
//   DrawFrame, DrawHorzBar, DrawThreePart, DrawFrameStretched, DrawFrameCentred
//                              the frame drawers of ImgUtil.h, onto a DC
//   GradientFill               line-by-line gradient limited to the DC's clip box
//   RegionFromBitmap           region of the non-key pixels, merged 2000
//                              rectangles at a time
//   PaintParentBackground      the parent's background under a child window
//   DrawTextWide, AnsiToWide   text helpers
//   ImageFromBitmap, CaptureDC pixels back from GDI objects
//   AssignImage                Image -> the library's TBitmap
//   TileDraw, DrawHorzBar      on the library's TCanvas
//
// Composition happens in Image (portable code); these routines move the
// result onto a DC in one transfer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui/Graphics.h"
#include "skin/data/ImgUtil.h"

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

void StartupDrawingUtilities();
void ShutdownDrawingUtilities();
// The shared off-screen surface (its DC in stretch mode colour-on-colour when
// created; set it again after SetSize if StretchBlt is used on it); null
// before the first start-up and after the last shut-down.
TBitmap* ScratchBitmap();
std::vector<std::wstring>* ScratchStrings();

// Opaque copy of the image (or its part `src`) with its top-left at (x, y).
void DrawImage(HDC dc, int x, int y, const Image& img);
void DrawImage(HDC dc, int x, int y, const Image& img, ImgRect src);

// The image's top-left part of the rectangle's size drawn at the rectangle;
// the DC stays unchanged where the image has `transColour` (a skin colour).
void TransparentDraw(HDC dc, const RECT& rect, const Image& img, COLORREF transColour);

void DrawFrame(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, bool tile,
               bool transparent, int frameCount, int frameNumber, FrameMargins m);
void DrawHorzBar(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, bool transparent,
                 int frameCount, int frameNumber, FrameMargins m);
void DrawThreePart(HDC dc, const RECT& rect, const Image& img, bool verticalStrip, int frameCount,
                   int frameNumber, FrameMargins m);
void DrawFrameStretched(HDC dc, const RECT& rect, const Image& img, bool transparent,
                        int frameCount, int frameNumber);
void DrawFrameCentred(HDC dc, const RECT& rect, const Image& img, bool transparent, int frameCount,
                      int frameNumber);

// Gradient from colour1 (top/left) to colour2 (bottom/right), one line of one
// pixel per step; only the lines inside the DC's clip box are drawn, with the
// colours they have in the whole gradient. System colours are resolved.
void GradientFill(HDC dc, const RECT& rect, COLORREF colour1, bool vertical, COLORREF colour2);

// Union of the pixels outside the key range (see RegionRects), shifted by the
// offsets. The caller owns the region; it is empty when no pixel is outside.
HRGN RegionFromBitmap(const Image& img, int xOffset, int yOffset, int blueTolerance,
                      int greenTolerance, int redTolerance, COLORREF keyColour);

// Paints into `dc` what the parent of `control` shows under it (erase, then
// paint message to the parent with the DC, origin moved and clip limited to
// the control's rectangle). Nothing when the control has no parent.
void PaintParentBackground(HWND control, HDC dc);
// The same for a window-less control: `bounds` is its rectangle in the
// client coordinates of `parent`.
void PaintParentBackground(HWND parent, const RECT& bounds, HDC dc);

// DrawTextW with the text's length; returns the height of the text.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);
// Text in the system ANSI code page to UTF-16.
std::wstring AnsiToWide(const std::string& text);

// The library's bitmap: resized to the image and given its pixels.
void AssignImage(TBitmap& bitmap, const Image& img);
Image ImageFromBitmap(const TBitmap& bitmap);
// TileDraw onto a canvas: copies of `src` repeated from the target's
// top-left corner; the last ones may reach beyond its right and bottom edges.
void TileDraw(TCanvas* canvas, const RECT& target, const Image& img, ImgRect src);
void DrawHorzBar(TCanvas* canvas, const RECT& rect, const Image& img, bool verticalStrip,
                 bool transparent, int frameCount, int frameNumber, FrameMargins m);

// Pixels of a bitmap (any format GDI can convert) as a 32-bit Image.
Image ImageFromBitmap(HBITMAP bitmap);
// Copy of a DC's pixels in `rect` (logical coordinates).
Image CaptureDC(HDC dc, const RECT& rect);
