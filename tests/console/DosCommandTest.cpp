// The console command runner with real child processes under Wine: events on
// the worker in order, collected lines, Stop in every state, start failures,
// time limits, and children that flood, write NULs, crash or hang.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "console/DosCommand.h"
#include "tests/support/Pump.h"

namespace {

std::wstring ExeDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

// Handles messages (the runner's timer ticks) until `done` or the timeout.
using twtest::PumpUntil;

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool ProcessAlive(DWORD pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  if (!h) return false;
  bool alive = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
  CloseHandle(h);
  return alive;
}

void Kill(DWORD pid) {
  if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
    TerminateProcess(h, 9);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

DWORD PidFromLines(const std::vector<std::string>& lines) {
  for (const auto& l : lines)
    if (l.rfind("pid=", 0) == 0) return static_cast<DWORD>(std::stoul(l.substr(4)));
  return 0;
}

struct Event {
  std::string kind;  // "E" entire line, "B" beginning, "T" terminated
  std::string text;
  DWORD thread = 0;
  bool runningAtEvent = false;
};

// Records the runner's events from the worker thread.
struct Recorder {
  TDosCommand* runner = nullptr;
  std::mutex lock;
  std::vector<Event> events;
  std::atomic<int> terminated{0};
  std::function<void(const std::string&)> onLine;  // optional extra behaviour

  void NewLine(TObject* sender, const std::string& line, TOutputType type) {
    {
      std::lock_guard<std::mutex> hold(lock);
      events.push_back({type == otEntireLine ? "E" : "B", line, GetCurrentThreadId(), runner->IsRunning()});
    }
    EXPECT_EQ(sender, runner);
    if (onLine) onLine(line);
  }
  void Terminated(TObject* sender) {
    EXPECT_EQ(sender, runner);
    {
      std::lock_guard<std::mutex> hold(lock);
      events.push_back({"T", "", GetCurrentThreadId(), runner->IsRunning()});
    }
    ++terminated;
  }
  std::vector<Event> Events() {
    std::lock_guard<std::mutex> hold(lock);
    return events;
  }
  // Events as "E:text" / "B:text" / "T", for comparing sequences.
  std::vector<std::string> Sequence() {
    std::vector<std::string> out;
    for (const auto& e : Events()) out.push_back(e.kind == "T" ? "T" : e.kind + ":" + e.text);
    return out;
  }
};

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    runner = new TDosCommand(owner.get());
    rec.runner = runner;
    runner->OnNewLine = MakeDelegate<TNewLineEvent>(&rec, &Recorder::NewLine);
    runner->OnTerminated = MakeDelegate<TNotifyEvent>(&rec, &Recorder::Terminated);
  }
  void TearDown() override {
    runner->Stop();
    owner.reset();
    for (const auto& v : env) SetEnvironmentVariableW(v.c_str(), nullptr);
  }
  void SetEnv(const wchar_t* name, const wchar_t* value) {
    SetEnvironmentVariableW(name, value);
    env.push_back(name);
  }
  // Runs a command to its end (pumping messages), then stops the runner.
  void RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 30000) {
    runner->SetCommandLine(commandLine);
    runner->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, timeoutMs)) << "runner never ended";
    runner->Stop();
  }
  std::wstring Child(const std::wstring& args) { return Quoted(ExeDir() + L"console_byte_child.exe") + L" " + args; }
  std::wstring SourceFile(const std::wstring& name) {
    std::wstring path = ExeDir() + name;
    std::ofstream(path.c_str(), std::ios::binary) << "WMA stand-in";
    return path;
  }

  std::unique_ptr<TComponent> owner;
  TDosCommand* runner = nullptr;
  Recorder rec;
  std::vector<std::wstring> env;
};

using Strings = std::vector<std::string>;

// ---------------------------------------------------------------------------
// Events and lines with the recorded probe output

