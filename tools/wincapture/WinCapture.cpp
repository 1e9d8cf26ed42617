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

#include "skin/data/Bmp.h"
#include "tests/support/WindowCapture.h"

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
  Image shot = twtest::CaptureScreenRect(r);
  if (shot.Empty()) return false;
  std::vector<uint8_t> bytes = EncodeBmp(shot, 24);
  HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
  CloseHandle(f);
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
