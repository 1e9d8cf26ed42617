#include <gtest/gtest.h>

#include "skin/data/ImgUtil.h"
#include "tests/skin/data/model/SkinTestPackage.h"

namespace {

uint32_t Px(const Image& img, int x, int y) { return PixelRGB(img.Pixel(x, y)); }

TSkinModel Built(const SkinTestPackage& p, const TSkinEnvironment& env = SkinTestPackage::DefaultEnvironment()) {
  TSkinModel m;
  EXPECT_TRUE(p.BuildInto(m, env));
  return m;
}

TEST(SkinModel, BeforeTheFirstBuildOnlyTheFixedElementsExist) {
  TSkinModel m;
  for (const TDataSkinObject* e : {static_cast<const TDataSkinObject*>(m.Title.get()),
                                   static_cast<const TDataSkinObject*>(m.Buttons.get()),
                                   static_cast<const TDataSkinObject*>(m.FrameLeft.get()),
                                   static_cast<const TDataSkinObject*>(m.FrameRight.get()),
                                   static_cast<const TDataSkinObject*>(m.FrameTop.get()),
                                   static_cast<const TDataSkinObject*>(m.FrameBottom.get())}) {
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->Bitmap.Empty()) << e->Name;
  }
  EXPECT_EQ(m.Title->Name, "Title");
  EXPECT_EQ(m.FrameTop->Name, "Top");
  for (int i = 0; i < kSkinElementCount; ++i) EXPECT_EQ(m.Element(SkinElement(i)), nullptr) << i;
  EXPECT_TRUE(m.SysButtons.empty());
  EXPECT_EQ(m.ButtonFaceColour, SystemColour(15));
}

TEST(SkinModel, ImageKeysNameBmpFilesOfThePackage) {
  SkinTestPackage p(R"([MenuItem]
Image=menu.bmp
[MenuBackground]
Image=Menu.BMP
[Scrollbar]
Image=C:\skins\deep\menu.bmp
[HorzScroll]
Image=d:MENU.bmp
[VertScroll]
Image=menu
[ExtraImages]
Image=missing.bmp
[Headerbar]
Image=junk.bmp
[ToolBars]
Image=folder\
[StatusBarEdges]
Image=menu.bmp.txt
[Buttons]
Bitmap=empty.bmp
)");
  p.Add("menu.bmp", 12, 7, 0x123456).AddBytes("junk.bmp", {'B', 'M', 1, 2, 3}).AddBytes("empty.bmp", {});
  const TSkinModel m = Built(p);

  ASSERT_NE(m.MenuItem(), nullptr);
  EXPECT_EQ(m.MenuItem()->Bitmap.Width(), 12);
  EXPECT_EQ(Px(m.MenuItem()->Bitmap, 0, 0), 0x123456u);
  // Folders and drive prefixes are dropped, the name is found in any case...
  EXPECT_EQ(m.Scrollbar()->Bitmap.Width(), 12);
  EXPECT_EQ(m.HorzScroll()->Bitmap.Width(), 12);
  // ...but the extension must be exactly ".bmp". Elements whose value names
  // nothing usable exist with an empty image.
  for (const TDataSkinObject* e : {m.MenuBackground(), m.VertScroll(), m.ExtraImages(), m.Headerbar(),
                                   m.ToolBars(), m.StatusBarEdges()}) {
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->Bitmap.Empty()) << e->Name;
  }
  EXPECT_TRUE(m.Buttons->Bitmap.Empty());
  // Sections without an image key make no element.
  EXPECT_EQ(m.MenuBar(), nullptr);
  EXPECT_EQ(m.SunkEdge(), nullptr);
}