TEST_F(RunnerTest, ProbeOutputArrivesAsLinesAndEventsOnTheWorkerThread) {
  std::wstring source = SourceFile(L"probe source.wma");
  RunToEnd(Quoted(ExeDir() + L"mplayer.exe") + L" -msglevel identify=6 -vo none -ao none " + Quoted(source) +
           L" 2>&1 |grep ID_LENGTH");

  Strings lines = runner->Lines().Snapshot();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ID_LENGTH=60.51"), lines.end());
  std::string playing = "Playing " + WideToUtf8(source) + ".";
  EXPECT_NE(std::find(lines.begin(), lines.end(), playing), lines.end());
  // The extra arguments reached the tool as file names, not as a pipe.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "File not found: '|grep'"), lines.end());
  EXPECT_EQ(lines.back(), "ID_EXIT=EOF");

  std::vector<Event> events = rec.Events();
  ASSERT_FALSE(events.empty());
  Strings entire;
  for (const auto& e : events) {
    EXPECT_NE(e.thread, GetCurrentThreadId()) << "event on the calling thread";
    EXPECT_EQ(e.thread, events.front().thread) << "events on more than one thread";
    if (e.kind == "E") entire.push_back(e.text);
    if (e.kind != "T") {
      EXPECT_TRUE(e.runningAtEvent);
    }
  }
  EXPECT_EQ(entire, lines);  // every completed line, once, in order
  EXPECT_EQ(events.back().kind, "T");
  EXPECT_FALSE(events.back().runningAtEvent) << "end event before the running state turned false";
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_TRUE(runner->ChildEnded());
  EXPECT_EQ(runner->ExitCode(), 0u);
  EXPECT_FALSE(runner->StartFailed());
}

TEST_F(RunnerTest, LinesAreClearedAtEveryExecuteAndKeptAfterTheEnd) {
  RunToEnd(Child(L"w:6f6e650a"));
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"one"}));
  RunToEnd(Child(L"w:74776f0a x:3"));
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"two"}));
  EXPECT_EQ(runner->Lines().Count(), 1);
  EXPECT_EQ(runner->Lines().Strings(0), "two");
  EXPECT_EQ(runner->Lines().Strings(5), "");
  EXPECT_EQ(runner->ExitCode(), 3u);
  EXPECT_EQ(rec.terminated, 2);
}

// ---------------------------------------------------------------------------
// Line cutting across real reads

TEST_F(RunnerTest, LineEndsInOneReadAndAcrossReads) {
  RunToEnd(Child(L"w:610d0a620a"));  // a CR LF b LF
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"a", "b"}));
  EXPECT_EQ(rec.Sequence(), (Strings{"E:a", "E:b", "T"}));

  rec.events.clear();
  RunToEnd(Child(L"w:610d62"));  // a CR b, then the end
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"a", "b"}));
  EXPECT_EQ(rec.Sequence(), (Strings{"E:a", "B:b", "E:b", "T"}));

  rec.events.clear();
  RunToEnd(Child(L"w:616263 s:300 w:6465660a"));  // abc, then def LF
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"abcdef"}));
  EXPECT_EQ(rec.Sequence(), (Strings{"B:abc", "E:abcdef", "T"}));

  rec.events.clear();
  RunToEnd(Child(L"w:61 s:300 w:62 s:300 w:63 s:300 w:0a"));  // reported again, longer
  EXPECT_EQ(rec.Sequence(), (Strings{"B:a", "B:ab", "B:abc", "E:abc", "T"}));

  rec.events.clear();
  RunToEnd(Child(L"w:780d s:300 w:0a79"));  // x CR | LF y
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"x", "", "y"}));
  EXPECT_EQ(rec.Sequence(), (Strings{"E:x", "E:", "B:y", "E:y", "T"}));
}

TEST_F(RunnerTest, NulBytesNeverReachALine) {
  RunToEnd(Child(L"w:00610062000a00 s:200 w:0000"));
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"ab"}));

  // The fake probe writing a NUL after every byte: the marker still reads.
  SetEnv(L"TONEWELL_FAKE_MODE", L"nul");
  std::wstring source = SourceFile(L"nul.wma");
  RunToEnd(Quoted(ExeDir() + L"mplayer.exe") + L" -msglevel identify=6 -vo none -ao none " + Quoted(source));
  Strings lines = runner->Lines().Snapshot();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ID_LENGTH=60.51"), lines.end());
  for (const auto& l : lines) EXPECT_EQ(l.find('\0'), std::string::npos);
}

TEST_F(RunnerTest, CrOnlyLineEndsGiveTheSameLines) {
  std::wstring source = SourceFile(L"cr.wma");
  std::wstring cmd = Quoted(ExeDir() + L"mplayer.exe") + L" -msglevel identify=6 -vo none -ao none " + Quoted(source);
  RunToEnd(cmd);
  Strings normal = runner->Lines().Snapshot();
  SetEnv(L"TONEWELL_FAKE_MODE", L"cr");
  RunToEnd(cmd);
  Strings crOnly = runner->Lines().Snapshot();
  EXPECT_EQ(crOnly, normal);
  EXPECT_GT(normal.size(), 20u);
}

