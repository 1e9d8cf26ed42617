// Console command runner: starts one console program at a time with its
// standard output and error on one pipe, reads the pipe on a worker thread,
// cuts the bytes into lines and reports lines and the end through events.
//
// Classes in this file:
//   TOutputType, TNewLineEvent     kind of a reported line; the line event
//   EDosCommand, TCreateProcessError  errors of the start and of the child's creation
//   TDosLines                      the collected lines, safe to read while the worker adds
//   TProcessTimer                  one-second counters; its enabled state is the running state
//   TDosThread                     the worker of one command
//   TDosCommand                    the runner component
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "console/LineCutter.h"
#include "gui/Core.h"
#include "gui/Threads.h"
#include "gui/Timer.h"

enum TOutputType {
  otEntireLine = 0,       // a completed line
  otBeginningOfLine = 1,  // the beginning of a line whose end has not arrived yet
};

// Sender, the line's bytes (as the child wrote them), its kind.
using TNewLineEvent = TDelegate<void(TObject* Sender, const std::string& NewLine, TOutputType OutputType)>;

class EDosCommand : public Exception {
 public:
  using Exception::Exception;
};

// The child could not be created; not an EDosCommand.
class TCreateProcessError : public Exception {
 public:
  using Exception::Exception;
};

// Completed output lines. The worker appends while other threads read, so
// every access takes the lock; readers that look at several lines take a
// Snapshot(). Only the newest lines are kept: at most kMaxLines, and the
// oldest go once the text passes kMaxBytes (the newest line always stays).
class TDosLines {
 public:
  static constexpr std::size_t kMaxLines = 10000;
  static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;

  void Add(const std::string& line);
  void Clear();
  int Count() const;
  // The line at `index`, or an empty text when the index is out of range.
  std::string Strings(int index) const;
  std::vector<std::string> Snapshot() const;

 private:
  mutable std::mutex FLock;
  std::deque<std::string> FLines;
  std::size_t FBytes = 0;
};

class TDosCommand;

class TProcessTimer : public TTimer {
  TW_DECLARE_CLASS(TProcessTimer, TTimer)
 public:
  // A disabled timer whose ticks count.
  explicit TProcessTimer(TComponent* owner);
  ~TProcessTimer() override;

  // Interval 1000 ms, both counters 0, enabled. GUI thread.
  void Begin();
  // SinceLastOutput becomes 0. Any thread.
  void ResetLastOutput() { FSinceLastOutput = 0; }
  // Stops counting; IsActive() turns false at once, the platform timer stops
  // at its next tick on the GUI thread. Any thread.
  void Disable() { FActive = false; }

  bool IsActive() const { return FActive; }
  int SinceBeginning() const { return FSinceBeginning; }
  int SinceLastOutput() const { return FSinceLastOutput; }

 protected:
  // Tick: both counters increase by 1.
  void Timer() override;

 private:
  friend class TDosCommand;
  std::atomic<int> FSinceBeginning{0};
  std::atomic<int> FSinceLastOutput{0};
  std::atomic<bool> FActive{false};
  // The runner using this timer; told before the timer goes away so its
  // worker ends while the counters still exist.
  TDosCommand* FRunner = nullptr;
};

// What the worker reports back to its runner; written by the worker, read by
// any thread.
struct TDosOutcome {
  TDosOutcome();
  ~TDosOutcome();
  // Marks the command as over: the timer stops counting (IsRunning answers
  // false) and the end event is set. Any thread.
  void Finish(TProcessTimer& timer);

  HANDLE ended = nullptr;                 // manual-reset event, set by Finish
  std::atomic<bool> startFailed{false};   // pipes or child not created
  std::atomic<bool> childEnded{false};    // the child's end was seen
  std::atomic<bool> stopped{false};       // the child was terminated on request
  std::atomic<DWORD> exitCode{STILL_ACTIVE};
  std::mutex lock;
  std::wstring errorText;                 // start failure or handler error
};

class TDosThread : public TThread {
 public:
  struct TSettings {
    TDosCommand* runner = nullptr;
    std::wstring commandLine;
    std::wstring workFolder;
    int maxTimeAfterBeginning = 0;
    int maxTimeAfterLastOutput = 0;
    TNewLineEvent onNewLine;
    TNotifyEvent onTerminated;
    DWORD priorityClass = NORMAL_PRIORITY_CLASS;
  };

