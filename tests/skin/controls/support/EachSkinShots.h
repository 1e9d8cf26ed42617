// Picture programs of the skinned kinds: a shown window saved once under
// each embedded skin of the real main window's store.
//   SaveUnderEachSkin  FOLDER\<prefix>0.bmp .. <prefix>4.bmp, a line per skin
// Needs FrmMain created (its SkinData1 and SkinStore1); links tw_pump and
// tw_window_capture.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Main.h"
#include "skin/data/SkinData.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace skintest {

inline void SaveUnderEachSkin(HWND window, const std::wstring& folder, const std::wstring& prefix) {
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
    // The capture shows the last state: everything repainted, nothing pending.
    twtest::PumpUntilIdle();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    twtest::PumpUntilIdle();
    const std::wstring path = folder + L"\\" + prefix + std::to_wstring(i) + L".bmp";
    std::printf("skin %d: %s%s\n", i, skinned ? "" : "(never skinned) ",
                twtest::SaveWindowBmp(window, path) ? "saved" : "not saved");
  }
}

}  // namespace skintest
