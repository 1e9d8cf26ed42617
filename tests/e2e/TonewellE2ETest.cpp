// The real Tonewell.exe, started as its own process with the fake tools
// beside it, driven through its windows as a user would: the open dialog,
// the buttons, the folder browser, message boxes; the list view, the label
// and the progress bar are read across the process boundary.
//
// The output folder edit is read-only and Wine's folder browser cannot be
// moved off its default selection, so the runs into a chosen deep folder put
// the folder text into the edit with WM_SETTEXT; the browser itself is
// tested with its default selection.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";

// The folder the build put Tonewell.exe and the fakes in.
std::wstring BuiltFolder() { return SelfFolder() + L"tonewell\\"; }

// A fresh working folder per test under the test program's folder.
std::wstring WorkFolder(const std::wstring& name) {
  std::wstring dir = SelfFolder() + L"e2e-work\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  dir += name + L"\\";
  // Clear what an earlier run left (sources, outputs).
  SHFILEOPSTRUCTW op{};
  std::wstring from = dir;
  from.push_back(L'\0');
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot write test file";
  DWORD done = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(h);
}

bool ReadFile(const std::wstring& path, std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
  CloseHandle(h);
  return true;
}

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Sets an environment variable for the programs this test starts (the fakes
// read their misbehaviour from it) and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[1024];
    had_ = GetEnvironmentVariableW(name, old, 1024) > 0;
    if (had_) old_ = old;
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedEnv() { SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr); }

 private:
  std::wstring name_, old_;
  bool had_ = false;
};

// Processes of this name still alive.
int CountProcesses(const wchar_t* exeName) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W e{};
  e.dwSize = sizeof(e);
  int n = 0;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (lstrcmpiW(e.szExeFile, exeName) == 0) ++n;
  CloseHandle(snap);
  return n;
}

// The running program and its controls, found by class and caption.
class Tonewell : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(BuiltFolder() + L"Tonewell.exe")) << "Tonewell.exe not next to the test";
    appDir = BuiltFolder();
  }

  // Runs the program from a copy in `folder` (a name outside code page 936
  // proves the program folder is read as Unicode), optionally without one
  // of the tools.
  void Stage(const std::wstring& folder, bool withProbe = true, bool withConverter = true) {
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((BuiltFolder() + L"Tonewell.exe").c_str(), (folder + L"Tonewell.exe").c_str(), FALSE));
    if (withProbe) {
      ASSERT_TRUE(CopyFileW((BuiltFolder() + L"mplayer.exe").c_str(), (folder + L"mplayer.exe").c_str(), FALSE));
    }
    if (withConverter) {
      ASSERT_TRUE(CopyFileW((BuiltFolder() + L"ffmpeg.exe").c_str(), (folder + L"ffmpeg.exe").c_str(), FALSE));
    }
    appDir = folder;
  }
  void TearDown() override {
    for (HWND w : TopWindows(app.Pid(), L"#32770")) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    if (!app.Close(10000)) app.Kill();
  }

  void Launch() {
    ASSERT_TRUE(app.Start(appDir + L"Tonewell.exe", appDir, kCaption)) << "main window not shown";
    main = app.Main();
    // The library's windows carry their control class names.
    add = FindChild(main, L"TButton", L"新增");
    del = FindChild(main, L"TButton", L"删除");
    clear = FindChild(main, L"TButton", L"清空");
    chooseDir = FindChild(main, L"TButton", L"设置输出目录");
    convert = FindChild(main, L"TButton", L"立即转换");
    list = FindChild(main, L"TListView", L"");
    bar = FindChild(main, L"TProgressBar", L"");
    saveDir = FindChild(main, L"TEdit", L"");
    progressBox = FindChild(main, L"TGroupBox", L"进度");
    if (!(add && del && clear && chooseDir && convert && list && bar && saveDir && progressBox)) {
      std::string seen;
      for (HWND w : Descendants(main)) seen += Utf8(ClassOf(w)) + " '" + Utf8(Text(w)) + "'\n";
      FAIL() << "controls not found among:\n" << seen;
    }
  }

  // Clicks "新增", waits for the open dialog, chooses `path` and waits for
  // the probe to finish (the row appears) or `ms` to pass.
  void AddFile(const std::wstring& path, DWORD ms = 20000) {
    const int before = ListViewCount(list);
    Click(add);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    ASSERT_TRUE(dialog) << "open dialog did not appear";
    ASSERT_TRUE(FillOpenDialog(dialog, path));
    ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == before + 1; }, ms)) << "row not added";
  }

  // Waits for a message box (a dialog other than the main window), answers
  // its text and closes it with OK.
  std::wstring TakeMessageBox(std::wstring* caption = nullptr, DWORD ms = 10000) {
    HWND box = WaitForTopWindow(app.Pid(), L"#32770", ms);
    if (!box) return L"<no message box>";
    const std::wstring text = MessageBoxText(box);
    if (caption) *caption = Text(box);
    PressDialogButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    return text;
  }

  void SetSaveDir(const std::wstring& folder) {
    SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  }

  // lblInfo has no window of its own: it is read off the screen, at its
  // place in the progress group box.
  bool LabelShows(const std::wstring& text) { return ShowsText(progressBox, POINT{112, 16}, text); }

  // The folder browser has filled its tree (Wine selects no item; OK then
  // answers the tree's first folder).
  bool BrowserFilled(HWND browser) {
    return WaitUntil(
        [&] {
          HWND tree = FindChild(browser, L"SysTreeView32", L"");
          DWORD_PTR count = 0;
          return tree && SendMessageTimeoutW(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) && count > 0;
        },
        20000);
  }

  // The run is over: the convert button is usable again after having been
  // disabled, and the label says so.
  bool RunFinished() { return IsWindowEnabled(convert) && LabelShows(L"转换完成"); }

  TAppProcess app;
  std::wstring appDir;
  HWND main = nullptr, add = nullptr, del = nullptr, clear = nullptr, chooseDir = nullptr,
       convert = nullptr, list = nullptr, bar = nullptr, saveDir = nullptr, progressBox = nullptr;
};