TEST(SkinModel, GenericElementsReadTheirSection) {
  SkinTestPackage p(R"([Colours]
ButtonText=1 2 3
[MenuItem]
image=item.bmp
Style=3
LeftWidth=1
RightWidth=2
TopHeight=3
BottomHeight=4
Trans=1
Tile=2
Frame=9
NormalColour=0x00FF00
MouseOverColour=$FF
PressedColour=oops
NormalColour2=10,20,30
[Tab.Pane]
Image=pane.bmp
LeftWidth=10
TopHeight=4
RightWidth=5
BottomHeight=-2
Tile=1
[Headerbar]
Image=item.bmp
FRAME=4
[Progress.Chunk]
Image=item.bmp
[GroupBox]
Image=item.bmp
BackgroundAlignment=2
BackgroundLeftShift=-3
BackgroundRightShift=8
Frame=7
[MenuBackground]
Style=1
LeftWidth=3
)");
  p.Add("item.bmp", 10, 10, 0x808080).Add("pane.bmp", 10, 10, 0x808080);
  const TSkinModel m = Built(p);

  const TDataSkinObject& item = *m.MenuItem();
  EXPECT_EQ(item.Name, "MenuItem");
  EXPECT_EQ(item.Style, 3);
  EXPECT_EQ(item.LeftWidth, 1);
  EXPECT_EQ(item.RightWidth, 2);
  EXPECT_EQ(item.TopHeight, 3);
  EXPECT_EQ(item.BottomHeight, 4);
  EXPECT_EQ(item.Trans, 1);
  EXPECT_EQ(item.Tile, 0) << "a tile value above 1 means stretched";
  EXPECT_EQ(item.FrameCount, 5) << "the menu item strip always has 5 frames";
  EXPECT_EQ(item.NormalColour, 65280);
  EXPECT_EQ(item.MouseOverColour, 255);
  EXPECT_EQ(item.PressedColour, -1);
  EXPECT_EQ(item.NormalColour2, MakeColour(10, 20, 30));
  EXPECT_EQ(item.MouseOverColour2, MakeColour(1, 2, 3)) << "absent: the skin's button text colour";

  const TDataSkinObject& pane = *m.TabPane();
  EXPECT_EQ(pane.LeftWidth, 4);
  EXPECT_EQ(pane.TopHeight, 4);
  EXPECT_EQ(pane.RightWidth, 4);
  EXPECT_EQ(pane.BottomHeight, -2);
  EXPECT_EQ(pane.Tile, 1);
  EXPECT_EQ(pane.FrameCount, 1);

  EXPECT_EQ(m.Headerbar()->FrameCount, 4);
  EXPECT_EQ(m.ProgressChunk()->FrameCount, 0) << "the chunk's frame key has no fallback";

  const TDataSkinBoxLabel& box = *m.GroupBox();
  EXPECT_EQ(box.BackgroundAlignment, 2);
  EXPECT_EQ(box.BackgroundLeftShift, -3);
  EXPECT_EQ(box.BackgroundRightShift, 8);
  EXPECT_EQ(box.FrameCount, 1);

  EXPECT_EQ(m.MenuBackground(), nullptr) << "no image key, no element";
}

TEST(SkinModel, FrameCountsFollowTheElementRules) {
  SkinTestPackage p(R"([Headerbar]
Image=a.bmp
[HorzScrollThumb]
Image=a.bmp
Frame=9
[VertScrollThumb]
Image=a.bmp
framecount=7
[Scrollbar]
Image=a.bmp
Frame=2
[Progress]
Bitmap=a.bmp
Style=1
Tile=5
Frame=9
NormalColour=7
[UpDown.Horz]
Image=a.bmp
Frame=3
[Trackbar.ThumbUp]
Image=a.bmp
)");
  p.Add("a.bmp", 40, 10, 0);
  const TSkinModel m = Built(p);
  EXPECT_EQ(m.Headerbar()->FrameCount, 5);
  EXPECT_EQ(m.HorzScrollThumb()->FrameCount, 3);
  EXPECT_EQ(m.VertScrollThumb()->FrameCount, 7);
  EXPECT_EQ(m.Scrollbar()->FrameCount, 23);
  EXPECT_EQ(m.UpDownHorz()->FrameCount, 8);
  EXPECT_EQ(m.TrackThumbUp()->FrameCount, 5);
  EXPECT_EQ(m.Title->FrameCount, 2);
  EXPECT_EQ(m.Buttons->FrameCount, 5);
  ASSERT_NE(m.Progress(), nullptr);
  EXPECT_EQ(m.Progress()->FrameCount, 1) << "a styled progress bar is one frame";
  EXPECT_EQ(m.Progress()->Tile, 1) << "progress tile values above 1 mean tiled";
  EXPECT_EQ(m.Progress()->NormalColour, -1) << "the progress bar reads no colours";

  SkinTestPackage q("[Progress]\nBitmap=a.bmp\n");
  q.Add("a.bmp", 40, 10, 0);
  EXPECT_EQ(Built(q).Progress()->FrameCount, 2);
}

TEST(SkinModel, SecondImagesOfBordersAndMenuBar) {
  SkinTestPackage p(R"([Personality]
menuBar=bar.bmp
TileMenu=7
Style=2
Trans=1
LeftWidth=9
[Tabs]
Image=a.bmp
Border=b.bmp
[UpDown.Vert]
Image=a.bmp
GlyphImage=b.bmp
[UpDown.Horz]
Image=a.bmp
)");
  p.Add("a.bmp", 40, 10, 0x111111).Add("b.bmp", 5, 6, 0x222222).Add("bar.bmp", 20, 9, 0x333333);
  const TSkinModel m = Built(p);
  EXPECT_EQ(m.Tabs()->Bitmap2.Width(), 5);
  EXPECT_EQ(m.UpDownVert()->Bitmap2.Height(), 6);
  EXPECT_TRUE(m.UpDownHorz()->Bitmap2.Empty());

  const TDataSkinObject& bar = *m.MenuBar();
  EXPECT_EQ(bar.Name, "Personality");
  EXPECT_EQ(bar.Bitmap.Width(), 20);
  EXPECT_EQ(bar.Tile, 1);
  EXPECT_EQ(bar.LeftWidth, 1) << "menu bar margins come from TileLeftMenu, default 1";
  EXPECT_EQ(bar.RightWidth, 1);
  EXPECT_EQ(bar.TopHeight, 0);
  EXPECT_EQ(bar.FrameCount, 2);
  EXPECT_EQ(bar.Style, 2);
  EXPECT_EQ(bar.Trans, 1);
}

