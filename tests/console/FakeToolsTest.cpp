// The fake tools as the converter sees them: started by the runner with the
// converter's own command lines, their output read with the converter's
// parsers, in each mode the end-to-end tests rely on.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/logic/ConvertPaths.h"
#include "app/logic/ToolOutput.h"
#include "console/DosCommand.h"
#include "tests/support/Pump.h"

namespace {

using tonewell::ConversionCommandLine;
using tonewell::DurationFromProbeLines;
using tonewell::HasDurationMarker;
using tonewell::ProbeCommandLine;
using tonewell::ProgressFromLine;

std::wstring ExeDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

using twtest::PumpUntil;

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class FakeToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    runner = new TDosCommand(owner.get());
    runner->OnNewLine = MakeDelegate<TNewLineEvent>(this, &FakeToolsTest::NewLine);
    SetEnv(L"TONEWELL_FAKE_SECONDS", L"0.3");
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
  // What the converter's line handler does: progress from every line.
  void NewLine(TObject*, const std::string& line, TOutputType type) {
    std::optional<int> p = ProgressFromLine(line);
    std::lock_guard<std::mutex> hold(lock);
    if (p) progress.push_back(*p);
  }
  std::vector<int> Progress() {
    std::lock_guard<std::mutex> hold(lock);
    return progress;
  }
  std::wstring Source(const std::wstring& name) {
    std::wstring path = ExeDir() + name;
    std::ofstream(path.c_str(), std::ios::binary) << "WMA stand-in";
    return path;
  }
  void Run(const std::wstring& commandLine) {
    runner->SetCommandLine(commandLine);
    runner->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 60000));
    runner->Stop();
  }
  void Probe(const std::wstring& source) { Run(ProbeCommandLine(ExeDir() + L"mplayer.exe", source)); }
  void Convert(const std::wstring& source, const std::wstring& output) {
    Run(ConversionCommandLine(ExeDir() + L"ffmpeg.exe", source, output));
  }

  std::unique_ptr<TComponent> owner;
  TDosCommand* runner = nullptr;
  std::mutex lock;
  std::vector<int> progress;
  std::vector<std::wstring> env;
};

TEST_F(FakeToolsTest, ProbeReportsTheRecordedDuration) {
  Probe(Source(L"probe.wma"));
  EXPECT_EQ(DurationFromProbeLines(runner->Lines().Snapshot()), 60);
  EXPECT_EQ(runner->ExitCode(), 0u);

  Probe(ExeDir() + L"not there.wma");  // a missing source: the tool finds no length
  EXPECT_FALSE(HasDurationMarker(runner->Lines().Snapshot()));

  for (const wchar_t* mode : {L"crlf", L"flood"}) {  // cr and nul: see the runner test
    SetEnv(L"TONEWELL_FAKE_MPLAYER_MODE", mode);
    Probe(Source(L"probe.wma"));
    EXPECT_EQ(DurationFromProbeLines(runner->Lines().Snapshot()), 60) << WideToUtf8(mode);
  }
}

TEST_F(FakeToolsTest, ProbeMisbehaviours) {
  std::wstring source = Source(L"probe bad.wma");
  SetEnv(L"TONEWELL_FAKE_MODE", L"nomarker");
  Probe(source);
  EXPECT_FALSE(HasDurationMarker(runner->Lines().Snapshot()));
  EXPECT_EQ(DurationFromProbeLines(runner->Lines().Snapshot()), 0);

  SetEnv(L"TONEWELL_FAKE_MODE", L"garbage");
  Probe(source);
  try {
    DurationFromProbeLines(runner->Lines().Snapshot());
    FAIL() << "no error";
  } catch (const tonewell::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'6.0.5' is not a valid floating point value");
  }

  SetEnv(L"TONEWELL_FAKE_MODE", L"fail");
  Probe(source);
  EXPECT_EQ(runner->ExitCode(), 1u);
  EXPECT_FALSE(HasDurationMarker(runner->Lines().Snapshot()));
}

TEST_F(FakeToolsTest, ProbeLateAndHanging) {
  std::wstring source = Source(L"probe late.wma");
  SetEnv(L"TONEWELL_FAKE_MODE", L"late");
  SetEnv(L"TONEWELL_FAKE_DELAY", L"2");
  runner->SetCommandLine(ProbeCommandLine(ExeDir() + L"mplayer.exe", source));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return runner->Lines().Count() > 10; }, 10000));
  EXPECT_FALSE(HasDurationMarker(runner->Lines().Snapshot()));
  EXPECT_TRUE(runner->IsRunning());
  ASSERT_TRUE(PumpUntil([&] { return HasDurationMarker(runner->Lines().Snapshot()); }, 10000));
  PumpUntil([&] { return !runner->IsRunning(); }, 10000);
  runner->Stop();
  EXPECT_EQ(DurationFromProbeLines(runner->Lines().Snapshot()), 60);

  SetEnv(L"TONEWELL_FAKE_MODE", L"hang");
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return runner->Lines().Count() > 10; }, 10000));
  EXPECT_FALSE(PumpUntil([&] { return !runner->IsRunning(); }, 1500)) << "a hanging tool ended by itself";
  runner->Stop();  // what the probe does after its wait
  EXPECT_TRUE(runner->ChildStopped());
  EXPECT_FALSE(HasDurationMarker(runner->Lines().Snapshot()));
}

