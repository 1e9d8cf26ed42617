// TSkinProgress under Wine: half of a 409-pixel bar, a position set from a
// worker thread reaching the screen, the native bar without a skin image.
#include <windows.h>

#include <thread>

#include "gui/ComCtrls.h"
#include "skin/controls/SkinProgress.h"
#include "tests/skin/controls/kinds/KindsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinProgressTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    bar = new TProgressBar(form);
    bar->SetParent(form);
    bar->SetBounds(20, 150, 409, 20);
    bar->SetMax(100);
    bar->SetPosition(50);
  }
  TProgressBar* bar = nullptr;
};

TEST_F(SkinProgressTest, FiftyOfHundredFills205Of409Pixels) {
  auto* skin = new TSkinProgress(bar);
  skin->AttachControl(frame.get(), false, nullptr);
  const Image img = PaintToImage(bar->Handle());
  ASSERT_EQ(img.Width(), 409);
  EXPECT_EQ(At(img, 0, 10), ProgressFrameRGB(2));
  EXPECT_EQ(At(img, 204, 10), ProgressFrameRGB(2));
  EXPECT_EQ(At(img, 205, 10), ProgressFrameRGB(1));
  EXPECT_EQ(At(img, 408, 10), ProgressFrameRGB(1));
}

TEST_F(SkinProgressTest, PositionFromAWorkerReachesTheScreen) {
  auto* skin = new TSkinProgress(bar);
  skin->AttachControl(frame.get(), false, nullptr);
  HWND b = bar->Handle();
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(b, 250, 10) == ProgressFrameRGB(1); }));
  std::thread worker([&] { bar->SetPosition(75); });  // 306.75: 307 columns
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(b, 306, 10) == ProgressFrameRGB(2); }));
  worker.join();
  EXPECT_EQ(ScreenPixel(b, 307, 10), ProgressFrameRGB(1));
  EXPECT_EQ(ScreenPixel(b, 0, 0), ProgressFrameRGB(2));
}

TEST_F(SkinProgressTest, WithoutAProgressImageTheNativeBarPaints) {
  TTestFrame plain(form->Handle(), BuildSkin(true, false));
  auto* skin = new TSkinProgress(bar);
  skin->AttachControl(&plain, false, nullptr);
  const Image img = PaintToImage(bar->Handle(), 0x00FF7F00);
  EXPECT_NE(At(img, 100, 10), RGB(0xFF, 0x7F, 0x00));
  EXPECT_NE(At(img, 100, 10), ProgressFrameRGB(2));
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_SKINQUERY, 0, 0), 1);
  plain.ReleaseAll();
}

}  // namespace
