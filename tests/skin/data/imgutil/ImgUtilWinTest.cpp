// Device-context routines under Wine: drawn pixels are read back from DIB
// sections and real windows.
#include "skin/data/ImgUtilWin.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kGrey = 0x00404040;  // 0xAARRGGBB pixel and COLORREF alike

// A surface filled with one pixel value.
struct Surface {
  DibSurface dib;
  Surface(int w, int h, uint32_t fill) {
    EXPECT_TRUE(dib.Resize(w, h));
    std::fill(dib.Bits(), dib.Bits() + w * h, fill);
  }
  uint32_t At(int x, int y) const {
    GdiFlush();
    return PixelRGB(dib.Bits()[y * dib.Width() + x]);
  }
};

TEST(WinTransparentDraw, KeyColourKeepsTheDestination) {
  Image img(3, 2, MakePixel(200, 10, 20));
  img.SetPixel(1, 0, MakePixel(255, 0, 255));
  img.SetPixel(2, 1, MakePixel(255, 0, 255));
  Surface s(6, 4, kGrey);
  TransparentDraw(s.dib.DC(), RECT{2, 1, 4, 3}, img, kMagenta);  // 2 x 2 part
  EXPECT_EQ(s.At(2, 1), MakePixel(200, 10, 20));
  EXPECT_EQ(s.At(3, 1), kGrey);  // magenta pixel
  EXPECT_EQ(s.At(3, 2), MakePixel(200, 10, 20));
  EXPECT_EQ(s.At(4, 2), kGrey);  // outside the rectangle's width
  EXPECT_EQ(s.At(1, 1), kGrey);
  EXPECT_EQ(s.At(2, 3), kGrey);
}

