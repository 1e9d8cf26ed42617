// The real Tonewell.exe's controls under its skin: every working control of
// the main window answers the skin query, and the open dialog's push buttons
// are skinned and work under a real mouse.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";
constexpr UINT kSkinQuery = 0x3523;  // a skinned window answers 1

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// Absolute mouse input through the system queue, at a screen point.
void MouseAt(POINT p, DWORD buttons = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

class SkinControlsE2ETest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dir = SelfFolder() + L"controls-tonewell\\";
    ASSERT_TRUE(app.Start(dir + L"Tonewell.exe", dir, kCaption)) << "main window not shown";
    main = app.Main();
    ASSERT_TRUE(WaitUntil([&] { return Skinned(main); }, 20000)) << "the skin never switched on";
  }
  void TearDown() override {
    for (HWND w : TopWindows(app.Pid(), L"#32770")) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    if (!app.Close(10000)) app.Kill();
  }

  TAppProcess app;
  HWND main = nullptr;
};

TEST_F(SkinControlsE2ETest, EveryWorkingControlOfTheMainWindowIsSkinned) {
  struct Kind {
    const wchar_t* cls;
    int atLeast;
  };
  const Kind kinds[] = {{L"TButton", 5}, {L"TGroupBox", 3}, {L"TPanel", 2}, {L"TProgressBar", 1},
                        {L"TEdit", 1},   {L"TListView", 1}};
  for (const Kind& k : kinds) {
    int seen = 0;
    for (HWND w : Descendants(main)) {
      if (ClassOf(w) != k.cls) continue;
      ++seen;
      EXPECT_TRUE(WaitUntil([&] { return Skinned(w); }, 20000))
          << "not skinned: " << ::testing::PrintToString(ClassOf(w)) << " " << ::testing::PrintToString(Text(w));
    }
    EXPECT_GE(seen, k.atLeast) << ::testing::PrintToString(std::wstring(k.cls));
  }
}

TEST_F(SkinControlsE2ETest, OpenDialogCancelButtonIsSkinnedAndClosesItUnderARealMouse) {
  HWND add = FindChild(main, L"TButton", L"新增");
  ASSERT_TRUE(add);
  Click(add);
  HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 20000);
  ASSERT_TRUE(dialog) << "no open dialog";
  HWND cancel = FindChildById(dialog, IDCANCEL);
  ASSERT_TRUE(cancel);
  ASSERT_TRUE(WaitUntil([&] { return Skinned(cancel); }, 20000)) << "the dialog's push button is not skinned";

  RECT r{};
  GetWindowRect(cancel, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  MouseAt(centre);
  MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
  MouseAt(centre, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 20000)) << "the skinned cancel button did not close it";
}

}  // namespace
