// TSkinButton under Wine: the five states, the caption colour, press and
// click handling with real mouse input, the keyboard, dialog push buttons.
#include <windows.h>

#include "gui/StdCtrls.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/SkinButton.h"
#include "tests/skin/controls/kinds/KindsFixture.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinButtonTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 100, 30);
    button->SetCaption(L"Go");
    button->OnClick = TNotifyEvent::Bind(&clicks, &ClickCounter::Click);
    skin = new TSkinButton(button);
    skin->AttachControl(frame.get(), false, nullptr);
    SetFocus(form->Handle());
    PumpUntilIdle();
  }
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = MAKELPARAM(5, 5)) { return SendMessageW(button->Handle(), msg, w, l); }
  static bool HasPixel(const Image& img, COLORREF c) {
    for (int y = 0; y < img.Height(); ++y)
      for (int x = 0; x < img.Width(); ++x)
        if (At(img, x, y) == c) return true;
    return false;
  }

  TButton* button = nullptr;
  TSkinButton* skin = nullptr;
  ClickCounter clicks;
};

// Absolute mouse input through the system queue, as a user's.
void MouseTo(HWND window, int x, int y, DWORD buttons = 0) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

TEST_F(SkinButtonTest, EachStatePaintsItsFrameAndCaptionColour) {
  const Image normal = PaintToImage(button->Handle());
  EXPECT_EQ(At(normal, 3, 3), ButtonFrameRGB(kButtonNormal));
  EXPECT_TRUE(HasPixel(normal, kTextRGB)) << "caption in the font colour";
  EXPECT_FALSE(HasPixel(normal, kHotTextRGB));

  Send(WM_MOUSEMOVE);
  EXPECT_EQ(frame->HoveredControl(), skin);
  const Image hot = PaintToImage(button->Handle());
  EXPECT_EQ(At(hot, 3, 3), ButtonFrameRGB(kButtonHot));
  EXPECT_TRUE(HasPixel(hot, kHotTextRGB)) << "the skin's MouseOverColour2";

  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_EQ(GetFocus(), button->Handle()) << "a press focuses the button";
  EXPECT_EQ(At(PaintToImage(button->Handle()), 3, 3), ButtonFrameRGB(kButtonPressed));

  Send(WM_MOUSELEAVE);
  const Image focused = PaintToImage(button->Handle());
  EXPECT_EQ(At(focused, 3, 3), ButtonFrameRGB(kButtonFocused));
  frame->Options |= 1u << xoNoFocusRect;
  const Image noRect = PaintToImage(button->Handle());
  EXPECT_EQ(At(noRect, 3, 3), ButtonFrameRGB(kButtonFocused));
  EXPECT_FALSE(noRect == focused) << "the focus rectangle is drawn only without xoNoFocusRect";
  EXPECT_EQ(clicks.count, 0) << "the press was dragged off";
}

TEST_F(SkinButtonTest, DisabledShowsFrameThreeAndShadowTextEvenWhileHot) {
  Send(WM_MOUSEMOVE);
  button->SetEnabled(false);
  ASSERT_TRUE(skin->MouseState() & kMouseHot);
  const Image img = PaintToImage(button->Handle());
  EXPECT_EQ(At(img, 3, 3), ButtonFrameRGB(kButtonDisabled));
  EXPECT_TRUE(HasPixel(img, GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_FALSE(HasPixel(img, kHotTextRGB));
}

TEST_F(SkinButtonTest, RealMousePressDraggedOffGivesNoClickAndPressReleaseExactlyOne) {
  HWND b = button->Handle();
  MouseTo(b, 50, 15);
  ASSERT_TRUE(PumpUntil([&] { return (skin->MouseState() & kMouseHot) != 0; })) << "hover";
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(b, 3, 3) == ButtonFrameRGB(kButtonHot); }));
  MouseTo(b, 50, 15, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return (skin->MouseState() & kMousePressed) != 0; }));
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(b, 3, 3) == ButtonFrameRGB(kButtonPressed); }));
  MouseTo(b, 50, 120);  // off the button, onto the form
  ASSERT_TRUE(PumpUntil([&] { return skin->MouseState() == 0; })) << "leaving cancels the press";
  MouseTo(b, 50, 120, MOUSEEVENTF_LEFTUP);
  MouseTo(b, 50, 15);
  ASSERT_TRUE(PumpUntil([&] { return (skin->MouseState() & kMouseHot) != 0; }));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 0);

  MouseTo(b, 50, 15, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return (skin->MouseState() & kMousePressed) != 0; }));
  MouseTo(b, 50, 15, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks.count > 0; }));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 1);
  MouseTo(b, 300, 250);
}

TEST_F(SkinButtonTest, SwitchingTheSkinOffMidPressEndsThePressAndLetsTheMouseGo) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON);
  ASSERT_EQ(GetCapture(), button->Handle());
  Send(WM_SKINENABLE, 0, 0);
  EXPECT_EQ(skin->MouseState(), 0);
  EXPECT_NE(GetCapture(), button->Handle());
  Send(WM_SKINENABLE, 1, 0);
  Send(WM_LBUTTONUP);
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 0) << "the press ended with the skin";
}

TEST_F(SkinButtonTest, SpaceBarShowsThePressAndTheNativeButtonClicksOnce) {
  button->SetFocus();
  Send(WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(At(PaintToImage(button->Handle()), 3, 3), ButtonFrameRGB(kButtonPressed));
  Send(WM_KEYUP, VK_SPACE, LPARAM(0xC0390001));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(At(PaintToImage(button->Handle()), 3, 3), ButtonFrameRGB(kButtonFocused));
}

TEST_F(SkinButtonTest, DialogPushButtonPostsItsCommandOncePerClick) {
  HWND bare = CreateWindowW(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 80, 100, 30,
                            form->Handle(), HMENU(777), GetModuleHandleW(nullptr), nullptr);
  auto* dialogButton = new TSkinButton(nullptr);
  dialogButton->AttachWindow(bare, frame.get(), nullptr);
  ASSERT_TRUE(dialogButton->Attached());
  EXPECT_EQ(At(PaintToImage(bare), 3, 3), ButtonFrameRGB(kButtonNormal));

  TMsgLog log;
  TWindowRecorder parent(log, form->Handle(), kParent);
  SendMessageW(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(bare, WM_MOUSELEAVE, 0, 0);
  SendMessageW(bare, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpUntilIdle();
  EXPECT_EQ(log.Count(WM_COMMAND), 0) << "press dragged off";

  SendMessageW(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(bare, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpUntilIdle();
  ASSERT_EQ(log.Count(WM_COMMAND), 1);
  for (const TMsgEntry& e : log.Entries()) {
    if (e.Msg != WM_COMMAND) continue;
    EXPECT_EQ(e.WParam, WPARAM(777)) << "the dialog id (BN_CLICKED in the high word)";
    EXPECT_EQ(e.LParam, LPARAM(bare));
    EXPECT_TRUE(e.Flags & kPosted);
  }
}

TEST_F(SkinButtonTest, WithoutAButtonsImageTheNativeButtonPaints) {
  frame->ReleaseAll();
  TTestFrame plain(form->Handle(), BuildSkin(false, true));
  auto* s = new TSkinButton(button);
  s->AttachControl(&plain, false, nullptr);
  const Image img = PaintToImage(button->Handle(), 0x00FF7F00);
  EXPECT_NE(At(img, 3, 3), RGB(0xFF, 0x7F, 0x00)) << "something painted it";
  EXPECT_NE(At(img, 3, 3), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(SendMessageW(button->Handle(), WM_SKINQUERY, 0, 0), 1);
}

}  // namespace
