// Capture driver (no assertions): starts Tonewell.exe from a folder that holds
// the stand-in tools, adds files through the open dialog until the job list
// has the asked number of rows, fills the output folder, and saves the main
// window as a BMP.
//
// Usage: TonewellListShot.exe FOLDER OUT.bmp [ROWS [dialog|mouse]]
//   dialog  captures the open dialog (opened by the add button) instead
//   mouse   first clicks the list's down arrow and drags its thumb with real
//           mouse input, and prints the top row after each
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/DriveTonewell.h"
#include "tests/e2e/Driver.h"
#include "tests/support/WindowCapture.h"

using namespace bench;
using namespace e2e;

namespace {

int Rows(HWND list) { return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
int TopRow(HWND list) { return int(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

// Absolute mouse input at a screen point, as a user's hand gives it.
void MouseAt(POINT p, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG(p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = LONG(p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
}

// Presses at `from`, moves to `to`, releases; each step once the target
// process has handled the previous one.
void Press(HANDLE process, POINT from, POINT to) {
  MouseAt(from, 0);
  WaitForInputIdle(process, 5000);
  MouseAt(from, MOUSEEVENTF_LEFTDOWN);
  WaitForInputIdle(process, 5000);
  MouseAt(to, 0);
  WaitForInputIdle(process, 5000);
  MouseAt(to, MOUSEEVENTF_LEFTUP);
  WaitForInputIdle(process, 5000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: TonewellListShot FOLDER OUT.bmp [ROWS]\n");
    return 2;
  }
  const std::wstring folder = FolderArgument(argv[1]);
  const int rows = argc > 3 ? _wtoi(argv[3]) : 30;
  const std::wstring sources = MakeTempFolder(L"tonewell-shot");

  TAppProcess app;
  if (!StartTonewell(app, folder)) return 1;
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增");
  HWND list = FindChild(main, L"TListView", L"");
  HWND saveDir = FindChild(main, L"TEdit", L"");
  if (!add || !list || !saveDir) {
    std::fprintf(stderr, "controls not found\n");
    app.Kill();
    return 1;
  }
  for (int i = Rows(list); i < rows; ++i) {
    const std::wstring path = sources + L"第" + std::to_wstring(i + 1) + L"首 歌曲.wma";
    WriteWholeFile(path, "source");
    if (!AddThroughDialog(app, add, list, path, 20000)) {
      std::fprintf(stderr, "row %d not added\n", i + 1);
      break;
    }
  }
  const std::wstring out = L"C:\\users\\tonewell\\Desktop\\转换结果\\";
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
  SetForegroundWindow(main);
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  WaitForInputIdle(app.Process(), 10000);
  if (argc > 4 && std::wstring(argv[4]) == L"mouse") {
    // The skinned bar's window: the visible overlay taller than wide.
    HWND overlay = nullptr;
    RECT r{};
    for (HWND w : Descendants(main)) {
      RECT wr{};
      GetWindowRect(w, &wr);
      if (ClassOf(w) == L"TWScrollbar" && IsWindowVisible(w) && wr.bottom - wr.top > wr.right - wr.left) {
        overlay = w;
        r = wr;
      }
    }
    const int x = (r.left + r.right) / 2;
    const POINT down{x, r.bottom - 4};
    HWND over = WindowFromPoint(down);
    std::printf("under the down arrow: %ls (the overlay: %s)\n", ClassOf(over).c_str(),
                over && over == overlay ? "yes" : "no");
    const int top0 = TopRow(list);
    Press(app.Process(), down, down);
    WaitUntil([&] { return TopRow(list) != top0; }, 5000);
    const int top1 = TopRow(list);
    // The thumb: the first arrow is as long as the bar is wide.
    const POINT thumb{x, r.top + (r.right - r.left) + 3};
    Press(app.Process(), thumb, POINT{x, thumb.y + 30});
    WaitUntil([&] { return TopRow(list) != top1; }, 5000);
    std::printf("top row: %d, after the down arrow %d, after dragging the thumb 30 px %d\n", top0, top1,
                TopRow(list));
  }
  HWND shown = main;
  if (argc > 4 && std::wstring(argv[4]) == L"dialog") {
    Click(add);
    shown = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    if (!shown) shown = main;
    // Painted once its file list shows the folder's files.
    WaitUntil([&] {
      HWND files = FindChild(shown, L"SysListView32", L"");
      return files && Rows(files) > 0;
    }, 20000);
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
    WaitForInputIdle(app.Process(), 10000);
  }
  const bool saved = twtest::SaveWindowBmp(shown, argv[2]);
  if (shown != main) PressDialogButton(shown, IDCANCEL);
  std::printf("%d rows, %s\n", Rows(list), saved ? "saved" : "not saved");
  // Which of the list's windows say they are skinned (WM_SKINQUERY, 0x3523).
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  std::printf("skin query: list %d, header %d, output folder %d\n", int(SendMessageW(list, 0x3523, 0, 0)),
              int(SendMessageW(header, 0x3523, 0, 0)), int(SendMessageW(saveDir, 0x3523, 0, 0)));
  if (!app.Close(10000)) app.Kill();
  return saved ? 0 : 1;
}
