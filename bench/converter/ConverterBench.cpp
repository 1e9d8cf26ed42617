// Timing driver (no assertions): runs a real conversion of three files in
// Tonewell.exe with the fake converter paced to take about 10 s each, and
// prints
//   - Tonewell's own CPU time as a share of the run's wall time (goal < 2 %),
//   - the gap between one converter's end and the next one's start (goal
//     < 50 ms), from the kernel's creation and exit times of the children.
//
// Usage: ConverterBench.exe [seconds-per-file]
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "bench/support/DriveTonewell.h"
#include "tests/e2e/Driver.h"

using namespace bench;
using namespace e2e;

namespace {

// Child converters of `parent`, opened as they appear so their times stay
// readable after they end.
void CollectChildren(DWORD parent, std::map<DWORD, HANDLE>& children) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W e{};
  e.dwSize = sizeof(e);
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e)) {
    if (e.th32ParentProcessID != parent || lstrcmpiW(e.szExeFile, L"ffmpeg.exe") != 0) continue;
    if (children.count(e.th32ProcessID)) continue;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, e.th32ProcessID);
    if (h) children[e.th32ProcessID] = h;
  }
  CloseHandle(snap);
}

// The run is over when the convert button is usable again and the label (a
// window-less control, read off the screen) says so.
bool RunFinished(HWND progressBox, HWND convert) {
  return IsWindowEnabled(convert) && ShowsText(progressBox, POINT{112, 16}, L"转换完成");
}

// CPU seconds of each thread of `pid`.
std::map<DWORD, double> ThreadCpu(DWORD pid) {
  std::map<DWORD, double> cpu;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return cpu;
  THREADENTRY32 e{};
  e.dwSize = sizeof(e);
  for (BOOL ok = Thread32First(snap, &e); ok; ok = Thread32Next(snap, &e)) {
    if (e.th32OwnerProcessID != pid) continue;
    HANDLE t = OpenThread(THREAD_QUERY_INFORMATION, FALSE, e.th32ThreadID);
    if (!t) continue;
    FILETIME c, x, k, u;
    if (GetThreadTimes(t, &c, &x, &k, &u)) cpu[e.th32ThreadID] = FileTimeSeconds(k) + FileTimeSeconds(u);
    CloseHandle(t);
  }
  CloseHandle(snap);
  return cpu;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int perFile = argc > 1 ? _wtoi(argv[1]) : 10;
  const std::wstring appDir = SelfFolder() + L"tonewell\\";
  const std::wstring work = SelfFolder() + L"bench-work\\";
  CreateDirectoryW(work.c_str(), nullptr);
  std::vector<std::wstring> sources;
  for (int i = 0; i < 3; ++i) {
    sources.push_back(work + L"track" + std::to_wstring(i) + L".wma");
    WriteWholeFile(sources.back(), "bench source");
  }
  // The fake converter's pace: one progress line per position, perFile
  // seconds in all.
  SetEnvironmentVariableW(L"TONEWELL_FAKE_SECONDS", std::to_wstring(perFile).c_str());

  TAppProcess app;
  if (!StartTonewell(app, appDir)) return 1;
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增");
  HWND convert = FindChild(main, L"TButton", L"立即转换");
  HWND list = FindChild(main, L"TListView", L"");
  HWND saveDir = FindChild(main, L"TEdit", L"");
  HWND progressBox = FindChild(main, L"TGroupBox", L"进度");
  for (const auto& s : sources) {
    if (!AddThroughDialog(app, add, list, s, 60000)) {
      std::fprintf(stderr, "adding a file failed\n");
      return 1;
    }
  }
  const std::wstring out = work + L"out\\";
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));

  // Idle share first: five quiet seconds with the window open.
  const double idle0 = CpuSeconds(app.Process());
  Sleep(5000);
  const double idle = CpuSeconds(app.Process()) - idle0;

  std::map<DWORD, HANDLE> children;
  const double cpu0 = CpuSeconds(app.Process());
  const double t0 = NowSeconds();
  Click(convert);
  // Which of Tonewell's threads spend the CPU: two samples 3 s apart, early
  // in the first file.
  const DWORD mainThread = GetWindowThreadProcessId(main, nullptr);
  std::map<DWORD, double> sample1, sample2;
  const DWORD clickTick = GetTickCount();
  const bool done = WaitUntil(
      [&] {
        CollectChildren(app.Pid(), children);
        const DWORD since = GetTickCount() - clickTick;
        if (sample1.empty() && since > 2000) sample1 = ThreadCpu(app.Pid());
        if (sample2.empty() && since > 5000) sample2 = ThreadCpu(app.Pid());
        return RunFinished(progressBox, convert);
      },
      static_cast<DWORD>(perFile) * 3 * 1000 + 60000);
  const double wall = NowSeconds() - t0;
  const double cpu1 = CpuSeconds(app.Process());

  struct Span {
    double start, end;
  };
  std::vector<Span> spans;
  for (auto& [pid, h] : children) {
    FILETIME created, ended, kernel, user;
    WaitForSingleObject(h, 5000);
    if (GetProcessTimes(h, &created, &ended, &kernel, &user)) spans.push_back({FileTimeSeconds(created), FileTimeSeconds(ended)});
    CloseHandle(h);
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });

  std::printf("run finished: %s\n", done ? "yes" : "NO (timed out)");
  std::printf("wall time of the run: %.2f s (%d files, %d s each requested)\n", wall, 3, perFile);
  std::printf("Tonewell CPU time: %.3f s = %.2f %% of wall time (goal < 2 %%)\n", cpu1 - cpu0,
              100.0 * (cpu1 - cpu0) / wall);
  std::printf("Tonewell CPU time while idle: %.3f s in 5 s = %.2f %%\n", idle, 100.0 * idle / 5.0);
  for (const auto& [tid, cpu] : sample2)
    if (sample1.count(tid) && cpu - sample1[tid] > 0.001)
      std::printf("  thread %lu%s: %.1f %% of one core during 3 s of a conversion\n",
                  static_cast<unsigned long>(tid), tid == mainThread ? " (GUI)" : "",
                  100.0 * (cpu - sample1[tid]) / 3.0);
  std::printf("converter processes seen: %zu\n", spans.size());
  for (size_t i = 1; i < spans.size(); ++i)
    std::printf("gap between converter %zu end and converter %zu start: %.1f ms (goal < 50 ms)\n", i,
                i + 1, 1000.0 * (spans[i].start - spans[i - 1].end));
  app.Close();
  return done ? 0 : 1;
}
