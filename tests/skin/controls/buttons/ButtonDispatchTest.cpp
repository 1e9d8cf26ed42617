// The dispatch of the button kinds: window-less speed buttons (once, and not
// with their switch off), radio buttons, and the Skin3rd button kinds.
#include <windows.h>

#include "gui/Buttons.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/window/ControlDispatch.h"
#include "tests/skin/controls/buttons/ButtonsFixture.h"

using namespace skintest;
using namespace twtest;

namespace {

class ButtonDispatchTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    frame = std::make_unique<TTestFrame>(form->Handle(), ButtonKindsSkin());
  }
  template <class T>
  T* Add(int x, int y) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(x, y, 80, 24);
    return c;
  }
  template <class Kind>
  int Count() const {
    int n = 0;
    for (TSkinControl* c : frame->List()) n += dynamic_cast<Kind*>(c) ? 1 : 0;
    return n;
  }
};

TEST_F(ButtonDispatchTest, SpeedButtonsAreSkinnedOnceAndOnlyWithTheirSwitch) {
  auto* speed = Add<TSpeedButton>(10, 10);
  auto* radio = Add<TRadioButton>(10, 40);
  frame->Controls &= ~(1u << xcSpeedButton);
  SkinChildControls(*frame, form);
  EXPECT_EQ(Count<TSkinSpeedButton>(), 0);
  EXPECT_EQ(SendMessageW(radio->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_NE(dynamic_cast<TSkinRadioButton*>(frame->Find(radio->Handle())), nullptr);

  frame->Controls |= 1u << xcSpeedButton;
  SkinChildControls(*frame, form);
  SkinChildControls(*frame, form);
  ASSERT_EQ(Count<TSkinSpeedButton>(), 1) << "skinned once";
  EXPECT_EQ(speed->Perform(WM_SKINQUERY, 0, 0), 1);
  for (TSkinControl* c : frame->List())
    if (auto* s = dynamic_cast<TSkinSpeedButton*>(c)) EXPECT_EQ(s->Button(), speed);
  EXPECT_EQ(At(PaintControlToImage(speed), 3, 3), ButtonFrameRGB(1));
}

TEST_F(ButtonDispatchTest, Skin3rdButtonKinds) {
  auto* menu = Add<TButton>(10, 10);
  auto* png = Add<TBitBtn>(100, 10);
  auto* speed = Add<TSpeedButton>(200, 10);
  frame->Third.Add(L"TButton=menubtn");
  frame->Third.Add(L"TBitBtn=pngbitbtn");
  frame->Third.Add(L"TSpeedButton=speedbutton");
  SkinChildControls(*frame, form);
  EXPECT_NE(dynamic_cast<TSkinMenuButton*>(frame->Find(menu->Handle())), nullptr);
  auto* pngSkin = dynamic_cast<TSkinBitButton*>(frame->Find(png->Handle()));
  ASSERT_NE(pngSkin, nullptr);
  EXPECT_EQ(pngSkin->GraphicProperty(), L"PngImage");
  EXPECT_EQ(speed->Perform(WM_SKINQUERY, 0, 0), 1);
}

}  // namespace
