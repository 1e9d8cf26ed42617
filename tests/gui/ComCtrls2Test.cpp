// Tabs and pages, track bar, up-down, status bar, header, date picker and
// the glyph buttons under Wine: built from descriptions, read and written
// by property name, driven through their windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "tests/gui/KindsForm.h"
#include "tests/support/WindowCapture.h"

namespace {

LRESULT Send(TWinControl* c, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(c->Handle(), msg, w, l); }

POINT TabCentre(TWinControl* tabs, int index) {
  RECT r{};
  Send(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

const wchar_t* kPages =
    L"TPageControl pc { Left = 8 Top = 8 Width = 300 Height = 200 ActivePage = s2\n"
    L"  OnChanging = Changing OnChange = Changed\n"
    L"  TTabSheet s1 { Caption = \"常规\" TButton b1 { Left = 4 Top = 4 } }\n"
    L"  TTabSheet s2 { Caption = \"Two\" }\n"
    L"  TTabSheet s3 { Caption = \"Three\" } }";

TEST(PageControl, OnlyTheActivePageShowsAndTabClicksSwitchPagesOnce) {
  TKindsForm* f = MakeKindsForm(kPages);
  auto* pc = Part<TPageControl>(f, L"pc");
  auto *s1 = Part<TTabSheet>(f, L"s1"), *s2 = Part<TTabSheet>(f, L"s2"), *s3 = Part<TTabSheet>(f, L"s3");
  EXPECT_EQ(pc->ActivePage(), s2);
  EXPECT_EQ(GetIntProp(pc, L"PageCount"), 3);
  EXPECT_EQ(Send(pc, TCM_GETITEMCOUNT), 3);
  EXPECT_EQ(Send(pc, TCM_GETCURSEL), 1);
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
  EXPECT_FALSE(IsWindowVisible(s1->Handle()));
  // The page fills the display area, below the tabs.
  RECT display = pc->DisplayRect();
  EXPECT_EQ(s2->Top(), display.top);
  EXPECT_GT(display.top, 10);
  // A click on the third tab.
  POINT p = TabCentre(pc, 2);
  ClickAt(pc->Handle(), p.x, p.y);
  EXPECT_EQ(pc->ActivePage(), s3);
  EXPECT_TRUE(IsWindowVisible(s3->Handle()));
  EXPECT_FALSE(IsWindowVisible(s2->Handle()));
  EXPECT_EQ(f->events, (std::vector<std::wstring>{L"pc:changing", L"pc:change"}));
  // A refused change keeps the page.
  f->events.clear();
  f->allowChange = false;
  p = TabCentre(pc, 0);
  ClickAt(pc->Handle(), p.x, p.y);
  EXPECT_EQ(pc->ActivePage(), s3);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"pc:changing"});
  // Hiding a tab renumbers the others; the active page keeps its own tab.
  SetPropText(s1, L"TabVisible", L"False");
  EXPECT_EQ(Send(pc, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(s3->TabIndex(), 1);
  EXPECT_EQ(Send(pc, TCM_GETCURSEL), 1);
  // Tabs show their page's image.
  auto* il = new TImageList(f);
  s2->SetImageIndex(3);
  pc->SetImages(il);
  TCITEMW item = {};
  item.mask = TCIF_IMAGE;
  Send(pc, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 3);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(Send(pc, TCM_GETIMAGELIST)), il->Handle());
  TComponent::Free(il);
  EXPECT_EQ(pc->Images(), nullptr);
  EXPECT_EQ(Send(pc, TCM_GETIMAGELIST), 0);
  // Freeing the active page shows another one, and the page control goes on.
  TComponent::Free(s3);
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), s2);
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
  SetPropText(pc, L"ActivePageIndex", L"0");  // a page whose tab is hidden cannot be active
  EXPECT_EQ(pc->ActivePage(), nullptr);
  TComponent::Free(f);
}