TEST_F(Tonewell, OpensCentredFixedWithItsTextsAndAnEmptyList) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 533);
  EXPECT_EQ(client.bottom, 456);
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the border must not resize";
  RECT frame{};
  GetWindowRect(main, &frame);
  RECT desk{};
  GetWindowRect(GetDesktopWindow(), &desk);
  EXPECT_NEAR((frame.left + frame.right) / 2, (desk.left + desk.right) / 2, 2);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (desk.top + desk.bottom) / 2, 2);

  EXPECT_TRUE(WaitUntil([&] { return LabelShows(L"准备就绪"); }, 3000));
  EXPECT_FALSE(LabelShows(L"转换完成"));  // the matcher tells texts apart
  EXPECT_EQ(Text(saveDir), L"");
  EXPECT_EQ(ListViewCount(list), 0);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  ASSERT_TRUE(header);
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(GetWindowLongW(saveDir, GWL_STYLE) & ES_READONLY);

  // The taskbar text is the application's title, a different version: the
  // text of the main window's (hidden) owner.
  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_TRUE(owner) << "the main window has no application window as owner";
  EXPECT_EQ(Text(owner), L"Tonewell 2.1");

  ASSERT_TRUE(app.Close());
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(Tonewell, AddDeleteAndClearRows) {
  const std::wstring dir = WorkFolder(L"rows");
  const std::wstring a = dir + L"first.wma", b = dir + L"second.wma";
  WriteFile(a, "wma a");
  WriteFile(b, "wma b");
  ASSERT_NO_FATAL_FAILURE(Launch());

  // Cancelling the dialog changes nothing.
  Click(add);
  HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  ASSERT_TRUE(dialog);
  PressDialogButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return TopWindows(app.Pid(), L"#32770").empty(); }, 5000));
  EXPECT_EQ(ListViewCount(list), 0);

  ASSERT_NO_FATAL_FAILURE(AddFile(a));
  ASSERT_NO_FATAL_FAILURE(AddFile(b));
  ASSERT_NO_FATAL_FAILURE(AddFile(a));  // the same path twice gives two rows
  auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][0], a);
  EXPECT_EQ(rows[0][1], L"准备就绪");
  EXPECT_EQ(rows[1][0], b);
  EXPECT_EQ(rows[2][0], a);

  // Delete with no row selected does nothing.
  ASSERT_TRUE(ClickAndWait(del));
  EXPECT_EQ(ListViewCount(list), 3);

  ASSERT_TRUE(ListViewSelect(list, 1));
  Click(del);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == 2; }, 5000));
  rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], a);
  EXPECT_EQ(rows[1][0], a);

  Click(clear);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == 0; }, 5000));
  ASSERT_TRUE(ClickAndWait(clear));  // clearing an empty list is harmless
  EXPECT_EQ(ListViewCount(list), 0);
  EXPECT_FALSE(app.Exited());
}

