// Shows the control gallery (tests/gui/gallery) under one skin package,
// drops its combo box down with a real click on the skinned drop button and
// saves a picture of the window with the list open (24-bit BMP) for people
// to look at.
//
// Usage: InputsGalleryShot.exe SKIN.skn OUT.bmp [--closed | --open-dialog]
// (--closed: the picture with the list closed; --open-dialog: the common
// file-open dialog over the gallery, once its combo boxes are skinned).
// Exit code 0 when the picture was written, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/data/Bmp.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

void MouseAt(int x, int y, DWORD buttons = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

bool Save(const char* path, const Image& img) {
  const std::vector<uint8_t> bmp = EncodeBmp(img, 24);
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  return f.good();
}

// The open dialog of this thread once every combo box in it is skinned:
// its picture, then cancel.
struct DialogShot {
  const char* out = nullptr;
  bool written = false;
};
DialogShot dialogShot;

BOOL CALLBACK AllCombosSkinned(HWND child, LPARAM lp) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"ComboBox") == 0 && IsWindowVisible(child) && SendMessageW(child, WM_SKINQUERY, 0, 0) != 1)
    *reinterpret_cast<bool*>(lp) = false;
  return TRUE;
}

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && wcscmp(cls, L"#32770") == 0 &&
      IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumWindows(FindDialog, LPARAM(&dialog));
  if (!dialog) return;
  bool skinned = true;
  EnumChildWindows(dialog, AllCombosSkinned, LPARAM(&skinned));
  if (!skinned || SendMessageW(dialog, WM_SKINQUERY, 0, 0) != 1) return;
  KillTimer(nullptr, id);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r{};
  GetWindowRect(dialog, &r);
  dialogShot.written = Save(dialogShot.out, twtest::CaptureScreenRect(r));
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: InputsGalleryShot SKIN.skn OUT.bmp\n");
    return 1;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> package{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  char out[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, argv[2], -1, out, MAX_PATH, nullptr, nullptr);
  Application->Initialize();
  twtest::SetPumpDispatcher([](MSG& msg) { Application->Dispatch(msg); });
  auto* skin = new TSkinData(nullptr);
  if (!skin->LoadFromBytes(package)) {
    std::fprintf(stderr, "cannot load the skin\n");
    return 1;
  }
  skin->Loaded();

  // The gallery's form class is linked in from its program's source.
  const TClassInfo* info = FindClassInfo(L"TGalleryForm");
  if (!info) return 1;
  auto* form = static_cast<TCustomForm*>(info->create(nullptr));
  form->ReadDescription();
  form->DoCreate();
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent(L"ComboBox1"));
  if (!combo) return 1;
  form->HandleNeeded();
  HWND window = form->Handle();
  skin->SetActive(true);
  form->Show();
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  SetCursorPos(1000, 700);
  TWinSkinForm* frame = nullptr;
  if (!twtest::PumpUntil([&] {
        frame = SkinManager()->FindSkinForm(window);
        return frame && frame->LifeState() == kFrameSkinned && frame->SkinMessageSeen() &&
               SendMessageW(combo->Handle(), WM_SKINQUERY, 0, 0) == 1;
      })) {
    std::fprintf(stderr, "the gallery's combo box was not skinned\n");
    return 1;
  }
  twtest::PumpUntilIdle();
  if (argc > 3 && std::wstring(argv[3]) == L"--open-dialog") {
    dialogShot.out = out;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, DialogTimer);
    TOpenDialog open(nullptr);
    open.FFilter = L"WMA 文件|*.wma|所有文件|*.*";
    open.Execute();
    KillTimer(nullptr, timer);
    TComponent::Free(form);
    delete skin;
    DestroySkinManager();
    return dialogShot.written ? 0 : 1;
  }
  if (argc > 3 && std::wstring(argv[3]) == L"--closed") {
    RECT r{};
    GetWindowRect(window, &r);
    const bool written = Save(out, twtest::CaptureScreenRect(r));
    TComponent::Free(form);
    delete skin;
    DestroySkinManager();
    return written ? 0 : 1;
  }

  // A real click on the skinned drop button.
  RECT box{};
  GetWindowRect(combo->Handle(), &box);
  const int x = box.right - 8, y = (box.top + box.bottom) / 2;
  MouseAt(x, y);
  MouseAt(x, y, MOUSEEVENTF_LEFTDOWN);
  MouseAt(x, y, MOUSEEVENTF_LEFTUP);
  COMBOBOXINFO cb{sizeof cb};
  if (!twtest::PumpUntil([&] {
        return GetComboBoxInfo(combo->Handle(), &cb) && IsWindowVisible(cb.hwndList);
      })) {
    std::fprintf(stderr, "the list did not drop down\n");
    return 1;
  }
  twtest::PumpUntilIdle();
  RECT r{}, list{};
  GetWindowRect(window, &r);
  GetWindowRect(cb.hwndList, &list);
  UnionRect(&r, &r, &list);
  InflateRect(&r, 8, 8);
  const bool written = Save(out, twtest::CaptureScreenRect(r));
  SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  twtest::PumpUntilIdle();
  TComponent::Free(form);
  delete skin;
  DestroySkinManager();
  return written ? 0 : 1;
}
