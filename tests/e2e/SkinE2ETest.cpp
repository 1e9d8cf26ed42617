// The real Tonewell.exe under its skin: the main window is framed shortly
// after it shows with its client area unchanged, the keyed corners of the
// frame lie outside the window region, and the open dialog, the folder
// browser and the message box come up framed too.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "tests/e2e/Driver.h"
#include "tests/support/WindowCapture.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";
constexpr UINT kSkinQuery = 0x3523;  // a skinned window answers 1

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

COLORREF ScreenPixel(int x, int y) {
  const Image one = twtest::CaptureScreenRect(RECT{x, y, x + 1, y + 1});
  return one.Empty() ? CLR_INVALID : ColourFromPixel(one.Pixels()[0]);
}

class SkinE2ETest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dir = SelfFolder() + L"skin-tonewell\\";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(app.Start(dir + L"Tonewell.exe", dir, kCaption)) << "main window not shown";
    main = app.Main();
    // From the window showing to the skin query answering 1.
    ASSERT_TRUE(WaitUntil([&] { return Skinned(main); }, 20000)) << "the main window was never framed";
    shownToSkinnedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start).count();
  }
  void TearDown() override {
    for (HWND w : TopWindows(app.Pid(), L"#32770")) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    if (!app.Close(10000)) app.Kill();
  }

  // Presses `button`, waits for a dialog of the program, checks that it is
  // framed (the frame answers the query and owns the caption bits), and
  // closes it with `closeId`.
  void ExpectFramedDialog(const std::wstring& buttonText, int closeId, const char* what) {
    HWND button = FindChild(main, L"TButton", buttonText);
    ASSERT_TRUE(button) << what;
    Click(button);
    HWND dialog = WaitForTopWindow(app.Pid(), L"#32770", 20000);
    ASSERT_TRUE(dialog) << what << ": no dialog";
    EXPECT_TRUE(WaitUntil([&] { return Skinned(dialog); }, 20000)) << what << " is not framed";
    EXPECT_TRUE(WaitUntil([&] { return !(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION); }, 20000))
        << what << ": the system still draws its caption";
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_GT(client.right, 0);
    PostMessageW(dialog, WM_COMMAND, closeId, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 20000)) << what << " did not close";
  }

  TAppProcess app;
  HWND main = nullptr;
  long long shownToSkinnedMs = 0;
};

TEST_F(SkinE2ETest, MainWindowIsFramedWithItsClientSizeAndKeyedCornersOutsideTheRegion) {
  std::printf("window shown to skin query answering 1: %lld ms\n", shownToSkinnedMs);
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 533);
  EXPECT_EQ(client.bottom, 456);
  EXPECT_FALSE(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION) << "the frame owns the caption";

  // The window is bigger than its client area by the skin's borders and
  // caption, and the rounded top corners are cut out of its region.
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_GT(outer.bottom - outer.top, client.bottom + 20) << "a caption band above the client area";
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(main, region), ERROR) << "keyed border pixels give the window a region";
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, outer.right - outer.left - 1, 0));
  EXPECT_TRUE(PtInRegion(region, (outer.right - outer.left) / 2, 2));
  DeleteObject(region);
  // What shows at the cut corner is the desktop, as just left of the window.
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(outer.left, outer.top) == ScreenPixel(outer.left - 3, outer.top); },
                        5000));
}

TEST_F(SkinE2ETest, OpenDialogFolderBrowserAndMessageBoxComeUpFramed) {
  ExpectFramedDialog(L"新增", IDCANCEL, "the open dialog");
  ExpectFramedDialog(L"设置输出目录", IDCANCEL, "the folder browser");
  // Converting without an output folder says so in a message box.
  ExpectFramedDialog(L"立即转换", IDOK, "the message box");
  EXPECT_TRUE(Skinned(main));
}

}  // namespace
