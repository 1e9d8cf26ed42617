// The program folder a user gets: the real Tonewell.exe beside our
// ffmpeg.exe and mplayer.exe, with the stock encoder in encoder\, converting
// real WMA files (one with a Chinese name and title, three minutes long so
// that the encoder reports progress while it works) and a broken one, driven
// through its window. Skipped when tools/setup.sh has not fetched the stock
// encoder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";
std::wstring ProgramFolder() { return SelfFolder() + L"tonewell-real\\"; }
std::wstring Samples() { return SelfFolder() + L"real-samples\\"; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return bytes;
}

// Runs a console program with its output on a pipe; answers the output.
std::string Run(const std::wstring& commandLine) {
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
  std::string out;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    CloseHandle(write);
    char buf[4096];
    DWORD got = 0;
    while (::ReadFile(read, buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  } else {
    CloseHandle(write);
  }
  CloseHandle(read);
  return out;
}

// The playing time as the stock encoder reads it (through the program
// folder's probe), -1 when it finds none.
double Seconds(const std::wstring& file) {
  const std::string out = Run(L"\"" + ProgramFolder() + L"mplayer.exe\" -msglevel identify=6 -vo none -ao none \"" +
                              file + L"\"");
  std::smatch m;
  if (!std::regex_search(out, m, std::regex("ID_LENGTH=([0-9]+\\.[0-9]+)"))) return -1;
  return std::stod(m[1]);
}

// An MP3 as players see it: an ID3v2 tag, then MPEG audio frames.
bool IsMp3(const std::string& bytes) {
  if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return false;
  size_t tag = 10;
  for (int i = 6; i < 10; ++i) tag = (tag - 10) * 128 + (static_cast<unsigned char>(bytes[i]) & 0x7F) + 10;
  return bytes.size() > tag + 2 && static_cast<unsigned char>(bytes[tag]) == 0xFF &&
         (static_cast<unsigned char>(bytes[tag + 1]) & 0xE0) == 0xE0;
}

// The text of an ID3v2.3 text frame (Latin-1 or UTF-16 with a byte order
// mark), empty when the tag has no such frame.
std::u16string Id3Text(const std::string& bytes, const char* frame) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() < 10 || bytes.compare(0, 4, std::string("ID3\x03", 4)) != 0) return u"";
  size_t end = 10;
  for (int i = 6; i < 10; ++i) end = (end - 10) * 128 + (byte(i) & 0x7F) + 10;
  end = std::min(end, bytes.size());
  for (size_t at = 10; at + 10 <= end;) {
    const size_t size = (size_t{byte(at + 4)} << 24) | (byte(at + 5) << 16) | (byte(at + 6) << 8) | byte(at + 7);
    if (size == 0 || at + 10 + size > end) break;
    if (bytes.compare(at, 4, frame) == 0) {
      std::u16string text;
      const size_t data = at + 11, stop = at + 10 + size;
      if (byte(at + 10) == 0) {
        for (size_t i = data; i < stop && byte(i); ++i) text.push_back(byte(i));
      } else if (byte(at + 10) == 1 && size >= 3) {
        const bool little = byte(data) == 0xFF;
        for (size_t i = data + 2; i + 1 < stop; i += 2) {
          const char16_t c = little ? (byte(i) | (byte(i + 1) << 8)) : ((byte(i) << 8) | byte(i + 1));
          if (!c) break;
          text.push_back(c);
        }
      }
      return text;
    }
    at += 10 + size;
  }
  return u"";
}

