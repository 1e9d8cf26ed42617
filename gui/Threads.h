// Threads and waiting on the GUI thread (Windows).
//
// Classes and functions in this file:
//   TThread                 worker thread: created running or suspended, terminate
//                           request, WaitFor, an exception of Execute kept
//   WaitForWithMessages     wait for a handle while the calling (GUI) thread keeps
//                           handling messages, so a worker that sends a message to
//                           one of its windows never deadlocks
//   GuiThreadId, IsGuiThread  the thread that initialised the library
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <string>

#include "gui/Core.h"

class EThread : public Exception {
 public:
  using Exception::Exception;
};

class TThread : public TObject {
 public:
  // The thread object exists at once; Execute runs on the new thread, at
  // once or after Start() when created suspended.
  explicit TThread(bool createSuspended);
  // Asks the thread to terminate and waits for it. A subclass whose Execute
  // uses the subclass's members must call Terminate() and WaitFor() in its
  // own destructor (members are gone by the time this one runs).
  ~TThread() override;

  void Start();  // resumes a suspended thread; no effect otherwise
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Blocks until the thread ends (on the GUI thread: while handling sent
  // messages). Answers ReturnValue. Calling it from the thread itself raises.
  DWORD WaitFor();
  bool Finished() const { return FFinished; }
  bool Suspended() const { return FSuspended; }
  HANDLE Handle() const { return FHandle; }
  DWORD ThreadID() const { return FThreadId; }

  // The exception that left Execute, if any (kept, not lost).
  std::exception_ptr FatalException() const { return FFatal; }
  std::wstring FatalMessage() const { return ExceptionText(FFatal); }
  int ReturnValue() const { return FReturnValue; }

 protected:
  virtual void Execute() = 0;
  void SetReturnValue(int v) { FReturnValue = v; }

 private:
  static unsigned __stdcall ThreadEntry(void* self);

  HANDLE FHandle = nullptr;
  DWORD FThreadId = 0;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FSuspended{false};
  std::atomic<bool> FAbandoned{false};  // destroyed before it ever started
  std::exception_ptr FFatal;
  int FReturnValue = 0;
};

enum class TWaitMessages {
  SentOnly,  // messages sent from other threads only (safe: no input re-entry)
  All,       // every message, like ProcessMessages
};

// WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED. timeoutMs INFINITE waits for
// ever. A WM_QUIT seen while waiting is posted again for the outer loop.
DWORD WaitForWithMessages(HANDLE handle, DWORD timeoutMs, TWaitMessages mode = TWaitMessages::SentOnly);

// The thread that first used the library's windows (normally the main thread).
DWORD GuiThreadId();
bool IsGuiThread();
// Records the calling thread as the GUI thread (done by Application).
void SetGuiThread();
