// TSkinComBox under Wine: the drop button's states from the skin's combined
// edge-and-button strip, hover only over the button, a real click on the
// skinned button dropping the list, a choice in it firing OnChange once, a
// dialog's editable box, a simple box's list scroll bars.
#include <windows.h>

#include <string>

#include "gui/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinScrollBarH.h"
#include "tests/skin/controls/inputs/InputsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinComBoxTest : public InputsTest {
 protected:
  void SetUp() override {
    InputsTest::SetUp();
    combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(20, 20, 150, 24);
    for (const wchar_t* s : {L"one", L"two", L"three"}) combo->Items()->Add(s);
    combo->OnChange = TNotifyEvent::Bind(&changes, &ClickCounter::Click);
    object = new TSkinComBox(combo);
    object->AttachControl(skin.get(), false, nullptr);
    SetFocus(form->Handle());
    PumpUntilIdle();
    RECT r{};
    GetWindowRect(combo->Handle(), &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  Image Paint() { return PaintToImage(combo->Handle()); }
  LRESULT Send(UINT msg, WPARAM w, LPARAM l) { return SendMessageW(combo->Handle(), msg, w, l); }

  TComboBox* combo = nullptr;
  TSkinComBox* object = nullptr;
  ClickCounter changes;
  int width = 0, height = 0;
};

TEST_F(SkinComBoxTest, ButtonStatesComeFromTheCombinedStripAndTheTextAreaStaysNative) {
  const Image normal = Paint();
  EXPECT_EQ(At(normal, width - 3, height / 2), FrameRGB(kComboRGB, 1)) << "button, frame 1";
  EXPECT_EQ(At(normal, 0, height / 2), FrameRGB(kSunkRGB, 1)) << "edge, frame 1";
  const COLORREF text = At(normal, width / 2, height / 2);
  EXPECT_NE(text, FrameRGB(kSunkRGB, 1));
  EXPECT_NE(text, RGB(0xFF, 0x7F, 0x00)) << "the platform painted the text area";
  EXPECT_EQ(object->ButtonRect(), MakeRect(width - 21, 0, width, height));

  // Hover lights the button only over its rectangle.
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, height / 2));
  EXPECT_EQ(object->MouseState() & kMouseHot, 0);
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(width - 8, height / 2));
  EXPECT_NE(object->MouseState() & kMouseHot, 0);
  EXPECT_EQ(At(Paint(), width - 3, height / 2), FrameRGB(kComboRGB, 4));
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(width - 30, height / 2));
  EXPECT_EQ(At(Paint(), width - 3, height / 2), FrameRGB(kComboRGB, 1));

  combo->SetFocus();
  EXPECT_EQ(At(Paint(), 0, height / 2), FrameRGB(kSunkRGB, 4)) << "focused";
  combo->SetEnabled(false);
  EXPECT_EQ(At(Paint(), width - 3, height / 2), FrameRGB(kComboRGB, 3)) << "disabled";
}

TEST_F(SkinComBoxTest, LeftScrollBarBoxDrawsItsButtonAtTheLeft) {
  SetWindowLongW(combo->Handle(), GWL_EXSTYLE, GetWindowLongW(combo->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  const Image img = Paint();
  EXPECT_EQ(At(img, 2, height / 2), FrameRGB(kComboRGB, 1));
  EXPECT_EQ(At(img, width - 1, height / 2), FrameRGB(kSunkRGB, 1));
  EXPECT_EQ(object->ButtonRect(), MakeRect(0, 0, 21, height));
}

TEST_F(SkinComBoxTest, RealClickOnTheButtonDropsTheListAndAChoiceFiresOnChangeOnce) {
  HWND box = combo->Handle();
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(box, width - 3, height / 2) == FrameRGB(kComboRGB, 1); }));
  MouseAt(box, width - 8, height / 2);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(box, width - 3, height / 2) == FrameRGB(kComboRGB, 4); }))
      << "hot under the mouse";
  MouseAt(box, width - 8, height / 2, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return object->Dropped(); }));
  EXPECT_NE(Send(CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(box, width - 3, height / 2) == FrameRGB(kComboRGB, 2); }))
      << "pressed while the button is down";
  MouseAt(box, width - 8, height / 2, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return (object->MouseState() & kMousePressed) == 0; }));
  EXPECT_EQ(changes.count, 0);

  COMBOBOXINFO info{sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(box, &info));
  ASSERT_TRUE(IsWindowVisible(info.hwndList));
  const int item = int(Send(CB_GETITEMHEIGHT, 0, 0));
  MouseAt(info.hwndList, 10, item + item / 2);
  MouseAt(info.hwndList, 10, item + item / 2, MOUSEEVENTF_LEFTDOWN);
  MouseAt(info.hwndList, 10, item + item / 2, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !object->Dropped() && changes.count > 0; }));
  PumpUntilIdle();
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(object->MouseState() & kMousePressed, 0) << "no press left over after the list closed";
  MouseAt(form->Handle(), 400, 250);
}

TEST_F(SkinComBoxTest, BareEditableBoxShowsItsFocusedFrameWhileItsEditHasTheFocus) {
  HWND box = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 120, 150, 200,
                             form->Handle(), nullptr, nullptr, nullptr);
  auto* bare = new TSkinComBox(nullptr);
  bare->AttachWindow(box, skin.get(), nullptr);
  ASSERT_NE(bare->EditWindow(), nullptr) << "the edit inside is hooked";
  RECT r{};
  GetWindowRect(box, &r);
  const int h = r.bottom - r.top;
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(box, 0, h / 2) == FrameRGB(kSunkRGB, 1); }));
  SetFocus(bare->EditWindow());
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(box, 0, h / 2) == FrameRGB(kSunkRGB, 4); }))
      << "focus in the edit repaints the box";
  SetFocus(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(box, 0, h / 2) == FrameRGB(kSunkRGB, 1); }));
  DestroyWindow(box);
  EXPECT_EQ(bare->LifeState(), kSkinWindowDestroyed);
}

TEST_F(SkinComBoxTest, SimpleBoxListGetsScrollBarSkinsUntilTheBoxIsUnskinned) {
  auto* simple = new TComboBox(form);
  simple->SetParent(form);
  simple->SetStyle(csSimple);
  simple->SetBounds(200, 20, 150, 120);
  for (int i = 0; i < 30; ++i) simple->Items()->Add(L"item " + std::to_wstring(i));
  auto* boxSkin = new TSkinComBox(simple);
  boxSkin->AttachControl(skin.get(), false, nullptr);
  COMBOBOXINFO info{sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(simple->Handle(), &info));
  ASSERT_NE(boxSkin->ListScrollBars(), nullptr);
  EXPECT_EQ(SendMessageW(info.hwndList, WM_SKINQUERY, 0, 0), 1) << "the child list is skinned";
  EXPECT_EQ(skin->Find(info.hwndList), boxSkin->ListScrollBars());

  boxSkin->Unskin();
  EXPECT_EQ(boxSkin->ListScrollBars(), nullptr);
  EXPECT_EQ(skin->Find(info.hwndList), nullptr);
  EXPECT_NE(SendMessageW(info.hwndList, WM_SKINQUERY, 0, 0), 1) << "the list is let go";
}

}  // namespace
