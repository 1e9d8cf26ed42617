// Glyph, drop-down and window-less buttons under Wine: the frame and glyph
// of each state, layout read from the button, the arrow, a press dragged off
// (no click), one click per press, speed-button groups.
#include <windows.h>

#include "gui/Buttons.h"
#include "gui/ImgList.h"
#include "gui/StdCtrls.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "tests/skin/controls/buttons/ButtonsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

const COLORREF kGlyphUp = RGB(200, 0, 0), kGlyphDisabled = RGB(0, 150, 0), kGlyphDown = RGB(0, 0, 210);
const COLORREF kGlyphKey = RGB(0, 255, 255);

// A strip of three 16x16 glyphs (up, disabled, down) whose bottom-left
// pixels hold the key colour.
void FillGlyph(TBitmap* glyph) {
  glyph->SetSize(48, 16);
  const COLORREF colours[3] = {kGlyphUp, kGlyphDisabled, kGlyphDown};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) {
      const COLORREF c = (x % 16 == 0 && y == 15) ? kGlyphKey : colours[x / 16];
      glyph->ScanLine(y)[x] = MakePixel(GetRValue(c), GetGValue(c), GetBValue(c));
    }
}

class ButtonKindsTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    frame = std::make_unique<TTestFrame>(form->Handle(), ButtonKindsSkin());
  }
  template <class Kind>
  Kind* Skin(TComponent* control) {
    auto* kind = new Kind(control);
    kind->AttachControl(frame.get(), false, nullptr);
    return kind;
  }
  TSpeedButton* Speed(int left, ClickCounter& counter) {
    auto* b = new TSpeedButton(form);
    b->SetParent(form);
    b->SetBounds(left, 100, 60, 24);
    b->SetGroupIndex(1);
    b->OnClick = TNotifyEvent::Bind(&counter, &ClickCounter::Click);
    return b;
  }
  ClickCounter clicks;
};

TEST_F(ButtonKindsTest, GlyphButtonShowsTheGlyphOfEachStateOnItsFrame) {
  auto* button = new TBitBtn(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 100, 30);
  button->SetCaption(L"");
  button->SetNumGlyphs(3);
  FillGlyph(button->Glyph());
  button->OnClick = TNotifyEvent::Bind(&clicks, &ClickCounter::Click);
  Skin<TSkinBitButton>(button);
  HWND h = button->Handle();

  // No caption, automatic margin: the glyph is centred at (42, 7).
  const Image up = PaintToImage(h);
  EXPECT_EQ(At(up, 3, 3), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(At(up, 50, 15), kGlyphUp);
  EXPECT_EQ(At(up, 41, 15), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(At(up, 42, 22), ButtonFrameRGB(kButtonNormal)) << "the glyph's key pixel is transparent";

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  const Image down = PaintToImage(h);
  EXPECT_EQ(At(down, 3, 3), ButtonFrameRGB(kButtonPressed));
  EXPECT_EQ(At(down, 50, 15), kGlyphDown);
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 0) << "a press dragged off gives no click";
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 1);

  button->SetEnabled(false);
  const Image off = PaintToImage(h);
  EXPECT_EQ(At(off, 3, 3), ButtonFrameRGB(kButtonDisabled));
  EXPECT_EQ(At(off, 50, 15), RGB(50, 50, 50)) << "the disabled glyph turned grey";
  EXPECT_EQ(At(off, 42, 22), ButtonFrameRGB(kButtonDisabled)) << "its greyed key pixel too is transparent";
}

