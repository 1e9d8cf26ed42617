#include "console/DosCommand.h"

#include <algorithm>
#include <string_view>
#include <utility>

// ---------------------------------------------------------------------------
// TDosLines

void TDosLines::Add(const std::string& line) {
  std::lock_guard<std::mutex> hold(FLock);
  FLines.push_back(line);
  FBytes += line.size();
  while (FLines.size() > 1 && (FLines.size() > kMaxLines || FBytes > kMaxBytes)) {
    FBytes -= FLines.front().size();
    FLines.pop_front();
  }
}

void TDosLines::Clear() {
  std::lock_guard<std::mutex> hold(FLock);
  FLines.clear();
  FBytes = 0;
}

int TDosLines::Count() const {
  std::lock_guard<std::mutex> hold(FLock);
  return static_cast<int>(FLines.size());
}

std::string TDosLines::Strings(int index) const {
  std::lock_guard<std::mutex> hold(FLock);
  if (index < 0 || static_cast<size_t>(index) >= FLines.size()) return {};
  return FLines[static_cast<size_t>(index)];
}

std::vector<std::string> TDosLines::Snapshot() const {
  std::lock_guard<std::mutex> hold(FLock);
  return std::vector<std::string>(FLines.begin(), FLines.end());
}

// ---------------------------------------------------------------------------
// TProcessTimer

TW_IMPLEMENT_CLASS(TProcessTimer, [](TClassBuilder<TProcessTimer>&) {})

TProcessTimer::TProcessTimer(TComponent* owner) : TTimer(owner) { SetEnabled(false); }

TProcessTimer::~TProcessTimer() {
  if (FRunner) FRunner->TimerGoing();
}

void TProcessTimer::Begin() {
  FSinceBeginning = 0;
  FSinceLastOutput = 0;
  FActive = true;
  SetInterval(1000);
  SetEnabled(false);  // restart the period from now
  SetEnabled(true);
}

void TProcessTimer::Timer() {
  if (!FActive) {
    // Disabled by the worker: stop the platform timer here, on its thread.
    SetEnabled(false);
    return;
  }
  ++FSinceBeginning;
  ++FSinceLastOutput;
}

// ---------------------------------------------------------------------------
// TDosOutcome

