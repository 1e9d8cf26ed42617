// Bitmaps, canvases, fonts and image lists: pixels read back.
#include <gtest/gtest.h>

#include <windows.h>

#include "gui/Graphics.h"
#include "gui/ImgList.h"

namespace {
uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>((r << 16) | (g << 8) | b); }  // as BGRA in memory
uint32_t At(const TBitmap& b, int x, int y) { return b.ScanLine(y)[x] & 0xFFFFFF; }
}  // namespace

TEST(Bitmap, GdiAndDirectPixelAccessShareTheSameTopDownMemory) {
  TBitmap b(40, 20);
  EXPECT_EQ(b.Stride(), 160);
  EXPECT_EQ(At(b, 0, 0), 0u);
  b.Canvas()->Brush()->SetColor(clRed);
  RECT top{0, 0, 40, 5};
  b.Canvas()->FillRect(top);
  GdiFlush();
  EXPECT_EQ(At(b, 10, 2), Rgb(255, 0, 0));  // row 2 is near the top: top-down
  EXPECT_EQ(At(b, 10, 10), 0u);
  // Direct writes are seen by GDI.
  b.ScanLine(15)[30] = Rgb(0, 0, 255);
  EXPECT_EQ(b.Canvas()->Pixel(30, 15), RGB(0, 0, 255));
  // System colours resolve through the platform.
  b.Canvas()->Brush()->SetColor(clBtnFace);
  RECT r{0, 5, 40, 10};
  b.Canvas()->FillRect(r);
  GdiFlush();
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(At(b, 1, 6), Rgb(GetRValue(face), GetGValue(face), GetBValue(face)));
  EXPECT_EQ(ColorToRGB(clBtnFace), face);
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x00123456)), 0x123456u);
  // Copies are deep.
  TBitmap copy;
  copy.Assign(&b);
  b.ScanLine(0)[0] = Rgb(1, 2, 3);
  EXPECT_EQ(At(copy, 0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(copy.Width(), 40);
  // Sizes that cannot exist are refused, not attempted.
  EXPECT_THROW(b.SetSize(-1, 5), Exception);
  EXPECT_THROW(b.SetSize(100000, 100000), Exception);
  b.SetSize(0, 0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Pixels(), nullptr);
}

TEST(Canvas, TextUsesTheFontAndClearBrushKeepsTheBackground) {
  TBitmap b(120, 30);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  RECT all{0, 0, 120, 30};
  c->FillRect(all);
  c->Font()->SetName(L"宋体");
  c->Font()->SetHeight(-12);
  c->Font()->SetCharset(GB2312_CHARSET_VALUE);
  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  c->TextOutAt(2, 2, L"准备就绪");
  GdiFlush();
  int ink = 0, other = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) {
      uint32_t p = At(b, x, y);
      if (p != Rgb(255, 255, 255)) {
        if (x < 2 + c->TextWidth(L"准备就绪") && y < 2 + 16) ++ink;
        else ++other;
      }
    }
  EXPECT_GT(ink, 20);
  EXPECT_EQ(other, 0);
  EXPECT_GT(c->TextWidth(L"准备就绪"), c->TextWidth(L"准备"));
  LOGFONTW lf = {};
  GetObjectW(c->Font()->Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(lf.lfFaceName, L"宋体");
  // Points and pixels at 96 per inch.
  TFont f;
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  EXPECT_EQ(f.Size(), 9);
  // Published by name, sets included.
  SetPropText(&f, L"Style", L"[fsBold,fsUnderline]");
  GetObjectW(f.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfItalic);
}

TEST(ImageList, MaskedStripDrawsOnlyItsGlyphs) {
  // Two 8x8 images: a red square and a green square, each on white.
  TBitmap strip(16, 8);
  TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(clWhite);
  RECT all{0, 0, 16, 8};
  c->FillRect(all);
  c->Brush()->SetColor(clRed);
  RECT red{2, 2, 6, 6};
  c->FillRect(red);
  c->Brush()->SetColor(clLime);
  RECT green{10, 2, 14, 6};
  c->FillRect(green);
  TImageList list(nullptr);
  list.SetWidth(8);
  list.SetHeight(8);
  EXPECT_EQ(list.AddMasked(strip, clWhite), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(GetIntProp(&list, L"Count"), 2);

  TBitmap target(8, 8);
  target.Canvas()->Brush()->SetColor(clBlue);
  RECT t{0, 0, 8, 8};
  target.Canvas()->FillRect(t);
  list.Draw(target.DC(), 0, 0, 1);
  GdiFlush();
  EXPECT_EQ(At(target, 3, 3), Rgb(0, 255, 0));
  EXPECT_EQ(At(target, 0, 0), Rgb(0, 0, 255));  // masked: untouched
  EXPECT_EQ(At(target, 7, 7), Rgb(0, 0, 255));
  // Out-of-range indexes draw nothing.
  list.Draw(target.DC(), 0, 0, 5);
  list.Draw(target.DC(), 0, 0, -1);
  GdiFlush();
  EXPECT_EQ(At(target, 3, 3), Rgb(0, 255, 0));
  // Disabled: drawn, but not in the glyph's own colour.
  list.Draw(target.DC(), 0, 0, 0, false);
  GdiFlush();
  EXPECT_NE(At(target, 3, 3), Rgb(255, 0, 0));
  EXPECT_FALSE(list.LoadFromResource(L"NO_SUCH_BITMAP", clWhite));
  EXPECT_EQ(list.Count(), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}
