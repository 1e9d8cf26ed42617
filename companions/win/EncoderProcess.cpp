#include "companions/win/EncoderProcess.h"

#include "companions/logic/CommandLine.h"

namespace companions {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring EncoderPath() { return ProgramFolder() + L"encoder\\ffmpeg.exe"; }

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring s = text ? text : L"";
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
  return s + L" (error " + std::to_wstring(error) + L")";
}

TOutput::TOutput() : out_(GetStdHandle(STD_OUTPUT_HANDLE)), err_(GetStdHandle(STD_ERROR_HANDLE)) {}

void TOutput::Write(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD done = 0;
    if (!WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done == 0) return;
    bytes.remove_prefix(done);
  }
}

void TOutput::Out(std::string_view bytes) {
  Write(out_, bytes);
}

void TOutput::Err(std::string_view bytes) {
  Write(err_, bytes);
}

void TOutput::Message(const std::wstring& text) {
  std::wstring line = text + L"\r\n";
  DWORD mode = 0, done = 0;
  if (GetConsoleMode(err_, &mode)) {
    WriteConsoleW(err_, line.data(), static_cast<DWORD>(line.size()), &done, nullptr);
    return;
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
  Write(err_, bytes);
}

namespace {

void CloseIf(HANDLE& h) {
  if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  h = nullptr;
}

// Reads what `pipe` holds without waiting; false when it held nothing (or
// has no writer any more).
bool Drain(HANDLE pipe, const std::function<void(std::string_view)>& handler) {
  char buf[4096];
  DWORD available = 0, got = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return false;
  if (!ReadFile(pipe, buf, available < sizeof(buf) ? available : sizeof(buf), &got, nullptr) || got == 0) return false;
  handler(std::string_view(buf, got));
  return true;
}

}  // namespace

TEncoderProcess::~TEncoderProcess() {
  CloseIf(outRead_);
  CloseIf(errRead_);
  CloseIf(process_);
  // Closing the job ends the encoder if it still runs; while we are in the
  // job ourselves it would end us too, so then our own end closes it.
  if (!selfInJob_) CloseIf(job_);
}

bool TEncoderProcess::Start(const std::vector<std::wstring>& args, std::wstring& error) {
  job_ = CreateJobObjectW(nullptr, nullptr);
  if (!job_) {
    error = L"cannot create a job for the encoder: " + SystemMessage(GetLastError());
    return false;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  if (!SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
    error = L"cannot set up the encoder's job: " + SystemMessage(GetLastError());
    return false;
  }

  // With ourselves in the job the encoder is in it from its first instant,
  // so no moment exists in which our end would leave it running. (Where
  // jobs do not nest and we are in one already, it is put in after a
  // suspended start instead.)
  selfInJob_ = AssignProcessToJobObject(job_, GetCurrentProcess()) != FALSE;

  // Only the handles meant for the encoder are inheritable: our own standard
  // handles (the caller's pipe) must not live on in it.
  SetHandleInformation(GetStdHandle(STD_INPUT_HANDLE), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(GetStdHandle(STD_OUTPUT_HANDLE), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(GetStdHandle(STD_ERROR_HANDLE), HANDLE_FLAG_INHERIT, 0);

  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE outWrite = nullptr, errWrite = nullptr, input = nullptr;
  if (!CreatePipe(&outRead_, &outWrite, &sa, 0) || !CreatePipe(&errRead_, &errWrite, &sa, 0)) {
    error = L"cannot create a pipe: " + SystemMessage(GetLastError());
    CloseIf(outWrite);
    return false;
  }
  SetHandleInformation(outRead_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead_, HANDLE_FLAG_INHERIT, 0);
  input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = input;
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  PROCESS_INFORMATION pi{};
  std::wstring commandLine = JoinCommandLine(args);
  const BOOL started = CreateProcessW(args[0].c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      selfInJob_ ? 0 : CREATE_SUSPENDED, nullptr, nullptr, &si, &pi);
  const DWORD startError = GetLastError();
  // The encoder holds its own copies now; ours must go, or the pipes never end.
  CloseIf(outWrite);
  CloseIf(errWrite);
  CloseIf(input);
  if (!started) {
    error = L"cannot start the stock encoder " + args[0] + L": " + SystemMessage(startError);
    return false;
  }
  process_ = pi.hProcess;
  if (selfInJob_) {
    CloseHandle(pi.hThread);
    return true;
  }
  // Where jobs do not nest, an encoder that inherited the caller's job
  // cannot join ours; it is still ended with that job, so it runs.
  BOOL inCallersJob = FALSE;
  const bool joined = AssignProcessToJobObject(job_, pi.hProcess) != FALSE;
  const DWORD joinError = GetLastError();
  if (!joined && !(IsProcessInJob(pi.hProcess, nullptr, &inCallersJob) && inCallersJob)) {
    error = L"cannot put the encoder into its job: " + SystemMessage(joinError);
    TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    return false;
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  return true;
}

DWORD TEncoderProcess::Run(const std::function<void(std::string_view)>& onOut,
                           const std::function<void(std::string_view)>& onErr) {
  // Polled rather than read until the pipes end: under Wine a blocking read
  // of an ended encoder's pipe was seen to wait for ever now and then, and a
  // pipe end leaked to any other process would do the same on Windows.
  for (;;) {
    // The end is taken before the pass, so the pass after it reads all the
    // encoder wrote.
    const bool ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    bool got = false;
    while (Drain(outRead_, onOut)) got = true;
    while (Drain(errRead_, onErr)) got = true;
    if (ended && !got) break;
    if (!got) WaitForSingleObject(process_, 5);
  }
  DWORD code = 1;
  GetExitCodeProcess(process_, &code);
  return code;
}

}  // namespace companions
