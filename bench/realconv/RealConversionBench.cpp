// Timing driver (no assertions): ten 60 s WMA files, each converted in
// turn three ways, so that a busy machine weighs on every way alike:
//   1. by the stock encoder alone, with the settings our ffmpeg.exe uses,
//   2. by our ffmpeg.exe alone (the stock encoder under it), started as
//      Tonewell starts it,
//   3. by Tonewell.exe from the program folder, driven through its window
//      (list cleared, the file added, convert clicked, until the run ends);
// the order of the three turns from file to file. Prints every file, the
// totals, the wall-time ratios against the encoder alone (total, and the
// median of the files' ratios; goal for Tonewell < 1.05) and Tonewell's own
// CPU time while converting.
//
// Usage: RealConversionBench.exe [ROUNDS]   (rounds over the ten files,
// default 1; needs tools/setup.sh's encoder and samples)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/support/DriveTonewell.h"
#include "tests/e2e/Driver.h"

using namespace bench;
using namespace e2e;

namespace {

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

// Tonewell converting one file at a time through its window.
class TTonewell {
 public:
  bool Start(const std::wstring& appDir, const std::wstring& out) {
    if (!StartTonewell(app_, appDir)) return false;
    HWND main = app_.Main();
    HWND saveDir = FindChild(main, L"TEdit", L"");
    add_ = FindChild(main, L"TButton", L"新增");
    clear_ = FindChild(main, L"TButton", L"清空");
    convert_ = FindChild(main, L"TButton", L"立即转换");
    list_ = FindChild(main, L"TListView", L"");
    if (!(add_ && clear_ && saveDir && convert_ && list_)) return false;
    SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
    return true;
  }
  // Converts `source` alone: wall seconds from the click to the controls
  // coming back (negative when the file was not converted), Tonewell's CPU
  // seconds in that time.
  double Convert(const std::wstring& source, double& cpu) {
    if (!ClickAndWait(clear_) || ListViewCount(list_) != 0) return -1;
    if (!AddThroughDialog(app_, add_, list_, source, 60000)) return -1;
    const double cpu0 = CpuSeconds(app_.Process());
    const double t0 = NowSeconds();
    Click(convert_);
    bool disabledSeen = false;
    const bool finished = WaitUntil(
        [&] {
          disabledSeen |= !IsWindowEnabled(convert_);
          return disabledSeen && IsWindowEnabled(convert_);
        },
        600000);
    const double wall = NowSeconds() - t0;
    cpu = CpuSeconds(app_.Process()) - cpu0;
    const auto rows = ListViewRows(list_, 2);
    return finished && rows.size() == 1 && rows[0].size() > 1 && rows[0][1] == L"完成" ? wall : -1;
  }
  void Close() { app_.Close(); }

 private:
  TAppProcess app_;
  HWND add_ = nullptr, clear_ = nullptr, convert_ = nullptr, list_ = nullptr;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1;
  const std::wstring appDir = SelfFolder() + L"tonewell-real\\";
  const std::wstring encoder = appDir + L"encoder\\ffmpeg.exe";
  const std::wstring work = SelfFolder() + L"bench-work\\";
  if (GetFileAttributesW(encoder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no stock encoder in %ls: run tools/setup.sh\n", appDir.c_str());
    return 1;
  }
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
  const std::wstring direct = work + L"direct\\", companion = work + L"companion\\", out = work + L"tonewell\\";
  for (const auto& d : {work, direct, companion}) CreateDirectoryW(d.c_str(), nullptr);

  TTonewell tonewell;
  if (!tonewell.Start(appDir, out)) {
    std::fprintf(stderr, "Tonewell did not start\n");
    return 1;
  }
  std::printf("%zu files of 60 s, %d round(s); seconds of wall time per file\n", sources.size(), rounds);
  std::printf("file     encoder-alone  our-ffmpeg.exe  Tonewell  Tonewell-CPU\n");
  double total[3] = {0, 0, 0}, cpuTotal = 0;
  std::vector<double> companionRatios, tonewellRatios;
  int failures = 0, turn = 0;
  for (int r = 0; r < rounds; ++r) {
    for (size_t i = 0; i < sources.size(); ++i, ++turn) {
      const std::wstring name = L"track" + std::to_wstring(i + 1) + L".mp3";
      double t[3] = {0, 0, 0}, cpu = 0;
      for (int k = 0; k < 3; ++k) {
        const int way = (k + turn) % 3;
        const double t0 = NowSeconds();
        if (way == 0) {
          failures += RunQuiet(L"\"" + encoder + L"\" -hide_banner -nostdin -i \"" + sources[i] +
                               L"\" -vn -acodec libmp3lame -q:a 2 -id3v2_version 3 -f mp3 -y \"" + direct + name + L"\"") != 0;
          t[0] = NowSeconds() - t0;
        } else if (way == 1) {
          failures += RunQuiet(L"\"" + appDir + L"ffmpeg.exe\" -i \"" + sources[i] + L"\" -y  -vn -acodec libmp3lame \"" +
                               companion + name + L"\"") != 0;
          t[1] = NowSeconds() - t0;
        } else {
          t[2] = tonewell.Convert(sources[i], cpu);
          if (t[2] < 0) {
            std::fprintf(stderr, "Tonewell did not convert %ls\n", sources[i].c_str());
            return 1;
          }
        }
      }
      std::printf("%2d/%-2zu %15.2f  %14.2f  %8.2f  %12.2f\n", r + 1, i + 1, t[0], t[1], t[2], cpu);
      std::fflush(stdout);
      for (int k = 0; k < 3; ++k) total[k] += t[k];
      cpuTotal += cpu;
      companionRatios.push_back(t[1] / t[0]);
      tonewellRatios.push_back(t[2] / t[0]);
    }
  }
  tonewell.Close();
  std::printf("total: encoder alone %.2f s, our ffmpeg.exe %.2f s, Tonewell %.2f s (%d conversions failed)\n", total[0],
              total[1], total[2], failures);
  std::printf("ratio our ffmpeg.exe / encoder alone: %.3f total, %.3f median of files\n", total[1] / total[0],
              Median(companionRatios));
  std::printf("ratio Tonewell / encoder alone: %.3f total, %.3f median of files (goal < 1.05)\n", total[2] / total[0],
              Median(tonewellRatios));
  std::printf("Tonewell CPU time while converting: %.2f s = %.2f %% of its wall time\n", cpuTotal,
              100.0 * cpuTotal / total[2]);
  return failures == 0 ? 0 : 1;
}
