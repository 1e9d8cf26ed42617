// What tools/run.sh shows without a display: Tonewell from a program folder
// converting one WMA file as a user would. It adds the file through the open
// dialog, chooses the output folder in the folder browser (its default
// selection, the desktop folder), starts the conversion, saves a picture of
// the window mid-conversion, and prints the MP3's path when the run is over.
//
// Usage: ConversionDemo.exe PROGRAM_FOLDER\ SOURCE.wma SCREENSHOT.bmp
// Prints "mp3=<path>" (UTF-8) and exits 0 when the file was converted.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// The window as it shows on the screen (frame included), as a 24-bit BMP.
bool SaveWindow(HWND window, const std::wstring& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u), size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + size;
  bi.bmiHeader.biSizeImage = size;
  bool ok = false;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD done = 0;
    ok = WriteFile(f, &fh, sizeof(fh), &done, nullptr) &&
         WriteFile(f, &bi.bmiHeader, sizeof(bi.bmiHeader), &done, nullptr) &&
         WriteFile(f, bits, size, &done, nullptr);
    CloseHandle(f);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

int Fail(const char* what) {
  std::fprintf(stderr, "demo: %s\n", what);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return Fail("usage: ConversionDemo.exe PROGRAM_FOLDER\\ SOURCE.wma SCREENSHOT.bmp");
  const std::wstring folder = argv[1], source = argv[2], shot = argv[3];
  TAppProcess app;
  if (!app.Start(folder + L"Tonewell.exe", folder, L"Tonewell 2.2")) return Fail("Tonewell did not start");
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增"), chooseDir = FindChild(main, L"TButton", L"设置输出目录");
  HWND convert = FindChild(main, L"TButton", L"立即转换"), list = FindChild(main, L"TListView", L"");
  HWND bar = FindChild(main, L"TProgressBar", L""), saveDir = FindChild(main, L"TEdit", L"");
  HWND progressBox = FindChild(main, L"TGroupBox", L"进度");
  if (!(add && chooseDir && convert && list && bar && saveDir && progressBox)) return Fail("controls not found");

  Click(add);
  HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  if (!dialog || !FillOpenDialog(dialog, source)) return Fail("open dialog");
  if (!WaitUntil([&] { return ListViewCount(list) == 1; }, 60000)) return Fail("the file was not added");

  Click(chooseDir);
  HWND browser = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  if (!browser) return Fail("folder browser did not open");
  // Wine fills the tree and selects the desktop folder a moment after the
  // browser shows; take that selection.
  Sleep(1500);
  PressDialogButton(browser, IDOK);
  if (!WaitUntil([&] { return !Text(saveDir).empty(); }, 10000)) return Fail("no output folder chosen");
  const std::wstring outDir = Text(saveDir);

  Click(convert);
  bool shotTaken = false;
  const bool done = WaitUntil(
      [&] {
        const TProgress p = Progress(bar);
        if (!shotTaken && p.pos > 0 && p.pos < p.high) shotTaken = SaveWindow(main, shot);
        return !IsWindowEnabled(list) ? false : IsWindowEnabled(convert) && ShowsText(progressBox, POINT{112, 16}, L"转换完成");
      },
      600000);
  if (!shotTaken) SaveWindow(main, shot);
  const std::wstring status = ListViewRows(list, 2).at(0).at(1);
  app.Close();
  if (!done) return Fail("the conversion did not finish");
  const size_t slash = source.find_last_of(L"\\/"), dot = source.find_last_of(L'.');
  const std::wstring name = source.substr(slash + 1, dot == std::wstring::npos || dot < slash ? std::wstring::npos : dot - slash - 1);
  std::printf("mp3=%s\nstatus=%s\nmid-conversion=%s\n", Utf8(outDir + name + L".mp3").c_str(), Utf8(status).c_str(),
              shotTaken ? "yes" : "no");
  return 0;
}
