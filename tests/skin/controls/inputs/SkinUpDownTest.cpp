// TSkinUpDown under Wine: the arrows from the skin in their states under a
// real mouse, the buddy edit still counting, the disabled frames, an
// embedded control kept off its edit's border and found by the edit's skin.
#include <windows.h>

#include "gui/ComCtrls.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "tests/skin/controls/inputs/InputsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinUpDownTest : public InputsTest {
 protected:
  void SetUp() override {
    InputsTest::SetUp();
    edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 20, 80, 24);
    updown = new TUpDown(form);
    updown->SetParent(form);
    updown->SetAssociate(edit);
    object = new TSkinUpDown(updown);
    object->AttachControl(skin.get(), false, nullptr);
    PumpUntilIdle();
    RECT r{};
    GetClientRect(updown->Handle(), &r);
    width = r.right;
    height = r.bottom;
  }
  TEdit* edit = nullptr;
  TUpDown* updown = nullptr;
  TSkinUpDown* object = nullptr;
  int width = 0, height = 0;
};

TEST_F(SkinUpDownTest, PressingTheUpperArrowShowsItPressedAndCountsTheBuddyUp) {
  HWND w = updown->Handle();
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(w, 1, 1) == FrameRGB(kUpDownVertRGB, 1); }));
  EXPECT_EQ(ScreenPixel(w, 1, height - 2), FrameRGB(kUpDownVertRGB, 5));
  EXPECT_EQ(ScreenPixel(w, width / 2, height / 4), FrameRGB(0xA8, 1)) << "glyph centred in the upper half";

  MouseAt(w, width / 2, 2);
  MouseAt(w, width / 2, 2, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(w, 1, 1) == FrameRGB(kUpDownVertRGB, 2); }));
  EXPECT_EQ(ScreenPixel(w, 1, height - 2), FrameRGB(kUpDownVertRGB, 5)) << "the lower arrow stays normal";
  MouseAt(w, width / 2, 2, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(w, 1, 1) == FrameRGB(kUpDownVertRGB, 1); }));
  EXPECT_EQ(updown->Position(), 1);
  EXPECT_EQ(edit->Text(), L"1") << "the buddy shows the new position";
  MouseAt(form->Handle(), 400, 250);
}

TEST_F(SkinUpDownTest, DisabledShowsFramesThreeAndSeven) {
  updown->SetEnabled(false);
  const Image img = PaintToImage(updown->Handle());
  EXPECT_EQ(At(img, 1, 1), FrameRGB(kUpDownVertRGB, 3));
  EXPECT_EQ(At(img, 1, height - 2), FrameRGB(kUpDownVertRGB, 7));
}

TEST_F(SkinUpDownTest, EmbeddedInAnEditItNeverPaintsOverTheBorder) {
  // A bare up-down inside a bare edit, flush with its right edge.
  HWND host = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 150, 100, 100, 30, form->Handle(), nullptr,
                              nullptr, nullptr);
  HWND spin = CreateWindowExW(0, L"msctls_updown32", L"", WS_CHILD | WS_VISIBLE, 84, 0, 16, 30, host, nullptr,
                              nullptr, nullptr);
  auto* bare = new TSkinUpDown(nullptr);
  bare->SetEmbedded(true);
  bare->AttachWindow(spin, skin.get(), nullptr);
  const Image img = PaintToImage(spin);
  EXPECT_EQ(At(img, 5, 1), RGB(255, 255, 255)) << "top border rows left white";
  EXPECT_EQ(At(img, 14, 10), RGB(255, 255, 255)) << "right border columns left white";
  EXPECT_EQ(At(img, 5, 28), RGB(255, 255, 255));
  EXPECT_EQ(At(img, 1, 4), FrameRGB(kUpDownVertRGB, 1)) << "the arrows start 3 pixels down";
  EXPECT_EQ(At(img, 12, 25), FrameRGB(kUpDownVertRGB, 5));
  DestroyWindow(host);
}

TEST_F(SkinUpDownTest, AnEditSkinsTheSpinButtonInsideIt) {
  HWND host = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 150, 100, 100, 30, form->Handle(),
                              nullptr, nullptr, nullptr);
  HWND spin = CreateWindowExW(0, L"msctls_updown32", L"", WS_CHILD | WS_VISIBLE, 80, 0, 16, 26, host, nullptr,
                              nullptr, nullptr);
  auto* border = new TSkinEdit(nullptr);
  border->AttachWindow(host, skin.get(), nullptr);
  RedrawWindow(host, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(SendMessageW(spin, WM_SKINQUERY, 0, 0), 1);
  auto* object = dynamic_cast<TSkinUpDown*>(skin->Find(spin));
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->Embedded());
  DestroyWindow(host);
}

}  // namespace
