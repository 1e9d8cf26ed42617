// Timing driver of the skinned frame on the real main window; prints
// figures, asserts nothing. With --shots FOLDER it saves the window as BMP:
// plain.bmp (skin off), skin0.bmp .. skin4.bmp (each embedded skin).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "app/Main.h"
#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinReadMessage.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

using twtest::PumpUntil;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Mean time of a synchronous repaint of the whole client area, children
// included (every control paints once per round).
double ClientRepaintMs(HWND window, int rounds) {
  const auto start = Clock::now();
  for (int i = 0; i < rounds; ++i)
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return Ms(Clock::now() - start) / rounds;
}

bool Save(const std::wstring& path, HWND window) {
  twtest::PumpUntilIdle();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return twtest::SaveWindowBmp(window, path);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring shots;
  if (argc >= 3 && std::wstring(argv[1]) == L"--shots") shots = argv[2];

  Application->Initialize();
  InstallSkinReaderMessageBox();
  Application->SetTitle(L"Tonewell 2.1");
  Application->CreateForm<TFrmMain>(FrmMain);
  HWND window = FrmMain->Handle();
  auto skinned = [&] {
    TWinSkinForm* frame = SkinManager() ? SkinManager()->FindSkinForm(window) : nullptr;
    return SendMessageW(window, WM_SKINQUERY, 0, 0) == 1 && frame && frame->SkinMessageSeen();
  };

  const auto shown = Clock::now();
  FrmMain->Show();
  SetForegroundWindow(window);
  if (!PumpUntil(skinned)) {
    std::printf("the main window was never framed\n");
    return 1;
  }
  std::printf("window shown to skinned frame: %.1f ms (goal < 600 ms)\n", Ms(Clock::now() - shown));
  PumpUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; });

  TWinSkinForm* frame = SkinManager()->FindSkinForm(window);
  constexpr int kRounds = 50;
  auto start = Clock::now();
  for (int i = 0; i < kRounds; ++i) SendMessageW(window, WM_SKINNCPAINT, 0, 0);
  GdiFlush();
  std::printf("full frame repaint: %.2f ms (mean of %d)\n", Ms(Clock::now() - start) / kRounds, kRounds);
  std::printf("whole client area repaint, every control skinned: %.2f ms (mean of %d)\n",
              ClientRepaintMs(window, kRounds), kRounds);

#ifdef TW_HAVE_CAPTION_BUTTONS
  if (TCaptionButtons* buttons = frame->Buttons(); buttons && buttons->Count() > 0) {
    TWinSysButton* button = buttons->Button(0);
    start = Clock::now();
    for (int i = 0; i < kRounds; ++i) {
      button->State = (i % 2) ? 3 : 1;
      buttons->PaintButton(*button);
    }
    GdiFlush();
    std::printf("caption-button hover repaint: %.3f ms (mean of %d)\n", Ms(Clock::now() - start) / kRounds, kRounds);
    button->State = 1;
  } else {
    std::printf("caption-button hover repaint: the skin has no caption buttons\n");
  }
#else
  std::printf("caption-button hover repaint: no caption buttons built in\n");
#endif

  // The same repaint with the skin off, for comparison; then back on.
  FrmMain->SkinData1->SetActive(false);
  PumpUntil([] { return SkinManager()->Forms().empty(); });
  std::printf("whole client area repaint, native look: %.2f ms (mean of %d)\n", ClientRepaintMs(window, kRounds),
              kRounds);
  FrmMain->SkinData1->SetActive(true);
  PumpUntil(skinned);

  if (!shots.empty()) {
    CreateDirectoryW(shots.c_str(), nullptr);
    TSkinData* skin = FrmMain->SkinData1;
    for (int i = 0; i < 5; ++i) {
      skin->LoadFromStore(FrmMain->SkinStore1, i);
      PumpUntil([&] { return !SkinManager()->ActionPending() && SkinManager()->PendingSkin() == nullptr; });
      Save(shots + L"\\skin" + std::to_wstring(i) + L".bmp", window);
    }
    skin->SetActive(false);
    PumpUntil([] { return SkinManager()->Forms().empty(); });
    Save(shots + L"\\plain.bmp", window);

    skin->LoadFromStore(FrmMain->SkinStore1, 2);
    skin->SetActive(true);
    PumpUntil(skinned);
    Save(shots + L"\\skin2-again.bmp", window);
  }
  TComponent::Free(FrmMain);
  return 0;
}
