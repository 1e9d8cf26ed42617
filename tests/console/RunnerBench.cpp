// Timing driver for the console runner under Wine (figures, no assertions):
//   - CPU time of this process while a silent child runs for 10 s
//     (the worker polls the pipe every millisecond; the GUI thread sleeps on
//     the runner's end event),
//   - delay from a child's exit to the runner's end event,
//   - time of Stop plus the next Execute (the gap between two tools),
//   - read throughput on a flooding child.
// Run: TW_WINEPREFIX=... tools/wine-run.sh console_runner_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "console/DosCommand.h"

namespace {

std::wstring ExeDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / double(freq.QuadPart);
}

double CpuSeconds() {
  FILETIME create, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &create, &exit, &kernel, &user);
  auto s = [](FILETIME f) { return (double(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7; };
  return s(kernel) + s(user);
}

// Waits for the runner's end while handling messages, as the converter does.
void WaitForEnd(TDosCommand& runner) {
  HANDLE h = runner.EndEvent();
  while (runner.IsRunning()) {
    MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

std::wstring Child(const std::wstring& args) {
  return L"\"" + ExeDir() + L"console_byte_child.exe\" " + args;
}

}  // namespace

int main() {
  auto owner = std::make_unique<TComponent>(nullptr);
  TDosCommand& runner = *new TDosCommand(owner.get());

  // 1. CPU share while a child stays silent for 10 s.
  runner.SetCommandLine(Child(L"s:10000"));
  double wall0 = Now(), cpu0 = CpuSeconds();
  runner.Execute();
  WaitForEnd(runner);
  double wall = Now() - wall0, cpu = CpuSeconds() - cpu0;
  runner.Stop();
  std::printf("silent child: %.2f s wall, %.3f s CPU of this process = %.2f %%\n", wall, cpu, 100 * cpu / wall);

  // 2. Child exit to end event, and 3. Stop + next Execute.
  std::vector<double> endDelay, gap;
  for (int i = 0; i < 20; ++i) {
    runner.SetCommandLine(Child(L"p s:300"));
    runner.Execute();
    HANDLE child = nullptr;
    while (!child && runner.IsRunning()) {
      std::vector<std::string> lines = runner.Lines().Snapshot();
      if (!lines.empty() && lines[0].rfind("pid=", 0) == 0)
        child = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(lines[0].substr(4)));
      Sleep(1);
    }
    if (!child) continue;
    WaitForSingleObject(child, INFINITE);
    double exited = Now();
    WaitForSingleObject(runner.EndEvent(), INFINITE);
    endDelay.push_back((Now() - exited) * 1000);
    CloseHandle(child);
    double t0 = Now();
    runner.Stop();
    runner.SetCommandLine(Child(L"x:0"));
    runner.Execute();
    gap.push_back((Now() - t0) * 1000);
    WaitForEnd(runner);
    runner.Stop();
  }
  std::sort(endDelay.begin(), endDelay.end());
  std::sort(gap.begin(), gap.end());
  if (!endDelay.empty())
    std::printf("child exit -> end event: median %.2f ms, max %.2f ms (%zu runs)\n", endDelay[endDelay.size() / 2],
                endDelay.back(), endDelay.size());
  if (!gap.empty())
    std::printf("Stop + next Execute: median %.2f ms, max %.2f ms\n", gap[gap.size() / 2], gap.back());

  // 4. Throughput on a flood of 32 MB.
  SetEnvironmentVariableW(L"TONEWELL_FAKE_FFMPEG_MODE", L"flood");
  SetEnvironmentVariableW(L"TONEWELL_FAKE_FLOOD_MB", L"32");
  SetEnvironmentVariableW(L"TONEWELL_FAKE_SECONDS", L"0");
  std::wstring source = ExeDir() + L"bench.wma";
  CloseHandle(CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  runner.SetCommandLine(L"\"" + ExeDir() + L"ffmpeg.exe\" -i \"" + source + L"\" -y  -vn -acodec libmp3lame \"" +
                        ExeDir() + L"bench.mp3\"");
  double f0 = Now();
  runner.Execute();
  WaitForEnd(runner);
  double took = Now() - f0;
  runner.Stop();
  std::printf("flood: %d lines, 33 MB in %.2f s = %.1f MB/s\n", runner.Lines().Count(), took, 33 / took);
  return 0;
}
