// Graphics objects (Windows).
//
// Classes and functions in this file:
//   ColorToRGB              resolves system colours (0xFF0000kk) to RGB
//   TFont, TBrush, TPen     GDI objects made on demand from published settings
//   TCanvas                 drawing on a device context with a font, brush and pen
//   TBitmap                 32-bit top-down DIB section with its own memory DC;
//                           Pixels() is BGRA memory the portable image routines can
//                           work on directly (call GdiFlush() between GDI and them)
#pragma once

#include <windows.h>

#include <functional>

#include "gui/Colours.h"
#include "gui/Core.h"

COLORREF ColorToRGB(TColor colour);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
extern const TEnumInfo kFontStyleInfo;
enum TBrushStyle { bsSolid, bsClear };
extern const TEnumInfo kBrushStyleInfo;
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
extern const TEnumInfo kPenStyleInfo;

constexpr int DEFAULT_CHARSET_VALUE = DEFAULT_CHARSET;
constexpr int GB2312_CHARSET_VALUE = GB2312_CHARSET;  // 134

class TGraphicsObject : public TPersistent {
  TW_DECLARE_CLASS(TGraphicsObject, TPersistent)
 public:
  std::function<void()> OnChange;

 protected:
  void Changed();
};

class TFont : public TGraphicsObject {
  TW_DECLARE_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;
  void Assign(const TPersistent* source) override;

  const std::wstring& Name() const { return FName; }
  void SetName(const std::wstring& n);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return FHeight; }
  void SetHeight(int h);
  // Points at 96 pixels per inch (Height = -Size * 96 / 72).
  int Size() const;
  void SetSize(int points);
  int Charset() const { return FCharset; }
  void SetCharset(int c);
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  int Style() const { return FStyle; }  // set of TFontStyle bits
  void SetStyle(int s);
  // Pixel height used for layout: |Height| for a character height, else Height.
  int PixelHeight() const { return FHeight < 0 ? -FHeight : FHeight; }

  HFONT Handle();

 private:
  void Reset();
  std::wstring FName = L"Tahoma";
  int FHeight = -11;
  int FCharset = DEFAULT_CHARSET;
  TColor FColor = clWindowText;
  int FStyle = 0;
  HFONT FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
  TW_DECLARE_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(const TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle s);
  HBRUSH Handle();

 private:
  void Reset();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};

class TPen : public TGraphicsObject {
  TW_DECLARE_CLASS(TPen, TGraphicsObject)
 public:
  TPen() = default;
  ~TPen() override;
  void Assign(const TPersistent* source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle s);
  HPEN Handle();

 private:
  void Reset();
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  HPEN FHandle = nullptr;
};

class TCanvas : public TPersistent {
  TW_DECLARE_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context drawn on (not owned); selecting objects into it
  // happens on each drawing call, and the originals are put back on release.
  HDC Handle() const { return FDC; }
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FDC != nullptr; }

  TFont* Font() { return &FFont; }
  TBrush* Brush() { return &FBrush; }
  TPen* Pen() { return &FPen; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Text at a point, in Font with a Brush background (none when bsClear).
  void TextOutAt(int x, int y, const std::wstring& text);
  void TextRectAt(const RECT& r, const std::wstring& text, UINT drawTextFlags);
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
  COLORREF Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);
  void CopyFrom(int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop = SRCCOPY);

 private:
  void Select(bool font, bool brush, bool pen);
  void Deselect();
  HDC FDC = nullptr;
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
  TFont FFont;
  TBrush FBrush;
  TPen FPen;
};

class TBitmap : public TPersistent {
  TW_DECLARE_CLASS(TBitmap, TPersistent)
 public:
  TBitmap() = default;
  TBitmap(int width, int height) { SetSize(width, height); }
  ~TBitmap() override;
  void Assign(const TPersistent* source) override;

  // New, zero-filled (transparent black) pixels; 0x0 frees them.
  void SetSize(int width, int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  HBITMAP Handle() const { return FBitmap; }
  // Memory DC with the bitmap selected (created with the bitmap).
  HDC DC() const { return FDC; }
  TCanvas* Canvas() { return &FCanvas; }

  // Top-down BGRA pixels, Width()*4 bytes per row; valid after GdiFlush().
  uint32_t* Pixels() const { return FBits; }
  uint32_t* ScanLine(int y) const { return FBits + static_cast<size_t>(y) * static_cast<size_t>(FWidth); }
  int Stride() const { return FWidth * 4; }

  // Copies the whole bitmap to a DC at (x, y).
  void Draw(HDC target, int x, int y) const;

 private:
  void Free();
  int FWidth = 0, FHeight = 0;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  HDC FDC = nullptr;
  uint32_t* FBits = nullptr;
  TCanvas FCanvas;
};
