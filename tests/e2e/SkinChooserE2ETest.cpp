// The real Tonewell.exe's skin chooser under a real mouse: each embedded
// skin chosen from the skinned system menu shows at once and takes the
// check; a run converts after a skin change; many changes leave the
// program's windows and memory where they were.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "tests/e2e/SkinMenuDriver.h"
#include "tests/support/WindowCapture.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";
constexpr UINT kSkinQuery = 0x3523;
constexpr UINT kFirstSkinCommand = 0x0100, kSkinCommandStep = 0x0010;

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// The skinned caption band, as on screen: the frame repaints it only when
// the skin manager has applied a skin (the banner below follows at once).
Image CaptionBand(HWND main) {
  RECT w{};
  GetWindowRect(main, &w);
  POINT client{0, 0};
  ClientToScreen(main, &client);
  return twtest::CaptureScreenRect(RECT{w.left, w.top, w.right, client.y});
}

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return SIZE{r.right, r.bottom};
}

// Windows of the process: top-level ones and all their descendants.
int ProcessWindows(DWORD pid) {
  int n = 0;
  for (HWND w : TopWindows(pid, L"")) n += 1 + int(Descendants(w).size());
  return n;
}

class SkinChooserE2ETest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dir = SelfFolder() + L"chooser-tonewell\\";
    ASSERT_TRUE(app.Start(dir + L"Tonewell.exe", dir, kCaption)) << "main window not shown";
    main = app.Main();
    ASSERT_TRUE(WaitUntil([&] { return Skinned(main); }, 20000));
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 10000));
  }
  void TearDown() override {
    for (HWND w : TopWindows(app.Pid(), L"#32768")) PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    for (HWND w : TopWindows(app.Pid(), L"#32770")) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    if (!app.Close(10000)) app.Kill();
  }

  // Chooses skin `index` with the mouse and waits until the caption shows
  // something new and then stays as it is; answers the row that was
  // checked before and the settled caption.
  int Choose(int index, Image& band) {
    const Image before = CaptionBand(main);
    const TChoice choice = ChooseSkinByMouse(app.Pid(), main, index);
    EXPECT_TRUE(choice.Clicked) << "item " << index << ": " << choice.Failure;
    EXPECT_TRUE(WaitUntil([&] { return !(CaptionBand(main) == before); }, 10000)) << "skin " << index << " not shown";
    band = Quiet([&] { return CaptionBand(main); });
    return choice.CheckedBefore;
  }

  TAppProcess app;
  HWND main = nullptr;
};

TEST_F(SkinChooserE2ETest, EachSkinChosenWithTheMouseShowsAtOnceAndTakesTheCheck) {
  const SIZE client = ClientSize(main);
  const Image startUp = Quiet([&] { return CaptionBand(main); });
  // Twice round: the second time each skin must look as it did the first.
  const int order[] = {0, 1, 3, 4, 2};
  Image bands[5];
  int checked = 2;  // the start-up skin
  for (int round = 0; round < 2; ++round) {
    for (int index : order) {
      SCOPED_TRACE(std::to_string(round) + ": skin " + std::to_string(index));
      Image band;
      EXPECT_EQ(Choose(index, band), checked) << "the check shows the skin in use";
      checked = index;
      EXPECT_TRUE(Skinned(main));
      const SIZE now = ClientSize(main);
      EXPECT_EQ(now.cx, client.cx);
      EXPECT_EQ(now.cy, client.cy);
      if (round == 0)
        bands[index] = std::move(band);
      else
        EXPECT_TRUE(band == bands[index]) << "the skin looks different the second time";
    }
  }
  EXPECT_TRUE(bands[2] == startUp) << "back at the start-up skin, the caption is as it was";
  for (int i = 0; i < 5; ++i)
    for (int j = i + 1; j < 5; ++j) EXPECT_FALSE(bands[i] == bands[j]) << "skins " << i << " and " << j << " look alike";

  HWND menu = OpenSystemMenu(app.Pid(), main);
  ASSERT_TRUE(menu);
  const Image base = twtest::CaptureWindow(menu);
  std::vector<RECT> rows;
  ASSERT_TRUE(FindLastRows(menu, base, 5, rows));
  EXPECT_EQ(CheckedRow(menu, base, rows), 2);
  CloseMenu(menu);
}