TEST(PageControl, PagesSurviveRecreatingTheWindowForAnotherTabPosition) {
  TKindsForm* f = MakeKindsForm(kPages);
  auto* pc = Part<TPageControl>(f, L"pc");
  auto* s2 = Part<TTabSheet>(f, L"s2");
  SetPropText(pc, L"TabPosition", L"tpBottom");
  EXPECT_TRUE(GetWindowLongW(pc->Handle(), GWL_STYLE) & TCS_BOTTOM);
  EXPECT_EQ(Send(pc, TCM_GETITEMCOUNT), 3);
  EXPECT_EQ(Send(pc, TCM_GETCURSEL), 1);
  EXPECT_EQ(GetParent(s2->Handle()), pc->Handle());
  EXPECT_TRUE(IsWindowVisible(s2->Handle()));
  EXPECT_EQ(s2->Top(), pc->DisplayRect().top) << "tabs at the bottom leave the page at the top";
  EXPECT_LT(s2->Top(), 10);
  TComponent::Free(f);
}

TEST(TabControl, TabsAndTabIndexByNameAndStyleBits) {
  TKindsForm* f = MakeKindsForm(
      L"TTabControl t { Left = 8 Top = 8 Tabs = (\"一\", \"two\") TabIndex = 1 Style = tsButtons OnChange = Changed }");
  auto* t = Part<TTabControl>(f, L"t");
  EXPECT_EQ(Send(t, TCM_GETITEMCOUNT), 2);
  EXPECT_EQ(GetIntProp(t, L"TabIndex"), 1);
  EXPECT_TRUE(GetWindowLongW(t->Handle(), GWL_STYLE) & TCS_BUTTONS);
  EXPECT_EQ(GetEnumProp(t, L"Style"), L"tsButtons");
  wchar_t text[32] = {};
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 32;
  Send(t, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(text), L"一");
  t->Tabs()->Delete(1);  // the selection moves to a tab that exists
  EXPECT_EQ(t->TabIndex(), 0);
  EXPECT_TRUE(f->events.empty());
  TComponent::Free(f);
}

TEST(TrackBar, PositionIsClampedAndKeyboardMovesFireOnChangeOnce) {
  TKindsForm* f = MakeKindsForm(L"TTrackBar t { Left = 8 Top = 8 Min = 2 Max = 8 Position = 20 OnChange = Changed }");
  auto* t = Part<TTrackBar>(f, L"t");
  EXPECT_EQ(t->Position(), 8);
  EXPECT_EQ(Send(t, TBM_GETRANGEMIN), 2);
  f->events.clear();
  t->SetFocus();
  Send(t, WM_KEYDOWN, VK_LEFT, 0);
  Send(t, WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(GetIntProp(t, L"Position"), 7);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"t:change"});
  SetPropText(t, L"Orientation", L"trVertical");
  EXPECT_TRUE(GetWindowLongW(t->Handle(), GWL_STYLE) & TBS_VERT);
  EXPECT_EQ(t->Position(), 7) << "recreating the window lost the position";
  TComponent::Free(f);
}

TEST(UpDown, ArrowsMoveTheAssociatedNumberAndCanBeRefused) {
  TKindsForm* f = MakeKindsForm(
      L"TEdit e { Left = 8 Top = 8 Width = 80 }\n"
      L"TUpDown u { Left = 100 Top = 8 Associate = e Min = 0 Max = 10 Position = 5\n"
      L"  OnChanging = Changing OnClick = UpDownClick }");
  auto* u = Part<TUpDown>(f, L"u");
  auto* e = Part<TEdit>(f, L"e");
  EXPECT_EQ(e->Text(), L"5");
  EXPECT_EQ(reinterpret_cast<HWND>(Send(u, UDM_GETBUDDY)), e->Handle());
  EXPECT_EQ(u->Left(), e->Left() + e->Width()) << "the arrows sit at the right of the edit";
  RECT r;
  GetClientRect(u->Handle(), &r);
  ClickAt(u->Handle(), r.right / 2, 2);  // upper arrow
  EXPECT_EQ(u->Position(), 6);
  EXPECT_EQ(e->Text(), L"6");
  EXPECT_EQ(f->events, (std::vector<std::wstring>{L"u:changing", L"u:next"}));
  f->allowChange = false;
  ClickAt(u->Handle(), r.right / 2, r.bottom - 2);
  EXPECT_EQ(u->Position(), 6);
  EXPECT_EQ(f->Count(L"u:prev"), 0);
  TComponent::Free(e);  // the associate goes: the reference is cleared
  EXPECT_EQ(u->Associate(), nullptr);
  EXPECT_EQ(GetObjectProp(u, L"Associate", &TWinControl::StaticClass()), nullptr);
  TComponent::Free(f);
}

