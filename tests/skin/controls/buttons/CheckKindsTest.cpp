// Check boxes and radio buttons under Wine: the frame of each state with 4-,
// 8- and 12-frame strips, the box's side, the caption, a real click that
// toggles once, the space bar, radio exclusivity, transparency and a native
// (bare) check box that keeps its own caption.
#include <windows.h>

#include "gui/StdCtrls.h"
#include "skin/controls/SkinCheckBox.h"
#include "tests/skin/controls/buttons/ButtonsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class CheckKindsTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    UseSkin(4, 8);
  }
  void UseSkin(int checkFrames, int radioFrames) {
    frame = std::make_unique<TTestFrame>(form->Handle(), ButtonKindsSkin(checkFrames, radioFrames));
  }
  TCheckBox* Box(int top, const wchar_t* caption = L"Check") {
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->SetBounds(20, top, 120, 20);
    box->SetCaption(caption);
    box->OnClick = TNotifyEvent::Bind(&clicks, &ClickCounter::Click);
    return box;
  }
  TRadioButton* Radio(int top) {
    auto* r = new TRadioButton(form);
    r->SetParent(form);
    r->SetBounds(20, top, 120, 20);
    r->SetCaption(L"Radio");
    return r;
  }
  template <class Kind>
  Kind* Skin(TWinControl* control) {
    auto* kind = new Kind(control);
    kind->AttachControl(frame.get(), false, nullptr);
    return kind;
  }
  // The frame colour in the middle of the box at the left (x 0..12, y 3..15).
  static COLORREF LeftBox(const Image& img) { return At(img, 6, 9); }
  ClickCounter clicks;
};

TEST_F(CheckKindsTest, FourFrameStripStatesAndCaption) {
  TCheckBox* box = Box(20);
  TSkinCheckBox* skin = Skin<TSkinCheckBox>(box);
  EXPECT_EQ(skin->Mode(), 1) << "a library check box with a strip is painted whole";
  HWND h = box->Handle();

  const Image plain = PaintToImage(h);
  EXPECT_EQ(LeftBox(plain), CheckFrameRGB(1));
  EXPECT_EQ(At(plain, 6, 1), kFaceRGB) << "face above the centred box";
  EXPECT_EQ(At(plain, 118, 1), kFaceRGB);
  EXPECT_TRUE(HasPixel(plain, kTextRGB)) << "caption in the font colour";

  box->SetChecked(true);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(2));
  box->SetEnabled(false);
  const Image off = PaintToImage(h);
  EXPECT_EQ(LeftBox(off), CheckFrameRGB(4));
  EXPECT_TRUE(HasPixel(off, GetSysColor(COLOR_BTNSHADOW))) << "disabled caption in the shadow colour";
  EXPECT_FALSE(HasPixel(off, kTextRGB));
  box->SetChecked(false);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(3));
  box->SetEnabled(true);
  box->SetAllowGrayed(true);
  box->SetState(cbGrayed);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(4));
}

TEST_F(CheckKindsTest, TwelveFrameStrip) {
  UseSkin(12, 8);
  TCheckBox* box = Box(20);
  Skin<TSkinCheckBox>(box);
  HWND h = box->Handle();
  box->SetChecked(true);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(5));
  box->SetEnabled(false);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(8));
  box->SetChecked(false);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(4));
  box->SetAllowGrayed(true);
  box->SetState(cbGrayed);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(12)) << "indeterminate, disabled";
  box->SetEnabled(true);
  EXPECT_EQ(LeftBox(PaintToImage(h)), CheckFrameRGB(9)) << "indeterminate";
}

TEST_F(CheckKindsTest, LeftTextPutsTheBoxAtTheRight) {
  TCheckBox* box = Box(20);
  box->SetAlignment(taLeftJustifyLR);
  Skin<TSkinCheckBox>(box);
  const Image img = PaintToImage(box->Handle());
  EXPECT_EQ(At(img, 113, 9), CheckFrameRGB(1));
  EXPECT_EQ(LeftBox(img), kFaceRGB);
  bool textLeft = false, textRight = false;
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (At(img, x, y) == kTextRGB) (x < 105 ? textLeft : textRight) = true;
  EXPECT_TRUE(textLeft);
  EXPECT_FALSE(textRight);
}

