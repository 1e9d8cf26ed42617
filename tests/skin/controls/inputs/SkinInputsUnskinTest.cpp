// Letting go of the combo box, track bar and up-down skins: each control
// shows its native look again without waiting for an unrelated repaint.
#include <windows.h>

#include <commctrl.h>

#include "gui/ComCtrls.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"
#include "tests/skin/controls/inputs/InputsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

using SkinInputsUnskinTest = InputsTest;

TEST_F(SkinInputsUnskinTest, ReleasedSkinsLeaveTheNativeLookOnScreen) {
  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  combo->SetStyle(csDropDownList);
  combo->SetBounds(20, 20, 150, 24);
  auto* bar = new TTrackBar(form);
  bar->SetParent(form);
  bar->SetBounds(20, 60, 240, 40);
  auto* updown = new TUpDown(form);
  updown->SetParent(form);
  updown->SetBounds(300, 20, 16, 24);
  (new TSkinComBox(combo))->AttachControl(skin.get(), false, nullptr);
  (new TSkinTrackBar(bar))->AttachControl(skin.get(), false, nullptr);
  (new TSkinUpDown(updown))->AttachControl(skin.get(), false, nullptr);

  RECT r{};
  GetClientRect(combo->Handle(), &r);
  const POINT button{r.right - 3, r.bottom / 2};
  RECT thumb{};
  SendMessageW(bar->Handle(), TBM_GETTHUMBRECT, 0, LPARAM(&thumb));
  const POINT knob{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  auto skinned = [&] {
    return ScreenPixel(combo->Handle(), button.x, button.y) == FrameRGB(kComboRGB, 1) &&
           ScreenPixel(bar->Handle(), knob.x, knob.y) == FrameRGB(kThumbHorzRGB, 2) &&
           ScreenPixel(updown->Handle(), 1, 1) == FrameRGB(kUpDownVertRGB, 1);
  };
  ASSERT_TRUE(PumpUntil(skinned));

  skin->ReleaseAll();
  EXPECT_TRUE(PumpUntil([&] {
    return ScreenPixel(combo->Handle(), button.x, button.y) != FrameRGB(kComboRGB, 1) &&
           ScreenPixel(bar->Handle(), knob.x, knob.y) != FrameRGB(kThumbHorzRGB, 2) &&
           ScreenPixel(updown->Handle(), 1, 1) != FrameRGB(kUpDownVertRGB, 1);
  })) << "a skinned picture stayed on screen";
}

}  // namespace
