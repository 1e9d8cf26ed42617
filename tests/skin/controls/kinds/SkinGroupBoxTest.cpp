// TSkinGroupBox under Wine: frame top and caption place for a 12-pixel font,
// an unbroken frame without caption, a right-aligned caption, labels kept.
#include <windows.h>

#include "gui/StdCtrls.h"
#include "skin/controls/SkinGroupBox.h"
#include "tests/skin/controls/kinds/KindsFixture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinGroupBoxTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    box = new TGroupBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 200, 100);
    box->Font()->SetHeight(12);  // cell height: "0" measures 12
    box->SetCaption(L"WW");
  }
  Image Paint() {
    auto* skin = new TSkinGroupBox(box);
    skin->AttachControl(frame.get(), false, nullptr);
    PumpUntilIdle();
    return PaintToImage(box->Handle());
  }
  // Columns of the rows 0..11 that hold dark (text) pixels.
  static std::pair<int, int> TextColumns(const Image& img) {
    int first = -1, last = -1;
    for (int x = 0; x < img.Width(); ++x)
      for (int y = 0; y < 12; ++y)
        if (GetRValue(At(img, x, y)) < 100 && At(img, x, y) != kShadowRGB) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }

  TGroupBox* box = nullptr;
};

TEST_F(SkinGroupBoxTest, FrameTopAtFiveAndCaptionEightPixelsIn) {
  const Image img = Paint();
  ASSERT_EQ(img.Width(), 200);
  EXPECT_EQ(At(img, 100, 5), kShadowRGB) << "top line at 12 / 2 - 1";
  EXPECT_EQ(At(img, 100, 4), kFaceRGB);
  EXPECT_EQ(At(img, 100, 6), kFaceRGB);
  EXPECT_EQ(At(img, 1, 50), kShadowRGB) << "left line";
  EXPECT_EQ(At(img, 0, 50), kFaceRGB);
  EXPECT_EQ(At(img, 198, 50), kShadowRGB) << "right line";
  EXPECT_EQ(At(img, 100, 98), kShadowRGB) << "bottom line";
  EXPECT_EQ(At(img, 100, 99), kFaceRGB);
  const auto [first, last] = TextColumns(img);
  EXPECT_GE(first, 8);
  EXPECT_LE(first, 10) << "caption starts 8 pixels in";
  EXPECT_NE(At(img, first + 1, 5), kShadowRGB) << "the caption cuts the line";
}

TEST_F(SkinGroupBoxTest, EmptyCaptionLeavesTheFrameUnbroken) {
  box->SetCaption(L"");
  const Image img = Paint();
  for (int x = 4; x < 195; ++x) ASSERT_EQ(At(img, x, 5), kShadowRGB) << "x " << x;
}

TEST_F(SkinGroupBoxTest, RightAlignedCaptionEndsEightPixelsFromTheRight) {
  SetWindowLongW(box->Handle(), GWL_EXSTYLE, GetWindowLongW(box->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  const Image img = Paint();
  const auto [first, last] = TextColumns(img);
  EXPECT_LE(last, 191);
  EXPECT_GE(last, 187);
  EXPECT_GT(first, 150);
}

TEST_F(SkinGroupBoxTest, LabelsInsideStayVisibleAfterEveryRepaint) {
  auto* label = new TLabel(form);
  label->SetParent(box);
  label->SetBounds(20, 40, 60, 16);
  label->SetCaption(L"WWW");
  Paint();
  for (int round = 0; round < 2; ++round) {
    InvalidateRect(box->Handle(), nullptr, TRUE);
    UpdateWindow(box->Handle());
    const Image img = PaintToImage(box->Handle());
    bool text = false;
    for (int y = 40; y < 56; ++y)
      for (int x = 20; x < 80; ++x) text |= GetRValue(At(img, x, y)) < 60;
    EXPECT_TRUE(text) << "round " << round;
  }
}

}  // namespace