// ---------------------------------------------------------------------------
// Stop in every state

TEST_F(RunnerTest, StopOnANeverStartedRunnerDoesNothing) {
  EXPECT_FALSE(runner->IsRunning());
  runner->Stop();
  runner->Stop();
  EXPECT_FALSE(runner->IsRunning());
  EXPECT_EQ(rec.terminated, 0);
  EXPECT_EQ(runner->ProcessTimer(), nullptr);
}

TEST_F(RunnerTest, StopTerminatesARunningChildAndEndsOnTheWorker) {
  runner->SetCommandLine(Child(L"p w:7061727469616c h"));  // pid, "partial", then hang
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return runner->Lines().Count() >= 1 && !rec.Events().empty() &&
                                     rec.Events().back().kind == "B"; }, 10000));
  DWORD pid = PidFromLines(runner->Lines().Snapshot());
  ASSERT_NE(pid, 0u);
  EXPECT_TRUE(runner->IsRunning());
  Pump(1500);  // no time limits: a silent child keeps the runner running
  EXPECT_TRUE(runner->IsRunning());

  runner->Stop();
  // The final line and the end event happened before Stop returned.
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_EQ(rec.Sequence(), (Strings{"E:pid=" + std::to_string(pid), "B:partial", "E:partial", "T"}));
  EXPECT_FALSE(runner->IsRunning());
  EXPECT_TRUE(runner->ChildStopped());
  EXPECT_TRUE(runner->ChildEnded());
  EXPECT_EQ(runner->ExitCode(), 0u);
  EXPECT_FALSE(ProcessAlive(pid));
}

TEST_F(RunnerTest, StopOnAFinishedWorkerReturnsAtOnce) {
  runner->SetCommandLine(Child(L"w:640a"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return rec.terminated == 1; }, 10000));
  EXPECT_FALSE(runner->IsRunning());
  runner->Stop();
  runner->Stop();
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_FALSE(runner->ChildStopped());
}

TEST_F(RunnerTest, ExecuteWhileRunningIsRefusedAfterTheEndAllowed) {
  runner->SetCommandLine(Child(L"h"));
  runner->Execute();
  EXPECT_THROW(runner->Execute(), EDosCommand);
  EXPECT_TRUE(runner->IsRunning());
  runner->Stop();
  runner->SetCommandLine(Child(L"w:6f6b0a"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 10000));
  runner->Execute();  // finished but not stopped: released, started again
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 10000));
  runner->Stop();
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"ok"}));
  EXPECT_EQ(rec.terminated, 3);
}

TEST_F(RunnerTest, EndEventFollowsTheRunningState) {
  EXPECT_EQ(WaitForSingleObject(runner->EndEvent(), 0), WAIT_OBJECT_0);  // nothing runs yet
  runner->SetCommandLine(Child(L"w:610a s:700 w:620a"));
  runner->Execute();
  EXPECT_EQ(WaitForSingleObject(runner->EndEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  // A waiter that sleeps on the event (and messages) wakes when the command ends.
  DWORD r = WAIT_TIMEOUT;
  for (int i = 0; i < 100 && r != WAIT_OBJECT_0; ++i) {
    HANDLE h = runner->EndEvent();
    r = MsgWaitForMultipleObjects(1, &h, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  ASSERT_EQ(r, WAIT_OBJECT_0);
  EXPECT_FALSE(runner->IsRunning());
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"a", "b"}));
  runner->Stop();

  runner->SetCommandLine(L"\"" + ExeDir() + L"missing.exe\"");  // a failed start sets it too
  runner->Execute();
  EXPECT_EQ(WaitForSingleObject(runner->EndEvent(), 10000), WAIT_OBJECT_0);
  EXPECT_FALSE(runner->IsRunning());
}

// ---------------------------------------------------------------------------
// Start failures

TEST_F(RunnerTest, EmptyCommandLineRaisesAndChangesNothing) {
  try {
    runner->Execute();
    FAIL() << "no error";
  } catch (const EDosCommand& e) {
    EXPECT_EQ(e.Message(), L"No Commandline to execute");
  }
  EXPECT_FALSE(runner->IsRunning());
  EXPECT_EQ(runner->ProcessTimer(), nullptr);
}

TEST_F(RunnerTest, MissingProgramEndsAtOnceWithoutEvents) {
  std::wstring cmd = Quoted(ExeDir() + L"no such tool.exe") + L" -i x";
  runner->SetCommandLine(cmd);
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 5000)) << "a failed start keeps running";
  runner->Stop();
  EXPECT_TRUE(runner->StartFailed());
  EXPECT_EQ(runner->ErrorText(), cmd + L" doesn't exist.");
  EXPECT_FALSE(runner->ChildEnded());
  EXPECT_TRUE(rec.Events().empty());
  EXPECT_EQ(runner->Lines().Count(), 0);

  // The next start on the same runner works and clears the failure.
  RunToEnd(Child(L"w:790a"));
  EXPECT_FALSE(runner->StartFailed());
  EXPECT_EQ(runner->ErrorText(), L"");
  EXPECT_EQ(rec.terminated, 1);
}

