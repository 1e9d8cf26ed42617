// Timing driver (no assertions): ten 60 s WMA files converted
//   1. by the stock encoder alone, one after another, with the settings our
//      ffmpeg.exe uses, and
//   2. by Tonewell.exe from the program folder (our ffmpeg.exe over the same
//      encoder), driven through its window;
// prints both wall times, their ratio (goal < 1.05) and Tonewell's own CPU
// time while converting.
//
// Usage: RealConversionBench.exe   (needs tools/setup.sh's encoder and samples)
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

double Seconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 1e7;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
  return Seconds(kernel) + Seconds(user);
}

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Runs a console program with its output on a pipe that is read and dropped.
DWORD RunQuiet(const std::wstring& commandLine) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &sa, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = write;
  std::wstring line = commandLine;
  PROCESS_INFORMATION pi{};
  DWORD code = 999;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    CloseHandle(write);
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(read, buf, sizeof(buf), &got, nullptr) && got > 0) {
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  } else {
    CloseHandle(write);
  }
  CloseHandle(read);
  return code;
}

}  // namespace

int wmain() {
  const std::wstring appDir = SelfFolder() + L"tonewell-real\\";
  const std::wstring encoder = appDir + L"encoder\\ffmpeg.exe";
  const std::wstring work = SelfFolder() + L"bench-work\\";
  if (GetFileAttributesW(encoder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no stock encoder in %ls: run tools/setup.sh\n", appDir.c_str());
    return 1;
  }
  CreateDirectoryW(work.c_str(), nullptr);
  std::vector<std::wstring> sources;
  for (int i = 1; i <= 10; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"track%02d.wma", i);
    sources.push_back(SelfFolder() + L"real-samples\\bench\\" + name);
    if (GetFileAttributesW(sources.back().c_str()) == INVALID_FILE_ATTRIBUTES) {
      std::fprintf(stderr, "missing sample %ls: run tools/setup.sh\n", sources.back().c_str());
      return 1;
    }
  }

  // 1. The stock encoder alone.
  const std::wstring direct = work + L"direct\\";
  CreateDirectoryW(direct.c_str(), nullptr);
  const double d0 = Now();
  int failures = 0;
  for (size_t i = 0; i < sources.size(); ++i) {
    failures += RunQuiet(L"\"" + encoder + L"\" -hide_banner -nostdin -i \"" + sources[i] +
                         L"\" -vn -acodec libmp3lame -q:a 2 -id3v2_version 3 -f mp3 -y \"" + direct + L"track" +
                         std::to_wstring(i) + L".mp3\"") != 0;
  }
  const double directWall = Now() - d0;

  // 2. Tonewell.
  TAppProcess app;
  if (!app.Start(appDir + L"Tonewell.exe", appDir, L"Tonewell 2.2")) {
    std::fprintf(stderr, "Tonewell did not start\n");
    return 1;
  }
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增");
  HWND convert = FindChild(main, L"TButton", L"立即转换");
  HWND list = FindChild(main, L"TListView", L"");
  HWND saveDir = FindChild(main, L"TEdit", L"");
  HWND progressBox = FindChild(main, L"TGroupBox", L"进度");
  for (const auto& s : sources) {
    const int before = ListViewCount(list);
    Click(add);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    if (!dialog || !FillOpenDialog(dialog, s) ||
        !WaitUntil([&] { return ListViewCount(list) == before + 1; }, 60000)) {
      std::fprintf(stderr, "adding a file failed\n");
      return 1;
    }
  }
  const std::wstring out = work + L"tonewell\\";
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
  const double cpu0 = CpuSeconds(app.Process());
  const double t0 = Now();
  Click(convert);
  bool disabledSeen = false;
  const bool done = WaitUntil(
      [&] {
        disabledSeen |= !IsWindowEnabled(convert);
        return disabledSeen && IsWindowEnabled(convert) && ShowsText(progressBox, POINT{112, 16}, L"转换完成");
      },
      1800000);
  const double tonewellWall = Now() - t0;
  const double cpu = CpuSeconds(app.Process()) - cpu0;
  const auto rows = ListViewRows(list, 2);
  int converted = 0;
  for (const auto& r : rows) converted += r.size() > 1 && r[1] == L"完成";
  app.Close();

  std::printf("files: %zu of 60 s each\n", sources.size());
  std::printf("stock encoder alone: %.2f s (%d failed)\n", directWall, failures);
  std::printf("Tonewell: %.2f s (%d of %zu marked done, run %s)\n", tonewellWall, converted, rows.size(),
              done ? "finished" : "TIMED OUT");
  std::printf("ratio Tonewell / encoder alone: %.3f (goal < 1.05)\n", tonewellWall / directWall);
  std::printf("Tonewell CPU time while converting: %.2f s = %.2f %% of the run\n", cpu, 100.0 * cpu / tonewellWall);
  return done ? 0 : 1;
}
