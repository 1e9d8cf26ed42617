#include "tests/support/WindowCapture.h"

#include <cstring>
#include <vector>

#include "skin/data/Bmp.h"

namespace twtest {

Image CaptureScreenRect(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  Image out;
  if (w <= 0 || h <= 0) return out;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down, as Image stores rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    out = Image(w, h);
    if (!out.Empty()) {
      const auto* src = static_cast<const uint32_t*>(bits);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          out.Pixels()[static_cast<size_t>(y) * w + x] = src[static_cast<size_t>(y) * w + x] & 0x00FFFFFFu;
    }
    SelectObject(mem, old);
    DeleteObject(dib);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

Image CaptureWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return CaptureScreenRect(r);
}

Image CaptureClient(HWND window) {
  RECT c{};
  GetClientRect(window, &c);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return CaptureScreenRect(RECT{origin.x, origin.y, origin.x + c.right, origin.y + c.bottom});
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  Image one = CaptureScreenRect(RECT{p.x, p.y, p.x + 1, p.y + 1});
  if (one.Empty()) return CLR_INVALID;
  uint32_t px = one.Pixels()[0];
  return RGB(PixelR(px), PixelG(px), PixelB(px));
}

bool SaveWindowBmp(HWND window, const std::wstring& path) {
  const Image img = CaptureWindow(window);
  if (img.Empty()) return false;
  const std::vector<uint8_t> bytes = EncodeBmp(img, 24);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace twtest
