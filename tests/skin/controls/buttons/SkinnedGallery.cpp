// The control gallery under each of the five embedded skins (a test program
// of the Windows tree; asserts nothing). The skins come from the real main
// window's description, which is created but never shown; the gallery form
// is skinned by the skin manager like any form of the program.
//   SkinnedGallery.exe FOLDER   saves FOLDER\gallery-skin0.bmp .. gallery-skin4.bmp
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/Main.h"
#include "gui/Forms.h"
#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

bool Save(const std::wstring& path, HWND window) {
  twtest::PumpUntilIdle();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  twtest::PumpUntilIdle();
  return twtest::SaveWindowBmp(window, path);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: SkinnedGallery FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  Application->Initialize();
  Application->SetTitle(L"Control gallery");
  Application->CreateForm<TFrmMain>(FrmMain);  // the skin store and definition

  const TClassInfo* info = FindClassInfo(L"TGalleryForm");
  auto* gallery = info ? dynamic_cast<TCustomForm*>(info->create(Application)) : nullptr;
  if (!gallery) {
    std::printf("no gallery form\n");
    return 1;
  }
  gallery->ReadDescription();
  gallery->DoCreate();
  gallery->Show();
  HWND window = gallery->Handle();
  SetForegroundWindow(window);

  CreateDirectoryW(folder.c_str(), nullptr);
  TSkinData* skin = FrmMain->SkinData1;
  for (int i = 0; i < 5; ++i) {
    skin->LoadFromStore(FrmMain->SkinStore1, i);
    skin->SetActive(true);
    const bool skinned = twtest::PumpUntil([&] {
      TWinSkinForm* frame = SkinManager() ? SkinManager()->FindSkinForm(window) : nullptr;
      return frame && frame->SkinMessageSeen() && !SkinManager()->ActionPending() &&
             SkinManager()->PendingSkin() == nullptr;
    });
    const std::wstring path = folder + L"\\gallery-skin" + std::to_wstring(i) + L".bmp";
    std::printf("skin %d: %s%s\n", i, skinned ? "" : "(never skinned) ", Save(path, window) ? "saved" : "not saved");
  }
  TComponent::Free(gallery);
  TComponent::Free(FrmMain);
  return 0;
}
