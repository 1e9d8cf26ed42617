// TSkinStatusBar under Wine: panel edges by bevel, the last panel to the
// bar's end, the size grip, right-to-left alignment, owner-drawn panels, the
// simple text, and the 3-D edges of a skin without edge images.
#include <windows.h>

#include <vector>

#include "gui/ComCtrls.h"
#include "skin/controls/SkinStatusBar.h"
#include "tests/skin/controls/tabs/SkinTabsFixture.h"

using namespace skintest;
using namespace twtest;

namespace {

const COLORREF kOwnerRGB = RGB(0x12, 0x34, 0x56);

class SkinStatusBarTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 100, 400, 22);
  }
  void AddPanel(const wchar_t* text, int width, TStatusPanelBevel bevel, TAlignment align = taLeftJustify,
                TBiDiMode bidi = bdLeftToRight, TStatusPanelStyle style = psText) {
    TStatusPanel* p = bar->Panels()->Add();
    p->SetText(text);
    p->SetWidth(width);
    p->SetBevel(bevel);
    p->SetAlignment(align);
    p->SetBiDiMode(bidi);
    p->SetStyle(style);
  }
  void Skin(TSkinFrameLink* link) {
    auto* skin = new TSkinStatusBar(bar);
    skin->AttachControl(link, false, nullptr);
  }
  // Columns in [x0, x1) of row band [y0, y1) that hold `colour`.
  static int CountColour(const Image& img, int x0, int x1, int y0, int y1, COLORREF colour) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += At(img, x, y) == colour;
    return n;
  }

 public:
  void DrawPanel(TStatusBar*, TStatusPanel* panel, const RECT& r) {
    panelsDrawn.push_back(panel->Index());
    rects.push_back(r);
    bar->Canvas()->Brush()->SetColor(TColor(kOwnerRGB));
    bar->Canvas()->FillRect(r);
  }

 protected:
  TStatusBar* bar = nullptr;
  std::vector<int> panelsDrawn;
  std::vector<RECT> rects;
  TTestFrame tabsFrame{nullptr, BuildTabsSkin()};
};

TEST_F(SkinStatusBarTest, PanelsTakeTheirEdgeFramesTheGripAndTheOwnersDrawing) {
  AddPanel(L"One", 100, pbLowered);
  AddPanel(L"Right", 120, pbRaised, taRightJustify, bdRightToLeft);
  AddPanel(L"", 60, pbNone, taLeftJustify, bdLeftToRight, psOwnerDraw);
  AddPanel(L"End", 50, pbNone);
  bar->OnDrawPanel = TDrawPanelEvent::Bind(this, &SkinStatusBarTest::DrawPanel);
  Skin(&tabsFrame);
  const Image img = PaintToImage(bar->Handle());
  ASSERT_EQ(img.Width(), 400);
  const int h = img.Height();
  RECT p0 = bar->PanelRect(0), p1 = bar->PanelRect(1), p2 = bar->PanelRect(2), p3 = bar->PanelRect(3);

  EXPECT_EQ(At(img, p0.left + 1, h / 2), EdgeFrame(1)) << "lowered";
  EXPECT_EQ(At(img, p0.right + 1, h / 2), EdgeFrame(1)) << "widened by 2 at the right";
  EXPECT_EQ(At(img, p1.left + 3, 2), EdgeFrame(2)) << "raised";
  EXPECT_EQ(At(img, p3.left + 3, 2), EdgeFrame(3)) << "no bevel";
  EXPECT_EQ(At(img, 399, 2), EdgeFrame(3)) << "the last panel reaches the bar's end";

  // Right-aligned text in a right-to-left panel sits at the panel's left.
  const int mid1 = (p1.left + p1.right) / 2;
  EXPECT_GT(CountColour(img, p1.left, mid1, 0, h, kStatusTextRGB), 0);
  EXPECT_EQ(CountColour(img, mid1, p1.right, 0, h, kStatusTextRGB), 0);
  EXPECT_GT(CountColour(img, p0.left, p0.right, 0, h, kStatusTextRGB), 0) << "text in the edges' colour";

  // The owner draws its panel only, inside the panel shrunk by 2.
  ASSERT_EQ(panelsDrawn, std::vector<int>{2});
  EXPECT_EQ(rects[0].left, p2.left + 2);
  EXPECT_EQ(rects[0].bottom, p2.bottom - 2);
  EXPECT_EQ(At(img, p2.left + 4, h / 2), kOwnerRGB);
  EXPECT_EQ(CountColour(img, p3.left, p3.right, 0, h, kOwnerRGB), 0);

  // Grip: frame 5 of ExtraImages, 8 x 8, ending one pixel inside the corner;
  // its magenta pixel shows the panel under it.
  EXPECT_EQ(At(img, 400 - 1 - 4, h - 1 - 4), kGrip);
  EXPECT_EQ(At(img, 400 - 9, h - 9), EdgeFrame(3));
  EXPECT_EQ(At(img, 399, h - 1), EdgeFrame(3));
}

TEST_F(SkinStatusBarTest, WithoutPanelsTheSimpleTextSpansALoweredBar) {
  bar->SetSimpleText(L"Ready");
  Skin(&tabsFrame);
  const Image img = PaintToImage(bar->Handle());
  EXPECT_EQ(At(img, 200, 2), EdgeFrame(1));
  EXPECT_EQ(At(img, 300, 2), EdgeFrame(1));
  EXPECT_GT(CountColour(img, 0, 60, 0, img.Height(), kStatusTextRGB), 0) << "left-aligned";
  EXPECT_EQ(CountColour(img, 60, 400, 0, img.Height(), kStatusTextRGB), 0);
}

TEST_F(SkinStatusBarTest, WithoutEdgeImagesPanelsGetOnePixelSystemEdges) {
  TTestFrame plain{nullptr, BuildTabsSkin({.statusEdges = false})};
  AddPanel(L"", 100, pbLowered);
  AddPanel(L"", 100, pbRaised);
  Skin(&plain);
  const Image img = PaintToImage(bar->Handle());
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const RECT p0 = bar->PanelRect(0), p1 = bar->PanelRect(1);
  EXPECT_EQ(At(img, p0.left, p0.top + 5), shadow);
  EXPECT_EQ(At(img, p0.left + 5, p0.bottom - 1), light);
  EXPECT_EQ(At(img, p0.left + 1, p0.top + 5), kFaceRGB) << "one pixel wide";
  EXPECT_EQ(At(img, p1.left + 5, p1.top), light);
  EXPECT_EQ(At(img, p1.left + 5, p1.bottom - 1), shadow);
  plain.ReleaseAll();
}

}  // namespace