TEST(RealConversion, TonewellConvertsRealFilesWithTheCompanionsAndMarksTheBrokenOneFailed) {
  if (!Exists(ProgramFolder() + L"encoder\\ffmpeg.exe")) GTEST_SKIP() << "stock encoder not fetched (run tools/setup.sh)";
  ASSERT_TRUE(Exists(ProgramFolder() + L"Tonewell.exe") && Exists(ProgramFolder() + L"ffmpeg.exe") &&
              Exists(ProgramFolder() + L"mplayer.exe"))
      << "program folder not staged";
  ASSERT_TRUE(Exists(Samples() + L"sample.wma") && Exists(Samples() + L"second.wma")) << "run tools/setup.sh";

  const std::wstring work = SelfFolder() + L"real-work\\";
  const std::wstring out = work + L"输出 " + std::to_wstring(GetTickCount()) + L"\\";
  CreateDirectoryW(work.c_str(), nullptr);
  const std::vector<std::wstring> sources = {work + L"示例 乐曲.wma", work + L"second.wma", work + L"broken.wma"};
  ASSERT_TRUE(CopyFileW((Samples() + L"sample.wma").c_str(), sources[0].c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((Samples() + L"second.wma").c_str(), sources[1].c_str(), FALSE));
  {
    HANDLE h = CreateFileW(sources[2].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string junk(20000, '\x5A');
    DWORD done = 0;
    ::WriteFile(h, junk.data(), static_cast<DWORD>(junk.size()), &done, nullptr);
    CloseHandle(h);
  }

  TAppProcess app;
  ASSERT_TRUE(app.Start(ProgramFolder() + L"Tonewell.exe", ProgramFolder(), kCaption)) << "main window not shown";
  HWND main = app.Main();
  HWND add = FindChild(main, L"TButton", L"新增"), convert = FindChild(main, L"TButton", L"立即转换");
  HWND list = FindChild(main, L"TListView", L""), bar = FindChild(main, L"TProgressBar", L"");
  HWND saveDir = FindChild(main, L"TEdit", L""), progressBox = FindChild(main, L"TGroupBox", L"进度");
  ASSERT_TRUE(add && convert && list && bar && saveDir && progressBox);

  for (const auto& s : sources) {
    const int before = ListViewCount(list);
    Click(add);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    ASSERT_TRUE(dialog) << "open dialog did not appear";
    ASSERT_TRUE(FillOpenDialog(dialog, s));
    ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == before + 1; }, 60000)) << "not added: " << Utf8(s);
  }
  // The output edit is read-only and Wine's folder browser keeps its
  // default selection: the folder goes in as its text.
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
  Click(convert);
  // A position strictly inside the bar's range: the bar follows the
  // encoder while it works, not only at the end.
  bool midwaySeen = false, disabledSeen = false;
  const bool finished = WaitUntil(
      [&] {
        const TProgress p = Progress(bar);
        midwaySeen |= p.pos > 0 && p.pos < p.high;
        disabledSeen |= !IsWindowEnabled(convert);
        return disabledSeen && IsWindowEnabled(convert) && ShowsText(progressBox, POINT{112, 16}, L"转换完成");
      },
      300000);
  ASSERT_TRUE(finished) << "run did not finish";
  EXPECT_TRUE(midwaySeen) << "progress bar never moved during a conversion";
  const auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], L"完成");
  EXPECT_EQ(rows[1][1], L"完成");
  EXPECT_EQ(rows[2][1], L"失败");
  EXPECT_TRUE(app.Close());

  const std::vector<std::wstring> mp3s = {out + L"示例 乐曲.mp3", out + L"second.mp3"};
  const std::vector<std::pair<std::u16string, std::u16string>> tags = {{u"示例乐曲", u"Tonewell"},
                                                                        {u"Second Song", u"The Band"}};
  for (size_t i = 0; i < mp3s.size(); ++i) {
    const std::string bytes = ReadAll(mp3s[i]);
    EXPECT_TRUE(IsMp3(bytes)) << Utf8(mp3s[i]) << " is not an MP3";
    EXPECT_TRUE(Id3Text(bytes, "TIT2") == tags[i].first) << "title wrong in " << Utf8(mp3s[i]);
    EXPECT_TRUE(Id3Text(bytes, "TPE1") == tags[i].second) << "artist wrong in " << Utf8(mp3s[i]);
    const double source = Seconds(sources[i]), result = Seconds(mp3s[i]);
    EXPECT_GT(source, 5.0);
    EXPECT_NEAR(result, source, 0.15) << Utf8(mp3s[i]);
  }
  EXPECT_FALSE(Exists(out + L"broken.mp3"));
  WIN32_FIND_DATAW f;
  HANDLE find = FindFirstFileW((out + L"*.tonewell-partial").c_str(), &f);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "partial file left in the output folder";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

}  // namespace
