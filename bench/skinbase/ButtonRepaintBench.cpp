// Timing driver (no assertions): one hovered push button repainted, native
// and under each embedded skin; a progress bar repainted at 50 %. Prints the
// mean time of one repaint (invalidate + synchronous paint).
//
// Usage: ButtonRepaintBench.exe [--shots FOLDER]
//   --shots  also writes FOLDER/button-<skin>-hot.bmp and -pressed.bmp
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/support/BenchSkins.h"
#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinProgress.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/Pump.h"

namespace {

constexpr int kRepaints = 500;

// Microseconds of one repaint of the window.
double RepaintUs(HWND window) {
  return 1e6 * bench::MeanSeconds(kRepaints, [&] {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  });
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring shots = bench::ShotsFolder(argc, argv);
  TForm* form = bench::BenchForm(460, 140, L"Button repaint");
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 97, 33);
  button->SetCaption(L"立即转换");
  auto* bar = new TProgressBar(form);
  bar->SetParent(form);
  bar->SetBounds(20, 70, 409, 17);
  bar->SetPosition(50);
  bench::ShowOnTop(form);

  std::printf("one repaint, mean of %d (microseconds):\n", kRepaints);
  std::printf("  %-10s button %8.1f   progress %8.1f\n", "native", RepaintUs(button->Handle()), RepaintUs(bar->Handle()));
  for (int i = 0; i < bench::kEmbeddedSkinCount; ++i) {
    std::unique_ptr<TSkinModel> model = bench::LoadEmbeddedSkin(TW_SKINS_FOLDER, i);
    if (!model) {
      std::printf("  %-10s skin package not found\n", bench::kEmbeddedSkinNames[i]);
      continue;
    }
    skintest::TTestFrame frame(form->Handle(), std::move(model));
    auto* skin = new TSkinButton(button);
    skin->AttachControl(&frame, false, nullptr);
    (new TSkinProgress(bar))->AttachControl(&frame, false, nullptr);
    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));  // hovered
    twtest::PumpPending();
    const double buttonUs = RepaintUs(button->Handle());
    std::printf("  %-10s button %8.1f   progress %8.1f\n", bench::kEmbeddedSkinNames[i], buttonUs, RepaintUs(bar->Handle()));
    if (!shots.empty()) {
      bench::SaveShot(form->Handle(), shots, std::string("button-") + bench::kEmbeddedSkinNames[i] + "-hot");
      SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      bench::SaveShot(form->Handle(), shots, std::string("button-") + bench::kEmbeddedSkinNames[i] + "-pressed");
      SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
    }
    frame.ReleaseAll();
    twtest::PumpPending();
  }
  TComponent::Free(form);
  return 0;
}