// ---------------------------------------------------------------------------
// Time limits (ticks counted by the GUI thread's timer messages)

TEST_F(RunnerTest, TimeSinceBeginningEndsReadingButLeavesTheChild) {
  runner->SetMaxTimeAfterBeginning(1);
  runner->SetCommandLine(Child(L"p h"));
  runner->Execute();
  runner->SetMaxTimeAfterBeginning(0);  // copies were taken at the start
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 10000));
  runner->Stop();
  DWORD pid = PidFromLines(runner->Lines().Snapshot());
  ASSERT_NE(pid, 0u);
  EXPECT_TRUE(ProcessAlive(pid)) << "a time limit must not terminate the child";
  EXPECT_FALSE(runner->ChildEnded());
  EXPECT_EQ(runner->ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_GE(runner->ProcessTimer()->SinceBeginning(), 2);
  Kill(pid);
}

TEST_F(RunnerTest, TimeSinceLastOutputCountsFromTheLastLine) {
  runner->SetMaxTimeAfterLastOutput(1);
  // Ten lines 400 ms apart (4 s in all, longer than the limit), then silence.
  runner->SetCommandLine(Child(L"p n:10:400 h"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 20000));
  runner->Stop();
  Strings lines = runner->Lines().Snapshot();
  ASSERT_EQ(lines.size(), 11u) << "the limit cut the output while lines still came";
  EXPECT_EQ(lines.back(), "line 9");
  Kill(PidFromLines(lines));
}

// ---------------------------------------------------------------------------
// Misbehaving tools

TEST_F(RunnerTest, FloodKeepsTheNewestLinesAndCutsTheLongLineIntoPieces) {
  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"flood");
  SetEnv(L"TONEWELL_FAKE_FLOOD_MB", L"6");
  SetEnv(L"TONEWELL_FAKE_SECONDS", L"0");
  std::wstring source = SourceFile(L"flood.wma");
  std::wstring output = ExeDir() + L"flood.mp3";
  runner->SetCommandLine(Quoted(ExeDir() + L"ffmpeg.exe") + L" -i " + Quoted(source) + L" -y  -vn -acodec libmp3lame " +
                         Quoted(output));
  runner->Execute();
  size_t most = 0, mostBytes = 0;
  ASSERT_TRUE(PumpUntil([&] {
    const Strings now = runner->Lines().Snapshot();  // a reader while the worker appends
    size_t bytes = 0;
    for (const auto& l : now) bytes += l.size();
    most = std::max(most, now.size());
    mostBytes = std::max(mostBytes, bytes);
    return !runner->IsRunning();
  }, 120000));
  runner->Stop();
  EXPECT_LE(most, TDosLines::kMaxLines);
  EXPECT_LE(mostBytes, TDosLines::kMaxBytes);

  // The newest lines are kept in order: a run of flood lines, the 1 MB line
  // in overlapping pieces, then the converter's own output to its marker.
  Strings lines = runner->Lines().Snapshot();
  int flood = 0, next = -1;
  bool ordered = true, marker = false;
  size_t pieces = 0, longBytes = 0;
  for (const auto& l : lines) {
    if (l.rfind("flood line ", 0) == 0) {
      int n = std::stoi(l.substr(11, 6));
      if (next >= 0 && n != next && n != 0) ordered = false;
      next = n + 1;
      ++flood;
      if (l.size() != 17 + 37) ordered = false;
    }
    if (!l.empty() && l.find_first_not_of('L') == std::string::npos) {
      EXPECT_LE(l.size(), tonewell::LineCutter::kMaxLine);
      ++pieces;
      longBytes += l.size();
    }
    marker = marker || l == "ffmpeg_release_time=60.56=ffmpeg_release_time";
  }
  EXPECT_GT(flood, 1000);
  EXPECT_TRUE(ordered) << "flood lines lost, merged or mangled";
  ASSERT_GT(pieces, 1u);
  EXPECT_EQ(longBytes - (pieces - 1) * tonewell::LineCutter::kOverlap, 1u << 20) << "the 1 MB line lost bytes";
  EXPECT_TRUE(marker);
  EXPECT_EQ(runner->ExitCode(), 0u);
  std::ifstream out(output.c_str(), std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "TONEWELL FAKE MP3\nsource=" + WideToUtf8(source) + "\ncomplete\n");
}

