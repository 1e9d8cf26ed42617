// The skinned-control base on real windows under Wine: hooking and exact
// restore, the skin switch, colours and ParentBackground given back.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class SkinControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->SetBounds(40, 40, 400, 300);
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 90, 30);
    button->SetCaption(L"Go");
    panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(150, 20, 120, 80);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    frame = std::make_unique<TTestFrame>(form->Handle());
    PumpUntilIdle();
  }
  void TearDown() override {
    frame.reset();
    TComponent::Free(form);
    PumpPending();
  }
  LRESULT Query(HWND w) { return SendMessageW(w, WM_SKINQUERY, 0, 0); }

  TForm* form = nullptr;
  TButton* button = nullptr;
  TPanel* panel = nullptr;
  std::unique_ptr<TTestFrame> frame;
};

// ---- hooking and restore ------------------------------------------------------------

TEST_F(SkinControlTest, LibraryHookPassesMessagesOnAndComesBackOnDestruction) {
  TMsgLog log;
  TControlRecorder before(log, button);  // the handling the skin sits on
  const TWndMethod hookBefore = button->WindowProc;
  auto* skin = new TSkinControl(button);
  skin->AttachControl(frame.get(), false, nullptr);
  ASSERT_TRUE(skin->Attached());
  EXPECT_EQ(frame->List().size(), 1u);

  log.Clear();
  EXPECT_EQ(Query(button->Handle()), 1);
  SendMessageW(button->Handle(), WM_USER + 7, 1, 2);
  static const TMsgEntry kSkinned[] = {{WM_USER + 7, kControl | kWParam | kLParam, 1, 2}};
  EXPECT_TRUE(ExpectSequence(log, kSkinned, "skinned: the query stops at the skin"));

  TComponent::Free(skin);
  EXPECT_TRUE(frame->List().empty()) << "the destroyed object left the frame's list";
  EXPECT_TRUE(button->WindowProc == hookBefore);
  log.Clear();
  EXPECT_EQ(Query(button->Handle()), 0);
  SendMessageW(button->Handle(), WM_USER + 7, 3, 4);
  static const TMsgEntry kRestored[] = {{WM_SKINQUERY, kControl}, {WM_USER + 7, kControl | kWParam | kLParam, 3, 4}};
  EXPECT_TRUE(ExpectSequence(log, kRestored, "restored"));
}

