// The control gallery under each of the five embedded skins (a test program
// of the Windows tree; asserts nothing). The skins come from the real main
// window's description, which is created but never shown; the gallery form
// is skinned by the skin manager like any form of the program.
//   SkinnedGallery.exe FOLDER   saves FOLDER\gallery-skin0.bmp .. gallery-skin4.bmp
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Main.h"
#include "gui/Forms.h"
#include "tests/skin/controls/support/EachSkinShots.h"

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

  skintest::SaveUnderEachSkin(window, folder, L"gallery-skin");
  TComponent::Free(gallery);
  TComponent::Free(FrmMain);
  return 0;
}