TEST_F(CheckKindsTest, ARealClickTogglesOnceAndSoDoesTheSpaceBar) {
  TCheckBox* box = Box(20);
  TSkinCheckBox* skin = Skin<TSkinCheckBox>(box);
  HWND h = box->Handle();
  PumpUntilIdle();
  MouseAt(h, 6, 9);
  MouseAt(h, 6, 9, MOUSEEVENTF_LEFTDOWN);
  MouseAt(h, 6, 9, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks.count > 0; }));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(h, 6, 9) == CheckFrameRGB(2); }));
  EXPECT_EQ(skin->DataState(), 2) << "BM_SETCHECK 1 seen";

  ASSERT_EQ(GetFocus(), h);
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageW(h, WM_KEYUP, VK_SPACE, LPARAM(0xC0390001));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 2);
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(h, 6, 9) == CheckFrameRGB(1); }));
  MouseAt(h, 300, 250);
}

TEST_F(CheckKindsTest, RadioButtonsStayExclusiveUnderARealClick) {
  TRadioButton* first = Radio(20);
  TRadioButton* second = Radio(50);
  Skin<TSkinRadioButton>(first);
  Skin<TSkinRadioButton>(second);
  first->SetChecked(true);
  EXPECT_EQ(LeftBox(PaintToImage(first->Handle())), RadioFrameRGB(5)) << "checked, 8-frame strip";
  EXPECT_EQ(LeftBox(PaintToImage(second->Handle())), RadioFrameRGB(1));
  PumpUntilIdle();

  MouseAt(second->Handle(), 6, 9);
  MouseAt(second->Handle(), 6, 9, MOUSEEVENTF_LEFTDOWN);
  MouseAt(second->Handle(), 6, 9, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return second->Checked(); }));
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(first->Handle(), 6, 9) == RadioFrameRGB(1); }));
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(second->Handle(), 6, 9) == RadioFrameRGB(5); }));
  MouseAt(second->Handle(), 300, 250);

  second->SetEnabled(false);
  EXPECT_EQ(LeftBox(PaintToImage(second->Handle())), RadioFrameRGB(8));
  EXPECT_EQ(LeftBox(PaintToImage(first->Handle())), RadioFrameRGB(1));
}

TEST_F(CheckKindsTest, TransparentBoxShowsTheParentBehindItsCaption) {
  form->SetColor(TColor(RGB(0, 120, 0)));
  TCheckBox* box = Box(20);
  box->SetTag(5555);
  TSkinCheckBox* skin = Skin<TSkinCheckBox>(box);
  EXPECT_TRUE(skin->Transparent());
  const Image img = PaintToImage(box->Handle());
  EXPECT_EQ(At(img, 118, 1), RGB(0, 120, 0));
  EXPECT_EQ(LeftBox(img), CheckFrameRGB(1));
}

TEST_F(CheckKindsTest, ANativeCheckBoxKeepsItsCaptionAndGetsTheSkinnedBox) {
  HWND bare = CreateWindowW(L"BUTTON", L"Native", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 80, 120, 20,
                            form->Handle(), HMENU(778), GetModuleHandleW(nullptr), nullptr);
  auto* skin = new TSkinCheckBox(nullptr);
  skin->AttachWindow(bare, frame.get(), nullptr);
  ASSERT_TRUE(skin->Attached());
  EXPECT_EQ(skin->Mode(), 0);
  SendMessageW(bare, BM_SETCHECK, BST_CHECKED, 0);
  PumpUntilIdle();
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bare, 6, 9) == CheckFrameRGB(2); }));
  EXPECT_NE(ScreenPixel(bare, 118, 1), kFaceRGB) << "the native background stays";
}

}  // namespace
