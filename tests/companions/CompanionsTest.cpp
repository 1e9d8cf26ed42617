// Our ffmpeg.exe and mplayer.exe alone, under Wine, over the real stock
// encoder in the program folder's "encoder" subfolder: started as Tonewell
// starts them (standard output and error on one pipe) and read back.
// Skipped when tools/setup.sh has not fetched the stock encoder.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <regex>
#include <string>
#include <vector>

namespace {

std::wstring SelfFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}
const std::wstring kProgram = SelfFolder() + L"prog\\";
const std::wstring kSamples = SelfFolder() + L"samples\\";

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

void WriteAll(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD done = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(h);
}

// A fresh folder for one test.
std::wstring Work(const std::wstring& name) {
  const std::wstring dir = SelfFolder() + L"work-" + name + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  WIN32_FIND_DATAW f;
  HANDLE find = FindFirstFileW((dir + L"*").c_str(), &f);
  if (find != INVALID_HANDLE_VALUE) {
    do DeleteFileW((dir + f.cFileName).c_str());
    while (FindNextFileW(find, &f));
    FindClose(find);
  }
  return dir;
}

std::wstring Quote(const std::wstring& s) { return L"\"" + s + L"\""; }

// A started companion with standard output and error on one pipe and a
// hidden console of its own; with a `job`, put into it before it runs, as
// Tonewell starts its tools.
class TChild {
 public:
  explicit TChild(const std::wstring& commandLine, HANDLE job = nullptr) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE write = nullptr;
    CreatePipe(&read_, &write, &sa, 0);
    SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = write;
    si.hStdInput = nullptr;
    std::wstring line = commandLine;
    PROCESS_INFORMATION pi{};
    const DWORD flags = CREATE_NO_WINDOW | (job ? CREATE_SUSPENDED : 0);
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi)) {
      process_ = pi.hProcess;
      pid_ = pi.dwProcessId;
      if (job) {
        inJob_ = AssignProcessToJobObject(job, pi.hProcess) != FALSE;
        ResumeThread(pi.hThread);
      }
      CloseHandle(pi.hThread);
    }
    CloseHandle(write);
  }
  ~TChild() {
    if (process_) {
      TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    CloseHandle(read_);
  }
  bool Started() const { return process_ != nullptr; }
  bool InJob() const { return inJob_; }
  DWORD Pid() const { return pid_; }
  HANDLE Process() const { return process_; }

  // Reads until `until` is found in the output (or the pipe ends).
  bool ReadUntil(const std::string& until) {
    char buf[4096];
    DWORD got = 0;
    while (output.find(until) == std::string::npos) {
      if (!::ReadFile(read_, buf, sizeof(buf), &got, nullptr) || got == 0) return false;
      output.append(buf, got);
    }
    return true;
  }
  // Reads to the end and answers the exit code.
  DWORD Finish() {
    ReadUntil(std::string(1, '\0'));
    WaitForSingleObject(process_, 120000);
    DWORD code = 999;
    GetExitCodeProcess(process_, &code);
    return code;
  }

  std::string output;

 private:
  HANDLE read_ = nullptr, process_ = nullptr;
  DWORD pid_ = 0;
  bool inJob_ = false;
};

// A job that ends its processes when its last handle closes (Tonewell's).
HANDLE KillOnCloseJob() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  return job;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!cur.empty()) lines.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

std::wstring Convert(const std::wstring& program, const std::wstring& source, const std::wstring& output) {
  return Quote(program + L"ffmpeg.exe") + L" -i " + Quote(source) + L" -y  -vn -acodec libmp3lame " + Quote(output);
}
std::wstring Probe(const std::wstring& program, const std::wstring& file) {
  return Quote(program + L"mplayer.exe") + L" -msglevel identify=6 -vo none -ao none " + Quote(file) +
         L" 2>&1 |grep ID_LENGTH";
}

// The playing time the probe companion prints, -1 without one.
double ProbedSeconds(const std::wstring& file) {
  TChild probe(Probe(kProgram, file));
  if (probe.Finish() != 0) return -1;
  std::smatch m;
  const std::string out = probe.output;
  if (!std::regex_search(out, m, std::regex("ID_LENGTH=([0-9]+\\.[0-9]+)"))) return -1;
  return std::stod(m[1]);
}