TEST(SkinModel, TrackFallsBackToTheBuiltInImages) {
  SkinTestPackage none("[Buttons]\n");
  const TSkinModel m = Built(none);
  ASSERT_NE(m.Track(), nullptr);
  ASSERT_NE(m.TrackVert(), nullptr);
  const TSkinEnvironment& env = SkinTestPackage::DefaultEnvironment();
  EXPECT_EQ(m.Track()->Bitmap, env.Track);
  EXPECT_EQ(m.TrackVert()->Bitmap, env.TrackVert);
  for (const TDataSkinObject* t : {m.Track(), m.TrackVert()}) {
    EXPECT_EQ(t->LeftWidth, 3);
    EXPECT_EQ(t->TopHeight, 3);
    EXPECT_EQ(t->RightWidth, 3);
    EXPECT_EQ(t->BottomHeight, 3);
    EXPECT_EQ(t->Tile, 0);
    EXPECT_EQ(t->FrameCount, 1);
  }

  const TSkinModel full = Built(FullSkin());
  EXPECT_EQ(full.Track()->Bitmap.Width(), 32);
  EXPECT_EQ(full.Track()->FrameCount, 2);
  EXPECT_EQ(full.Track()->LeftWidth, 0);
  EXPECT_EQ(full.TrackVert()->Bitmap.Height(), 16);
}

TEST(SkinModel, FrameBordersCountTheirMarginsAlongTheirLength) {
  SkinTestPackage p(R"([Personality]
Left=l.bmp
LeftTopHeight=20
LeftBotHeight=5
LeftFrame=2
LeftStretch=9
LeftTrans=0
Top=t.bmp
TopTopHeight=30
TopBotHeight=31
)");
  p.Add("l.bmp", 6, 40, 0).Add("t.bmp", 90, 30, 0);
  const TSkinModel m = Built(p);
  const TDataSkinBorder& left = *m.FrameLeft;
  EXPECT_EQ(left.Name, "Left");
  EXPECT_EQ(left.TopHeight, 20);
  EXPECT_EQ(left.BottomHeight, 5);
  EXPECT_EQ(left.LeftWidth, 0);
  EXPECT_EQ(left.RightWidth, 0);
  EXPECT_EQ(left.FrameCount, 2);
  EXPECT_EQ(left.Tile, 1);
  EXPECT_EQ(left.Trans, 0);
  const TDataSkinBorder& top = *m.FrameTop;
  EXPECT_EQ(top.LeftWidth, 30);
  EXPECT_EQ(top.RightWidth, 31);
  EXPECT_EQ(top.TopHeight, 0);
  EXPECT_EQ(top.BottomHeight, 0);
  EXPECT_EQ(top.FrameCount, 1);
  EXPECT_EQ(top.Tile, 1);
  EXPECT_EQ(top.Trans, 1);
  EXPECT_TRUE(m.FrameBottom->Bitmap.Empty());
  EXPECT_EQ(m.FrameBottom->Trans, 1);
}

TEST(SkinModel, ColoursFallBackToSystemColours) {
  SkinTestPackage p(R"([Colours]
ButtonFace=200 201 202
HilightText=
MenuText=x
[colour.one]
color=1 2 3
[Colours]
WindowText=9 9 9
[COLOURB]
[Customcolors]
Color0=10 20 30
Color9=40,50,60
Color10=1 1 1
)");
  const TSkinModel m = Built(p);
  EXPECT_EQ(m.ButtonFaceColour, MakeColour(200, 201, 202));
  EXPECT_EQ(m.MenubarColour, m.ButtonFaceColour) << "menu bar follows the button face";
  EXPECT_EQ(m.HilightTextColour, SystemColour(14));
  EXPECT_EQ(m.MenuTextColour, kBlack) << "text without digits is black";
  EXPECT_EQ(m.WindowTextColour, SystemColour(8)) << "only the first [Colours] counts";
  EXPECT_EQ(m.ButtonlightColour, SystemColour(20));
  EXPECT_EQ(m.ButtonDkShadowColour, SystemColour(21));
  EXPECT_EQ(m.TitleTextNoActiveColour, SystemColour(19));
  ASSERT_EQ(m.ColourList.size(), 2u);
  EXPECT_EQ(m.ColourList[0], MakeColour(1, 2, 3));
  EXPECT_EQ(m.ColourList[1], SystemColour(8));
  EXPECT_EQ(m.CustomColours[0], MakeColour(10, 20, 30));
  EXPECT_EQ(m.CustomColours[9], MakeColour(40, 50, 60));
  for (int n = 1; n < 9; ++n) EXPECT_EQ(m.CustomColours[n], kWhite) << n;
}

