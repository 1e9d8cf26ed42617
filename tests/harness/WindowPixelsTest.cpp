// A real top-level window under Wine's virtual desktop: paint a colour into
// the client area, capture the screen pixels back into a DIB, check them.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

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

void Pump() {
  MSG msg;
  for (int i = 0; i < 50; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

// Reads a screen rectangle into 32-bit top-down pixels.
std::vector<DWORD> CaptureScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return pixels;
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
  Pump();

  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT screenRect{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  std::vector<DWORD> px = CaptureScreen(screenRect);
  const DWORD want = (GetRValue(kFill) << 16) | (GetGValue(kFill) << 8) | GetBValue(kFill);
  const int w = client.right, h = client.bottom;
  ASSERT_GT(w, 100);
  for (POINT p : {POINT{1, 1}, POINT{w / 2, h / 2}, POINT{w - 2, h - 2}}) {
    EXPECT_EQ(px[p.y * w + p.x] & 0xFFFFFF, want) << "at " << p.x << "," << p.y;
  }

  // The frame is drawn by Wine (virtual desktop): the window rectangle is
  // larger than the client rectangle.
  RECT win;
  GetWindowRect(hwnd, &win);
  EXPECT_GT(win.bottom - win.top, h);
  DestroyWindow(hwnd);
}

}  // namespace