TEST(StatusBar, OwnerDrawnPanelsArePaintedByOnDrawPanelAndSimpleTextShows) {
  TKindsForm* f = MakeKindsForm(
      L"TStatusBar sb { SizeGrip = False OnDrawPanel = DrawPanel\n"
      L"  Panels = { { Text = \"就绪\" Width = 100 } { Style = psOwnerDraw Width = 80 } { Text = \"end\" Alignment = taRightJustify } } }");
  auto* sb = Part<TStatusBar>(f, L"sb");
  EXPECT_EQ(sb->Align(), alBottom);
  EXPECT_EQ(sb->Top() + sb->Height(), f->ClientHeight());
  EXPECT_EQ(Send(sb, SB_GETPARTS), 3);
  twtest::PumpUntil([&] { return f->Count(L"sb:draw:1") > 0; });
  EXPECT_EQ(f->Count(L"sb:draw:0"), 0) << "a text panel was handed to OnDrawPanel";
  RECT r = sb->PanelRect(1);
  twtest::PumpUntilIdle();
  EXPECT_EQ(twtest::ScreenPixel(sb->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2), RGB(255, 0, 0));
  wchar_t text[64] = {};
  Send(sb, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"就绪");
  // Simple mode shows SimpleText over the whole bar.
  SetPropText(sb, L"SimpleText", L"转换中...");
  SetPropText(sb, L"SimplePanel", L"True");
  EXPECT_TRUE(Send(sb, SB_ISSIMPLE));
  EXPECT_EQ(GetStrProp(sb, L"SimpleText"), L"转换中...");
  TComponent::Free(f);
}

TEST(HeaderControl, SectionsReachTheWindowAndClicksNameTheirSection) {
  TKindsForm* f = MakeKindsForm(
      L"THeaderControl h { OnSectionClick = SectionClick\n"
      L"  Sections = { { Text = \"文件\" Width = 120 } { Text = \"Size\" Width = 60 Alignment = taRightJustify } } }");
  auto* h = Part<THeaderControl>(f, L"h");
  EXPECT_EQ(Send(h, HDM_GETITEMCOUNT), 2);
  EXPECT_EQ(h->Sections()->Items(0)->Width(), 120);
  RECT r{};
  Send(h, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 120);
  ClickAt(h->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"h:section:Size"});
  TComponent::Free(f);
}

