// Message pumping for Windows tests: wait on conditions, never on the clock.
//
// Functions in this file:
//   PumpPending      handles every message waiting now, then returns
//   PumpUntil        handles messages until a condition holds (generous limit)
//   PumpUntilIdle    handles messages until the queue stays empty and no
//                    window of the thread needs painting
//   PollUntil        checks a condition until it holds, handling no messages:
//                    for helper threads, and for drivers of other processes
//                    (seen under Wine: a driver that handled its own
//                    messages while it moved the mouse over another
//                    program's menu made that menu miss the pointer)
//   SetPumpDispatcher  replaces how one message is handled (e.g. through the
//                    application, so its keyboard handling runs); nullptr
//                    restores TranslateMessage + DispatchMessage
//   DispatchingMessage  the message the pump is dispatching right now (or
//                    nullptr): lets recorders tell posted messages from sent
#pragma once

#include <windows.h>

#include <functional>

namespace twtest {

// Default upper bound of every wait: generous, for a loaded machine.
constexpr DWORD kWaitLimitMs = 20000;

void SetPumpDispatcher(std::function<void(MSG&)> dispatch);
void PumpPending();
// True when `condition` held before the limit ran out.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = kWaitLimitMs);
// True when the thread went idle before the limit.
bool PumpUntilIdle(DWORD limitMs = kWaitLimitMs);
// True when `condition` held before the limit ran out (checked once more at
// the limit).
bool PollUntil(const std::function<bool()>& condition, DWORD limitMs = kWaitLimitMs);
const MSG* DispatchingMessage();

}  // namespace twtest
