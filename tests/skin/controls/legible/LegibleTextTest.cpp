// Labels and the group-box caption under a dark skin: light text on the
// skin's face while skinned, and every colour back exactly on unskin.
#include <windows.h>

#include "gui/StdCtrls.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinGroupBox.h"
#include "tests/skin/controls/kinds/KindsFixture.h"

using namespace skintest;
using namespace twtest;

namespace {

const COLORREF kDarkFace = RGB(40, 44, 48), kLightText = RGB(230, 232, 234);

std::unique_ptr<TSkinModel> DarkSkin() {
  SkinTestPackage p("[Colours]\nButtonFace=40 44 48\nButtonShadow=90 90 90\nButtonText=230 232 234\n");
  auto model = std::make_unique<TSkinModel>();
  p.BuildInto(*model);
  return model;
}

struct Counts {
  int light = 0, dark = 0, red = 0, face = 0;
};

// Pixels of `img` inside `r` by kind: near the light text, dark (the
// default text colour), pure-ish red, and the face itself.
Counts Count(const Image& img, RECT r) {
  Counts c;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF p = At(img, x, y);
      const int R = GetRValue(p), G = GetGValue(p), B = GetBValue(p);
      if (p == kDarkFace) ++c.face;
      else if (R > 200 && G > 200 && B > 200) ++c.light;
      else if (R > 150 && G < 80 && B < 80) ++c.red;
      else if (R < 30 && G < 30 && B < 30) ++c.dark;
    }
  return c;
}

class LegibleTextTest : public KindsTest {};

TEST_F(LegibleTextTest, LabelAndCaptionReadOnDarkFaceAndComeBackOnUnskin) {
  frame = std::make_unique<TTestFrame>(form->Handle(), DarkSkin());
  auto* box = new TGroupBox(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 240, 100);
  box->Font()->SetHeight(12);
  box->SetCaption(L"WWWW");
  auto* plain = new TLabel(form);
  plain->SetParent(box);
  plain->SetBounds(20, 30, 80, 16);
  plain->SetCaption(L"WWWW");
  auto* red = new TLabel(form);
  red->SetParent(box);
  red->SetBounds(20, 60, 80, 16);
  red->SetCaption(L"WWWW");
  red->Font()->SetColor(clRed);  // a chosen colour stays
  PumpUntilIdle();

  const TColor boxColour = box->Color(), plainColour = plain->Color();
  const bool boxParentColour = box->ParentColor();
  const TColor plainFont = plain->Font()->Color(), redFont = red->Font()->Color();
  ASSERT_TRUE(plain->ParentFont());

  // As the dispatch attaches a group box: without asking for the colour.
  auto* skin = new TSkinGroupBox(box);
  skin->AttachControl(frame.get(), false, nullptr);
  PumpUntilIdle();
  const Image img = PaintToImage(box->Handle());
  ASSERT_EQ(img.Width(), 240);

  const Counts caption = Count(img, RECT{8, 0, 60, 12});
  EXPECT_GT(caption.light, 10) << "caption in the skin's text colour";
  EXPECT_EQ(caption.dark, 0);
  const Counts label = Count(img, RECT{22, 32, 100, 46});
  EXPECT_GT(label.light, 10) << "label text in the skin's text colour";
  EXPECT_EQ(label.dark, 0);
  EXPECT_GT(label.face, label.light) << "label background is the skin's face, not a box of its own";
  EXPECT_EQ(At(img, 98, 44), kDarkFace);
  const Counts chosen = Count(img, RECT{22, 62, 100, 76});
  EXPECT_GT(chosen.red, 10) << "an explicitly chosen font colour is kept";
  EXPECT_EQ(chosen.light, 0);

  frame->ReleaseAll();  // unskin and free, as the frame does
  EXPECT_EQ(box->Color(), boxColour);
  EXPECT_EQ(box->ParentColor(), boxParentColour);
  EXPECT_EQ(plain->Color(), plainColour);
  EXPECT_TRUE(plain->ParentColor());
  EXPECT_EQ(plain->Font()->Color(), plainFont);
  EXPECT_TRUE(plain->ParentFont());
  EXPECT_EQ(red->Font()->Color(), redFont);
}

TEST_F(LegibleTextTest, ColourChosenWhileSkinnedSurvivesUnskin) {
  frame = std::make_unique<TTestFrame>(form->Handle(), DarkSkin());
  auto* box = new TGroupBox(form);
  box->SetParent(form);
  auto* label = new TLabel(form);
  label->SetParent(box);
  auto* skin = new TSkinGroupBox(box);
  skin->AttachControl(frame.get(), false, nullptr);
  ASSERT_EQ(ColorToRGB(label->Font()->Color()), kLightText);
  label->Font()->SetColor(clBlue);  // the program's own choice
  frame->ReleaseAll();
  EXPECT_EQ(label->Font()->Color(), clBlue);
}

TEST_F(LegibleTextTest, PanelCaptionReadsOnDarkFaceAndComesBackOnUnskin) {
  frame = std::make_unique<TTestFrame>(form->Handle(), DarkSkin());
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 160, 40);
  panel->Font()->SetHeight(12);
  panel->SetCaption(L"WWWW");
  PumpUntilIdle();
  const TColor font = panel->Font()->Color();
  const bool parentFont = panel->ParentFont();

  auto* skin = new TSkinBox(panel);
  skin->AttachControl(frame.get(), true, nullptr);
  PumpUntilIdle();
  const Counts caption = Count(PaintToImage(panel->Handle()), RECT{40, 8, 120, 32});
  EXPECT_GT(caption.light, 10) << "the panel's own caption in the skin's text colour";
  EXPECT_EQ(caption.dark, 0);

  frame->ReleaseAll();
  EXPECT_EQ(panel->Font()->Color(), font);
  EXPECT_EQ(panel->ParentFont(), parentFont);
}

}  // namespace
