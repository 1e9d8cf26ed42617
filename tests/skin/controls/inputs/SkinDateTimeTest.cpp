// TSkinDateTime under Wine: the arrow window over the picker's drop button,
// hot under the mouse, a real click on it opening the calendar; unskinning
// removes it.
#include <windows.h>

#include <commctrl.h>

#include "gui/ComCtrls.h"
#include "skin/controls/SkinDateTime.h"
#include "tests/skin/controls/inputs/InputsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinDateTimeTest : public InputsTest {
 protected:
  void SetUp() override {
    InputsTest::SetUp();
    picker = new TDateTimePicker(form);
    picker->SetParent(form);
    picker->SetBounds(20, 20, 160, 24);
    style = GetWindowLongW(picker->Handle(), GWL_STYLE);
    object = new TSkinDateTime(picker);
    object->AttachControl(skin.get(), false, nullptr);
    PumpUntilIdle();
  }
  TDateTimePicker* picker = nullptr;
  TSkinDateTime* object = nullptr;
  LONG style = 0;
};

TEST_F(SkinDateTimeTest, ArrowWindowLightsUnderTheMouseAndAClickOpensTheCalendar) {
  TArrowButton* arrow = object->ArrowButton();
  ASSERT_NE(arrow, nullptr);
  HWND a = arrow->Handle();
  EXPECT_EQ(GetParent(a), picker->Handle());
  EXPECT_EQ(arrow->Width(), GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_NE(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(a, 1, 1) == FrameRGB(kComboRGB, 1); }));

  MouseAt(a, 5, 5);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(a, 1, 1) == FrameRGB(kComboRGB, 4); })) << "hot";
  MouseAt(a, 5, 5, MOUSEEVENTF_LEFTDOWN);
  MouseAt(a, 5, 5, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0) != 0; }))
      << "the calendar opened";
  HWND cal = HWND(SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0));
  PumpUntilIdle();
  EXPECT_TRUE(IsWindowVisible(cal)) << "and stays open";
  SendMessageW(cal, WM_KEYDOWN, VK_ESCAPE, 0);
  MouseAt(form->Handle(), 400, 250);
  PumpUntilIdle();

  object->Unskin();
  EXPECT_EQ(object->ArrowButton(), nullptr);
  EXPECT_EQ(GetWindow(picker->Handle(), GW_CHILD), nullptr) << "the arrow window is gone";
  EXPECT_EQ(GetWindowLongW(picker->Handle(), GWL_STYLE), style) << "style given back";
}

}  // namespace