  // Created running, with copies of the runner's settings; shares the
  // runner's lines, timer and outcome.
  TDosThread(TSettings settings, TDosLines& lines, TProcessTimer& timer, TDosOutcome& outcome);
  ~TDosThread() override;

 protected:
  void Execute() override;

 private:
  void ReadChild(HANDLE process, HANDLE outputRead);
  void Fail(const std::wstring& text);

  TSettings FSettings;
  TDosLines& FLines;
  TProcessTimer& FTimer;
  TDosOutcome& FOutcome;
};

class TDosCommand : public TComponent {
  TW_DECLARE_CLASS(TDosCommand, TComponent)
 public:
  // construction
  explicit TDosCommand(TComponent* owner);
  // Ends a command still running, so no worker outlives its runner.
  ~TDosCommand() override;

  // attributes (published)
  const std::wstring& CommandLine() const { return FCommandLine; }
  void SetCommandLine(const std::wstring& text) { FCommandLine = text; }
  int MaxTimeAfterBeginning() const { return FMaxTimeAfterBeginning; }
  void SetMaxTimeAfterBeginning(int seconds) { FMaxTimeAfterBeginning = seconds; }
  int MaxTimeAfterLastOutput() const { return FMaxTimeAfterLastOutput; }
  void SetMaxTimeAfterLastOutput(int seconds) { FMaxTimeAfterLastOutput = seconds; }
  // The folder the child starts in; empty: this program's current folder.
  const std::wstring& WorkFolder() const { return FWorkFolder; }
  void SetWorkFolder(const std::wstring& folder) { FWorkFolder = folder; }
  TNewLineEvent OnNewLine;
  TNotifyEvent OnTerminated;

  // attributes (read-only)
  DWORD PriorityClass() const { return FPriorityClass; }
  // Every completed line of the current or last command.
  TDosLines& Lines() { return FLines; }
  const TDosLines& Lines() const { return FLines; }
  TProcessTimer* ProcessTimer() const { return FTimer; }

  // operations
  // Starts CommandLine; returns once the worker exists. Raises EDosCommand
  // for an empty command line, while the previous command still runs, or
  // while a Stop waits. The child is put in a job that ends it when this
  // program ends, however it ends.
  void Execute();
  // Ends the current command, if any, and releases its worker; returns when
  // the worker has ended (handling sent messages on the GUI thread). A Stop
  // entered again from a message handled while an earlier one waits also
  // waits for the end; the outermost releases the worker.
  void Stop();
  // True from Execute until the worker has finished reading; false before
  // the first Execute and once a start has failed.
  bool IsRunning() const;

  // outcome of the current or last command
  // The pipes or the child could not be created (no events were called).
  bool StartFailed() const { return FOutcome.startFailed; }
  // The child ended by itself or by Stop (not cut off by a time limit).
  bool ChildEnded() const { return FOutcome.childEnded; }
  // The child was terminated because Stop asked for it.
  bool ChildStopped() const { return FOutcome.stopped; }
  // The child's exit code once ChildEnded(); STILL_ACTIVE before.
  DWORD ExitCode() const { return FOutcome.exitCode; }
  // Message of a start failure or of an error a line handler raised.
  std::wstring ErrorText() const;
  // A manual-reset event, reset by Execute and set the moment IsRunning turns
  // false (end, time limit, stop, failed start, failed handler), so a waiting
  // GUI thread can sleep in MsgWaitForMultipleObjects instead of polling.
  // Set before the first Execute. Owned by the runner.
  HANDLE EndEvent() const { return FOutcome.ended; }

 private:
  friend class TProcessTimer;
  void TimerGoing();

  std::wstring FCommandLine;
  std::wstring FWorkFolder;
  TDosLines FLines;
  TDosThread* FWorker = nullptr;
  int FStopDepth = 0;  // Stop calls waiting for the worker
  TProcessTimer* FTimer = nullptr;
  int FMaxTimeAfterBeginning = 0;
  int FMaxTimeAfterLastOutput = 0;
  const DWORD FPriorityClass = NORMAL_PRIORITY_CLASS;
  TDosOutcome FOutcome;
};