TEST_F(Tonewell, ConvertWithoutFolderAsksForOne) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  Click(convert);
  std::wstring caption;
  EXPECT_EQ(TakeMessageBox(&caption), L"请选择保存的文件夹");
  EXPECT_EQ(caption, L"Tonewell 2.1");
  EXPECT_TRUE(LabelShows(L"准备就绪"));
  EXPECT_TRUE(IsWindowEnabled(convert));
}

TEST_F(Tonewell, FolderBrowserSetsChosenFolderWithBackslashAndCancelKeepsIt) {
  ASSERT_NO_FATAL_FAILURE(Launch());
  Click(chooseDir);
  HWND browser = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  ASSERT_TRUE(browser);
  HWND title = FindChildById(browser, 0x3742);
  ASSERT_TRUE(title);
  EXPECT_EQ(Text(title), L"请选择文件");
  ASSERT_TRUE(BrowserFilled(browser)) << "the folder tree was never filled";
  PressDialogButton(browser, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !Text(saveDir).empty(); }, 10000));
  const std::wstring chosen = Text(saveDir);
  EXPECT_EQ(chosen.back(), L'\\');
  EXPECT_GT(chosen.size(), 4u);
  EXPECT_TRUE(FileExists(chosen));

  Click(chooseDir);
  browser = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  ASSERT_TRUE(browser);
  ASSERT_TRUE(BrowserFilled(browser));
  PressDialogButton(browser, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return TopWindows(app.Pid(), L"#32770").empty(); }, 5000));
  EXPECT_EQ(Text(saveDir), chosen);
}