TEST(DateTimePicker, DateAndTimeRoundTripAndImpossibleDatesAreRefused) {
  TKindsForm* f = MakeKindsForm(L"TDateTimePicker d { Left = 8 Top = 8 Date = \"2024-02-29\" Time = \"13:05:09\" }");
  auto* d = Part<TDateTimePicker>(f, L"d");
  EXPECT_EQ(GetStrProp(d, L"Date"), L"2024-02-29");
  EXPECT_EQ(GetStrProp(d, L"Time"), L"13:05:09");
  SYSTEMTIME st{};
  EXPECT_EQ(Send(d, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
  EXPECT_EQ(st.wDay, 29);
  EXPECT_THROW(SetPropText(d, L"Date", L"2023-02-29"), EPropertyError);
  EXPECT_THROW(SetPropText(d, L"Date", L"2023-1"), EPropertyError);
  EXPECT_THROW(SetPropText(d, L"Time", L"24:00:00"), EPropertyError);
  EXPECT_EQ(GetStrProp(d, L"Date"), L"2024-02-29") << "a refused value changed the date";
  SetPropText(d, L"Kind", L"dtkTime");
  EXPECT_TRUE(GetWindowLongW(d->Handle(), GWL_STYLE) & DTS_TIMEFORMAT);
  EXPECT_EQ(GetStrProp(d, L"Time"), L"13:05:09");
  TComponent::Free(f);
}

// A 4x2 24-bit BMP strip of two 2x2 images: red with a magenta key corner
// (bottom-left, so magenta is the transparent colour), then blue.
std::wstring GlyphHex() {
  const uint32_t w = 4, h = 2, stride = 12;
  std::vector<uint8_t> b = {'B', 'M'};
  auto le = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  le(54 + stride * h, 4), le(0, 4), le(54, 4), le(40, 4), le(w, 4), le(h, 4), le(1, 2), le(24, 2);
  for (int i = 0; i < 6; ++i) le(0, 4);
  // Bottom row first: magenta, red | blue, blue; top row: red, red | blue, blue.
  const uint32_t rows[2][4] = {{0xFF00FF, 0xFF0000, 0x0000FF, 0x0000FF}, {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF}};
  for (auto& row : rows)
    for (uint32_t px : row) b.push_back(px & 0xFF), b.push_back((px >> 8) & 0xFF), b.push_back(px >> 16);
  std::wstring hex;
  for (uint8_t v : b) hex += FormatW(L"%02X", v);
  return hex;
}

TEST(BitBtn, GlyphFromTheDescriptionIsDrawnWithItsKeyColourTransparent) {
  TKindsForm* f = MakeKindsForm(L"TBitBtn b { Left = 8 Top = 8 Width = 40 Height = 30 NumGlyphs = 2 Margin = 4 "
                                L"Glyph.Data = @hex \"" + GlyphHex() + L"\" }");
  auto* b = Part<TBitBtn>(f, L"b");
  EXPECT_EQ(GetIntProp(b, L"NumGlyphs"), 2);
  auto* glyph = static_cast<TBitmap*>(GetObjectProp(b, L"Glyph", &TBitmap::StaticClass()));
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(glyph->Width(), 4);
  b->Repaint();
  twtest::PumpUntilIdle();
  // Exactly the three red pixels of the first image, in an L; no key colour,
  // nothing of the second image.
  Image shot = twtest::CaptureClient(b->Handle());
  std::vector<POINT> red;
  int magenta = 0, blue = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      uint32_t p = PixelRGB(shot.Row(y)[x]);
      if (p == MakePixel(255, 0, 0)) red.push_back(POINT{x, y});
      magenta += p == MakePixel(255, 0, 255);
      blue += p == MakePixel(0, 0, 255);
    }
  ASSERT_EQ(red.size(), 3u);
  EXPECT_EQ(magenta, 0);
  EXPECT_EQ(blue, 0);
  // Left of the caption-less button: frame, inside edge, then Margin 4; centred vertically.
  EXPECT_GE(red[0].x, 6);
  EXPECT_LE(red[0].x, 7);
  EXPECT_EQ(red[0].y, 14);
  TComponent::Free(f);
}

TEST(BitBtn, AnImageListImageTakesThePlaceOfTheGlyph) {
  TKindsForm* f = MakeKindsForm(L"TImageList il { Width = 2 Height = 2 }\n"
                                L"TBitBtn b { Left = 8 Top = 8 Width = 40 Height = 30 Images = il ImageIndex = 1 "
                                L"Glyph.Data = @hex \"" + GlyphHex() + L"\" NumGlyphs = 2 }");
  auto* b = Part<TBitBtn>(f, L"b");
  auto* il = Part<TImageList>(f, L"il");
  il->AddMasked(*b->Glyph(), static_cast<TColor>(0x00FF00FF));
  ASSERT_EQ(il->Count(), 2);
  b->Repaint();
  twtest::PumpUntilIdle();
  Image shot = twtest::CaptureClient(b->Handle());
  int red = 0, blue = 0;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x) {
      red += PixelRGB(shot.Row(y)[x]) == MakePixel(255, 0, 0);
      blue += PixelRGB(shot.Row(y)[x]) == MakePixel(0, 0, 255);
    }
  EXPECT_EQ(blue, 4) << "image 1 of the list";
  EXPECT_EQ(red, 0) << "the glyph was drawn too";
  TComponent::Free(il);  // the reference goes with the list; the glyph is back
  EXPECT_EQ(b->Images(), nullptr);
  TComponent::Free(f);
}