TEST(SkinModel, TitleTextColoursNeedAllThreeChannels) {
  SkinTestPackage p(R"([Personality]
TextBack=back.bmp
TextShift=7
TextShiftVert=3
TextRightClip=40
ActiveTextR=300
ActiveTextG=0
ActiveTextB=$10
InActiveTextR=1
InActiveTextG=2
InActiveTextB=-1
[Fonts]
FontHeight=abc
)");
  p.Add("back.bmp", 8, 8, 0);
  const TSkinModel m = Built(p);
  const TDataSkinTitle& t = *m.Title;
  EXPECT_EQ(t.Bitmap.Width(), 8);
  EXPECT_EQ(t.LeftWidth, 7);
  EXPECT_EQ(t.TopHeight, 3);
  EXPECT_EQ(t.RightWidth, 40);
  EXPECT_EQ(t.BottomHeight, 0);
  EXPECT_EQ(t.ActiveTextColour, MakeColour(300 & 255, 0, 16));
  EXPECT_EQ(t.InactiveTextColour, kColourNotSet);
  EXPECT_EQ(t.FontHeight, 14);
  EXPECT_EQ(Built(FullSkin()).Title->FontHeight, 12);
}

TEST(SkinModel, ButtonsDeriveCheckAndRadioFrameCounts) {
  SkinTestPackage p(R"([Buttons]
Bitmap=b.bmp
Tile=3
Trans=1
CheckButton=check.bmp
RadioButton=radio.bmp
MouseOverColour2=1 2 3
PressedColour2=x
)");
  p.Add("b.bmp", 100, 21, 0).Add("check.bmp", 96, 16, 0).Add("radio.bmp", 65, 15, 0);
  TSkinModel m = Built(p);
  const TDataSkinButton& b = *m.Buttons;
  EXPECT_EQ(b.Tile, 0);
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.CheckFrameCount, 6) << "16-pixel frames from 16 pixels high";
  EXPECT_EQ(b.RadioFrameCount, 5) << "13-pixel frames below 16 pixels high";
  EXPECT_EQ(b.HasNormalColour2, 0);
  EXPECT_EQ(b.HasMouseOverColour2, 1);
  EXPECT_EQ(b.HasPressedColour2, 1);
  EXPECT_EQ(b.NormalColour2, SystemColour(18));
  EXPECT_EQ(b.MouseOverColour2, MakeColour(1, 2, 3));
  EXPECT_EQ(b.PressedColour2, kBlack);

  SkinTestPackage q("[Buttons]\nCheckButton=check.bmp\nRadioButtonFrame=2\n");
  q.Add("check.bmp", 32, 16, 0);
  m = Built(q);
  EXPECT_EQ(m.Buttons->CheckFrameCount, 4) << "at least 4 frames";
  EXPECT_EQ(m.Buttons->RadioFrameCount, 2) << "a stated count stays";
}

TEST(SkinModel, CaptionButtonsAreFilteredAndCounted) {
  SkinTestPackage p(R"([Button]
ButtonImage=wide.bmp
[Buttons]
[Button.Radio]
ButtonImage=wide.bmp
[button.checkbox]
ButtonImage=wide.bmp
[ButtonNarrow]
ButtonImage=narrow.bmp
[buttonWide]
ButtonImage=wide.bmp
Align=2
Xcoord=5
Ycoord=6
CombineOp=3
[ButtonEdge]
ButtonImage=edge.bmp
[ButtonOver]
ButtonImage=over.bmp
[ButtonHidden]
Action=-1
ButtonImage=narrow.bmp
[ButtonShown]
Action=-1
Visibility=0
ButtonImage=narrow.bmp
[ButtonIcon]
Action=3
ButtonImage=narrow.bmp
[ButtonIconFramed]
Action=11
frame=2
ButtonImage=narrow.bmp
[ButtonNoImage]
Action=2
)");
  p.Add("narrow.bmp", 60, 20, 0).Add("wide.bmp", 120, 20, 0).Add("edge.bmp", 76, 20, 0).Add("over.bmp", 77, 20, 0);
  const TSkinModel m = Built(p);

  std::vector<std::string> names;
  for (const auto& b : m.SysButtons) names.push_back(b->Name);
  const std::vector<std::string> expected = {"BUTTONNARROW", "BUTTONWIDE",      "BUTTONEDGE",    "BUTTONOVER",
                                             "BUTTONSHOWN",  "BUTTONICON",      "BUTTONICONFRAMED", "BUTTONNOIMAGE",
                                             "MDICONTROLS",  "MDICONTROLS",     "MDICONTROLS"};
  ASSERT_EQ(names, expected);
  auto at = [&](size_t i) -> const TDataSkinSysButton& { return *m.SysButtons[i]; };
  EXPECT_EQ(at(0).FrameCount, 3) << "60 x 20 is three frames";
  EXPECT_EQ(at(1).FrameCount, 6) << "120 x 20 is six frames";
  EXPECT_EQ(at(2).FrameCount, 3) << "a ratio of exactly 3.8 is three frames";
  EXPECT_EQ(at(3).FrameCount, 6);
  EXPECT_EQ(at(1).Align, 2);
  EXPECT_EQ(at(1).XCoord, 5);
  EXPECT_EQ(at(1).YCoord, 6);
  EXPECT_EQ(at(1).CombineOp, 3);
  EXPECT_EQ(at(0).CombineOp, -1);
  EXPECT_EQ(at(0).Visibility1, 0);
  // Action -1 with Visibility 0 stays, as six frames with Visibility1 -1.
  EXPECT_EQ(at(4).Action, -1);
  EXPECT_EQ(at(4).FrameCount, 6);
  EXPECT_EQ(at(4).Visibility1, -1);
  // The icon button draws the window icon: its image goes, unless the skin
  // states the frame count.
  EXPECT_TRUE(at(5).Bitmap.Empty());
  EXPECT_EQ(at(5).FrameCount, 3);
  EXPECT_EQ(at(6).Bitmap.Width(), 60);
  EXPECT_EQ(at(6).FrameCount, 2);
  EXPECT_EQ(at(7).FrameCount, 6);

  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = at(8 + i);
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_TRUE(b.Bitmap.Empty()) << "no [MDICONTROLS] image";
    EXPECT_EQ(b.XCoord, 0);
  }
}

