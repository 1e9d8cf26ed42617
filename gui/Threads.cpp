#include "gui/Threads.h"

#include <process.h>

namespace {
std::atomic<DWORD> gGuiThread{0};
}

DWORD GuiThreadId() {
  DWORD id = gGuiThread.load();
  return id ? id : GetCurrentThreadId();
}

bool IsGuiThread() { return gGuiThread.load() == 0 || gGuiThread.load() == GetCurrentThreadId(); }

void SetGuiThread() {
  DWORD expected = 0;
  gGuiThread.compare_exchange_strong(expected, GetCurrentThreadId());
}

TThread::TThread(bool createSuspended) {
  // Always start suspended so the object is complete before Execute runs.
  unsigned id = 0;
  uintptr_t h = _beginthreadex(nullptr, 0, &TThread::ThreadEntry, this, CREATE_SUSPENDED, &id);
  if (!h) throw EThread(L"Thread creation failed (error " + IntToStr(static_cast<int64_t>(GetLastError())) + L")");
  FHandle = reinterpret_cast<HANDLE>(h);
  FThreadId = id;
  FSuspended = true;
  if (!createSuspended) Start();
}

TThread::~TThread() {
  if (FHandle) {
    if (!FFinished) {
      Terminate();
      // A thread that never started ends without running Execute (the
      // subclass is gone by now).
      if (FSuspended) {
        FAbandoned = true;
        Start();
      }
      if (GetCurrentThreadId() != FThreadId) WaitForWithMessages(FHandle, INFINITE);
    }
    CloseHandle(FHandle);
  }
}

void TThread::Start() {
  if (!FSuspended) return;
  FSuspended = false;
  ResumeThread(FHandle);
}

DWORD TThread::WaitFor() {
  if (GetCurrentThreadId() == FThreadId) throw EThread(L"A thread cannot wait for itself");
  if (FSuspended) throw EThread(L"Waiting for a suspended thread");
  if (IsGuiThread()) WaitForWithMessages(FHandle, INFINITE);
  else WaitForSingleObject(FHandle, INFINITE);
  return static_cast<DWORD>(FReturnValue);
}

unsigned __stdcall TThread::ThreadEntry(void* p) {
  TThread* self = static_cast<TThread*>(p);
  try {
    if (!self->FAbandoned) self->Execute();
  } catch (...) {
    self->FFatal = std::current_exception();
  }
  // Once FFinished is set the owner may free the object: nothing of it is
  // read after that.
  const unsigned result = static_cast<unsigned>(self->FReturnValue);
  self->FFinished = true;
  return result;
}

DWORD WaitForWithMessages(HANDLE handle, DWORD timeoutMs, TWaitMessages mode) {
  const DWORD start = GetTickCount();
  const DWORD wake = mode == TWaitMessages::All ? QS_ALLINPUT : QS_SENDMESSAGE;
  bool quit = false;
  int quitCode = 0;
  DWORD result;
  for (;;) {
    DWORD remaining = INFINITE;
    if (timeoutMs != INFINITE) {
      DWORD elapsed = GetTickCount() - start;
      remaining = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
    }
    // MWMO_INPUTAVAILABLE: wake for messages already queued before the call.
    DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, remaining, wake, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0) {
      result = WAIT_OBJECT_0;
      break;
    }
    if (r == WAIT_TIMEOUT) {
      result = WAIT_TIMEOUT;
      break;
    }
    if (r == WAIT_FAILED) {
      result = WAIT_FAILED;
      break;
    }
    // Messages: a peek delivers every pending sent message.
    MSG msg;
    if (mode == TWaitMessages::SentOnly) {
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quit = true;
          quitCode = static_cast<int>(msg.wParam);
          continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (remaining == 0) {
      result = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
      break;
    }
  }
  if (quit) PostQuitMessage(quitCode);
  return result;
}