class Companions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Exists(kProgram + L"ffmpeg.exe") && Exists(kProgram + L"mplayer.exe")) << "companions not staged";
    if (!Exists(kProgram + L"encoder\\ffmpeg.exe")) GTEST_SKIP() << "stock encoder not fetched (run tools/setup.sh)";
    ASSERT_TRUE(Exists(kSamples + L"first.wma")) << "sample files not staged (run tools/setup.sh)";
  }
};

TEST_F(Companions, ConversionPrintsOneExactMarkerPerStepAndPutsATaggedMp3InPlace) {
  const std::wstring dir = Work(L"convert");
  const std::wstring source = dir + L"第一首 song.wma", output = dir + L"第一首 song.mp3";
  ASSERT_TRUE(CopyFileW((kSamples + L"first.wma").c_str(), source.c_str(), FALSE));
  TChild c(Convert(kProgram, source, output));
  ASSERT_TRUE(c.Started());
  ASSERT_EQ(c.Finish(), 0u) << c.output;

  const std::regex marker("ffmpeg_release_time=([0-9]+\\.[0-9][0-9])=ffmpeg_release_time");
  std::vector<double> positions;
  bool passedThrough = false;
  for (const auto& line : Lines(c.output)) {
    if (line.find("ffmpeg_release_time") != std::string::npos) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(line, m, marker)) << "not a whole marker line: " << line;
      positions.push_back(std::stod(m[1]));
    }
    passedThrough |= line.find("Stream mapping:") != std::string::npos;
  }
  EXPECT_TRUE(passedThrough) << "the encoder's own output is missing:\n" << c.output;
  // The encoder reports twice a second of its own time: a fast run may
  // report only its end.
  ASSERT_GE(positions.size(), 1u) << c.output;
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GE(positions[i], positions[i - 1]);
  const double length = ProbedSeconds(source);
  ASSERT_GT(length, 10.0);
  EXPECT_NEAR(positions.back(), length, 0.15);

  const std::string mp3 = ReadAll(output);
  ASSERT_GT(mp3.size(), 10000u);
  EXPECT_EQ(mp3.substr(0, 4), std::string("ID3\x03", 4)) << "ID3v2.3 tag first";
  // Title and artist in UTF-16 text frames, the year as TYER.
  auto utf16 = [](const std::u16string& s) { return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2); };
  EXPECT_NE(mp3.find("TIT2"), std::string::npos);
  EXPECT_NE(mp3.find(utf16(u"第一首歌")), std::string::npos);
  EXPECT_NE(mp3.find(utf16(u"歌手甲")), std::string::npos);
  const size_t year = mp3.find("TYER");
  ASSERT_NE(year, std::string::npos);
  EXPECT_EQ(mp3.substr(year + 11, 4), "2019");
  EXPECT_NEAR(ProbedSeconds(output), length, 0.15);
  EXPECT_FALSE(Exists(output + L".tonewell-partial"));
}

TEST_F(Companions, ProbePrintsTheLengthAndFailsAtOnceOnWhatItCannotRead) {
  const std::wstring dir = Work(L"probe");
  TChild ok(Probe(kProgram, kSamples + L"second.wma"));
  ASSERT_EQ(ok.Finish(), 0u) << ok.output;
  int markers = 0;
  for (const auto& line : Lines(ok.output)) {
    if (line.rfind("ID_LENGTH=", 0) == 0) {
      ++markers;
      EXPECT_TRUE(std::regex_match(line, std::regex("ID_LENGTH=7\\.[45][0-9]"))) << line;
    }
  }
  EXPECT_EQ(markers, 1) << ok.output;

  WriteAll(dir + L"broken.wma", std::string(5000, 'x'));
  for (const std::wstring& bad : {dir + L"broken.wma", dir + L"absent.wma"}) {
    TChild c(Probe(kProgram, bad));
    EXPECT_NE(c.Finish(), 0u) << Utf8(bad);
    EXPECT_EQ(c.output.find("ID_LENGTH"), std::string::npos) << c.output;
  }
}

