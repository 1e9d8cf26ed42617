#include "tests/support/Pump.h"

namespace twtest {

namespace {
std::function<void(MSG&)>& Dispatcher() {
  static std::function<void(MSG&)> dispatch;
  return dispatch;
}
thread_local const MSG* tDispatching = nullptr;

bool PumpOne() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  const MSG* outer = tDispatching;
  tDispatching = &msg;
  if (Dispatcher()) {
    Dispatcher()(msg);
  } else {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  tDispatching = outer;
  return true;
}
}  // namespace

void SetPumpDispatcher(std::function<void(MSG&)> dispatch) { Dispatcher() = std::move(dispatch); }

const MSG* DispatchingMessage() { return tDispatching; }

void PumpPending() {
  while (PumpOne()) {
  }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (condition()) return true;
    if (GetTickCount() - start > limitMs) return false;
    // Wakes at once for input; the short bound only re-checks conditions
    // that change without a message (other threads, other processes).
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool PollUntil(const std::function<bool()>& condition, DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= limitMs) return condition();
    Sleep(10);  // the polling interval; the wait itself ends on the condition
  }
  return true;
}

bool PumpUntilIdle(DWORD limitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    bool handled = false;
    while (PumpOne()) handled = true;
    // WM_PAINT is generated only when asked for: an empty queue with
    // windows still to paint is not idle.
    if (!handled && !GetQueueStatus(QS_ALLINPUT)) return true;
    if (GetTickCount() - start > limitMs) return false;
  }
}

}  // namespace twtest
