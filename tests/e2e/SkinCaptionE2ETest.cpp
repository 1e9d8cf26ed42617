// The real Tonewell.exe's skinned caption buttons driven by a real mouse
// (input through the system's queue): hover and press show, minimise
// minimises and the restored window is framed again with its client size,
// close ends the program. The buttons' places come from the embedded skin
// the program shows, laid out as the frame lays them out.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "skin/window/CaptionLayout.h"
#include "skin/window/FrameGeometry.h"
#include "tests/e2e/Driver.h"
#include "tests/support/WindowCapture.h"

using namespace e2e;

namespace {

const std::wstring kCaption = L"Tonewell 2.2";
constexpr UINT kSkinQuery = 0x3523;

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

void MouseAt(POINT screen, DWORD buttons = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

// The model of the skin the program shows (store item 2).
bool LoadShownSkin(TSkinModel& model) {
  std::ifstream in(std::filesystem::path(TW_SKINS_DIR) / "SkinItem2.skn", std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TSkinReader reader;
  if (bytes.empty() || !reader.Open(bytes)) return false;
  std::vector<uint8_t> ini;
  std::string name;
  reader.ExtractFirstMatch(".ini", ini, name);
  TQuickIni settings;
  settings.LoadFromText(std::string_view(reinterpret_cast<const char*>(ini.data()), ini.size()));
  model.Build(reader, settings, TSkinEnvironment{});
  return true;
}

class SkinCaptionE2ETest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadShownSkin(model)) << "the skins build makes SkinItem2.skn";
    const std::wstring dir = SelfFolder() + L"caption-tonewell\\";
    ASSERT_TRUE(app.Start(dir + L"Tonewell.exe", dir, kCaption)) << "main window not shown";
    main = app.Main();
    ASSERT_TRUE(WaitUntil([&] { return Skinned(main); }, 20000));
    SetForegroundWindow(main);
  }
  void TearDown() override {
    if (!app.Close(10000)) app.Kill();
  }

  // Screen rectangle of the first visible caption button with `action`.
  RECT ButtonRect(int action) {
    RECT w{};
    GetWindowRect(main, &w);
    const LONG style = GetWindowLongW(main, GWL_STYLE);
    TCaptionFacts facts;
    facts.Active = true;
    facts.Capabilities = kCapCaptionStyle;
    if (style & WS_SYSMENU) facts.Capabilities |= kCapSystemMenu;
    if (style & WS_MINIMIZEBOX) facts.Capabilities |= kCapMinimizeBox;
    if (style & WS_MAXIMIZEBOX) facts.Capabilities |= kCapMaximizeBox;
    facts.BorderKind = (style & WS_THICKFRAME) ? TBorderKind::Sizeable : TBorderKind::Single;
    const TFrameSizes s = FrameSizesOf(model.FrameLeft.get(), model.FrameTop.get(), model.FrameRight.get(),
                                       model.FrameBottom.get(), facts.BorderKind);
    TCaptionMetrics m;
    m.WindowWidth = w.right - w.left;
    m.BorderLeft = s.BorderLeft;
    m.BorderRight = s.BorderRight;
    m.CaptionHeight = s.CaptionHeight;
    std::vector<const TDataSkinSysButton*> buttons;
    for (const auto& b : model.SysButtons) buttons.push_back(b.get());
    std::vector<TCaptionSlot> slots;
    LayoutCaptionButtons(buttons, GetSystemMetrics(SM_CXSMICON), facts, m, nullptr, slots);
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i]->Action == action && slots[i].Visible && !slots[i].Rect.Empty()) {
        const ImgRect r = slots[i].Rect;
        return RECT{w.left + r.Left, w.top + r.Top, w.left + r.Right, w.top + r.Bottom};
      }
    }
    return RECT{};
  }

  // Moves over the button, presses and releases it, waiting each time for
  // the button's picture to change (hot, then pressed).
  void ClickCaptionButton(const RECT& r) {
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const Image normal = twtest::CaptureScreenRect(r);
    MouseAt(centre);
    EXPECT_TRUE(WaitUntil([&] { return !(twtest::CaptureScreenRect(r) == normal); }, 10000))
        << "no hot picture under the mouse";
    const Image hot = twtest::CaptureScreenRect(r);
    MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return !(twtest::CaptureScreenRect(r) == hot); }, 10000))
        << "no pressed picture";
    MouseAt(centre, MOUSEEVENTF_LEFTUP);
  }

  TSkinModel model;
  TAppProcess app;
  HWND main = nullptr;
};

TEST_F(SkinCaptionE2ETest, MinimiseFromTheSkinnedButtonAndTheRestoredWindowIsFramedAgain) {
  const RECT minimise = ButtonRect(2);
  ASSERT_GT(minimise.right - minimise.left, 0) << "the skin shows a minimise button";
  ClickCaptionButton(minimise);
  // The main form minimises with the application window that owns it.
  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) || (!IsWindowVisible(main) && owner && IsIconic(owner)); },
                        20000))
      << "not minimised";

  ShowWindowAsync(IsIconic(main) ? main : owner, SW_RESTORE);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 20000));
  EXPECT_TRUE(WaitUntil([&] { return !(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION); }, 20000))
      << "the restored window has the skin's caption again";
  RECT client{};
  EXPECT_TRUE(WaitUntil([&] {
    GetClientRect(main, &client);
    return client.right == 533 && client.bottom == 456;
  }, 20000)) << "client " << client.right << " x " << client.bottom;
  EXPECT_TRUE(Skinned(main));
}

TEST_F(SkinCaptionE2ETest, CloseFromTheSkinnedButtonEndsTheProgram) {
  const RECT close = ButtonRect(0);
  ASSERT_GT(close.right - close.left, 0) << "the skin shows a close button";
  ClickCaptionButton(close);
  EXPECT_TRUE(app.Exited(20000)) << "the program is still running";
  EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace
