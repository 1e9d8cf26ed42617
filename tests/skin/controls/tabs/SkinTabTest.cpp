// TSkinTab and TSkinTabSheet under Wine: the strip and the page frame on all
// four sides, a click on a tab, close boxes, a skin without a tab image.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "gui/ComCtrls.h"
#include "gui/ImgList.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/window/ControlDispatch.h"
#include "tests/skin/controls/tabs/SkinTabsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

// Counts OnChange events.
struct ChangeCounter {
  int count = 0;
  void Change(TObject*) { ++count; }
};

// A window standing in for the skinned form: records WM_SKINTABCLOSE and
// answers `Answer`.
struct CloseSink {
  static inline LRESULT Answer = 0;
  static inline std::vector<std::pair<WPARAM, LPARAM>> Seen;
  HWND window = nullptr;
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_SKINTABCLOSE) return DefWindowProcW(w, msg, wp, lp);
    Seen.push_back({wp, lp});
    return Answer;
  }
  CloseSink() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TwTabCloseSink";
    RegisterClassW(&wc);
    window = CreateWindowW(L"TwTabCloseSink", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    Seen.clear();
  }
  ~CloseSink() { DestroyWindow(window); }
};

class SkinTabTest : public KindsTest {
 protected:
  TPageControl* MakePages(TTabPosition side, int tag = 0) {
    auto* pages = new TPageControl(form);
    pages->SetTag(tag);
    pages->SetTabPosition(side);
    pages->SetParent(form);
    pages->SetBounds(10, 10, 300, 220);
    for (const wchar_t* caption : {L"First", L"Second", L"Third"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
    }
    pages->SetActivePageIndex(0);
    return pages;
  }
  static RECT TabRect(TWinControl* pages, int i) {
    RECT r{};
    SendMessageW(pages->Handle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The tab's colour a quarter across its thickness from the window's edge
  // (outer) and from the page (inner), along its middle.
  static void ExpectTab(const Image& img, RECT r, TTabPosition side, int frame) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int qx = (r.right - r.left) / 4, qy = (r.bottom - r.top) / 4;
    POINT outer{}, inner{};
    switch (side) {
      case tpTop: outer = {cx, r.top + qy}; inner = {cx, r.bottom - qy}; break;
      case tpBottom: outer = {cx, r.bottom - qy}; inner = {cx, r.top + qy}; break;
      case tpLeft: outer = {r.left + qx, cy}; inner = {r.right - qx, cy}; break;
      case tpRight: outer = {r.right - qx, cy}; inner = {r.left + qx, cy}; break;
    }
    EXPECT_EQ(At(img, outer.x, outer.y), TabOuter(frame)) << "outer " << outer.x << "," << outer.y;
    EXPECT_EQ(At(img, inner.x, inner.y), TabInner(frame)) << "inner " << inner.x << "," << inner.y;
  }
  TSkinTab* Skin(TWinControl* pages, TSkinFrameLink* link) {
    auto* skin = new TSkinTab(pages);
    skin->AttachControl(link, false, nullptr);
    return skin;
  }
  void Click(HWND window, POINT p) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  TTestFrame tabsFrame{nullptr, BuildTabsSkin()};
};

TEST_F(SkinTabTest, StripAndPageFrameFollowTheTabsToEverySide) {
  for (TTabPosition side : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(side));
    TPageControl* pages = MakePages(side);
    TSkinTab* skin = Skin(pages, &tabsFrame);
    EXPECT_EQ(int(skin->Orientation()), int(side));
    const Image img = PaintToImage(pages->Handle());
    ExpectTab(img, TabRect(pages, 0), side, 2);
    ExpectTab(img, TabRect(pages, 1), side, 1);

    // The frame's edge rows (the image's top) lie along the tabs.
    RECT d{0, 0, img.Width(), img.Height()};
    SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    const int midX = (d.left + d.right) / 2, midY = (d.top + d.bottom) / 2;
    const POINT tabSide[] = {{midX, d.top - 2}, {midX, d.bottom + 1}, {d.left - 2, midY}, {d.right + 1, midY}};
    const POINT farSide[] = {{midX, d.bottom + 1}, {midX, d.top - 2}, {d.right + 1, midY}, {d.left - 2, midY}};
    EXPECT_EQ(At(img, tabSide[side].x, tabSide[side].y), kPaneEdge);
    EXPECT_EQ(At(img, farSide[side].x, farSide[side].y), kPaneBody);
    TComponent::Free(pages);
  }
}

TEST_F(SkinTabTest, ClickingATabShowsItsPageFiresOnChangeOnceAndRepaintsTheFocus) {
  TPageControl* pages = MakePages(tpTop);
  ChangeCounter changes;
  pages->OnChange = TNotifyEvent::Bind(&changes, &ChangeCounter::Change);
  auto* sheet = new TSkinTabSheet(pages->Pages(2));
  sheet->AttachControl(&tabsFrame, false, nullptr);
  Skin(pages, &tabsFrame);

  Click(pages->Handle(), Centre(TabRect(pages, 2)));
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(pages->ActivePageIndex(), 2);
  const Image img = PaintToImage(pages->Handle());
  ExpectTab(img, TabRect(pages, 2), tpTop, 2);
  ExpectTab(img, TabRect(pages, 0), tpTop, 1);
  // The shown page takes the skin's face colour.
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(pages->Pages(2)->Handle(), 20, 20) == kFaceRGB; }));
}

TEST_F(SkinTabTest, CloseBoxAsksTheFormAndFreesThePageOnlyWhenItAgrees) {
  CloseSink sink;
  TTestFrame link{sink.window, BuildTabsSkin()};
  for (TTabPosition side : {tpTop, tpBottom, tpRight}) {
    SCOPED_TRACE(int(side));
    TPageControl* pages = MakePages(side, kTabCloseBoxTag);
    TSkinTab* skin = Skin(pages, &link);
    ASSERT_TRUE(skin->CloseBoxesOn());
    const Image img = PaintToImage(pages->Handle());
    ASSERT_EQ(skin->CloseBoxes().size(), 3u);
    const ImgRect box = skin->CloseBoxes()[1];
    EXPECT_EQ(At(img, box.Left, box.Top), kTabTextRGB) << "the box is drawn where a click finds it";
    EXPECT_FALSE(box.Empty());

    CloseSink::Seen.clear();
    CloseSink::Answer = 1;
    Click(pages->Handle(), POINT{box.Left + 2, box.Top + 2});
    ASSERT_EQ(CloseSink::Seen.size(), 1u);
    EXPECT_EQ(CloseSink::Seen[0].first, reinterpret_cast<WPARAM>(pages->Handle()));
    EXPECT_EQ(CloseSink::Seen[0].second, 1);
    EXPECT_EQ(pages->PageCount(), 3) << "the form refused";
    EXPECT_EQ(pages->ActivePageIndex(), 0) << "a press on a box does not select its tab";

    CloseSink::Answer = 0;
    PaintToImage(pages->Handle());
    Click(pages->Handle(), POINT{box.Left + 2, box.Top + 2});
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->Pages(1)->Caption(), L"Third");
    TComponent::Free(pages);
  }
  TPageControl* rows = MakePages(tpTop, kTabCloseBoxTag);
  rows->SetMultiLine(true);
  EXPECT_FALSE(Skin(rows, &link)->CloseBoxesOn()) << "tabs on several rows get no close boxes";
  TComponent::Free(rows);
}

TEST_F(SkinTabTest, ArrowsOfTabsThatDoNotFitAreSkinnedAndLeftClearOfTheStrip) {
  auto* strip = new TTabControl(form);
  strip->SetParent(form);
  strip->SetBounds(10, 10, 160, 80);
  for (int i = 0; i < 12; ++i) strip->Tabs()->Add(L"Tab " + std::to_wstring(i));
  Skin(strip, &tabsFrame);
  const Image img = PaintToImage(strip->Handle(), 0x00FF7F00);
  HWND arrows = FindWindowExW(strip->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_TRUE(arrows && IsWindowVisible(arrows));
  EXPECT_EQ(SendMessageW(arrows, WM_SKINQUERY, 0, 0), 1);
  RECT a{};
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, strip->Handle(), reinterpret_cast<POINT*>(&a), 2);
  EXPECT_EQ(At(img, (a.left + a.right) / 2, (a.top + a.bottom) / 2), RGB(0xFF, 0x7F, 0x00))
      << "the strip is not painted over the arrows";
  ExpectTab(img, TabRect(strip, 0), tpTop, 2);
}

TEST_F(SkinTabTest, LabelsOnATabStripStillShow) {
  auto* strip = new TTabControl(form);
  strip->SetParent(form);
  strip->SetBounds(10, 10, 200, 100);
  strip->Tabs()->Add(L"One");
  auto* label = new TLabel(form);
  label->SetParent(strip);
  label->SetBounds(20, 50, 120, 20);
  label->Font()->SetColor(TColor(0x000000FF));
  label->SetCaption(L"Label on the strip");
  Skin(strip, &tabsFrame);
  const Image img = PaintToImage(strip->Handle());
  int red = 0;
  for (int y = 50; y < 70; ++y)
    for (int x = 20; x < 140; ++x) red += At(img, x, y) == RGB(255, 0, 0);
  EXPECT_GT(red, 20);
}

TEST_F(SkinTabTest, ABareTabWindowOfADialogIsSkinnedToo) {
  HWND bare = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | TCS_BOTTOM, 10, 10, 240, 120,
                              form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const wchar_t* text : {L"One", L"Two"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(bare, TCM_INSERTITEMW, 9, reinterpret_cast<LPARAM>(&item));
  }
  auto* skin = new TSkinTab(nullptr);
  skin->AttachWindow(bare, &tabsFrame, nullptr);
  ASSERT_TRUE(skin->Attached());
  EXPECT_EQ(skin->Orientation(), kTabBottom);
  const Image img = PaintToImage(bare);
  RECT r{};
  SendMessageW(bare, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  ExpectTab(img, r, tpBottom, 1);
  DestroyWindow(bare);
  EXPECT_EQ(skin->LifeState(), kSkinWindowDestroyed);
}

TEST_F(SkinTabTest, TabsShowTheirImages) {
  const COLORREF kImageRGB = RGB(0x11, 0x99, 0x22);
  auto* images = new TImageList(form);
  images->SetWidth(8);
  images->SetHeight(8);
  TBitmap strip(16, 8);
  strip.Canvas()->Brush()->SetColor(TColor(0x00FF00FF));
  strip.Canvas()->FillRect(RECT{0, 0, 8, 8});
  strip.Canvas()->Brush()->SetColor(TColor(kImageRGB));
  strip.Canvas()->FillRect(RECT{8, 0, 16, 8});
  images->AddMasked(strip, TColor(0x00FF00FF));
  TPageControl* pages = MakePages(tpTop);
  pages->SetImages(images);
  pages->Pages(1)->SetImageIndex(1);
  Skin(pages, &tabsFrame);
  const Image img = PaintToImage(pages->Handle());
  auto count = [&](const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(img, x, y) == kImageRGB;
    return n;
  };
  EXPECT_EQ(count(TabRect(pages, 1)), 64) << "the page's image, whole";
  EXPECT_EQ(count(TabRect(pages, 0)), 0) << "a page without an image";
}

TEST_F(SkinTabTest, ButtonStyleTabsShowTheButtonFramesAndThePressedColour) {
  auto* buttons = new TTabControl(form);
  buttons->SetParent(form);
  buttons->SetStyle(tsButtons);
  buttons->SetBounds(10, 10, 300, 60);
  buttons->Tabs()->Add(L"One");
  buttons->Tabs()->Add(L"Two");
  buttons->SetTabIndex(1);
  auto* skin = new TSkinTabBtn(buttons);
  skin->AttachControl(&tabsFrame, false, nullptr);
  const Image img = PaintToImage(buttons->Handle());
  const RECT one = TabRect(buttons, 0), two = TabRect(buttons, 1);
  EXPECT_EQ(At(img, one.left + 2, one.top + 3), ButtonFrameRGB(1));
  EXPECT_EQ(At(img, two.left + 2, two.top + 3), ButtonFrameRGB(2)) << "the focused tab";
  auto colourIn = [&](const RECT& r, COLORREF c) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(img, x, y) == c) return true;
    return false;
  };
  EXPECT_TRUE(colourIn(two, kFocusTextRGB)) << "PressedColour2 on the focused tab";
  EXPECT_TRUE(colourIn(one, RGB(0, 0, 0))) << "black without NormalColour2";
  EXPECT_FALSE(colourIn(one, kFocusTextRGB));
}

TEST_F(SkinTabTest, DispatchGivesTabsPagesButtonTabsAndStatusBarsTheirSkins) {
  TTestFrame link{form->Handle(), BuildTabsSkin()};
  TPageControl* pages = MakePages(tpBottom);
  auto* buttons = new TTabControl(form);
  buttons->SetParent(form);
  buttons->SetStyle(tsFlatButtons);
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  SkinChildControls(link, form);
  EXPECT_NE(dynamic_cast<TSkinTab*>(link.Find(pages->Handle())), nullptr);
  EXPECT_NE(dynamic_cast<TSkinTabSheet*>(link.Find(pages->Pages(0)->Handle())), nullptr);
  EXPECT_EQ(pages->Pages(0)->Color(), TColor(0x00C8C8C8)) << "pages take the skin's face colour";
  EXPECT_NE(dynamic_cast<TSkinTabBtn*>(link.Find(buttons->Handle())), nullptr);
  EXPECT_NE(dynamic_cast<TSkinStatusBar*>(link.Find(bar->Handle())), nullptr);
  link.ReleaseAll();

  // Without a Tabs element in the skin, tabs keep their native look.
  TTestFrame bare{form->Handle(), BuildSkin()};
  SkinChildControls(bare, form);
  EXPECT_EQ(bare.Find(pages->Handle()), nullptr);
  EXPECT_NE(bare.Find(bar->Handle()), nullptr);
  bare.ReleaseAll();
}

TEST_F(SkinTabTest, WithoutATabImageTheWindowsOwnTabsShowInsideTheSkinnedFrame) {
  TTestFrame plain{nullptr, BuildTabsSkin({.tabImage = false})};
  TPageControl* pages = MakePages(tpTop);
  Skin(pages, &plain);
  const Image img = PaintToImage(pages->Handle(), 0x00FF7F00);
  RECT d{0, 0, img.Width(), img.Height()};
  SendMessageW(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
  EXPECT_EQ(At(img, (d.left + d.right) / 2, d.top - 2), kPaneEdge);
  const RECT tab = TabRect(pages, 1);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int drawn = 0;
  for (int y = tab.top; y < std::min<int>(tab.bottom, d.top - 4); ++y)  // above the page frame
    for (int x = tab.left; x < tab.right; ++x) {
      const COLORREF c = At(img, x, y);
      if (c != face && c != RGB(0xFF, 0x7F, 0x00)) ++drawn;
    }
  EXPECT_GT(drawn, 10) << "the native tab's edges and caption";
  plain.ReleaseAll();
}

}  // namespace
