// Worker threads, the message-handling wait and the message-driven timer.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "gui/Threads.h"
#include "gui/Timer.h"
#include "tests/support/Pump.h"

namespace {

std::atomic<int> gExecuteRuns{0};

class TCountingThread : public TThread {
 public:
  explicit TCountingThread(bool suspended, bool fail = false) : TThread(suspended), FFail(fail) {}
  ~TCountingThread() override {
    Terminate();
    if (!Suspended()) WaitFor();
  }
  std::atomic<int> loops{0};

 protected:
  void Execute() override {
    ++gExecuteRuns;
    if (FFail) throw Exception(L"worker failed: 失败");
    while (!Terminated()) {
      ++loops;
      Sleep(1);
    }
    SetReturnValue(7);
  }

 private:
  bool FFail;
};

// Sends a message to a window of the GUI thread, then ends.
class TSendingThread : public TThread {
 public:
  TSendingThread(HWND target) : TThread(false), FTarget(target) {}
  ~TSendingThread() override { WaitFor(); }
  LRESULT answer = 0;

 protected:
  void Execute() override { answer = SendMessageW(FTarget, WM_APP + 1, 20, 22); }

 private:
  HWND FTarget;
};

LRESULT CALLBACK AddingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP + 1) return static_cast<LRESULT>(w + l);
  return DefWindowProcW(h, m, w, l);
}

HWND MakeMessageWindow() {
  static bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = AddingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ThreadTestTarget";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, L"ThreadTestTarget", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

TEST(Thread, SuspendedStartsOnlyWhenToldAndStopsOnTerminate) {
  TCountingThread t(true);
  Sleep(50);
  EXPECT_EQ(t.loops.load(), 0);
  EXPECT_TRUE(t.Suspended());
  t.Start();
  ASSERT_TRUE(twtest::PumpUntil([&] { return t.loops.load() >= 3; }));
  EXPECT_FALSE(t.Finished());
  t.Terminate();
  EXPECT_EQ(t.WaitFor(), 7u);
  EXPECT_TRUE(t.Finished());
  EXPECT_EQ(t.FatalException(), nullptr);
}

TEST(Thread, ExceptionInBodyIsKept) {
  TCountingThread t(false, true);
  t.WaitFor();
  ASSERT_NE(t.FatalException(), nullptr);
  EXPECT_EQ(t.FatalMessage(), L"worker failed: 失败");
}

TEST(Thread, DestroyingARunningOrSuspendedThreadEndsIt) {
  auto* running = new TCountingThread(false);
  ASSERT_TRUE(twtest::PumpUntil([&] { return running->loops.load() >= 1; }));
  delete running;  // must not hang
  int runs = gExecuteRuns.load();
  auto* never = new TCountingThread(true);
  delete never;  // never started: its Execute must not run on a half-destroyed object
  Sleep(50);
  EXPECT_EQ(gExecuteRuns.load(), runs);
}

TEST(MessageWait, SentMessageFromWorkerIsAnsweredWhileWaiting) {
  HWND target = MakeMessageWindow();
  ASSERT_NE(target, nullptr);
  TSendingThread worker(target);
  // A plain WaitForSingleObject here would deadlock: the worker's
  // SendMessage needs this thread to handle it.
  DWORD r = WaitForWithMessages(worker.Handle(), 5000);
  EXPECT_EQ(r, WAIT_OBJECT_0);
  EXPECT_EQ(worker.answer, 42);
  DestroyWindow(target);
}

TEST(MessageWait, TimesOutAndKeepsQuitForTheOuterLoop) {
  HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD start = GetTickCount();
  EXPECT_EQ(WaitForWithMessages(never, 100, TWaitMessages::All), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(GetTickCount() - start, 90u);
  PostQuitMessage(3);
  EXPECT_EQ(WaitForWithMessages(never, 50, TWaitMessages::All), static_cast<DWORD>(WAIT_TIMEOUT));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  CloseHandle(never);
}

namespace {
struct TickCounter {
  int ticks = 0;
  void OnTick(TObject*) { ++ticks; }
};

class TThrowingTimer : public TTimer {
 public:
  using TTimer::TTimer;
  int ticks = 0;

 protected:
  void Timer() override {
    ++ticks;
    throw Exception(L"tick failed");
  }
};

// A plain timer of the thread, to measure "a while" in ticks instead of time.
struct TReferenceTimer {
  explicit TReferenceTimer(UINT ms) : id(SetTimer(nullptr, 0, ms, Tick)) { count = 0; }
  ~TReferenceTimer() { KillTimer(nullptr, id); }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ++count; }
  static inline int count = 0;
  UINT_PTR id;
};
}  // namespace

TEST(Timer, TicksThroughMessagesAndStopsWhenDisabled) {
  TickCounter counter;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.OnTimer = MakeDelegate<TNotifyEvent>(&counter, &TickCounter::OnTick);
  // No message handling: no ticks, even once a tick is due in the queue.
  ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, twtest::kWaitLimitMs, QS_TIMER), WAIT_OBJECT_0);
  EXPECT_EQ(counter.ticks, 0);
  EXPECT_TRUE(twtest::PumpUntil([&] { return counter.ticks >= 3; }));
  timer.SetEnabled(false);
  int seen = counter.ticks;
  {
    TReferenceTimer reference(20);  // several intervals pass...
    EXPECT_TRUE(twtest::PumpUntil([&] { return TReferenceTimer::count >= 5; }));
  }
  EXPECT_EQ(counter.ticks, seen);  // ...without a tick of the disabled timer
  EXPECT_FALSE(timer.Running());
  timer.SetInterval(0);
  timer.SetEnabled(true);
  EXPECT_FALSE(timer.Running());
  // Published properties by name.
  SetPropText(&timer, L"Interval", L"30");
  EXPECT_EQ(timer.Interval(), 30u);
  EXPECT_TRUE(timer.Running());
}

TEST(Timer, ExceptionInTickGoesToTheHandlerAndTimerGoesOn) {
  int reported = 0;
  SetExceptionHandler([&](const std::exception_ptr& e) {
    if (ExceptionText(e) == L"tick failed") ++reported;
  });
  TThrowingTimer timer(nullptr);
  timer.SetInterval(20);
  EXPECT_TRUE(twtest::PumpUntil([&] { return timer.ticks >= 2; }));
  EXPECT_EQ(reported, timer.ticks);
  SetExceptionHandler(nullptr);
}
