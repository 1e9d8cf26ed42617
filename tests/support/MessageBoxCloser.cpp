#include "tests/support/MessageBoxCloser.h"

#include <algorithm>

#include "tests/support/Pump.h"

namespace twtest {

namespace {
struct TFind {
  const std::vector<HWND>* skip;
  HWND found = nullptr;
};
BOOL CALLBACK FindBox(HWND h, LPARAM p) {
  auto* f = reinterpret_cast<TFind*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(h) &&
      std::find(f->skip->begin(), f->skip->end(), h) == f->skip->end()) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

TMessageBoxCloser::TMessageBoxCloser(WORD button)
    : TMessageBoxCloser([button](HWND box) { PostMessageW(box, WM_COMMAND, button, 0); }) {}

TMessageBoxCloser::TMessageBoxCloser(std::function<void(HWND)> answer)
    : FAnswer(std::move(answer)), FThread([this] { Run(); }) {}

TMessageBoxCloser::~TMessageBoxCloser() {
  FStop = true;
  FThread.join();
}

std::vector<TMessageBoxCloser::TBox> TMessageBoxCloser::Boxes() const {
  std::lock_guard<std::mutex> g(FLock);
  return FBoxes;
}

TMessageBoxCloser::TBox TMessageBoxCloser::Last() const {
  std::lock_guard<std::mutex> g(FLock);
  return FBoxes.empty() ? TBox{} : FBoxes.back();
}

bool TMessageBoxCloser::WaitForClosed(int count, DWORD limitMs) const {
  return PumpUntil([&] { return FClosed.load() >= count; }, limitMs);
}

void TMessageBoxCloser::Run() {
  while (!FStop) {
    TFind f{&FHandled};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&f));
    if (f.found) {
      wchar_t text[1024] = {}, caption[256] = {};
      GetDlgItemTextW(f.found, 0xFFFF, text, 1024);
      GetWindowTextW(f.found, caption, 256);
      {
        std::lock_guard<std::mutex> g(FLock);
        FBoxes.push_back(TBox{caption, text});
      }
      // A box stays visible for a moment after the command: never answer
      // the same one twice.
      FHandled.push_back(f.found);
      FAnswer(f.found);
      ++FClosed;
    }
    Sleep(20);  // polling interval of this helper thread, not a test wait
  }
}

}  // namespace twtest