TEST_F(SkinControlTest, BareWindowGetsItsExactProcedureBackEvenWithALaterSubclass) {
  HWND bare = CreateWindowW(L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE, 20, 120, 90, 30, form->Handle(),
                            HMENU(501), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(bare, nullptr);
  const LONG_PTR original = GetWindowLongPtrW(bare, GWLP_WNDPROC);
  auto* skin = new TSkinControl(nullptr);
  skin->AttachWindow(bare, frame.get(), nullptr);
  ASSERT_TRUE(skin->Attached());
  EXPECT_NE(GetWindowLongPtrW(bare, GWLP_WNDPROC), original);
  EXPECT_EQ(Query(bare), 1);
  EXPECT_EQ(skin->ReadWindowText(bare), L"Bare");

  {
    TMsgLog log;
    TWindowRecorder later(log, bare);  // subclassed after the skin
    frame->ReleaseAll();               // the skin goes from under it
    EXPECT_EQ(Query(bare), 0);
    SetWindowTextW(bare, L"Still");
    EXPECT_TRUE(log.Contains(WM_SETTEXT)) << "the later subclass still sees the window's messages";
  }
  EXPECT_EQ(GetWindowLongPtrW(bare, GWLP_WNDPROC), original);
  wchar_t text[16] = {};
  GetWindowTextW(bare, text, 16);
  EXPECT_STREQ(text, L"Still");
  DestroyWindow(bare);
}

TEST_F(SkinControlTest, DestroyingTheControlWhileSkinnedLeavesNothingBehind) {
  auto* other = new TButton(form);
  other->SetParent(form);
  other->SetBounds(20, 200, 90, 30);
  auto* skin = new TSkinButton(other);
  skin->AttachControl(frame.get(), false, nullptr);
  ASSERT_EQ(frame->List().size(), 1u);
  TComponent::Free(other);  // frees the skin object with it
  EXPECT_TRUE(frame->List().empty());
  PumpUntilIdle();
}

TEST_F(SkinControlTest, WindowDestroyedUnderTheSkinEndsSkinningQuietly) {
  auto* skin = new TSkinControl(nullptr);
  HWND bare = CreateWindowW(L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  skin->AttachWindow(bare, frame.get(), nullptr);
  DestroyWindow(bare);
  EXPECT_EQ(skin->LifeState(), kSkinWindowDestroyed);
  EXPECT_FALSE(skin->SkinActive());
  EXPECT_FALSE(skin->Hooked());
  frame->ReleaseAll();  // frees it without unskinning again
}

// ---- the skin switch -------------------------------------------------------------------

TEST_F(SkinControlTest, SkinEnableZeroShowsTheNativeLookUntilAPositiveValue) {
  HWND b = button->Handle();
  SetFocus(form->Handle());
  PumpUntilIdle();
  const Image native = CaptureWindow(b);
  ASSERT_FALSE(native.Empty());

  auto* skin = new TSkinButton(button);
  skin->AttachControl(frame.get(), false, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(b, 3, 3) == ButtonFrameRGB(1); })) << "skinned";

  SendMessageW(b, WM_SKINENABLE, 0, 0);
  EXPECT_EQ(Query(b), 0) << "the native button answers for itself";
  PumpUntilIdle();
  EXPECT_TRUE(CaptureWindow(b) == native) << "exactly the native picture";
  SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(skin->MouseState(), 0) << "no skin behaviour while off";

  // Nothing else invalidates the button: only the switch itself repaints it.
  SendMessageW(b, WM_SKINENABLE, 1, 0);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(b, 3, 3) == ButtonFrameRGB(1); })) << "repainted";
  EXPECT_EQ(Query(b), 1);
}

// ---- colours and ParentBackground ---------------------------------------------------------

TEST_F(SkinControlTest, UnskinGivesColourAndParentBackgroundBackOnce) {
  panel->SetColor(clRed);
  panel->SetParentBackground(true);
  auto* skin = new TSkinBox(panel);
  skin->AttachControl(frame.get(), true, nullptr);
  EXPECT_EQ(panel->Color(), TColor(RGB(200, 200, 200)));
  EXPECT_FALSE(panel->ParentBackground());
  EXPECT_EQ(Query(panel->Handle()), 1) << "a panel answers the skin query";

  skin->AttachControl(frame.get(), true, nullptr);  // ignored
  skin->Unskin();
  EXPECT_EQ(panel->Color(), clRed);
  EXPECT_TRUE(panel->ParentBackground());
  panel->SetColor(clBlue);
  skin->Unskin();
  EXPECT_EQ(panel->Color(), clBlue) << "a second unskin restores nothing";
}

TEST_F(SkinControlTest, ParentBackgroundIsLeftAloneWhenFalseOrWhenTheSkinSaysSo) {
  panel->SetParentBackground(false);
  auto* first = new TSkinBox(panel);
  first->AttachControl(frame.get(), true, nullptr);
  EXPECT_FALSE(first->ParentBackgroundTaken());
  first->Unskin();
  EXPECT_FALSE(panel->ParentBackground());
  frame->ReleaseAll();

  panel->SetParentBackground(true);
  frame->Options |= 1u << xoParentBackGround;
  auto* second = new TSkinBox(panel);
  second->AttachControl(frame.get(), true, nullptr);
  EXPECT_TRUE(panel->ParentBackground());
  EXPECT_EQ(panel->Color(), TColor(RGB(200, 200, 200))) << "the colour is still managed";
}

}  // namespace