TDosOutcome::TDosOutcome() : ended(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

TDosOutcome::~TDosOutcome() {
  if (ended) CloseHandle(ended);
}

void TDosOutcome::Finish(TProcessTimer& timer) {
  timer.Disable();
  if (ended) SetEvent(ended);
}

// ---------------------------------------------------------------------------
// TDosThread

namespace {

// Closes a handle once.
struct OwnedHandle {
  HANDLE h = nullptr;
  void Close() {
    if (h) CloseHandle(h);
    h = nullptr;
  }
};

// The job every child of this program joins. Its handle is never closed by
// the program: the system closes it when the program ends (also by a crash
// or a kill), and closing it ends every child still in it. Null when the
// platform gives no job; children then run unguarded.
HANDLE ChildJob() {
  static const HANDLE job = [] {
    HANDLE h = CreateJobObjectW(nullptr, nullptr);
    if (!h) return HANDLE(nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(h, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
      CloseHandle(h);
      return HANDLE(nullptr);
    }
    return h;
  }();
  return job;
}

}  // namespace

TDosThread::TDosThread(TSettings settings, TDosLines& lines, TProcessTimer& timer, TDosOutcome& outcome)
    : TThread(true), FSettings(std::move(settings)), FLines(lines), FTimer(timer), FOutcome(outcome) {
  Start();
}

TDosThread::~TDosThread() {
  // Execute uses this class's members: end it before they go.
  Terminate();
  if (!Finished()) WaitFor();
}

void TDosThread::Fail(const std::wstring& text) {
  {
    std::lock_guard<std::mutex> hold(FOutcome.lock);
    FOutcome.errorText = text;
  }
  FOutcome.startFailed = true;
  // The command is over: nobody may wait on a running state that never ends.
  FOutcome.Finish(FTimer);
}

void TDosThread::Execute() {
  // Pipe security: inheritable handles, on NT with a descriptor whose access
  // list is present but empty-pointer (open to all).
  SECURITY_ATTRIBUTES sa{};
  sa.nLength = sizeof(sa);
  sa.bInheritHandle = TRUE;
  SECURITY_DESCRIPTOR sd{};
  if (GetVersion() < 0x80000000u) {
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    sa.lpSecurityDescriptor = &sd;
  }

  OwnedHandle inRead, inWrite, outRead, outWrite;
  if (!CreatePipe(&inRead.h, &inWrite.h, &sa, 0)) {
    Fail(L"The input pipe could not be created");
    throw EDosCommand(L"The input pipe could not be created");
  }
  if (!CreatePipe(&outRead.h, &outWrite.h, &sa, 0)) {
    inRead.Close();
    inWrite.Close();
    Fail(L"The output pipe could not be created");
    throw EDosCommand(L"The output pipe could not be created");
  }
  // The child needs only its own ends; ours stay out of every child's handle
  // table (a second runner's child would otherwise hold this pipe open).
  SetHandleInformation(outRead.h, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(inWrite.h, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  GetStartupInfoW(&si);
  // C runtime file tables handed to this program by its own parent are not
  // the child's: it gets exactly the standard handles below.
  si.cbReserved2 = 0;
  si.lpReserved2 = nullptr;
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = outWrite.h;
  si.hStdError = outWrite.h;
  si.hStdInput = inRead.h;

  // CreateProcessW may write into the command line buffer.
  std::wstring commandLine = FSettings.commandLine;
  PROCESS_INFORMATION pi{};
  // Created suspended so it is in the job before it can start children of
  // its own.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      FSettings.priorityClass | CREATE_NEW_CONSOLE | CREATE_SUSPENDED, nullptr,
                      FSettings.workFolder.empty() ? nullptr : FSettings.workFolder.c_str(), &si, &pi)) {
    inRead.Close();
    inWrite.Close();
    outRead.Close();
    outWrite.Close();
    std::wstring text = FSettings.commandLine + L" doesn't exist.";
    Fail(text);
    throw TCreateProcessError(text);
  }
  OwnedHandle thread{pi.hThread}, process{pi.hProcess};
  if (HANDLE job = ChildJob()) AssignProcessToJobObject(job, process.h);
  ResumeThread(thread.h);

  try {
    ReadChild(process.h, outRead.h);
  } catch (...) {
    // A line handler failed: the worker ends here, without the final line
    // and the end event, but nothing stays open, the child (whose output
    // nobody reads any more) is ended and the runner stops running.
    if (WaitForSingleObject(process.h, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process.h, 1);
      FOutcome.stopped = true;
    }
    std::wstring text = ExceptionText(std::current_exception());
    {
      std::lock_guard<std::mutex> hold(FOutcome.lock);
      FOutcome.errorText = text;
    }
    thread.Close();
    process.Close();
    inRead.Close();
    outWrite.Close();
    outRead.Close();
    inWrite.Close();
    FOutcome.Finish(FTimer);
    throw;
  }

  thread.Close();
  process.Close();
  inRead.Close();
  outWrite.Close();
  outRead.Close();
  inWrite.Close();
  FOutcome.Finish(FTimer);
  FSettings.onTerminated(FSettings.runner);
}

void TDosThread::ReadChild(HANDLE process, HANDLE outputRead) {
  tonewell::LineCutter cutter;
  std::vector<char> buffer(1024, '\0');
  auto completeLine = [this](const std::string& line) {
    FTimer.ResetLastOutput();
    FLines.Add(line);
    FSettings.onNewLine(FSettings.runner, line, otEntireLine);
  };
  auto stopRequested = [this] { return Terminated(); };

  // Whether the child had ended before this pass's peek: once it has, the
  // pass still reads everything left in the pipe, then the loop ends. The
  // end is taken from the process object, so an exit code of 259 does not
  // make an ended child look alive.
  bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  for (;;) {
    DWORD peeked = 0, available = 0;
    if (PeekNamedPipe(outputRead, buffer.data(), static_cast<DWORD>(buffer.size()), &peeked, &available,
                      nullptr) &&
        peeked > 0) {
      if (available > buffer.size()) buffer.resize(available);
      std::fill(buffer.begin(), buffer.end(), '\0');
      DWORD got = 0;
      if (ReadFile(outputRead, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
        cutter.Cut(std::string_view(buffer.data(), got), completeLine, stopRequested);
      }
      if (!cutter.Pending().empty())
        FSettings.onNewLine(FSettings.runner, cutter.Pending(), otBeginningOfLine);
    }

    if (ended) {
      DWORD code = STILL_ACTIVE;
      GetExitCodeProcess(process, &code);
      FOutcome.exitCode = code;
      FOutcome.childEnded = true;
      break;
    }
    // The 1 ms pause between passes is a wait on the child, which also reads
    // its state for the next pass: one system call instead of two.
    bool endedNow = WaitForSingleObject(process, 1) == WAIT_OBJECT_0;
    if (Terminated() && !endedNow) {
      TerminateProcess(process, 0);
      FOutcome.stopped = true;
    }
    const int maxBeginning = FSettings.maxTimeAfterBeginning;
    const int maxLastOutput = FSettings.maxTimeAfterLastOutput;
    if (maxBeginning > 0 && maxBeginning < FTimer.SinceBeginning()) break;
    if (maxLastOutput > 0 && maxLastOutput < FTimer.SinceLastOutput()) break;
    ended = endedNow;
  }

  std::string rest = cutter.TakePending();
  if (!rest.empty()) {
    FLines.Add(rest);
    FSettings.onNewLine(FSettings.runner, rest, otEntireLine);
  }
}

// ---------------------------------------------------------------------------
// TDosCommand

TW_IMPLEMENT_CLASS(TDosCommand, [](TClassBuilder<TDosCommand>& c) {
  c.Str(L"CommandLine", &TDosCommand::CommandLine, &TDosCommand::SetCommandLine);
  c.Int(L"MaxTimeAfterBeginning", &TDosCommand::MaxTimeAfterBeginning, &TDosCommand::SetMaxTimeAfterBeginning);
  c.Int(L"MaxTimeAfterLastOutput", &TDosCommand::MaxTimeAfterLastOutput, &TDosCommand::SetMaxTimeAfterLastOutput);
  c.Event(L"OnNewLine", &TDosCommand::OnNewLine);
  c.Event(L"OnTerminated", &TDosCommand::OnTerminated);
})

TDosCommand::TDosCommand(TComponent* owner) : TComponent(owner) {}

TDosCommand::~TDosCommand() {
  Stop();
  if (FTimer) {
    FTimer->FRunner = nullptr;
    if (!FTimer->Owner()) delete FTimer;  // nobody else would release it
  }
}

void TDosCommand::TimerGoing() {
  // The timer is being destroyed (its owner goes first): the worker reads its
  // counters, so it must end now.
  Stop();
  FTimer = nullptr;
}

void TDosCommand::Execute() {
  if (FCommandLine.empty()) throw EDosCommand(L"No Commandline to execute");
  if (FStopDepth > 0) throw EDosCommand(L"The runner is stopping a command");
  if (FWorker) {
    if (!FWorker->Finished()) throw EDosCommand(L"A command is still running; stop it first");
    Stop();
  }
  if (!FTimer) {
    // Owned by the runner's owner, as the runner itself is.
    FTimer = new TProcessTimer(Owner());
    FTimer->FRunner = this;
  }
  FLines.Clear();
  FOutcome.startFailed = false;
  FOutcome.childEnded = false;
  FOutcome.stopped = false;
  FOutcome.exitCode = STILL_ACTIVE;
  if (FOutcome.ended) ResetEvent(FOutcome.ended);
  {
    std::lock_guard<std::mutex> hold(FOutcome.lock);
    FOutcome.errorText.clear();
  }
  FTimer->Begin();

  TDosThread::TSettings settings;
  settings.runner = this;
  settings.commandLine = FCommandLine;
  settings.workFolder = FWorkFolder;
  settings.maxTimeAfterBeginning = FMaxTimeAfterBeginning;
  settings.maxTimeAfterLastOutput = FMaxTimeAfterLastOutput;
  settings.onNewLine = OnNewLine;
  settings.onTerminated = OnTerminated;
  settings.priorityClass = FPriorityClass;
  try {
    FWorker = new TDosThread(std::move(settings), FLines, *FTimer, FOutcome);
  } catch (const std::exception& e) {
    FOutcome.Finish(*FTimer);
    FOutcome.startFailed = true;
    {
      std::lock_guard<std::mutex> hold(FOutcome.lock);
      FOutcome.errorText = Utf8ToWide(e.what());
    }
    throw;
  }
}

void TDosCommand::Stop() {
  TDosThread* worker = FWorker;
  if (!worker) return;
  worker->Terminate();
  // The wait handles sent messages, and one of them may call Stop again (a
  // close sent while this one waits): that call waits too but leaves the
  // worker to this one, which still uses it.
  ++FStopDepth;
  try {
    worker->WaitFor();
  } catch (...) {
    --FStopDepth;
    throw;
  }
  if (--FStopDepth > 0) return;
  if (FWorker == worker) FWorker = nullptr;
  delete worker;
}

bool TDosCommand::IsRunning() const { return FTimer && FTimer->IsActive(); }

std::wstring TDosCommand::ErrorText() const {
  std::lock_guard<std::mutex> hold(const_cast<std::mutex&>(FOutcome.lock));
  return FOutcome.errorText;
}