TEST_F(Companions, FailedConversionKeepsTheEncodersExitCodeAndTheOldOutput) {
  const std::wstring dir = Work(L"failing");
  WriteAll(dir + L"broken.wma", std::string(5000, 'x'));
  WriteAll(dir + L"broken.mp3", "earlier output");
  TChild direct(Quote(kProgram + L"encoder\\ffmpeg.exe") + L" -nostdin -i " + Quote(dir + L"broken.wma") + L" -f mp3 " +
                Quote(dir + L"direct.mp3"));
  const DWORD encoderCode = direct.Finish();
  ASSERT_NE(encoderCode, 0u);

  TChild c(Convert(kProgram, dir + L"broken.wma", dir + L"broken.mp3"));
  EXPECT_EQ(c.Finish(), encoderCode) << c.output;
  EXPECT_NE(c.output.find("Invalid data"), std::string::npos) << "the encoder's reason is passed on:\n" << c.output;
  EXPECT_EQ(ReadAll(dir + L"broken.mp3"), "earlier output");
  EXPECT_FALSE(Exists(dir + L"broken.mp3.tonewell-partial"));
}

TEST_F(Companions, MissingOrBrokenEncoderSaysSoAndFails) {
  const std::wstring program = Work(L"noencoder");
  DeleteFileW((program + L"encoder\\ffmpeg.exe").c_str());  // left by an earlier run
  for (const wchar_t* exe : {L"ffmpeg.exe", L"mplayer.exe"})
    ASSERT_TRUE(CopyFileW((kProgram + exe).c_str(), (program + exe).c_str(), FALSE));
  const std::wstring source = kSamples + L"second.wma", output = program + L"out.mp3";
  {
    TChild convert(Convert(program, source, output));
    EXPECT_EQ(convert.Finish(), 3u);
    EXPECT_NE(convert.output.find("the stock encoder is missing: " + Utf8(program) + "encoder\\ffmpeg.exe"),
              std::string::npos)
        << convert.output;
    TChild probe(Probe(program, source));
    EXPECT_EQ(probe.Finish(), 3u);
    EXPECT_EQ(probe.output.find("ID_LENGTH"), std::string::npos);
    EXPECT_NE(probe.output.find("the stock encoder is missing"), std::string::npos) << probe.output;
  }
  // Not a program at all.
  CreateDirectoryW((program + L"encoder").c_str(), nullptr);
  WriteAll(program + L"encoder\\ffmpeg.exe", "not a program");
  TChild convert(Convert(program, source, output));
  EXPECT_EQ(convert.Finish(), 3u);
  EXPECT_NE(convert.output.find("cannot start the stock encoder"), std::string::npos) << convert.output;
  EXPECT_FALSE(Exists(output));
  // And a wrong command line is refused before anything runs.
  TChild usage(Quote(kProgram + L"ffmpeg.exe") + L" -i " + Quote(source) + L" -b:a 64k " + Quote(output));
  EXPECT_EQ(usage.Finish(), 2u);
}

// The stock encoder started by `parent` (whose hidden console's host is a
// child of it too), 0 when there is none.
DWORD EncoderChildOf(DWORD parent) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof(e);
  DWORD found = 0;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (e.th32ParentProcessID == parent && lstrcmpiW(e.szExeFile, L"ffmpeg.exe") == 0) found = e.th32ProcessID;
  CloseHandle(snap);
  return found;
}

// A named pipe that never delivers a byte, with one instance per expected
// reader; tells when a reader has opened it.
class TSilentSource {
 public:
  explicit TSilentSource(const std::wstring& name) : name_(name) {
    for (auto& i : instances_) {
      i.pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE,
                                kInstances, 4096, 4096, 0, nullptr);
      i.connect.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (!ConnectNamedPipe(i.pipe, &i.connect) && GetLastError() == ERROR_PIPE_CONNECTED) SetEvent(i.connect.hEvent);
    }
  }
  ~TSilentSource() {
    for (auto& i : instances_) {
      if (i.pipe != INVALID_HANDLE_VALUE) CloseHandle(i.pipe);
      CloseHandle(i.connect.hEvent);
    }
  }
  bool Created() const { return instances_[0].pipe != INVALID_HANDLE_VALUE && instances_[1].pipe != INVALID_HANDLE_VALUE; }
  // Waits for the next reader to open the pipe; with `release`, its instance
  // is closed at once, so its reads fail instead of waiting.
  bool NextReader(bool release) {
    HANDLE events[kInstances];
    for (int i = 0; i < kInstances; ++i) events[i] = instances_[i].connect.hEvent;
    for (;;) {
      const DWORD w = WaitForMultipleObjects(kInstances, events, FALSE, 60000);
      if (w >= WAIT_OBJECT_0 + kInstances) return false;
      TInstance& i = instances_[w - WAIT_OBJECT_0];
      ResetEvent(i.connect.hEvent);
      if (i.taken) continue;
      i.taken = true;
      if (release) {
        CloseHandle(i.pipe);
        i.pipe = INVALID_HANDLE_VALUE;
      }
      return true;
    }
  }

 private:
  static constexpr int kInstances = 2;
  struct TInstance {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    OVERLAPPED connect{};
    bool taken = false;
  };
  std::wstring name_;
  TInstance instances_[kInstances];
};