TEST_F(FakeToolsTest, ConverterWritesTheOutputAndReportsEveryPosition) {
  std::wstring source = Source(L"Song.Live.wma");
  std::wstring output = ExeDir() + tonewell::OutputFileName(source);
  std::ofstream(output.c_str(), std::ios::binary) << "an older file that must be replaced, longer than the new one";
  SetEnv(L"TONEWELL_FAKE_LOG", (ExeDir() + L"fake-log.txt").c_str());
  DeleteFileW((ExeDir() + L"fake-log.txt").c_str());
  Convert(source, output);

  EXPECT_EQ(runner->ExitCode(), 0u);
  EXPECT_EQ(ReadFile(output), "TONEWELL FAKE MP3\nsource=" + WideToUtf8(source) + "\ncomplete\n");
  std::vector<int> p = Progress();
  ASSERT_EQ(p.size(), 17u);  // one marker per recorded progress record
  EXPECT_EQ(p.front(), 0);
  EXPECT_EQ(p.back(), 61);   // 60.56
  EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
  // The tool saw exactly the converter's command line.
  EXPECT_EQ(ReadFile(ExeDir() + L"fake-log.txt"), WideToUtf8(runner->CommandLine()) + "\n");
}

TEST_F(FakeToolsTest, ConverterMisbehaviours) {
  std::wstring source = Source(L"conv.wma");
  std::wstring output = ExeDir() + L"conv.mp3";

  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"garbage");  // non-numbers between markers are ignored
  Convert(source, output);
  std::vector<int> p = Progress();
  ASSERT_EQ(p.size(), 17u);
  EXPECT_EQ(p.back(), 61);
  EXPECT_EQ(runner->ExitCode(), 0u);

  progress.clear();
  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"nomarker");
  Convert(source, output);
  EXPECT_TRUE(Progress().empty());
  EXPECT_EQ(ReadFile(output), "TONEWELL FAKE MP3\nsource=" + WideToUtf8(source) + "\ncomplete\n");

  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"exit1");
  DeleteFileW(output.c_str());
  Convert(source, output);
  EXPECT_EQ(runner->ExitCode(), 1u);
  EXPECT_EQ(GetFileAttributesW(output.c_str()), INVALID_FILE_ATTRIBUTES);

  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"");
  Convert(source, ExeDir() + L"no such folder\\conv.mp3");
  EXPECT_EQ(runner->ExitCode(), 1u);
  EXPECT_EQ(runner->Lines().Snapshot().back(), WideToUtf8(ExeDir()) + "no such folder\\conv.mp3: No such file or directory");
}

TEST_F(FakeToolsTest, MatchLimitsTheMisbehaviourToOneSource) {
  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"fail");
  SetEnv(L"TONEWELL_FAKE_MATCH", L"second");
  Convert(Source(L"first.wma"), ExeDir() + L"first.mp3");
  EXPECT_EQ(runner->ExitCode(), 0u);
  Convert(Source(L"second.wma"), ExeDir() + L"second.mp3");
  EXPECT_EQ(runner->ExitCode(), 1u);
  Convert(Source(L"third.wma"), ExeDir() + L"third.mp3");
  EXPECT_EQ(runner->ExitCode(), 0u);
}

TEST_F(FakeToolsTest, ConverterLateAndHanging) {
  std::wstring source = Source(L"slow.wma");
  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"late");
  SetEnv(L"TONEWELL_FAKE_DELAY", L"2");
  runner->SetCommandLine(ConversionCommandLine(ExeDir() + L"ffmpeg.exe", source, ExeDir() + L"slow.mp3"));
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return runner->Lines().Count() > 10; }, 10000));
  EXPECT_TRUE(Progress().empty());
  ASSERT_TRUE(PumpUntil([&] { return !runner->IsRunning(); }, 20000));
  runner->Stop();
  EXPECT_EQ(Progress().size(), 17u);

  progress.clear();
  SetEnv(L"TONEWELL_FAKE_FFMPEG_MODE", L"hang");
  runner->Execute();
  ASSERT_TRUE(PumpUntil([&] { return Progress().size() >= 2; }, 10000));
  EXPECT_FALSE(PumpUntil([&] { return !runner->IsRunning(); }, 1500));
  runner->Stop();
  EXPECT_TRUE(runner->ChildStopped());
  EXPECT_LT(Progress().size(), 17u);
}

}  // namespace