TEST(SkinModel, ChildWindowButtonsAreCutFromOneStrip) {
  SkinTestPackage p("[MDICONTROLS]\nImage=mdi.bmp\n");
  p.Add("mdi.bmp", FrameStrip(12, 10, 9, 0x400000));
  const TSkinModel m = Built(p);
  ASSERT_EQ(m.SysButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = *m.SysButtons[i];
    EXPECT_EQ(b.Bitmap.Width(), 40);
    EXPECT_EQ(b.Bitmap.Height(), 9);
    EXPECT_EQ(b.XCoord, 14 * (3 - i));
    for (int f = 0; f < 4; ++f) EXPECT_EQ(Px(b.Bitmap, 10 * f + 5, 4), 0x400000u | uint32_t(4 * i + f + 1));
  }
}

// The sunken edit edge and the drop button become one strip of 50 x 21 cells.
TEST(SkinModel, CombinedComboButton) {
  const TSkinModel m = Built(FullSkin());
  const int w = 17 + 2;
  const TDataSkinBorder& combo = *m.ComboButton();
  const TDataSkinObject& sunk = *m.SunkEdge();
  ASSERT_EQ(combo.Bitmap.Width(), 200);
  ASSERT_EQ(combo.Bitmap.Height(), 21);
  EXPECT_EQ(combo.Style, 2);
  EXPECT_EQ(combo.LeftWidth, 2);
  EXPECT_EQ(combo.RightWidth, w + 2);
  EXPECT_EQ(combo.TopHeight, 2);
  EXPECT_EQ(combo.BottomHeight, 2);
  EXPECT_EQ(combo.FrameCount, 4);
  EXPECT_EQ(combo.Bitmap.BitCount(), 24);

  for (int k = 1; k <= 4; ++k) {
    const int x0 = 50 * (k - 1);
    const uint32_t sunkColour = 0x260000u | uint32_t(k);
    const uint32_t comboColour = 0x250000u | uint32_t(k);
    const uint32_t arrowColour = 0x270000u | uint32_t(k);
    EXPECT_EQ(Px(combo.Bitmap, x0 + 0, 10), sunkColour) << k;
    EXPECT_EQ(Px(combo.Bitmap, x0 + 10, 1), sunkColour) << k;
    EXPECT_EQ(Px(combo.Bitmap, x0 + 10, 10), kMagenta) << "the edit area is a hole";
    EXPECT_EQ(Px(combo.Bitmap, x0 + 50 - w - 2, 10), kMagenta);
    EXPECT_EQ(Px(combo.Bitmap, x0 + 50 - w, 1), comboColour) << k;
    EXPECT_EQ(Px(combo.Bitmap, x0 + 49, 20), comboColour) << k;
    // The 7 x 7 arrow sits centred in the 19 x 21 button part.
    EXPECT_EQ(Px(combo.Bitmap, x0 + 50 - w + 6, 7), arrowColour) << k;
    EXPECT_EQ(Px(combo.Bitmap, x0 + 50 - w + 12, 13), arrowColour) << k;
    EXPECT_EQ(Px(combo.Bitmap, x0 + 50 - w + 5, 7), comboColour) << k;
  }

  // The left-hand variant is the whole strip mirrored.
  ASSERT_EQ(sunk.Bitmap.Width(), 200);
  for (int y = 0; y < 21; y += 5)
    for (int x = 0; x < 200; x += 7) ASSERT_EQ(Px(sunk.Bitmap, 199 - x, y), Px(combo.Bitmap, x, y)) << x << "," << y;
  EXPECT_EQ(sunk.LeftWidth, w + 2);
  EXPECT_EQ(sunk.RightWidth, 2);
  EXPECT_EQ(sunk.FrameCount, 4);

  // Bitmap2 keeps the skin's own combo image, mirrored.
  ASSERT_EQ(combo.Bitmap2.Width(), 68);
  EXPECT_EQ(Px(combo.Bitmap2, 0, 0), 0x250004u);
  EXPECT_EQ(Px(combo.Bitmap2, 67, 0), 0x250001u);

  // The arrow element holds the 17 x 17 arrow cell of each frame.
  const TDataSkinObject& arrow = *m.ComboArrow();
  EXPECT_EQ(arrow.Name, "ComboxArrow");
  ASSERT_EQ(arrow.Bitmap.Width(), 68);
  ASSERT_EQ(arrow.Bitmap.Height(), 17);
  EXPECT_EQ(arrow.FrameCount, 4);
  for (int i = 0; i < 4; ++i)
    for (int y = 0; y < 17; y += 4)
      for (int x = 0; x < 17; x += 4)
        ASSERT_EQ(Px(arrow.Bitmap, 17 * i + x, y), Px(combo.Bitmap, (i + 1) * 50 - 19 + x, 2 + y));
}