TEST_F(SkinChooserE2ETest, ARunConvertsAfterASkinChange) {
  Image band;
  Choose(4, band);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"tonewell-chooser\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::vector<std::wstring> sources = {dir + L"one.wma", dir + L"two.wma"};
  for (const auto& s : sources) {
    HANDLE f = CreateFileW(s.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
  }
  const std::wstring out = dir + L"out\\";
  DeleteFileW((out + L"one.mp3").c_str());
  DeleteFileW((out + L"two.mp3").c_str());

  HWND add = FindChild(main, L"TButton", L"新增"), convert = FindChild(main, L"TButton", L"立即转换");
  HWND list = FindChild(main, L"TListView", L""), saveDir = FindChild(main, L"TEdit", L"");
  ASSERT_TRUE(add && convert && list && saveDir);
  for (const auto& s : sources) {
    const int before = ListViewCount(list);
    Click(add);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 10000);
    ASSERT_TRUE(dialog) << "open dialog did not appear";
    ASSERT_TRUE(FillOpenDialog(dialog, s));
    ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == before + 1; }, 20000)) << "row not added";
  }
  SendMessageW(saveDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(out.c_str()));
  Click(convert);
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = ListViewRows(list, 2);
    return rows.size() == 2 && rows[0][1] == L"完成" && rows[1][1] == L"完成" && IsWindowEnabled(convert);
  }, 120000)) << "the run did not finish";
  EXPECT_NE(GetFileAttributesW((out + L"one.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((out + L"two.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Skinned(main));
}

// The menu posts its command as WM_SYSCOMMAND; a hundred of them, each
// waited for, must leave no window behind and no memory growing with them.
// (The program's GDI objects cannot be counted from another process under
// Wine; SkinChooserTest counts them in-process.)
TEST_F(SkinChooserE2ETest, AHundredSkinChangesLeaveNoWindowsOrMemoryBehind) {
  auto change = [&](int i) {
    const Image before = CaptionBand(main);
    PostMessageW(main, WM_SYSCOMMAND, kFirstSkinCommand + kSkinCommandStep * UINT(i % 5), 0);
    // Applied: the caption changed (every step changes the skin) and the
    // frame's repainting is over.
    ASSERT_TRUE(WaitUntil([&] { return !(CaptionBand(main) == before); }, 10000)) << "change " << i;
    Quiet([&] { return CaptionBand(main); }, 300);
  };
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.Pid());
  ASSERT_TRUE(process);
  auto memory = [&] {
    PROCESS_MEMORY_COUNTERS m{};
    m.cb = sizeof m;
    return GetProcessMemoryInfo(process, &m, sizeof m) ? m.PagefileUsage : 0;
  };
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(change(i));  // every skin once
  const int windows = ProcessWindows(app.Pid());
  const SIZE_T bytes = memory();
  for (int i = 0; i < 100; ++i) ASSERT_NO_FATAL_FAILURE(change(i));
  const int windowsAfter = ProcessWindows(app.Pid());
  const SIZE_T bytesAfter = memory();
  std::printf("windows %d -> %d, private bytes %lu -> %lu over 100 skin changes\n", windows, windowsAfter,
              static_cast<unsigned long>(bytes), static_cast<unsigned long>(bytesAfter));
  EXPECT_GT(windows, 20) << "the count must see the program's controls";
  EXPECT_EQ(windowsAfter, windows);
  ASSERT_GT(bytes, 0u);
  // A leak of even one skin's pictures per change would add megabytes.
  EXPECT_LT(bytesAfter, bytes + bytes / 10);
  CloseHandle(process);
  EXPECT_TRUE(Skinned(main));
}

}  // namespace
