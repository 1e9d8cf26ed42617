#include "bench/support/BenchSkins.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace bench {

const char* const kEmbeddedSkinNames[kEmbeddedSkinCount] = {"porcelain", "graphite", "jade", "amber", "ink"};

std::unique_ptr<TSkinModel> LoadEmbeddedSkin(const std::string& folder, int index) {
  const std::string path = folder + "/SkinItem" + std::to_string(index) + ".skn";
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

std::wstring ShotsFolder(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--shots") == 0) return std::wstring(argv[i + 1], argv[i + 1] + std::strlen(argv[i + 1]));
  return {};
}

void SaveShot(HWND window, const std::wstring& folder, const std::string& name) {
  twtest::PumpPending();
  twtest::SaveWindowBmp(window, folder + L"\\" + std::wstring(name.begin(), name.end()) + L".bmp");
}

double MeanSeconds(int times, const std::function<void()>& once) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  for (int i = 0; i < times; ++i) once();
  GdiFlush();
  QueryPerformanceCounter(&b);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart) / times;
}

TForm* BenchForm(int width, int height, const wchar_t* title) {
  Application->Initialize();
  TForm* form = new TForm(Application);
  form->SetBounds(40, 40, width, height);
  form->SetText(title);
  return form;
}

void ShowOnTop(TForm* form) {
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  twtest::PumpPending();
}

}  // namespace bench