TEST_F(Companions, KilledConverterTakesTheEncoderAlong) {
  // Alone, and inside a kill-on-close job of its caller as Tonewell starts
  // it; the caller's job stays open, so only the companion's own job can end
  // the encoder.
  for (const bool callerJob : {false, true}) {
    SCOPED_TRACE(callerJob ? "in the caller's job" : "alone");
    // The source is a pipe that never delivers: the encoder waits on it for
    // ever, so only its companion's end can end it.
    const std::wstring pipeName =
        L"\\\\.\\pipe\\tonewell-silent-" + std::to_wstring(GetCurrentProcessId()) + (callerJob ? L"-job" : L"");
    TSilentSource source(pipeName);
    ASSERT_TRUE(source.Created());
    HANDLE job = callerJob ? KillOnCloseJob() : nullptr;
    const std::wstring dir = Work(L"killed-wait");
    TChild c(Convert(kProgram, pipeName, dir + L"never.mp3"), job);
    ASSERT_TRUE(c.Started());
    ASSERT_EQ(c.InJob(), callerJob);
    // The companion itself looks for the source's year tag first.
    ASSERT_TRUE(source.NextReader(true)) << "the companion never opened its source";
    ASSERT_TRUE(source.NextReader(false)) << "the encoder never opened its source";
    const DWORD encoderPid = EncoderChildOf(c.Pid());
    ASSERT_NE(encoderPid, 0u) << "no encoder started";
    HANDLE encoder = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, encoderPid);
    ASSERT_TRUE(encoder);
    ASSERT_EQ(WaitForSingleObject(encoder, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the encoder is not running";
    // Tonewell stops a conversion this way when its window closes.
    TerminateProcess(c.Process(), 0);
    const DWORD waited = WaitForSingleObject(encoder, 60000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the encoder outlived its companion";
    if (waited != WAIT_OBJECT_0) TerminateProcess(encoder, 1);
    CloseHandle(encoder);
    if (job) CloseHandle(job);
  }
}

TEST_F(Companions, KilledConversionLeavesNoOutputAndItsPartialIsClearedNextTime) {
  const std::wstring dir = Work(L"killed");
  const std::wstring source = kSamples + L"sample.wma", output = dir + L"sample.mp3";
  ASSERT_TRUE(Exists(source));
  {
    TChild c(Convert(kProgram, source, output));
    ASSERT_TRUE(c.ReadUntil("=ffmpeg_release_time")) << c.output;
    TerminateProcess(c.Process(), 0);
    WaitForSingleObject(c.Process(), 60000);
  }
  EXPECT_FALSE(Exists(output)) << "a cut-off file at the output path";

  // A partial still held by a live encoder (here: by the test, opened the
  // way the encoder opens it) survives another conversion in the folder; the
  // abandoned one goes.
  const std::wstring held = dir + L"other.mp3.tonewell-partial";
  HANDLE hold = CreateFileW(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  TChild next(Convert(kProgram, kSamples + L"second.wma", dir + L"second.mp3"));
  EXPECT_EQ(next.Finish(), 0u) << next.output;
  EXPECT_FALSE(Exists(output + L".tonewell-partial")) << "the killed run's partial file was left";
  EXPECT_TRUE(Exists(held)) << "a partial file in use was removed";
  CloseHandle(hold);
  EXPECT_TRUE(Exists(dir + L"second.mp3"));
}

}  // namespace