TEST(SkinModel, ComboButtonWithoutSunkEdge) {
  Image img = FrameStrip(4, 10, 10, 0x500000);
  img.FillRect(MakeRect(0, 0, 2, 2), kMagenta);
  img.SetPixel(5, 5, 0xFF01FF);
  SkinTestPackage p("[Colours]\nButtonFace=10 20 30\n[ComboButton]\nImage=c.bmp\nStyle=1\n****=glyph.bmp\n");
  p.Add("c.bmp", img).Add("glyph.bmp", 3, 3, 0);
  const TSkinModel m = Built(p);
  const TDataSkinBorder& combo = *m.ComboButton();
  EXPECT_EQ(combo.Style, 1) << "not combined";
  EXPECT_EQ(combo.Bitmap, img);
  EXPECT_EQ(combo.Bitmap2.Width(), 40) << "the mirrored copy replaces the unused second key";
  EXPECT_EQ(Px(combo.Bitmap2, 39, 0), kMagenta);
  const TDataSkinObject& arrow = *m.ComboArrow();
  EXPECT_EQ(arrow.FrameCount, 4);
  EXPECT_EQ(Px(arrow.Bitmap, 0, 0), 0x0A141Eu) << "magenta becomes the button face";
  EXPECT_EQ(Px(arrow.Bitmap, 5, 5), 0xFF01FFu) << "only exact magenta is replaced";
  EXPECT_EQ(Px(arrow.Bitmap, 15, 5), 0x500002u);

  // Without a combo button the arrow element exists, empty.
  const TSkinModel none = Built(SkinTestPackage("[SunkEdge]\nImage=x.bmp\n"));
  ASSERT_NE(none.ComboArrow(), nullptr);
  EXPECT_TRUE(none.ComboArrow()->Bitmap.Empty());
}

TEST(SkinModel, ComboButtonSurvivesOddArrowWidths) {
  for (int arrowWidth : {-40, 0, 45, 60, 1000}) {
    TSkinEnvironment env;
    env.HScrollArrowWidth = arrowWidth;
    const TSkinModel m = Built(FullSkin(), env);
    ASSERT_NE(m.ComboButton(), nullptr);
    EXPECT_EQ(m.ComboButton()->Bitmap.Width(), 200) << arrowWidth;
    EXPECT_EQ(m.ComboButton()->RightWidth, arrowWidth + 4);
    EXPECT_EQ(m.ComboArrow()->Bitmap.Width(), 68);
  }
}

// Expected colours worked out by hand from the blend and saturation rules.
TEST(SkinModel, ToolbarGradientFollowsTheFrameColour) {
  // The last row is the gradient's entry 39 of 40 from the top colour
  // (247, 247, 247), which rounds a falling channel toward the top colour:
  // 247 + (19 + 39 * (140 - 247)) / 39 = 141.
  struct Case {
    uint32_t framePixel;  // 0xRRGGBB
    uint32_t lastRow;     // 0xRRGGBB
  };
  const Case cases[] = {
      {0x0000FF, 0x8D8DFF},  // saturated blue: bottom Blend(s, white, 45) = (140, 140, 255)
      {0xC8C8C8, 0xBEBEBE},  // bright grey: bottom Blend(0x808080, s, 150) = 189
      {0x643232, 0xAC9191},  // dark: saturation counts as 200, Blend(s, white, 54) = (171, 144, 144)
  };
  for (const Case& c : cases) {
    SkinTestPackage p("[Colours]\nButtonFace=200 200 200\n[Personality]\nTop=top.bmp\n");
    p.Add("top.bmp", 30, 10, c.framePixel);
    const TSkinModel m = Built(p);
    EXPECT_EQ(m.FrameColour, ColourFromPixel(c.framePixel));
    const TDataSkinObject& bar = *m.Toolbar();
    EXPECT_EQ(bar.Name, "Toolbar");
    ASSERT_EQ(bar.Bitmap.Width(), 10);
    ASSERT_EQ(bar.Bitmap.Height(), 40);
    EXPECT_EQ(bar.FrameCount, 1);
    EXPECT_EQ(Px(bar.Bitmap, 0, 0), 0xF7F7F7u) << "Blend(button face, white, 150)";
    EXPECT_EQ(Px(bar.Bitmap, 9, 39), c.lastRow) << std::hex << c.framePixel;
    // Rows are uniform and move monotonically from top to bottom.
    for (int y = 1; y < 40; ++y) {
      EXPECT_EQ(Px(bar.Bitmap, 0, y), Px(bar.Bitmap, 9, y));
      EXPECT_LE(PixelR(bar.Bitmap.Pixel(0, y)), PixelR(bar.Bitmap.Pixel(0, y - 1)));
    }
  }
}

