// The frame drawers and fills of the bitmap utilities, onto a device
// context (Windows).
//
// Functions in this file:
//   TransparentDraw            masked copy that keeps the DC under the key colour
//   DrawFrame, DrawHorzBar, DrawThreePart, DrawFrameStretched, DrawFrameCentred
//                              the frame drawers of ImgUtil.h, onto a DC
//   GradientFill               line-by-line gradient limited to the DC's clip box
//   PaintParentBackground      the parent's background under a child window
//   TileDraw, DrawHorzBar      on the library's TCanvas
//
// Composition happens in Image (portable code); these routines move the
// result onto a DC in one transfer.
#pragma once

#include <windows.h>

#include "gui/Graphics.h"
#include "skin/data/ImgUtil.h"

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

// Paints into `dc` what the parent of `control` shows under it (erase, then
// paint message to the parent with the DC, origin moved and clip limited to
// the control's rectangle). Nothing when the control has no parent.
void PaintParentBackground(HWND control, HDC dc);
// The same for a window-less control: `bounds` is its rectangle in the
// client coordinates of `parent`.
void PaintParentBackground(HWND parent, const RECT& bounds, HDC dc);

// TileDraw onto a canvas: copies of `src` repeated from the target's
// top-left corner; the last ones may reach beyond its right and bottom edges.
void TileDraw(TCanvas* canvas, const RECT& target, const Image& img, ImgRect src);
void DrawHorzBar(TCanvas* canvas, const RECT& rect, const Image& img, bool verticalStrip,
                 bool transparent, int frameCount, int frameNumber, FrameMargins m);
