// Bitmap utilities of the skin engine: the portable pixel routines.
//
// Functions in this file (all stateless except the gradient table cache):
//   colours      ResolveColour, SetSysColourResolver, Blend, Saturation,
//                GradientColours
//   frames       FrameSourceRect, StretchCopy, TileDraw, BuildFrameBitmap,
//                DrawFrame, DrawHorzBar, DrawThreePart, DrawFrameStretched,
//                DrawFrameCentred, TransparentDraw, GradientFillImage
//   transforms   GreyBitmap, ReplaceMagenta, MirrorBitmap, FlipBitmap,
//                RotateLeft, RotateRight, CopyBitmap
//   regions      RegionRects (runs of non-key pixels as rectangles)
//
// Colours are skin colours (0x00BBGGRR, red in the low byte; top byte 0xFF
// names a system colour by its low byte). Images are Image (see Image.h).
// Rectangles are (left, top, right, bottom), right and bottom exclusive.
// Stretching is nearest-pixel ("colour on colour": eliminated pixels are
// dropped, never averaged). Targets are clipped to the target image.
// The device-context forms of these routines are in DcDrawing.h (all of the
// Windows side: ImgUtilWin.h).
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/Image.h"

// Four margins of a skin element: left width, top height, right width,
// bottom height.
struct FrameMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

constexpr uint32_t kMagenta = 0xFF00FF;  // the transparent colour of skin images

// ---- colours ---------------------------------------------------------------

// Returns the current value of a system colour (index = low byte).
using SysColourResolver = uint32_t (*)(int index);
// Installs the resolver (the Windows side installs GetSysColor). Null restores
// the built-in table of the platform's default colours, used by host code.
void SetSysColourResolver(SysColourResolver resolver);
// Plain colour value: system colours resolved, top byte cleared.
uint32_t ResolveColour(uint32_t colour);
constexpr bool IsSysColour(uint32_t colour) { return (colour >> 24) == 0xFF; }

// weight < 100: percent of colour1; 100..1000: per mille of colour1 (150 means
// 15 %). Weights outside 0..1000 are clamped so that every channel stays in
// 0..255. System colours are resolved first; the result has a zero top byte.
uint32_t Blend(uint32_t colour1, uint32_t colour2, int weight);
// S x 255 rounded (S = (max - min) / max) when a channel is 160 or more,
// otherwise 200. System colours are resolved first.
int Saturation(uint32_t colour);
// The count colours from colour1 to colour2 (plain colour values), from the
// 16-slot cache when the same count and ends were asked for recently.
// count <= 0 gives an empty list.
std::vector<uint32_t> GradientColours(int count, uint32_t colour1, uint32_t colour2);
// Entry `index` of the same list, computed alone (for gradients longer than
// kGradientTableLimit lines, whose whole table is not worth building).
uint32_t GradientColourAt(int64_t count, uint32_t colour1, uint32_t colour2, int64_t index);
constexpr int kGradientTableLimit = 65536;

// ---- frames ----------------------------------------------------------------

// Frame k (1-based) of an n-frame strip: horizontal strips are cut into n
// columns, vertical ones into n rows (integer division).
ImgRect FrameSourceRect(const Image& img, bool verticalStrip, int frameCount, int frameNumber);

// Copies src part `s` stretched to target part `d` (nearest pixel). Source
// pixels outside the source image are not drawn. With `transparent`, pixels
// whose colour is `key` (a skin colour) are not drawn.
void StretchCopy(Image& target, ImgRect d, const Image& src, ImgRect s,
                 bool transparent = false, uint32_t key = kMagenta);

// Repeats src part `s` over `d` from its top-left corner; the last copies may
// reach beyond d's right and bottom edges (up to the image's edge). Nothing
// happens when the source part is empty.
void TileDraw(Image& target, ImgRect d, const Image& src, ImgRect s);

// Nine-slice rendering of frame `frameNumber` into a new image of the
// rectangle's size (empty when the rectangle is inverted or empty). Margins
// wider than the target (W < L + R, H < T + B) become 0 in that direction;
// negative margins count as 0.
Image BuildFrameBitmap(ImgRect rect, const Image& img, FrameMargins m, bool verticalStrip,
                       bool tile, int frameCount, int frameNumber);

// BuildFrameBitmap drawn at rect: magenta transparent when `transparent`,
// else opaque.
void DrawFrame(Image& target, ImgRect rect, const Image& img, bool verticalStrip, bool tile,
               bool transparent, int frameCount, int frameNumber, FrameMargins m);
// Bar of three parts: left margin column and right margin column stretched to
// the height, the middle (frame width - L - R) repeated between them.
void DrawHorzBar(Image& target, ImgRect rect, const Image& img, bool verticalStrip,
                 bool transparent, int frameCount, int frameNumber, FrameMargins m);
// Left and right margin columns kept, middle stretched; the whole frame
// stretched when the rectangle is narrower than the frame. Opaque.
void DrawThreePart(Image& target, ImgRect rect, const Image& img, bool verticalStrip,
                   int frameCount, int frameNumber, FrameMargins m);
// Frame of a horizontal strip stretched to the rectangle.
void DrawFrameStretched(Image& target, ImgRect rect, const Image& img, bool transparent,
                        int frameCount, int frameNumber);
// Frame of a horizontal strip unscaled, centred (truncating toward zero).
void DrawFrameCentred(Image& target, ImgRect rect, const Image& img, bool transparent,
                      int frameCount, int frameNumber);
// The image's top-left part of the rectangle's size drawn at the rectangle,
// leaving the target unchanged where the image has `transColour`.
void TransparentDraw(Image& target, ImgRect rect, const Image& img, uint32_t transColour);

// Gradient from colour1 (top or left) to colour2 (bottom or right), one line
// per step, drawing only the lines inside `clip` (and the image) with the
// colours they have in the whole gradient.
void GradientFillImage(Image& target, ImgRect rect, uint32_t colour1, bool vertical,
                       uint32_t colour2, ImgRect clip);
inline void GradientFillImage(Image& target, ImgRect rect, uint32_t colour1, bool vertical,
                              uint32_t colour2) {
  GradientFillImage(target, rect, colour1, vertical, colour2, target.Bounds());
}

// ---- whole-image transforms (in place; results are 24-bit) -----------------

void GreyBitmap(Image& img);                     // r, g, b = (r + g + b) / 3
void ReplaceMagenta(Image& img, uint32_t colour);  // exact 255,0,255 -> colour
void MirrorBitmap(Image& img);                   // each row reversed
void FlipBitmap(Image& img);                     // row order reversed (keeps its format)
void RotateLeft(Image& img);                     // 90 deg counter-clockwise
void RotateRight(Image& img);                    // 90 deg clockwise
void CopyBitmap(const Image& source, Image& target);

// ---- regions ---------------------------------------------------------------

// Runs of pixels outside the key range as one-pixel-high rectangles, row by
// row, shifted by the offsets. The key range is, per channel, from the key
// colour's value to value + tolerance (capped at 255); a pixel is inside when
// all three channels are.
std::vector<ImgRect> RegionRects(const Image& img, int xOffset, int yOffset, int blueTolerance,
                                 int greenTolerance, int redTolerance, uint32_t keyColour);
