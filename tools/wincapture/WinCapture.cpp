// wincapture TITLE OUT.bmp [WAIT_MS]
// Waits up to WAIT_MS (default 15000) for a visible top-level window whose
// title contains TITLE, lets it settle, and writes the screen pixels of its
// window rectangle (frame included) to OUT.bmp as a 24-bit BMP. With TITLE
// "*" it captures the whole screen (the virtual desktop). Exit code 0 on
// success, 1 when no such window appeared, 2 on bad arguments or I/O errors.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK FindByTitle(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (!IsWindowVisible(hwnd)) return TRUE;
  wchar_t text[512] = {};
  GetWindowTextW(hwnd, text, 512);
  if (wcsstr(text, s->title) != nullptr) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

bool WriteBmp(const wchar_t* path, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + size;
  bool ok = false;
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n = 0;
    ok = WriteFile(f, &fh, sizeof(fh), &n, nullptr) &&
         WriteFile(f, &bi.bmiHeader, sizeof(bi.bmiHeader), &n, nullptr) &&
         WriteFile(f, bits, size, &n, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: wincapture TITLE OUT.bmp [WAIT_MS]\n", stderr);
    return 2;
  }
  const DWORD wait = argc > 3 ? wcstoul(argv[3], nullptr, 10) : 15000;
  RECT rect{};
  if (std::wstring(argv[1]) == L"*") {
    rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  } else {
    Search s{argv[1], nullptr};
    const DWORD start = GetTickCount();
    while (!s.found) {
      EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&s));
      if (s.found) break;
      if (GetTickCount() - start > wait) {
        std::fputs("wincapture: no window with that title appeared\n", stderr);
        return 1;
      }
      Sleep(100);
    }
    Sleep(800);  // let the window finish painting
    GetWindowRect(s.found, &rect);
  }
  return WriteBmp(argv[2], rect) ? 0 : 2;
}