TEST_F(Tonewell, ConvertsThreeFilesIntoNewDeepFolder) {
  const std::wstring dir = WorkFolder(L"three");
  // One name outside code page 936 (Hangul), one with two points, one
  // without any.
  const std::vector<std::wstring> sources = {dir + L"Song.Live.wma", dir + L"\uD55C\uAE00 \uB178\uB798.wma",
                                             dir + L"plain"};
  const std::vector<std::wstring> outputs = {L"Song.Live.mp3", L"\uD55C\uAE00 \uB178\uB798.mp3", L"plain.mp3"};
  for (const auto& s : sources) WriteFile(s, "source " + Utf8(s));
  const std::wstring out = dir + L"out\\level1\\level2\\level3\\";
  ScopedEnv pace(L"TONEWELL_FAKE_SECONDS", L"3");
  ASSERT_NO_FATAL_FAILURE(Stage(dir + L"\uD504\uB85C\uADF8\uB7A8 app\\"));
  ASSERT_NO_FATAL_FAILURE(Launch());
  for (const auto& s : sources) ASSERT_NO_FATAL_FAILURE(AddFile(s));
  SetSaveDir(out);
  ASSERT_EQ(Text(saveDir), out);

  Click(convert);
  // While it runs: the label names the file, the controls are disabled and
  // the progress bar moves.
  std::vector<bool> labelSeen(sources.size(), false);
  int highest = 0, highestRange = 0;
  bool disabledSeen = false;
  const bool finished = WaitUntil(
      [&] {
        for (size_t i = 0; i < sources.size(); ++i)
          if (!labelSeen[i]) labelSeen[i] = LabelShows(L"正在转换 " + sources[i]);
        const TProgress p = Progress(bar);
        highest = std::max(highest, p.pos);
        highestRange = std::max(highestRange, p.high);
        disabledSeen |= !IsWindowEnabled(convert) && !IsWindowEnabled(list);
        return disabledSeen && RunFinished();
      },
      120000);
  ASSERT_TRUE(finished) << "run did not finish";
  EXPECT_GT(highest, 0) << "progress bar never moved";
  // The fake probe reports 60.51 s: the range is the whole seconds.
  EXPECT_EQ(highestRange, 60);
  for (size_t i = 0; i < sources.size(); ++i) EXPECT_TRUE(labelSeen[i]) << "label never showed " << Utf8(sources[i]);

  EXPECT_EQ(Progress(bar).pos, 0);
  EXPECT_TRUE(IsWindowEnabled(convert));
  EXPECT_TRUE(IsWindowEnabled(list));
  auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 3u);
  for (const auto& r : rows) EXPECT_EQ(r[1], L"完成") << Utf8(r[0]);
  for (size_t i = 0; i < sources.size(); ++i) {
    std::string bytes;
    ASSERT_TRUE(ReadFile(out + outputs[i], bytes)) << "missing " << Utf8(outputs[i]);
    EXPECT_NE(bytes.find("source=" + Utf8(sources[i]) + "\n"), std::string::npos)
        << "wrong source in " << Utf8(outputs[i]);
    EXPECT_NE(bytes.find("complete"), std::string::npos) << Utf8(outputs[i]) << " not finished";
  }
}

TEST_F(Tonewell, FailingConverterMarksOnlyItsFileFailedAndTheRunGoesOn) {
  const std::wstring dir = WorkFolder(L"failing");
  const std::vector<std::wstring> names = {L"one", L"two-broken", L"three"};
  for (const auto& n : names) WriteFile(dir + n + L".wma", "x");
  ScopedEnv mode(L"TONEWELL_FAKE_FFMPEG_MODE", L"fail");
  ScopedEnv match(L"TONEWELL_FAKE_MATCH", L"two-broken");
  ASSERT_NO_FATAL_FAILURE(Launch());
  for (const auto& n : names) ASSERT_NO_FATAL_FAILURE(AddFile(dir + n + L".wma"));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return RunFinished(); }, 60000));
  auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][1], L"完成");
  EXPECT_EQ(rows[1][1], L"失败");
  EXPECT_EQ(rows[2][1], L"完成");
  EXPECT_TRUE(FileExists(dir + L"out\\one.mp3"));
  EXPECT_FALSE(FileExists(dir + L"out\\two-broken.mp3"));
  EXPECT_TRUE(FileExists(dir + L"out\\three.mp3"));
}

TEST_F(Tonewell, CrashingOrGarblingConverterNeverHangsTheRun) {
  const std::wstring dir = WorkFolder(L"garbage");
  WriteFile(dir + L"garbled.wma", "x");
  WriteFile(dir + L"crashing.wma", "x");
  ScopedEnv mode(L"TONEWELL_FAKE_FFMPEG_MODE", L"garbage");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"garbled.wma"));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return RunFinished(); }, 60000));
  EXPECT_EQ(ListViewRows(list, 2)[0][1], L"完成");

  SetEnvironmentVariableW(L"TONEWELL_FAKE_FFMPEG_MODE", L"crash");
  ASSERT_TRUE(app.Close());
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"crashing.wma"));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return RunFinished(); }, 60000));
  EXPECT_EQ(ListViewRows(list, 2)[0][1], L"失败");
  EXPECT_EQ(Progress(bar).pos, 0);
}

