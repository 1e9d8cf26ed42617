// A real top-level window under Wine's virtual desktop: paint a colour into
// the client area, read the screen pixels back, check them.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

constexpr COLORREF kFill = RGB(0x20, 0x90, 0xD0);

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(kFill);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(HarnessWindowPixels, PaintedClientAreaReadsBackFromTheScreen) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PaintProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HarnessPaint";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND hwnd = CreateWindowExW(0, L"HarnessPaint", L"Harness", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  SetForegroundWindow(hwnd);
  UpdateWindow(hwnd);
  ASSERT_TRUE(twtest::PumpUntil([&] { return twtest::ScreenPixel(hwnd, 1, 1) == kFill; }));

  Image px = twtest::CaptureClient(hwnd);
  const uint32_t want = MakePixel(GetRValue(kFill), GetGValue(kFill), GetBValue(kFill));
  ASSERT_GT(px.Width(), 100);
  for (POINT p : {POINT{1, 1}, POINT{px.Width() / 2, px.Height() / 2}, POINT{px.Width() - 2, px.Height() - 2}})
    EXPECT_EQ(px.Pixel(p.x, p.y), want) << "at " << p.x << "," << p.y;

  // The frame is drawn by Wine (virtual desktop): the window rectangle is
  // larger than the client rectangle.
  RECT win;
  GetWindowRect(hwnd, &win);
  EXPECT_GT(win.bottom - win.top, px.Height());
  DestroyWindow(hwnd);
}

}  // namespace