TEST(SkinModel, FrameColourIsSampledFromTheTopBorder) {
  Image top(30, 60, 0x101010);
  top.SetPixel(10, 10, 0xABCDEF);  // x = 30 / 3, y = (60 / 2) / 3
  top.SetPixel(10, 20, 0x123456);  // y = 60 / 3
  for (const auto& [frames, expected] : std::vector<std::pair<std::string, uint32_t>>{
           {"2", 0xABCDEF}, {"1", 0x123456}, {"0", 0x123456}, {"-3", 0x123456}}) {
    SkinTestPackage p("[Personality]\nTop=top.bmp\nTopFrame=" + frames + "\n");
    p.Add("top.bmp", top);
    EXPECT_EQ(Built(p).FrameColour, ColourFromPixel(expected)) << "TopFrame=" << frames;
  }
  SkinTestPackage none("[Colours]\nButtonFace=1 2 3\n");
  EXPECT_EQ(Built(none).FrameColour, MakeColour(1, 2, 3));
  EXPECT_EQ(Built(SkinTestPackage("")).FrameColour, SystemColour(15));
}

TEST(SkinModel, SecondLoadReplacesEveryElement) {
  TSkinModel m;
  ASSERT_TRUE(FullSkin().BuildInto(m));
  EXPECT_EQ(m.BuildCount(), 1);
  EXPECT_EQ(m.SkinName, "Full Test Skin");
  for (int i = 0; i < kSkinElementCount; ++i) ASSERT_NE(m.Element(SkinElement(i)), nullptr) << i;
  EXPECT_EQ(m.SysButtons.size(), 5u);
  EXPECT_FALSE(m.ComboArrow()->Bitmap.Empty());
  const TDataSkinTitle* firstTitle = m.Title.get();

  SkinTestPackage second(R"([Buttons]
LeftWidth=1
[Tab.Pane]
Image=pane.bmp
)");
  second.Add("pane.bmp", 3, 3, 0x777777);
  ASSERT_TRUE(second.BuildInto(m));
  EXPECT_EQ(m.BuildCount(), 2);
  EXPECT_EQ(m.SkinName, "");
  for (int i = 0; i < kSkinElementCount; ++i) {
    const SkinElement id = SkinElement(i);
    const bool stays = id == SkinElement::TabPane || id == SkinElement::Track || id == SkinElement::TrackVert ||
                       id == SkinElement::ComboArrow || id == SkinElement::Toolbar;
    EXPECT_EQ(m.Element(id) != nullptr, stays) << i;
  }
  EXPECT_EQ(m.TabPane()->Bitmap.Width(), 3);
  EXPECT_EQ(m.Track()->Bitmap, SkinTestPackage::DefaultEnvironment().Track);
  EXPECT_TRUE(m.ComboArrow()->Bitmap.Empty()) << "no arrow of the first skin is left over";
  EXPECT_EQ(m.SysButtons.size(), 3u);
  EXPECT_TRUE(m.SysButtons[0]->Bitmap.Empty());
  EXPECT_TRUE(m.FrameTop->Bitmap.Empty());
  EXPECT_TRUE(m.Title->Bitmap.Empty());
  EXPECT_EQ(m.Title->FontHeight, 14);
  EXPECT_NE(m.Title.get(), firstTitle);
  EXPECT_TRUE(m.Buttons->CheckBitmap.Empty());
  EXPECT_EQ(m.Buttons->LeftWidth, 1);
  EXPECT_EQ(m.ButtonFaceColour, SystemColour(15));
  EXPECT_TRUE(m.ColourList.empty());
  EXPECT_EQ(m.CustomColours[3], kWhite);
}