TEST(WinFrames, OpaqueAndTransparentFramesOnADC) {
  // Two frames of 4 x 4: frame 1 red with a magenta centre, frame 2 blue.
  Image strip(8, 4, MakePixel(255, 0, 0));
  strip.FillRect({1, 1, 3, 3}, MakePixel(255, 0, 255));
  strip.FillRect({4, 0, 8, 4}, MakePixel(0, 0, 255));
  Surface s(20, 10, kGrey);
  DrawFrame(s.dib.DC(), RECT{0, 0, 8, 8}, strip, false, false, true, 2, 1, {1, 1, 1, 1});
  EXPECT_EQ(s.At(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(s.At(4, 4), kGrey);  // stretched magenta centre shows the DC
  EXPECT_EQ(s.At(7, 7), MakePixel(255, 0, 0));
  DrawFrameStretched(s.dib.DC(), RECT{10, 0, 20, 10}, strip, false, 2, 2);
  EXPECT_EQ(s.At(10, 0), MakePixel(0, 0, 255));
  EXPECT_EQ(s.At(19, 9), MakePixel(0, 0, 255));
  Surface c(8, 8, kGrey);
  DrawFrameCentred(c.dib.DC(), RECT{0, 0, 8, 8}, strip, true, 2, 1);  // at (2, 2)
  EXPECT_EQ(c.At(2, 2), MakePixel(255, 0, 0));
  EXPECT_EQ(c.At(3, 3), kGrey);
  EXPECT_EQ(c.At(1, 1), kGrey);
  EXPECT_EQ(c.At(5, 5), MakePixel(255, 0, 0));
  EXPECT_EQ(c.At(6, 6), kGrey);
}

TEST(WinFrames, ThreePartAndBarKeepTheirEnds) {
  Image frame(4, 2, MakePixel(0, 200, 0));
  frame.FillRect({0, 0, 1, 2}, MakePixel(10, 0, 0));
  frame.FillRect({3, 0, 4, 2}, MakePixel(20, 0, 0));
  Surface s(12, 6, kGrey);
  DrawThreePart(s.dib.DC(), RECT{1, 1, 11, 4}, frame, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(s.At(1, 1), MakePixel(10, 0, 0));
  EXPECT_EQ(s.At(2, 3), MakePixel(0, 200, 0));
  EXPECT_EQ(s.At(10, 3), MakePixel(20, 0, 0));
  EXPECT_EQ(s.At(11, 1), kGrey);
  EXPECT_EQ(s.At(5, 4), kGrey);
  DrawHorzBar(s.dib.DC(), RECT{0, 4, 12, 6}, frame, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(s.At(0, 5), MakePixel(10, 0, 0));
  EXPECT_EQ(s.At(6, 5), MakePixel(0, 200, 0));
  EXPECT_EQ(s.At(11, 4), MakePixel(20, 0, 0));
}

TEST(WinGradient, ClipBoxLimitsTheLinesNotTheirColours) {
  const RECT r{0, 0, 3, 20};
  Surface full(3, 20, kGrey);
  GradientFill(full.dib.DC(), r, RGB(0, 0, 0), true, RGB(0, 190, 0));
  EXPECT_EQ(full.At(0, 0), MakePixel(0, 0, 0));
  EXPECT_EQ(full.At(2, 19), MakePixel(0, 190, 0));
  EXPECT_EQ(full.At(1, 10), MakePixel(0, 100, 0));  // (9 + 10 x 190) / 19

  Surface clipped(3, 20, kGrey);
  HRGN clip = CreateRectRgn(0, 5, 3, 9);
  SelectClipRgn(clipped.dib.DC(), clip);
  DeleteObject(clip);
  GradientFill(clipped.dib.DC(), r, RGB(0, 0, 0), true, RGB(0, 190, 0));
  for (int y = 0; y < 20; ++y) EXPECT_EQ(clipped.At(1, y), (y >= 5 && y < 9) ? full.At(1, y) : kGrey) << y;

  // Wholly outside the clip: nothing; horizontal single column: mid colour.
  Surface none(3, 20, kGrey);
  HRGN away = CreateRectRgn(0, 0, 1, 1);
  SelectClipRgn(none.dib.DC(), away);
  DeleteObject(away);
  GradientFill(none.dib.DC(), RECT{1, 5, 3, 9}, RGB(255, 0, 0), true, RGB(0, 0, 255));
  EXPECT_EQ(none.At(1, 6), kGrey);
  Surface one(3, 3, kGrey);
  GradientFill(one.dib.DC(), RECT{1, 0, 2, 3}, RGB(200, 0, 0), false, RGB(0, 0, 100));
  EXPECT_EQ(one.At(1, 1), MakePixel(100, 0, 50));
  EXPECT_EQ(one.At(0, 1), kGrey);
}

TEST(WinGradient, SystemColoursAreResolved) {
  StartupDrawingUtilities();
  Surface s(1, 2, kGrey);
  GradientFill(s.dib.DC(), RECT{0, 0, 1, 2}, 0xFF000000 | COLOR_WINDOW, true, 0xFF000000 | COLOR_WINDOW);
  EXPECT_EQ(s.At(0, 1), PixelFromColour(GetSysColor(COLOR_WINDOW)));
  ShutdownDrawingUtilities();
}

TEST(WinRegion, ManyRunsMergeIntoTheExactPixelSet) {
  // A checkerboard of 120 x 60 has 3600 runs: two batches of rectangles.
  Image img(120, 60, MakePixel(255, 0, 255));
  for (int y = 0; y < 60; ++y)
    for (int x = (y & 1); x < 120; x += 2) img.SetPixel(x, y, MakePixel(0, 0, 0));
  HRGN rgn = RegionFromBitmap(img, 5, 7, 1, 1, 1, kMagenta);
  ASSERT_NE(rgn, nullptr);
  int wrong = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if (bool(PtInRegion(rgn, x + 5, y + 7)) != (((x + y) & 1) == 0)) ++wrong;
  EXPECT_EQ(wrong, 0);
  RECT box{};
  EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 7);
  EXPECT_EQ(box.right, 125);
  EXPECT_EQ(box.bottom, 67);
  DeleteObject(rgn);
}

TEST(WinRegion, AllKeyGivesAnEmptyRegion) {
  HRGN rgn = RegionFromBitmap(Image(30, 20, MakePixel(255, 0, 255)), 0, 0, 1, 1, 1, kMagenta);
  ASSERT_NE(rgn, nullptr);
  RECT box{};
  EXPECT_EQ(GetRgnBox(rgn, &box), NULLREGION);
  DeleteObject(rgn);
}

// A parent that paints into the DC it is given: red background (erase), a
// blue square at (10, 10)-(20, 20) in its own coordinates (paint).
LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(wnd, &r);
      HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(HDC(wp), &r, b);
      DeleteObject(b);
      return 1;
    }
    case WM_PAINT:
      if (wp) {
        RECT sq{10, 10, 20, 20};
        HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(HDC(wp), &sq, b);
        DeleteObject(b);
        return 0;
      }
      break;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

TEST(WinParentBackground, ShowsWhatTheParentPaintsUnderTheControl) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TwImgUtilParent";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, L"TwImgUtilParent", L"", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr,
                                wc.hInstance, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 15, 5, 30, 30, parent, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_NE(child, nullptr);
  Surface s(30, 30, kGrey);
  // Something the routine must restore afterwards.
  SetViewportOrgEx(s.dib.DC(), 0, 0, nullptr);
  PaintParentBackground(child, s.dib.DC());
  // Child (0, 0) is parent (15, 5): red; the blue square covers parent x 10..19,
  // y 10..19, i.e. child x 0..4, y 5..14.
  EXPECT_EQ(s.At(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(s.At(2, 7), MakePixel(0, 0, 255));
  EXPECT_EQ(s.At(4, 14), MakePixel(0, 0, 255));
  EXPECT_EQ(s.At(5, 7), MakePixel(255, 0, 0));
  EXPECT_EQ(s.At(2, 15), MakePixel(255, 0, 0));
  EXPECT_EQ(s.At(29, 29), MakePixel(255, 0, 0));
  POINT origin{1, 1};
  GetViewportOrgEx(s.dib.DC(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  Surface graphic(10, 10, kGrey);  // a window-less control at (8, 8) of the parent
  PaintParentBackground(parent, RECT{8, 8, 18, 18}, graphic.dib.DC());
  EXPECT_EQ(graphic.At(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(graphic.At(2, 2), MakePixel(0, 0, 255));
  EXPECT_EQ(graphic.At(9, 9), MakePixel(0, 0, 255));
  Surface lone(4, 4, kGrey);
  PaintParentBackground(parent, lone.dib.DC());  // no parent: nothing
  EXPECT_EQ(lone.At(1, 1), kGrey);
  DestroyWindow(parent);
}

TEST(WinText, DrawTextWideDrawsAndMeasures) {
  Surface s(60, 30, 0x00FFFFFF);
  SetTextColor(s.dib.DC(), RGB(0, 0, 0));
  SetBkMode(s.dib.DC(), TRANSPARENT);
  RECT r{0, 0, 60, 30};
  int height = DrawTextWide(s.dib.DC(), L"WWW", r, DT_LEFT | DT_TOP | DT_SINGLELINE);
  EXPECT_GT(height, 5);
  int dark = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) dark += s.At(x, y) != 0xFFFFFF;
  EXPECT_GT(dark, 10);
  RECT calc{0, 0, 0, 0};
  DrawTextWide(s.dib.DC(), L"WWWWWW", calc, DT_CALCRECT | DT_SINGLELINE);
  RECT calc3{0, 0, 0, 0};
  DrawTextWide(s.dib.DC(), L"WWW", calc3, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(calc.right, calc3.right);  // the whole text is measured, not a prefix
}

TEST(WinText, AnsiToWideUsesTheSystemCodePage) {
  EXPECT_EQ(AnsiToWide("Skin 1"), L"Skin 1");
  EXPECT_EQ(AnsiToWide(""), L"");
  if (GetACP() != 936) GTEST_SKIP() << "code page " << GetACP();
  EXPECT_EQ(AnsiToWide("\xC1\xA2\xBC\xB4"), L"\u7ACB\u5373");  // "立即"
}

TEST(WinScratch, CountedStartupAndShutdown) {
  EXPECT_EQ(ScratchBitmap(), nullptr);
  StartupDrawingUtilities();
  TBitmap* first = ScratchBitmap();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetStretchBltMode(first->DC()), COLORONCOLOR);
  first->SetSize(40, 20);  // painters size it as they need
  EXPECT_NE(first->Pixels(), nullptr);
  ASSERT_NE(ScratchStrings(), nullptr);
  StartupDrawingUtilities();
  EXPECT_EQ(ScratchBitmap(), first);
  ShutdownDrawingUtilities();
  EXPECT_EQ(ScratchBitmap(), first);
  ShutdownDrawingUtilities();
  EXPECT_EQ(ScratchBitmap(), nullptr);
  EXPECT_EQ(ScratchStrings(), nullptr);
  ShutdownDrawingUtilities();  // unbalanced: harmless
  StartupDrawingUtilities();
  EXPECT_NE(ScratchBitmap(), nullptr);
  ShutdownDrawingUtilities();
}

TEST(WinPixels, SurfaceImageRoundTripAndCapture) {
  Image img(5, 3, MakePixel(1, 2, 3));
  img.SetPixel(4, 2, MakePixel(9, 8, 7));
  DibSurface dib;
  ASSERT_TRUE(dib.Assign(img));
  EXPECT_EQ(dib.ToImage(), img);
  Image part = CaptureDC(dib.DC(), RECT{3, 1, 5, 3});
  EXPECT_EQ(PixelRGB(part.Pixel(1, 1)), MakePixel(9, 8, 7));
  EXPECT_EQ(ImageFromBitmap(dib.Handle()).Pixel(4, 2) & 0xFFFFFF, MakePixel(9, 8, 7));
  Surface s(6, 4, kGrey);
  DrawImage(s.dib.DC(), 2, 1, img, ImgRect{3, 1, 9, 9});
  EXPECT_EQ(s.At(3, 2), MakePixel(9, 8, 7));
  EXPECT_EQ(s.At(1, 1), kGrey);
  EXPECT_EQ(s.At(4, 2), kGrey);
  EXPECT_FALSE(dib.Resize(0, 4));
  EXPECT_EQ(dib.Bits(), nullptr);
}

TEST(WinLibraryObjects, BitmapAndCanvasForms) {
  Image img(3, 2, MakePixel(5, 6, 7));
  img.SetPixel(2, 1, MakePixel(200, 100, 50));
  TBitmap bmp;
  AssignImage(bmp, img);
  ASSERT_EQ(bmp.Width(), 3);
  EXPECT_EQ(ImageFromBitmap(bmp), img);

  // Tiles of 2 x 1 from (1, 1) over a 5 x 2 target: the last copy reaches x = 6.
  Surface s(8, 4, kGrey);
  TCanvas canvas;
  canvas.SetHandle(s.dib.DC());
  TileDraw(&canvas, RECT{1, 1, 6, 3}, img, ImgRect{1, 1, 3, 2});
  EXPECT_EQ(s.At(1, 1), MakePixel(5, 6, 7));
  EXPECT_EQ(s.At(2, 2), MakePixel(200, 100, 50));
  EXPECT_EQ(s.At(6, 1), MakePixel(200, 100, 50));
  EXPECT_EQ(s.At(7, 1), kGrey);
  EXPECT_EQ(s.At(0, 1), kGrey);
  EXPECT_EQ(s.At(3, 3), kGrey);
  TileDraw(&canvas, RECT{0, 0, 8, 4}, img, ImgRect{2, 2, 2, 3});  // empty part: nothing
  EXPECT_EQ(s.At(0, 0), kGrey);
  DrawHorzBar(&canvas, RECT{0, 3, 8, 4}, img, false, false, 1, 1, {1, 0, 1, 0});
  EXPECT_EQ(s.At(0, 3), MakePixel(5, 6, 7));
  canvas.SetHandle(nullptr);
}

}  // namespace