TEST(BitBtn, ABrokenGlyphIsAFormErrorNamingTheProperty) {
  for (const wchar_t* bad : {L"424D00", L"424D36000000000000003600000028000000FFFFFF7F0100000001001800"}) {
    try {
      MakeKindsForm(std::wstring(L"TBitBtn b { Glyph.Data = @hex \"") + bad + L"\" }");
      ADD_FAILURE() << "accepted " << Narrow(bad);
    } catch (const EFormError& e) {
      EXPECT_NE(e.Message().find(L"Glyph.Data"), std::wstring::npos) << Narrow(e.Message());
    }
  }
}

TEST(SpeedButton, OneButtonOfAGroupIsDownAndAllowAllUpLetsItComeUp) {
  TKindsForm* f = MakeKindsForm(
      L"TPanel p { Left = 0 Top = 0 Width = 200 Height = 40\n"
      L"  TSpeedButton a { Left = 4 Top = 4 GroupIndex = 1 Down = True Flat = True OnClick = Clicked }\n"
      L"  TSpeedButton b { Left = 30 Top = 4 GroupIndex = 1 OnClick = Clicked }\n"
      L"  TSpeedButton c { Left = 60 Top = 4 Down = True OnClick = Clicked } }");
  auto* p = Part<TPanel>(f, L"p");
  auto *a = Part<TSpeedButton>(f, L"a"), *b = Part<TSpeedButton>(f, L"b"), *c = Part<TSpeedButton>(f, L"c");
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(c->Down()) << "a button outside any group stayed down";
  EXPECT_EQ(PropText(a, L"Flat"), L"True");
  ClickAt(p->Handle(), 40, 10);  // b
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  ClickAt(p->Handle(), 40, 10);  // again: without AllowAllUp it stays down
  EXPECT_TRUE(b->Down());
  SetPropText(b, L"AllowAllUp", L"True");
  ClickAt(p->Handle(), 40, 10);
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(f->events, (std::vector<std::wstring>{L"b:click", L"b:click", L"b:click"}));
  TComponent::Free(f);
}

}  // namespace

namespace {

TEST(ToolBar, ButtonsLineUpAndGroupedCheckButtonsAreExclusive) {
  TKindsForm* f = MakeKindsForm(
      L"TToolBar bar { Flat = True ButtonWidth = 30\n"
      L"  TToolButton t3 { Left = 90 Style = tbsCheck Grouped = True OnClick = Clicked }\n"
      L"  TToolButton t1 { Left = 0 OnClick = Clicked }\n"
      L"  TToolButton sep { Left = 30 Style = tbsDivider }\n"
      L"  TToolButton t2 { Left = 60 Style = tbsCheck Grouped = True Down = True OnClick = Clicked } }");
  auto* bar = Part<TToolBar>(f, L"bar");
  auto *t1 = Part<TToolButton>(f, L"t1"), *t2 = Part<TToolButton>(f, L"t2"), *t3 = Part<TToolButton>(f, L"t3");
  EXPECT_EQ(bar->Align(), alTop);
  EXPECT_EQ(PropText(bar, L"Flat"), L"True");
  // In order of their stored Left, whatever the description order; a divider is narrow.
  EXPECT_EQ(t1->Left(), 0);
  EXPECT_EQ(Part<TToolButton>(f, L"sep")->Width(), 8);
  EXPECT_EQ(t2->Left(), 38);
  EXPECT_EQ(t3->Left(), 68);
  ClickAt(bar->Handle(), t3->Left() + 5, 10);
  EXPECT_TRUE(t3->Down());
  EXPECT_FALSE(t2->Down());
  ClickAt(bar->Handle(), t3->Left() + 5, 10);  // grouped: stays down
  EXPECT_TRUE(t3->Down());
  ClickAt(bar->Handle(), 5, 10);  // a plain button never stays down
  EXPECT_FALSE(t1->Down());
  EXPECT_EQ(f->events, (std::vector<std::wstring>{L"t3:click", L"t3:click", L"t1:click"}));
  TComponent::Free(t1);  // the others close up
  EXPECT_EQ(t2->Left(), 8);
  TComponent::Free(f);
}

}  // namespace

