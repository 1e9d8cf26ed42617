#include "gui/Graphics.h"

#include <cstring>

COLORREF ColorToRGB(TColor colour) {
  if (IsSystemColour(colour)) return GetSysColor(colour & 0xFF);
  if (colour == clNone || colour == clDefault) return 0;
  return static_cast<COLORREF>(colour) & 0xFFFFFF;
}

const TEnumInfo kFontStyleInfo{L"TFontStyle", {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}};
const TEnumInfo kBrushStyleInfo{L"TBrushStyle", {L"bsSolid", L"bsClear"}};
const TEnumInfo kPenStyleInfo{L"TPenStyle", {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear"}};

TW_IMPLEMENT_CLASS(TGraphicsObject, [](TClassBuilder<TGraphicsObject>&) {})

void TGraphicsObject::Changed() {
  if (OnChange) OnChange();
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TFont, [](TClassBuilder<TFont>& c) {
  c.Str(L"Name", &TFont::Name, &TFont::SetName);
  c.Int(L"Height", &TFont::Height, &TFont::SetHeight);
  c.Int(L"Size", &TFont::Size, &TFont::SetSize);
  c.Int(L"Charset", &TFont::Charset, &TFont::SetCharset);
  c.Colour(L"Color", &TFont::Color, &TFont::SetColor);
  c.Set(L"Style", kFontStyleInfo, &TFont::Style, &TFont::SetStyle);
})

TFont::TFont() = default;
TFont::~TFont() { Reset(); }

void TFont::Reset() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

void TFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    if (f == this) return;
    FName = f->FName;
    FHeight = f->FHeight;
    FCharset = f->FCharset;
    FColor = f->FColor;
    FStyle = f->FStyle;
    Reset();
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}

void TFont::SetName(const std::wstring& n) {
  if (n == FName || n.empty()) return;
  FName = n.substr(0, LF_FACESIZE - 1);
  Reset();
  Changed();
}

void TFont::SetHeight(int h) {
  if (h == FHeight) return;
  FHeight = h;
  Reset();
  Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, 96); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, 96, 72)); }

void TFont::SetCharset(int c) {
  if (c == FCharset) return;
  FCharset = c & 0xFF;
  Reset();
  Changed();
}

void TFont::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  Changed();
}

void TFont::SetStyle(int s) {
  if (s == FStyle) return;
  FStyle = s & 0xF;
  Reset();
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf = {};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & (1 << fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & (1 << fsItalic)) ? 1 : 0;
    lf.lfUnderline = (FStyle & (1 << fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & (1 << fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfQuality = DEFAULT_QUALITY;
    std::wcsncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    FHandle = CreateFontIndirectW(&lf);
  }
  return FHandle;
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TBrush, [](TClassBuilder<TBrush>& c) {
  c.Colour(L"Color", &TBrush::Color, &TBrush::SetColor);
  c.Enum(L"Style", kBrushStyleInfo, &TBrush::Style, &TBrush::SetStyle);
})

TBrush::~TBrush() { Reset(); }
void TBrush::Reset() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}
void TBrush::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBrush*>(source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    Reset();
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}
void TBrush::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  Reset();
  Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  Reset();
  Changed();
}
HBRUSH TBrush::Handle() {
  if (!FHandle) {
    if (FStyle == bsClear) FHandle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else FHandle = CreateSolidBrush(ColorToRGB(FColor));
  }
  return FHandle;
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TPen, [](TClassBuilder<TPen>& c) {
  c.Colour(L"Color", &TPen::Color, &TPen::SetColor);
  c.Int(L"Width", &TPen::Width, &TPen::SetWidth);
  c.Enum(L"Style", kPenStyleInfo, &TPen::Style, &TPen::SetStyle);
})

TPen::~TPen() { Reset(); }
void TPen::Reset() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}
void TPen::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TPen*>(source)) {
    if (p == this) return;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    Reset();
    Changed();
    return;
  }
  TGraphicsObject::Assign(source);
}
void TPen::SetColor(TColor c) {
  if (c == FColor) return;
  FColor = c;
  Reset();
  Changed();
}
void TPen::SetWidth(int w) {
  if (w == FWidth || w < 0) return;
  FWidth = w;
  Reset();
  Changed();
}
void TPen::SetStyle(TPenStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  Reset();
  Changed();
}
HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
    FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCanvas, [](TClassBuilder<TCanvas>& c) {
  c.Sub(L"Font", TPropKind::Object, &TCanvas::Font);
  c.Sub(L"Brush", TPropKind::Object, &TCanvas::Brush);
  c.Sub(L"Pen", TPropKind::Object, &TCanvas::Pen);
})