TEST_F(RunnerTest, CrashAndFailureExitCodesAreKept) {
  std::wstring source = SourceFile(L"crash.wma");
  std::wstring cmd = Quoted(ExeDir() + L"ffmpeg.exe") + L" -i " + Quoted(source) + L" -y  -vn -acodec libmp3lame " +
                     Quoted(ExeDir() + L"crash.mp3");
  SetEnv(L"TONEWELL_FAKE_SECONDS", L"0");
  SetEnv(L"TONEWELL_FAKE_MODE", L"crash");
  RunToEnd(cmd);
  EXPECT_EQ(runner->ExitCode(), 0xC0000005u);
  EXPECT_EQ(rec.terminated, 1);

  SetEnv(L"TONEWELL_FAKE_MODE", L"fail");
  RunToEnd(cmd);
  EXPECT_EQ(runner->ExitCode(), 1u);
  Strings lines = runner->Lines().Snapshot();
  EXPECT_EQ(lines.back(), WideToUtf8(source) + ": No such file or directory");
  EXPECT_EQ(rec.terminated, 2);
}

TEST_F(RunnerTest, ChildExitingWith259DoesNotHangTheRunner) {
  // 259 is the value that means "still running"; the end comes from the
  // process itself.
  RunToEnd(Child(L"w:610a x:259"), 10000);
  EXPECT_TRUE(runner->ChildEnded());
  EXPECT_EQ(runner->ExitCode(), 259u);
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"a"}));
}

TEST_F(RunnerTest, ProgramAndFilesOutsideTheAnsiCodePage) {
  // Both the tool's folder and the source use characters no ANSI code page
  // of the test prefix (936) holds.
  std::wstring dir = ExeDir() + L"Ünïcødé ☃ 表\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((ExeDir() + L"ffmpeg.exe").c_str(), (dir + L"ffmpeg.exe").c_str(), FALSE));
  std::wstring source = dir + L"Ōdé ♫.wma";
  std::ofstream(source.c_str(), std::ios::binary) << "x";
  std::wstring output = dir + L"Ōdé ♫.mp3";
  DeleteFileW(output.c_str());
  SetEnv(L"TONEWELL_FAKE_SECONDS", L"0");
  RunToEnd(Quoted(dir + L"ffmpeg.exe") + L" -i " + Quoted(source) + L" -y  -vn -acodec libmp3lame " + Quoted(output));
  EXPECT_FALSE(runner->StartFailed()) << WideToUtf8(runner->ErrorText());
  EXPECT_EQ(runner->ExitCode(), 0u);
  std::ifstream out(output.c_str(), std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "TONEWELL FAKE MP3\nsource=" + WideToUtf8(source) + "\ncomplete\n");
}

// ---------------------------------------------------------------------------
// Handler errors and lifetime

TEST_F(RunnerTest, HandlerErrorEndsTheWorkerAndStopsRunning) {
  rec.onLine = [](const std::string& line) {
    if (line == "bad") throw EDosCommand(L"handler failed");
  };
  runner->SetCommandLine(Child(L"w:6f6b0a s:100 w:6261640a s:100 w:6e6f740a s:3000"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 10000)) << "a failed handler keeps running";
  runner->Stop();
  EXPECT_EQ(runner->ErrorText(), L"handler failed");
  EXPECT_EQ(rec.terminated, 0);
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"ok", "bad"}));
}

TEST_F(RunnerTest, HandlerErrorEndsTheChildItLeavesUnread) {
  rec.onLine = [](const std::string& line) {
    if (line.rfind("pid=", 0) == 0) throw EDosCommand(L"handler failed");
  };
  runner->SetCommandLine(Child(L"p h"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 10000));
  runner->Stop();
  const DWORD pid = PidFromLines(runner->Lines().Snapshot());
  ASSERT_NE(pid, 0u);
  EXPECT_TRUE(runner->ChildStopped());
  EXPECT_FALSE(ProcessAlive(pid)) << "the child outlived the failed worker";
  Kill(pid);
}