namespace {

TEST(SpeedButton, AFlatButtonRaisesOnlyWhileTheMouseIsOverIt) {
  TKindsForm* f = MakeKindsForm(
      L"TPanel p { Left = 0 Top = 0 Width = 200 Height = 60 BevelOuter = bvNone\n"
      L"  TSpeedButton a { Left = 10 Top = 10 Width = 30 Height = 30 Flat = True OnClick = Clicked } }");
  auto* p = Part<TPanel>(f, L"p");
  auto* a = Part<TSpeedButton>(f, L"a");
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(face, light);
  auto corner = [&] {
    twtest::PumpUntilIdle();
    return twtest::ScreenPixel(p->Handle(), 10, 10);
  };
  EXPECT_EQ(corner(), face);
  SendMessageW(p->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(a->MouseInControl());
  EXPECT_EQ(corner(), light);
  SendMessageW(p->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 40));
  EXPECT_FALSE(a->MouseInControl());
  EXPECT_EQ(corner(), face);
  ClickAt(p->Handle(), 20, 20);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"a:click"});
  EXPECT_FALSE(a->Down()) << "a button outside any group stayed down";
  TComponent::Free(f);
}

TEST(ToolBar, AFlatBarsButtonRaisesOnlyWhileTheMouseIsOverIt) {
  TKindsForm* f = MakeKindsForm(
      L"TToolBar tb { Flat = True\n"
      L"  TToolButton t { Left = 0 OnClick = Clicked } }");
  auto* bar = Part<TToolBar>(f, L"tb");
  auto* t = Part<TToolButton>(f, L"t");
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_NE(face, light);
  auto corner = [&] {
    twtest::PumpUntilIdle();
    return twtest::ScreenPixel(bar->Handle(), t->Left(), t->Top());
  };
  EXPECT_EQ(corner(), face);
  SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(t->Left() + 5, t->Top() + 5));
  EXPECT_EQ(corner(), light);
  SendMessageW(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(t->Left() + t->Width() + 40, t->Top() + 5));
  EXPECT_EQ(corner(), face);
  TComponent::Free(f);
}

}  // namespace

namespace {

TEST(CoolBar, BandsHoldTheirControlsAndTakeTheirColourByName) {
  TKindsForm* f = MakeKindsForm(
      L"TCoolBar cb { Height = 30\n"
      L"  TEdit e { Width = 50 }\n"
      L"  Bands = { { Text = \"地址\" Width = 200 Control = e } { Text = \"Two\" Width = 80 } } }");
  auto* cb = Part<TCoolBar>(f, L"cb");
  auto* e = Part<TEdit>(f, L"e");
  ASSERT_EQ(cb->Bands()->Count(), 2);
  EXPECT_EQ(e->Parent(), cb);
  EXPECT_GT(e->Left(), 8) << "the caption comes first";
  EXPECT_EQ(e->Left() + e->Width(), 200 - 4) << "the control fills the rest of its band";
  RECT last = cb->BandRect(1);
  EXPECT_EQ(last.right, cb->ClientWidth()) << "the last band reaches the right edge";
  // As the skin does: every item of the collection gets a colour by name.
  auto* bands = dynamic_cast<TCollection*>(GetObjectProp(cb, L"Bands", &TCollection::StaticClass()));
  ASSERT_NE(bands, nullptr);
  SetPropText(bands->Items(1), L"Color", L"clRed");
  twtest::PumpUntilIdle();
  EXPECT_EQ(twtest::ScreenPixel(cb->Handle(), last.right - 5, 15), RGB(255, 0, 0));
  TComponent::Free(e);
  EXPECT_EQ(cb->Bands()->Items(0)->Control(), nullptr);
  TComponent::Free(f);
}

}  // namespace