TCanvas::TCanvas() {
  // Objects may be rebuilt while selected: select the new ones at the next call.
  auto reselect = [this] { Deselect(); };
  FFont.OnChange = reselect;
  FBrush.OnChange = reselect;
  FPen.OnChange = reselect;
}

TCanvas::~TCanvas() { Deselect(); }

void TCanvas::SetHandle(HDC dc) {
  if (dc == FDC) return;
  Deselect();
  FDC = dc;
}

void TCanvas::Deselect() {
  if (!FDC) return;
  if (FOldFont) SelectObject(FDC, FOldFont);
  if (FOldBrush) SelectObject(FDC, FOldBrush);
  if (FOldPen) SelectObject(FDC, FOldPen);
  FOldFont = FOldBrush = FOldPen = nullptr;
}

void TCanvas::Select(bool font, bool brush, bool pen) {
  if (!FDC) throw Exception(L"Canvas does not allow drawing");
  if (font) {
    HGDIOBJ old = SelectObject(FDC, FFont.Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FDC, ColorToRGB(FFont.Color()));
  }
  if (brush) {
    HGDIOBJ old = SelectObject(FDC, FBrush.Handle());
    if (!FOldBrush) FOldBrush = old;
  }
  if (pen) {
    HGDIOBJ old = SelectObject(FDC, FPen.Handle());
    if (!FOldPen) FOldPen = old;
  }
}

void TCanvas::FillRect(const RECT& r) {
  Select(false, true, false);
  ::FillRect(FDC, &r, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  Select(false, true, false);
  ::FrameRect(FDC, &r, FBrush.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  Select(false, true, true);
  ::Rectangle(FDC, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) {
  Select(false, false, true);
  MoveToEx(FDC, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Select(false, false, true);
  ::LineTo(FDC, x, y);
}

void TCanvas::TextOutAt(int x, int y, const std::wstring& text) {
  Select(true, true, false);
  if (FBrush.Style() == bsClear) {
    SetBkMode(FDC, TRANSPARENT);
  } else {
    SetBkMode(FDC, OPAQUE);
    SetBkColor(FDC, ColorToRGB(FBrush.Color()));
  }
  ExtTextOutW(FDC, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

void TCanvas::TextRectAt(const RECT& r, const std::wstring& text, UINT flags) {
  Select(true, true, false);
  SetBkMode(FDC, TRANSPARENT);
  RECT copy = r;
  DrawTextW(FDC, text.c_str(), static_cast<int>(text.size()), &copy, flags);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
  Select(true, false, false);
  SIZE s = {0, 0};
  GetTextExtentPoint32W(FDC, text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

COLORREF TCanvas::Pixel(int x, int y) const { return FDC ? GetPixel(FDC, x, y) : CLR_INVALID; }

void TCanvas::SetPixel(int x, int y, TColor c) {
  if (FDC) ::SetPixel(FDC, x, y, ColorToRGB(c));
}

void TCanvas::CopyFrom(int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
  if (FDC) BitBlt(FDC, x, y, w, h, source, sx, sy, rop);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TBitmap, [](TClassBuilder<TBitmap>& c) {
  c.IntReadOnly(L"Width", &TBitmap::Width);
  c.IntReadOnly(L"Height", &TBitmap::Height);
})

TBitmap::~TBitmap() { Free(); }

void TBitmap::Free() {
  FCanvas.SetHandle(nullptr);
  if (FDC) {
    if (FOldBitmap) SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
  }
  if (FBitmap) DeleteObject(FBitmap);
  FDC = nullptr;
  FBitmap = nullptr;
  FOldBitmap = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0 || (width > 0 && height > 0 && static_cast<int64_t>(width) * height > (1 << 26)))
    throw Exception(L"Bitmap size out of range");
  Free();
  if (width == 0 || height == 0) return;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!FBitmap) throw Exception(L"Out of system resources (bitmap)");
  FDC = CreateCompatibleDC(nullptr);
  FOldBitmap = SelectObject(FDC, FBitmap);
  FBits = static_cast<uint32_t*>(bits);
  FWidth = width;
  FHeight = height;
  std::memset(FBits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  FCanvas.SetHandle(FDC);
}

void TBitmap::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    SetSize(b->FWidth, b->FHeight);
    if (FBits) {
      GdiFlush();
      std::memcpy(FBits, b->FBits, static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight) * 4);
    }
    return;
  }
  TPersistent::Assign(source);
}

void TBitmap::Draw(HDC target, int x, int y) const {
  if (FDC) BitBlt(target, x, y, FWidth, FHeight, FDC, 0, 0, SRCCOPY);
}