TEST(SkinModel, JunkSettingsAndBrokenImagesGiveDefaults) {
  std::vector<uint8_t> truncated = EncodeBmp(Image(40, 40, 0x123456), 24);
  truncated.resize(truncated.size() / 2);
  SkinTestPackage p(R"([SunkEdge]
Image=cut.bmp
LeftWidth=2147483647
TopHeight=-2147483648
RightWidth=99999999999
BottomHeight=0x
Trans=yes
[ComboButton]
Image=combo.bmp
LeftWidth=-50
RightWidth=1000
[ExtraImages]
Image=combo.bmp
[Personality]
Top=combo.bmp
TopFrame=100000
[Button.X]
ButtonImage=cut.bmp
frame=-4
)");
  p.AddBytes("cut.bmp", truncated).Add("combo.bmp", 1, 1, 0x00FF00);
  const TSkinModel m = Built(p);
  EXPECT_TRUE(m.SunkEdge()->Bitmap.Width() == 200) << "combined even from an empty image";
  EXPECT_EQ(m.SunkEdge()->Trans, 0);
  EXPECT_EQ(m.ComboButton()->TopHeight, INT32_MIN);
  EXPECT_EQ(m.ComboButton()->BottomHeight, 0);
  EXPECT_EQ(m.FrameColour, ColourFromPixel(0x00FF00));
  ASSERT_EQ(m.SysButtons.size(), 4u);
  EXPECT_TRUE(m.SysButtons[0]->Bitmap.Empty());
  EXPECT_EQ(m.SysButtons[0]->FrameCount, -4);
}

}  // namespace

// ---- packages that expand ----------------------------------------------------

namespace {

// A few bytes of RLE8 that decode to a w x h image (the stream ends at once).
std::vector<uint8_t> TinyRleBmp(int w, int h) {
  std::vector<uint8_t> b = {'B', 'M'};
  auto put32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  put32(14 + 40 + 8 + 2);
  put32(0);
  put32(14 + 40 + 8);
  for (uint32_t v : {40u, uint32_t(w), uint32_t(h), 1u | (8u << 16), 1u, 2u, 0u, 0u, 2u, 0u}) put32(v);
  put32(0x00FF00FF);
  put32(0x00123456);
  b.push_back(0);
  b.push_back(1);
  return b;
}

class CountingFiles final : public TSkinFileSource {
public:
  std::vector<uint8_t> Extract(std::string_view name) const override {
    ++extracts;
    return SkinLowerCase(name) == "big.bmp" ? TinyRleBmp(2048, 2048) : std::vector<uint8_t>{};
  }
  mutable int extracts = 0;
};

}  // namespace

TEST(SkinModelAmplification, EachImageIsDecodedOnceAndThePackageHasAPixelBudget) {
  std::string text = "[Personality]\nLeft=BIG.bmp\n";
  for (int i = 0; i < 20; ++i) text += "[Button" + std::to_string(i) + "]\nAction=1\nButtonImage=big.bmp\n";
  TQuickIni ini;
  ini.LoadFromText(text);
  CountingFiles files;
  TSkinModel m;
  m.Build(files, TQuickIniSettings(ini), SkinTestPackage::DefaultEnvironment());

  EXPECT_EQ(files.extracts, 1);
  EXPECT_EQ(m.FrameLeft->Bitmap.Width(), 2048);
  std::size_t pixels = std::size_t(m.FrameLeft->Bitmap.Width()) * std::size_t(m.FrameLeft->Bitmap.Height());
  int withImage = 0;
  for (const auto& b : m.SysButtons) {
    pixels += std::size_t(b->Bitmap.Width()) * std::size_t(b->Bitmap.Height());
    withImage += b->Bitmap.Empty() ? 0 : 1;
  }
  EXPECT_LE(pixels, TSkinModel::kMaxPackagePixels);
  EXPECT_GT(withImage, 0);  // the budget holds real skins' images
  EXPECT_LT(withImage, 20);
}

// The indexed settings answer every look-up as the settings reader does.
TEST(SkinModelAmplification, IndexedSettingsAnswerAsTheReader) {
  TQuickIni ini;
  ini.LoadFromText(
      "stray=1\n[Alpha]\nKey = one\nkey=two\nEmpty=\nHex=0x1F\nDollar=$FFFFFFFF\nnoequals\n = blank key\n"
      "[ALPHA]\nKey=shadowed\nOther=3\n[ spaced ]\nA=1\n[]\nB=2\n[Beta]\nC= 12 \n[beta]\nC=13\n");
  const TQuickIniSettings settings(ini);
  const char* sections[] = {"Alpha", "alpha", "ALPHA", " spaced ", "spaced", "", "Beta", "Gamma"};
  const char* keys[] = {"key", "KEY", "Empty", "Hex", "Dollar", "noequals", "", "Other", "A", "B", "C", "stray"};
  for (const char* s : sections)
    for (const char* k : keys) {
      EXPECT_EQ(settings.ReadString(s, k, "def"), ini.ReadString(s, k, "def")) << s << "/" << k;
      EXPECT_EQ(settings.ReadInteger(s, k, -7), ini.ReadInteger(s, k, -7)) << s << "/" << k;
    }
  EXPECT_EQ(settings.ReadString("alpha", "KEY", ""), "one");
}