TEST_F(ButtonKindsTest, GlyphLayoutAndMarginAreReadFromTheButton) {
  auto* button = new TBitBtn(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 100, 30);
  button->SetCaption(L"");
  button->SetNumGlyphs(3);
  FillGlyph(button->Glyph());
  button->SetLayout(blGlyphRight);
  button->SetMargin(4);
  Skin<TSkinBitButton>(button);
  const Image img = PaintToImage(button->Handle());
  EXPECT_EQ(At(img, 80, 10), kGlyphUp) << "glyph from 100 - 4 - 16";
  EXPECT_EQ(At(img, 95, 10), kGlyphUp);
  EXPECT_EQ(At(img, 79, 10), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(At(img, 96, 10), ButtonFrameRGB(kButtonNormal));
}

TEST_F(ButtonKindsTest, ImageListImageForEnabledAndDisabledButtons) {
  auto* images = new TImageList(form);
  TBitmap strip(32, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) strip.ScanLine(y)[x] = x < 16 ? MakePixel(200, 0, 0) : MakePixel(0, 0, 210);
  ASSERT_EQ(images->AddMasked(strip, TColor(RGB(255, 0, 255))), 0);
  auto* button = new TBitBtn(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 100, 30);
  button->SetCaption(L"");
  button->SetImages(images);
  button->SetImageIndex(0);
  button->SetDisabledIndex(1);
  Skin<TSkinBitButton>(button);
  EXPECT_EQ(At(PaintToImage(button->Handle()), 50, 15), RGB(200, 0, 0)) << "ImageIndex, centred at (42, 7)";
  button->SetEnabled(false);
  EXPECT_EQ(At(PaintToImage(button->Handle()), 50, 15), RGB(0, 0, 210)) << "DisabledIndex";
}

TEST_F(ButtonKindsTest, DropDownButtonDrawsItsArrowAndShowsFocusAsHot) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 60, 80, 24);
  button->SetCaption(L"");
  Skin<TSkinMenuButton>(button);
  HWND h = button->Handle();
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);

  const Image img = PaintToImage(h);
  EXPECT_EQ(At(img, 3, 3), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(At(img, 68, 13), text) << "just above the tip (68, 14)";
  EXPECT_EQ(At(img, 66, 11), text);
  EXPECT_EQ(At(img, 68, 16), ButtonFrameRGB(kButtonNormal));
  EXPECT_EQ(At(img, 64, 11), ButtonFrameRGB(kButtonNormal));

  button->SetFocus();
  EXPECT_EQ(At(PaintToImage(h), 3, 3), ButtonFrameRGB(kButtonHot));
  button->SetEnabled(false);
  const Image off = PaintToImage(h);
  EXPECT_EQ(At(off, 3, 3), ButtonFrameRGB(kButtonDisabled));
  EXPECT_EQ(At(off, 68, 13), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ButtonKindsTest, SpeedButtonStatesFlatAndDown) {
  ClickCounter other;
  TSpeedButton* button = Speed(20, clicks);
  button->SetCaption(L"");
  TSkinSpeedButton* skin = Skin<TSkinSpeedButton>(button);
  ASSERT_TRUE(skin->Attached());
  EXPECT_TRUE(frame->IsListed(skin));
  EXPECT_EQ(button->Perform(WM_SKINQUERY, 0, 0), 1);

  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), ButtonFrameRGB(kButtonNormal));
  button->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), ButtonFrameRGB(kButtonHot));
  button->SetFlat(true);
  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), ButtonFrameRGB(kButtonHot)) << "flat and hot: the frame";
  button->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), kFaceRGB) << "flat and idle: only the face";
  button->SetFlat(false);
  button->SetEnabled(false);
  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), ButtonFrameRGB(kButtonDisabled));
  button->SetEnabled(true);
  button->SetDown(true);
  EXPECT_EQ(At(PaintControlToImage(button), 3, 3), ButtonFrameRGB(kButtonPressed));
}

TEST_F(ButtonKindsTest, SpeedButtonsUnderARealMouse) {
  ClickCounter otherClicks;
  TSpeedButton* a = Speed(20, clicks);
  TSpeedButton* b = Speed(100, otherClicks);
  TSkinSpeedButton* skinA = Skin<TSkinSpeedButton>(a);
  Skin<TSkinSpeedButton>(b);
  HWND f = form->Handle();
  PumpUntilIdle();
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(f, 23, 103) == ButtonFrameRGB(kButtonNormal); }));

  // A press dragged off the button: no click, nothing stays down.
  MouseAt(f, 50, 112);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(f, 23, 103) == ButtonFrameRGB(kButtonHot); }));
  MouseAt(f, 50, 112, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(f, 23, 103) == ButtonFrameRGB(kButtonPressed); }));
  MouseAt(f, 300, 250);
  ASSERT_TRUE(PumpUntil([&] { return skinA->MouseState() == 0; })) << "leaving cancels the press";
  MouseAt(f, 300, 250, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(f, 23, 103) == ButtonFrameRGB(kButtonNormal); }));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 0);
  EXPECT_FALSE(a->Down());

  // Press and release on it: one click, and it stays down.
  MouseAt(f, 50, 112);
  MouseAt(f, 50, 112, MOUSEEVENTF_LEFTDOWN);
  MouseAt(f, 50, 112, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return clicks.count > 0; }));
  PumpUntilIdle();
  EXPECT_EQ(clicks.count, 1);
  EXPECT_TRUE(a->Down());

  // The other button of the group goes down; the first comes up.
  MouseAt(f, 130, 112);
  MouseAt(f, 130, 112, MOUSEEVENTF_LEFTDOWN);
  MouseAt(f, 130, 112, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return otherClicks.count > 0; }));
  MouseAt(f, 300, 250);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(f, 23, 103) == ButtonFrameRGB(kButtonNormal); }));
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(f, 103, 103) == ButtonFrameRGB(kButtonPressed); }));
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(otherClicks.count, 1);
}

}  // namespace