// Stop waits handling sent messages; a handler of one of them (a second
// close of the window) calls Stop again while the first still waits. Both
// wait for the end, and the worker is released once.
TEST_F(RunnerTest, StopEnteredAgainWhileItWaitsReleasesTheWorkerOnce) {
  HANDLE inHandler = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  rec.onLine = [&](const std::string&) {
    SetEvent(inHandler);
    WaitForSingleObject(release, 30000);
  };
  runner->SetCommandLine(Child(L"p h"));
  runner->Execute();
  ASSERT_EQ(WaitForSingleObject(inHandler, 10000), WAIT_OBJECT_0);

  // A window whose handler does what a second close does.
  struct Nested {
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
      if (m == WM_APP) {
        auto* runner = reinterpret_cast<TDosCommand*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        SetEvent(reinterpret_cast<HANDLE>(lp));
        runner->Stop();
        return runner->IsRunning() ? 2 : 1;
      }
      return DefWindowProcW(w, m, wp, lp);
    }
  };
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Nested::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TwNestedStop";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"TwNestedStop", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(runner));

  // The message is sent from another thread; this thread handles it only
  // inside the Stop below, while that Stop waits for the blocked worker.
  std::atomic<LRESULT> answer{0};
  std::thread sender([&] { answer = SendMessageW(window, WM_APP, 0, reinterpret_cast<LPARAM>(release)); });
  runner->Stop();
  sender.join();
  EXPECT_EQ(answer, 1) << "the nested Stop returned before the command ended";
  EXPECT_FALSE(runner->IsRunning());
  runner->Stop();  // nothing left to release
  DestroyWindow(window);
  Kill(PidFromLines(runner->Lines().Snapshot()));
  CloseHandle(inHandler);
  CloseHandle(release);
}

TEST_F(RunnerTest, ChildStartsInTheWorkFolderOrTheCurrentOne) {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring folder = ExeDir() + L"work folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  runner->SetWorkFolder(folder);
  RunToEnd(Child(L"c"));
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"cwd=" + WideToUtf8(folder)}));
  runner->SetWorkFolder(L"");
  RunToEnd(Child(L"c"));
  EXPECT_EQ(runner->Lines().Snapshot(), (Strings{"cwd=" + WideToUtf8(current)}));
}

// Children end with the program that started them, however it ends.
TEST(RunnerChildren, EndWhenTheirProgramIsKilled) {
  const std::wstring pidFile = ExeDir() + L"job-child.pid";
  DeleteFileW(pidFile.c_str());
  std::wstring cmd = Quoted(ExeDir() + L"console_job_parent.exe") + L" " + Quoted(pidFile) + L" " +
                     Quoted(ExeDir() + L"console_byte_child.exe");
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  DWORD child = 0;
  const bool started = PumpUntil([&] {
    std::ifstream in(pidFile.c_str());
    return static_cast<bool>(in >> child) && child != 0;
  }, 20000);
  if (!started) TerminateProcess(pi.hProcess, 9);
  ASSERT_TRUE(started) << "the parent never reported its child";
  HANDLE childProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, child);
  ASSERT_TRUE(childProcess);

  TerminateProcess(pi.hProcess, 9);
  WaitForSingleObject(pi.hProcess, 20000);
  CloseHandle(pi.hProcess);
  const DWORD ended = WaitForSingleObject(childProcess, 20000);
  if (ended != WAIT_OBJECT_0) TerminateProcess(childProcess, 9);
  CloseHandle(childProcess);
  EXPECT_EQ(ended, WAIT_OBJECT_0) << "the child outlived its killed parent";
}

TEST(RunnerLifetime, ReleasingTheOwnerEndsARunningCommand) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* runner = new TDosCommand(owner.get());
  runner->SetCommandLine(Quoted(ExeDir() + L"console_byte_child.exe") + L" p h");
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return runner->Lines().Count() > 0; }, 10000));
  DWORD pid = PidFromLines(runner->Lines().Snapshot());
  ASSERT_NE(pid, 0u);
  // The timer (created after the runner) goes first; the worker reading its
  // counters must have ended by then.
  owner.reset();
  EXPECT_FALSE(ProcessAlive(pid));
}

}  // namespace
