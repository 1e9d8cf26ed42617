// Timing driver (no assertions): one hovered push button repainted, native
// and under each embedded skin; a progress bar repainted at 50 %. Prints the
// mean time of one repaint (invalidate + synchronous paint).
//
// Usage: ButtonRepaintBench.exe [--shots FOLDER]
//   --shots  also writes FOLDER/button-<skin>-hot.bmp and -pressed.bmp
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinProgress.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

const char* const kSkinNames[] = {"porcelain", "graphite", "jade", "amber", "ink"};
constexpr int kRepaints = 500;

std::unique_ptr<TSkinModel> LoadSkin(int index) {
  const std::string path = std::string(TW_SKINS_FOLDER) + "/SkinItem" + std::to_string(index) + ".skn";
  std::ifstream in("Z:" + path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TSkinReader reader;
  if (bytes.empty() || !reader.Open(bytes)) return nullptr;
  std::vector<uint8_t> ini;
  std::string name;
  if (!reader.ExtractFirstMatch(".ini", ini, name)) return nullptr;
  TQuickIni settings;
  settings.LoadFromText(std::string_view(reinterpret_cast<const char*>(ini.data()), ini.size()));
  TSkinEnvironment env;
  env.HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
  auto model = std::make_unique<TSkinModel>();
  model->Build(reader, settings, env);
  return model;
}

// Microseconds of one repaint of the window.
double RepaintUs(HWND window) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < kRepaints; ++i) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
  GdiFlush();
  QueryPerformanceCounter(&b);
  return double(b.QuadPart - a.QuadPart) * 1e6 / double(f.QuadPart) / kRepaints;
}

void SaveShot(HWND window, const std::wstring& folder, const std::string& name) {
  twtest::PumpPending();
  twtest::SaveWindowBmp(window, folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp");
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring shots;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--shots") shots = std::wstring(argv[i + 1], argv[i + 1] + strlen(argv[i + 1]));
  Application->Initialize();
  TForm* form = new TForm(Application);
  form->SetBounds(40, 40, 460, 140);
  form->SetText(L"Button repaint");
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 97, 33);
  button->SetCaption(L"立即转换");
  auto* bar = new TProgressBar(form);
  bar->SetParent(form);
  bar->SetBounds(20, 70, 409, 17);
  bar->SetPosition(50);
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  twtest::PumpPending();

  std::printf("one repaint, mean of %d (microseconds):\n", kRepaints);
  std::printf("  %-10s button %8.1f   progress %8.1f\n", "native", RepaintUs(button->Handle()), RepaintUs(bar->Handle()));
  for (int i = 0; i < 5; ++i) {
    std::unique_ptr<TSkinModel> model = LoadSkin(i);
    if (!model) {
      std::printf("  %-10s skin package not found\n", kSkinNames[i]);
      continue;
    }
    skintest::TTestFrame frame(form->Handle(), std::move(model));
    auto* skin = new TSkinButton(button);
    skin->AttachControl(&frame, false, nullptr);
    (new TSkinProgress(bar))->AttachControl(&frame, false, nullptr);
    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));  // hovered
    twtest::PumpPending();
    const double buttonUs = RepaintUs(button->Handle());
    std::printf("  %-10s button %8.1f   progress %8.1f\n", kSkinNames[i], buttonUs, RepaintUs(bar->Handle()));
    if (!shots.empty()) {
      SaveShot(form->Handle(), shots, std::string("button-") + kSkinNames[i] + "-hot");
      SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      SaveShot(form->Handle(), shots, std::string("button-") + kSkinNames[i] + "-pressed");
      SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);
    }
    frame.ReleaseAll();
    twtest::PumpPending();
  }
  TComponent::Free(form);
  return 0;
}