TEST_F(Tonewell, MissingToolsEndAtOnce) {
  const std::wstring dir = WorkFolder(L"missing");
  WriteFile(dir + L"song.wma", "x");
  ASSERT_NO_FATAL_FAILURE(Stage(dir + L"app\\", false, false));
  ASSERT_NO_FATAL_FAILURE(Launch());
  // Without the probe tool the file is still added with no duration, long
  // before the probe's 50 s would have run out; without the converter its
  // run ends with "失败".
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"song.wma", 30000));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return RunFinished(); }, 30000));
  EXPECT_EQ(ListViewRows(list, 2)[0][1], L"失败");
  EXPECT_TRUE(IsWindowEnabled(convert));
}

TEST_F(Tonewell, InvalidProbeNumberReportsTheErrorAndAddsNothing) {
  const std::wstring dir = WorkFolder(L"probe-garbage");
  WriteFile(dir + L"song.wma", "x");
  ScopedEnv mode(L"TONEWELL_FAKE_MPLAYER_MODE", L"garbage");
  ASSERT_NO_FATAL_FAILURE(Launch());
  Click(add);
  HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(FillOpenDialog(dialog, dir + L"song.wma"));
  ASSERT_TRUE(WaitUntil([&] { return TopWindows(app.Pid(), L"#32770").empty(); }, 5000));
  EXPECT_EQ(TakeMessageBox(nullptr, 20000), L"'6.0.5' is not a valid floating point value");
  EXPECT_EQ(ListViewCount(list), 0);
  EXPECT_FALSE(app.Exited());
}

TEST_F(Tonewell, FolderThatCannotBeCreatedShowsTheErrorAndConvertsNothing) {
  const std::wstring dir = WorkFolder(L"baddir");
  WriteFile(dir + L"song.wma", "x");
  WriteFile(dir + L"blocker", "a file where a folder should go");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"song.wma"));
  const std::wstring out = dir + L"blocker\\sub\\";
  SetSaveDir(out);
  Click(convert);
  std::wstring caption;
  EXPECT_EQ(TakeMessageBox(&caption), L"建立目录：" + out + L"出错！\r\n\r\n请检查目录名是否正确。");
  EXPECT_EQ(caption, L"Error");
  // Then the application's own report of the failure.
  const std::wstring report = TakeMessageBox();
  EXPECT_NE(report, L"<no message box>");
  EXPECT_TRUE(IsWindowEnabled(convert));
  EXPECT_TRUE(IsWindowEnabled(list));
  EXPECT_EQ(ListViewRows(list, 2)[0][1], L"准备就绪");
  EXPECT_TRUE(LabelShows(L"准备就绪"));
}

TEST_F(Tonewell, ClosingWhileConvertingOrProbingStopsTheToolAndExitsCleanly) {
  const std::wstring dir = WorkFolder(L"closing");
  WriteFile(dir + L"song.wma", "x");
  {
    ScopedEnv mode(L"TONEWELL_FAKE_FFMPEG_MODE", L"hang");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"song.wma"));
    SetSaveDir(dir + L"out\\");
    Click(convert);
    ASSERT_TRUE(WaitUntil([&] { return LabelShows(L"正在转换 " + dir + L"song.wma"); }, 10000));
    ASSERT_TRUE(WaitUntil([&] { return CountProcesses(L"ffmpeg.exe") == 1; }, 10000));
    ASSERT_TRUE(app.Close(15000)) << "did not exit while converting";
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return CountProcesses(L"ffmpeg.exe") == 0; }, 5000));
  }
  {
    ScopedEnv mode(L"TONEWELL_FAKE_MPLAYER_MODE", L"hang");
    ASSERT_NO_FATAL_FAILURE(Launch());
    Click(add);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(FillOpenDialog(dialog, dir + L"song.wma"));
    ASSERT_TRUE(WaitUntil([&] { return CountProcesses(L"mplayer.exe") == 1; }, 10000));
    // A second add while the probe waits is ignored: its handler returns
    // without a second dialog.
    EXPECT_TRUE(ClickAndWait(add, 20000)) << "the second add opened a dialog";
    EXPECT_TRUE(TopWindows(app.Pid(), L"#32770").empty());
    EXPECT_EQ(CountProcesses(L"mplayer.exe"), 1);
    ASSERT_TRUE(app.Close(15000)) << "did not exit while probing";
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return CountProcesses(L"mplayer.exe") == 0; }, 5000));
  }
}

