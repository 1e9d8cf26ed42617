#include "gui/Timer.h"

TW_IMPLEMENT_CLASS(TTimer, [](TClassBuilder<TTimer>& c) {
  c.Bool(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
  c.Int(L"Interval", &TTimer::Interval, &TTimer::SetInterval);
  c.Event(L"OnTimer", &TTimer::OnTimer);
})

namespace {
const wchar_t kTimerClass[] = L"TwTimerWindow";
constexpr UINT_PTR kTimerId = 1;

void RegisterTimerClass() {
  static bool done = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    RegisterClassW(&wc);
    return true;
  }();
  (void)done;
}
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  RegisterTimerClass();
  FWindow = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  if (FWindow) {
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TTimer::TimerWndProc));
  }
  Update();
}

TTimer::~TTimer() {
  FEnabled = false;
  if (FWindow) {
    KillTimer(FWindow, kTimerId);
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == FInterval) return;
  FInterval = ms;
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Update() {
  if (!FWindow) return;
  KillTimer(FWindow, kTimerId);
  FRunning = false;
  // While a description is read, the timer starts only once all is set.
  if (FEnabled && FInterval > 0 && !Loading())
    FRunning = SetTimer(FWindow, kTimerId, FInterval, nullptr) != 0;
}

void TTimer::Timer() { OnTimer(this); }

LRESULT CALLBACK TTimer::TimerWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->FEnabled) {
      try {
        self->Timer();
      } catch (...) {
        HandleCallbackException(std::current_exception());
      }
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}