// Clicks while a run goes on, by message (as automation clients send them,
// reaching buttons inside the disabled group boxes) and by keyboard, are
// refused: no dialog opens, no row goes and the run converts every file.
TEST_F(Tonewell, ClicksDuringARunAreRefused) {
  const std::wstring dir = WorkFolder(L"busy");
  WriteFile(dir + L"one.wma", "x");
  WriteFile(dir + L"two.wma", "x");
  ScopedEnv pace(L"TONEWELL_FAKE_SECONDS", L"8");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"one.wma"));
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"two.wma"));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return LabelShows(L"正在转换 " + dir + L"one.wma"); }, 20000));

  ASSERT_TRUE(ListViewSelect(list, 1));
  for (HWND button : {del, clear, add, chooseDir, convert})
    EXPECT_TRUE(ClickAndWait(button, 15000)) << Utf8(Text(button)) << " did not return (dialog or crash)";
  for (HWND button : {del, clear, add, chooseDir}) PressSpace(button);
  ASSERT_TRUE(ClickAndWait(del, 15000));  // the keys above have been handled
  ASSERT_FALSE(IsWindowEnabled(convert)) << "the run ended before the clicks: nothing was tested";
  EXPECT_TRUE(TopWindows(app.Pid(), L"#32770").empty());
  EXPECT_EQ(ListViewCount(list), 2);

  ASSERT_TRUE(WaitUntil([&] { return RunFinished(); }, 120000)) << "run did not finish";
  auto rows = ListViewRows(list, 2);
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& r : rows) EXPECT_EQ(r[1], L"完成") << Utf8(r[0]);
  // Afterwards the same key press clears the list: the keyboard route works.
  PressSpace(clear);
  EXPECT_TRUE(WaitUntil([&] { return ListViewCount(list) == 0; }, 10000));
  EXPECT_FALSE(app.Exited());
}

// Closes sent at the same moment from several threads during a run: the
// later ones arrive while the first waits for the converter to stop.
TEST_F(Tonewell, ClosesFromSeveralThreadsAtOnceDuringARunEndTheProgramCleanly) {
  const std::wstring dir = WorkFolder(L"two-closes");
  WriteFile(dir + L"song.wma", "x");
  ScopedEnv mode(L"TONEWELL_FAKE_FFMPEG_MODE", L"hang");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"song.wma"));
  SetSaveDir(dir + L"out\\");
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] { return CountProcesses(L"ffmpeg.exe") == 1; }, 20000));
  CloseFromThreads(main, 8);
  ASSERT_TRUE(app.Exited(30000)) << "did not exit";
  EXPECT_EQ(app.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([&] { return CountProcesses(L"ffmpeg.exe") == 0; }, 10000));
}

// An output "folder" that is an existing file cannot hold the outputs: the
// folder error shows and nothing is converted.
TEST_F(Tonewell, OutputFolderThatIsAFileShowsTheError) {
  const std::wstring dir = WorkFolder(L"file-as-folder");
  WriteFile(dir + L"song.wma", "x");
  WriteFile(dir + L"taken", "a file");
  ASSERT_NO_FATAL_FAILURE(Launch());
  ASSERT_NO_FATAL_FAILURE(AddFile(dir + L"song.wma"));
  const std::wstring out = dir + L"taken\\";
  SetSaveDir(out);
  Click(convert);
  EXPECT_EQ(TakeMessageBox(), L"建立目录：" + out + L"出错！\r\n\r\n请检查目录名是否正确。");
  EXPECT_NE(TakeMessageBox(), L"<no message box>");
  EXPECT_EQ(ListViewRows(list, 2)[0][1], L"准备就绪");
  EXPECT_EQ(CountProcesses(L"ffmpeg.exe"), 0);
}

}  // namespace
