// Scroll-bar overlays, column header, list view and edit skins on real
// windows under Wine: pixels read back from the screen, presses handed to the
// native bar compared with the native bar's own handling.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/Subclass.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinListView.h"
#include "skin/data/SkinModel.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/skin/data/model/SkinTestPackage.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

using twtest::CaptureScreenRect;
using twtest::PumpPending;
using twtest::PumpUntil;

// ---- a skin whose every frame has its own colour ------------------------------------

// Frame k of a strip made by FrameStrip(frames, w, h, base) has pixel base | k.
COLORREF FrameRGB(uint32_t base, int k) {
  const uint32_t p = base | uint32_t(k);
  return RGB(PixelR(p), PixelG(p), PixelB(p));
}
constexpr uint32_t kArrows = 0x100000, kTrack = 0x200000, kThumb = 0x300000, kHeader = 0x400000;
using skintest::kFaceRGB;
using skintest::kShadowRGB;

std::unique_ptr<TSkinModel> BuildSkin() {
  SkinTestPackage p(R"([Colours]
ButtonFace=200 200 200
ButtonShadow=10 20 30
ButtonText=0 0 0
[Scrollbar]
Image=arrows.bmp
[VertScroll]
Image=track.bmp
[HorzScroll]
Image=track.bmp
[VertScrollThumb]
Image=thumb.bmp
[HorzScrollThumb]
Image=thumb.bmp
[Headerbar]
Image=header.bmp
)");
  p.Add("arrows.bmp", FrameStrip(23, 17, 17, kArrows));
  p.Add("track.bmp", FrameStrip(4, 8, 17, kTrack));
  p.Add("thumb.bmp", FrameStrip(3, 17, 12, kThumb));
  p.Add("header.bmp", FrameStrip(5, 10, 20, kHeader));
  auto model = std::make_unique<TSkinModel>();
  EXPECT_TRUE(p.BuildInto(*model));
  return model;
}

// ---- waiting and reading pixels ------------------------------------------------------

// Messages handled and every window painted.
void Settle(HWND top) {
  RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  GdiFlush();
}

COLORREF ScreenAt(int x, int y) {
  const Image one = CaptureScreenRect(RECT{x, y, x + 1, y + 1});
  if (one.Empty()) return CLR_INVALID;
  return RGB(PixelR(one.Pixels()[0]), PixelG(one.Pixels()[0]), PixelB(one.Pixels()[0]));
}

// Pixel at a point given in a window's own window coordinates (frames and
// borders included).
COLORREF WindowPixel(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  return ScreenAt(r.left + x, r.top + y);
}

// Waits until the pixel reads `expected` (painting may lag behind).
::testing::AssertionResult PixelBecomes(HWND w, int x, int y, COLORREF expected) {
  COLORREF seen = 0;
  if (PumpUntil([&] { return (seen = WindowPixel(w, x, y)) == expected; }))
    return ::testing::AssertionSuccess();
  char text[96];
  snprintf(text, sizeof text, "pixel (%d,%d) is %06lX, expected %06lX", x, y, (unsigned long)seen,
           (unsigned long)expected);
  return ::testing::AssertionFailure() << text;
}

SCROLLBARINFO BarInfo(HWND list, LONG id = OBJID_VSCROLL) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(list, id, &info);
  return info;
}

int TopIndex(TListView* lv) { return int(SendMessageW(lv->Handle(), LVM_GETTOPINDEX, 0, 0)); }

// ---- fixture: a form with a skinned list (and an unskinned twin) ------------------------

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

TListView* MakeList(TForm* form, int left, int rows) {
  auto* lv = new TListView(form);
  lv->SetParent(form);
  lv->SetBounds(left, 10, 300, 200);
  lv->SetViewStyle(vsReport);
  TListColumn* a = lv->Columns()->Add();
  a->SetCaption(L"Source file name");
  a->SetWidth(180);
  TListColumn* b = lv->Columns()->Add();
  b->SetCaption(L"State");
  b->SetWidth(80);
  for (int i = 0; i < rows; ++i) lv->Items()->Add()->Caption = L"row " + std::to_wstring(i);
  lv->UpdateItems();
  return lv;
}

class SkinListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->SetBounds(20, 20, 700, 330);
    skinned = MakeList(form, 10, 60);
    native = MakeList(form, 350, 60);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    frame = std::make_unique<skintest::TTestFrame>(form->Handle(), BuildSkin());
    Settle(form->Handle());
  }
  void TearDown() override {
    frame->ReleaseAll();
    TComponent::Free(form);
    PumpPending();
  }
  TSkinListView* Skin() {
    auto* s = new TSkinListView(skinned);
    s->AttachControl(frame.get(), false, nullptr);
    Settle(form->Handle());
    return s;
  }
  // Centre of the thumb of a list's vertical bar, in the list's window coordinates.
  POINT ThumbCentre(HWND list) {
    const SCROLLBARINFO i = BarInfo(list);
    RECT w{};
    GetWindowRect(list, &w);
    return POINT{(i.rcScrollBar.left + i.rcScrollBar.right) / 2 - w.left,
                 i.rcScrollBar.top - w.top + (i.xyThumbTop + i.xyThumbBottom) / 2};
  }

  TForm* form = nullptr;
  TListView* skinned = nullptr;
  TListView* native = nullptr;
  std::unique_ptr<skintest::TTestFrame> frame;
};

// ---- scroll bars ---------------------------------------------------------------------------

TEST_F(SkinListsTest, OverlayCoversTheNativeBarAndShowsArrowsTrackAndThumb) {
  TSkinListView* s = Skin();
  TWScrollbar* bar = s->VertBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->Shown());
  EXPECT_FALSE(s->HorzBar()->Shown()) << "no horizontal bar in a list whose columns fit";
  const SCROLLBARINFO info = BarInfo(skinned->Handle());
  RECT own{};
  GetWindowRect(bar->Handle(), &own);
  EXPECT_TRUE(EqualRect(&own, &info.rcScrollBar)) << "overlay exactly over the native bar";
  EXPECT_EQ(GetWindow(bar->Handle(), GW_HWNDNEXT), skinned->Handle()) << "directly above the list";
  // Both the list and its overlay say they are skinned.
  EXPECT_EQ(SendMessageW(skinned->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_SKINQUERY, 0, 0), 1);

  HWND h = bar->Handle();
  const int mid = (own.right - own.left) / 2, len = own.bottom - own.top;
  EXPECT_TRUE(PixelBecomes(h, mid, 3, FrameRGB(kArrows, 9)));
  EXPECT_TRUE(PixelBecomes(h, mid, len - 3, FrameRGB(kArrows, 13)));
  EXPECT_TRUE(PixelBecomes(h, mid, info.xyThumbTop + 1, FrameRGB(kThumb, 1)));
  EXPECT_TRUE(PixelBecomes(h, mid, info.xyThumbBottom + 2, FrameRGB(kTrack, 1)));
  // The overlay survives a repaint of the list's frame.
  RedrawWindow(skinned->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(PixelBecomes(h, mid, 3, FrameRGB(kArrows, 9)));
  // Hovering the down arrow shows its hot frame; leaving clears it.
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(mid, len - 3));
  EXPECT_EQ(bar->HotPart(), kScrollSecondArrow);
  EXPECT_TRUE(PixelBecomes(h, mid, len - 3, FrameRGB(kArrows, 16)));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(PixelBecomes(h, mid, len - 3, FrameRGB(kArrows, 13)));
}

// Press on the overlay at (x, y) (overlay client coordinates) with the given
// moves and release queued for the native loop; the same on the native twin's
// bar directly. Both lists must end on the same top row.
struct Press {
  const char* name;
  std::function<POINT(HWND list)> at;  // point in bar coordinates
  int dragY;                           // vertical move before the release
};

TEST_F(SkinListsTest, SkinnedBarScrollsExactlyAsTheNativeOne) {
  TSkinListView* s = Skin();
  TWScrollbar* bar = s->VertBar();
  ASSERT_TRUE(bar->Shown());
  auto barPoint = [](HWND list, int along) {
    const SCROLLBARINFO i = BarInfo(list);
    return POINT{(i.rcScrollBar.right - i.rcScrollBar.left) / 2, along};
  };
  const Press presses[] = {
      {"line down", [&](HWND l) { return barPoint(l, BarInfo(l).rcScrollBar.bottom - BarInfo(l).rcScrollBar.top - 4); }, 0},
      {"page down", [&](HWND l) { return barPoint(l, BarInfo(l).xyThumbBottom + 3); }, 0},
      {"line up", [&](HWND l) { return barPoint(l, 4); }, 0},
      {"thumb drag", [&](HWND l) { return barPoint(l, (BarInfo(l).xyThumbTop + BarInfo(l).xyThumbBottom) / 2); }, 40},
      {"page up", [&](HWND l) { return barPoint(l, BarInfo(l).xyThumbTop - 3); }, 0},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.name);
    for (TListView* lv : {skinned, native}) {
      HWND list = lv->Handle();
      const POINT at = p.at(list);
      const SCROLLBARINFO i = BarInfo(list);
      POINT end{i.rcScrollBar.left + at.x, i.rcScrollBar.top + at.y + p.dragY};
      ScreenToClient(list, &end);
      // The platform's scroll loop reads these once it runs.
      if (p.dragY) PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
      PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
      if (lv == skinned) {
        SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_FALSE(bar->Tracking());
      } else {
        SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL,
                     MAKELPARAM(i.rcScrollBar.left + at.x, i.rcScrollBar.top + at.y));
      }
      Settle(form->Handle());
    }
    EXPECT_EQ(TopIndex(skinned), TopIndex(native));
    EXPECT_EQ(BarInfo(skinned->Handle()).xyThumbTop, BarInfo(native->Handle()).xyThumbTop);
  }
  EXPECT_GT(TopIndex(skinned), 0) << "the presses scrolled at all";

  // The wheel: the overlay's thumb follows the native thumb.
  for (TListView* lv : {skinned, native}) {
    RECT w{};
    GetWindowRect(lv->Handle(), &w);
    SendMessageW(lv->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA * 2), MAKELPARAM(w.left + 50, w.top + 50));
  }
  Settle(form->Handle());
  EXPECT_EQ(TopIndex(skinned), TopIndex(native));
  const SCROLLBARINFO after = BarInfo(skinned->Handle());
  EXPECT_TRUE(PixelBecomes(bar->Handle(), 8, after.xyThumbTop + 1, FrameRGB(kThumb, 1)));
  EXPECT_TRUE(PixelBecomes(bar->Handle(), 8, after.xyThumbTop - 2, FrameRGB(kTrack, 1)));
}

// Watches the overlay's paints while a press is handed over: the first paint
// that shows a press ends the platform's scroll loop by a release.
class TPressWatcher : public TSubclass {
 public:
  TPressWatcher(TWScrollbar* bar, HWND list, POINT release) : FBar(bar), FList(list), FRelease(release) {}
  int PressedPart = kScrollNone;
  bool SawPress = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_PAINT && FBar->Tracking() && !SawPress) {
      SawPress = true;
      PressedPart = FBar->HotPart();
      PostMessageW(FList, WM_LBUTTONUP, 0, MAKELPARAM(FRelease.x, FRelease.y));
    }
    return CallPrevious(msg, wParam, lParam);
  }

 private:
  TWScrollbar* FBar;
  HWND FList;
  POINT FRelease;
};

// Ends a scroll loop that never painted (a generous bound, not a timing).
HWND gLoopList = nullptr;
void CALLBACK ReleaseLoop(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  PostMessageW(gLoopList, WM_LBUTTONUP, 0, 0);
}

TEST_F(SkinListsTest, PressedPartIsShownWhileTheNativeLoopRuns) {
  TSkinListView* s = Skin();
  TWScrollbar* bar = s->VertBar();
  HWND list = skinned->Handle();
  const SCROLLBARINFO i = BarInfo(list);
  const int mid = (i.rcScrollBar.right - i.rcScrollBar.left) / 2;
  struct Case {
    const char* name;
    int along;
    int part;
  } cases[] = {{"down arrow", i.rcScrollBar.bottom - i.rcScrollBar.top - 4, kScrollSecondArrow},
               {"page after the thumb", i.xyThumbBottom + 4, kScrollPageAfter}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    POINT release{i.rcScrollBar.left + mid, i.rcScrollBar.top + c.along};
    ScreenToClient(list, &release);
    TPressWatcher watcher(bar, list, release);
    ASSERT_TRUE(watcher.Attach(bar->Handle()));
    gLoopList = list;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, &ReleaseLoop);
    SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(mid, c.along));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(watcher.SawPress) << "the overlay painted while the press was handed over";
    EXPECT_EQ(watcher.PressedPart, c.part);
    EXPECT_FALSE(bar->Tracking());
    Settle(form->Handle());
  }
}

TEST_F(SkinListsTest, BarFollowsRowsComingAndGoingAndBothBarsGetAFaceCorner) {
  skinned->Items()->Clear();
  skinned->UpdateItems();
  Settle(form->Handle());
  TSkinListView* s = Skin();
  EXPECT_FALSE(s->VertBar()->Shown()) << "no rows, no bar";
  for (int i = 0; i < 40; ++i) skinned->Items()->Add()->Caption = L"again " + std::to_wstring(i);
  skinned->UpdateItems();
  ASSERT_TRUE(PumpUntil([&] { return s->VertBar()->Shown(); })) << "bar shown after the rows came";
  EXPECT_TRUE(IsWindowVisible(s->VertBar()->Handle()));

  // Columns wider than the list: both bars, and the corner between them.
  SendMessageW(skinned->Handle(), LVM_SETCOLUMNWIDTH, 0, 600);
  ASSERT_TRUE(PumpUntil([&] { return s->HorzBar()->Shown(); }));
  Settle(form->Handle());
  const RECT v = s->VertBar()->NativeRect(), h = s->HorzBar()->NativeRect();
  EXPECT_TRUE(PixelBecomes(skinned->Handle(), (v.left + v.right) / 2, (h.top + h.bottom) / 2, kFaceRGB));
  const SCROLLBARINFO hi = BarInfo(skinned->Handle(), OBJID_HSCROLL);
  EXPECT_TRUE(PixelBecomes(s->HorzBar()->Handle(), 3, (hi.rcScrollBar.bottom - hi.rcScrollBar.top) / 2,
                           FrameRGB(kArrows, 1)));

  skinned->Items()->Clear();
  skinned->UpdateItems();
  SendMessageW(skinned->Handle(), LVM_SETCOLUMNWIDTH, 0, 100);
  EXPECT_TRUE(PumpUntil([&] { return !s->VertBar()->Shown() && !s->HorzBar()->Shown(); }));
  EXPECT_FALSE(IsWindowVisible(s->VertBar()->Handle()));
}

TEST_F(SkinListsTest, ShortBarShowsTwoHalfLengthArrows) {
  skinned->SetHeight(36);  // header and part of a row: a bar shorter than two arrows
  Settle(form->Handle());
  TSkinListView* s = Skin();
  ASSERT_TRUE(s->VertBar()->Shown());
  const SCROLLBARINFO i = BarInfo(skinned->Handle());
  const int len = i.rcScrollBar.bottom - i.rcScrollBar.top;
  ASSERT_LT(len, 2 * GetSystemMetrics(SM_CXHSCROLL));
  HWND h = s->VertBar()->Handle();
  EXPECT_TRUE(PixelBecomes(h, 8, len / 2 - 1, FrameRGB(kArrows, 9)));
  EXPECT_TRUE(PixelBecomes(h, 8, len - len / 2, FrameRGB(kArrows, 13)));
}

TEST_F(SkinListsTest, UnskinGivesTheListItsOwnLookAndRemovesTheOverlays) {
  TSkinListView* s = Skin();
  HWND overlay = s->VertBar()->Handle();
  ASSERT_TRUE(IsWindow(overlay));
  frame->ReleaseAll();
  PumpPending();
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(SendMessageW(skinned->Handle(), WM_SKINQUERY, 0, 0), 0);
  HWND header = reinterpret_cast<HWND>(SendMessageW(skinned->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, WM_SKINQUERY, 0, 0), 0);
  // The native bar shows again where the overlay was.
  const SCROLLBARINFO i = BarInfo(skinned->Handle());
  Settle(form->Handle());
  EXPECT_NE(ScreenAt((i.rcScrollBar.left + i.rcScrollBar.right) / 2, i.rcScrollBar.top + 3), FrameRGB(kArrows, 9));
}

TEST_F(SkinListsTest, SkinEnableZeroGivesTheNativeBarAndBorderBackUntilSwitchedOn) {
  TSkinListView* s = Skin();
  HWND list = skinned->Handle(), overlay = s->VertBar()->Handle();
  const SCROLLBARINFO i = BarInfo(list);
  RECT w{};
  GetWindowRect(list, &w);
  const POINT arrow{(i.rcScrollBar.left + i.rcScrollBar.right) / 2 - w.left, i.rcScrollBar.top + 3 - w.top};
  ASSERT_TRUE(PixelBecomes(list, arrow.x, arrow.y, FrameRGB(kArrows, 9)));
  ASSERT_TRUE(PixelBecomes(list, 0, 0, kShadowRGB));

  SendMessageW(list, WM_SKINENABLE, 0, 0);
  Settle(form->Handle());
  EXPECT_FALSE(IsWindowVisible(overlay));
  EXPECT_EQ(SendMessageW(list, WM_SKINQUERY, 0, 0), 0) << "the native list answers for itself";
  EXPECT_TRUE(PumpUntil([&] { return WindowPixel(list, arrow.x, arrow.y) != FrameRGB(kArrows, 9); }));
  EXPECT_TRUE(PumpUntil([&] { return WindowPixel(list, 0, 0) != kShadowRGB; })) << "native border again";
  // Scrolling while switched off leaves the overlay alone.
  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  Settle(form->Handle());
  EXPECT_FALSE(IsWindowVisible(overlay));

  SendMessageW(list, WM_SKINENABLE, 1, 0);
  Settle(form->Handle());
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_EQ(SendMessageW(list, WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(PixelBecomes(list, arrow.x, arrow.y, FrameRGB(kArrows, 9)));
  EXPECT_TRUE(PixelBecomes(list, 0, 0, kShadowRGB));
  const SCROLLBARINFO after = BarInfo(list);
  EXPECT_TRUE(PixelBecomes(overlay, 8, after.xyThumbTop + 1, FrameRGB(kThumb, 1))) << "thumb where the list is now";
}

// ---- header ---------------------------------------------------------------------------------

TEST_F(SkinListsTest, HeaderButtonsStripAndHotColumn) {
  TSkinListView* s = Skin();
  TSkinHeader* header = s->Header();
  ASSERT_NE(header, nullptr);
  HWND h = header->Handle();
  EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
  RECT client{};
  GetClientRect(h, &client);
  ASSERT_GT(client.right, 270);
  // Columns of 180 and 80: the strip from 260 to the end is a normal button.
  EXPECT_TRUE(PixelBecomes(h, 270, 1, FrameRGB(kHeader, 1)));
  EXPECT_TRUE(PixelBecomes(h, client.right - 1, client.bottom - 1, FrameRGB(kHeader, 1)));
  EXPECT_TRUE(PixelBecomes(h, 178, 1, FrameRGB(kHeader, 1)));
  // The caption starts 3 pixels into its button and shows whole; a caption
  // longer than its button ends within it (in an ellipsis).
  skinned->Columns()->Items(1)->SetCaption(L"A state caption far too long for eighty pixels");
  Settle(form->Handle());
  ASSERT_TRUE(PixelBecomes(h, 270, 1, FrameRGB(kHeader, 1)));
  auto inkColumns = [](const Image& shot, int from, int to) {
    std::vector<int> xs;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < shot.Height(); ++y)
        if (PixelRGB(shot.Pixel(x, y)) == 0) {
          xs.push_back(x);
          break;
        }
    return xs;
  };
  const Image shot = twtest::CaptureWindow(h);
  // The native twin's header draws the same caption whole, in the same font.
  HWND nativeHeader = reinterpret_cast<HWND>(SendMessageW(native->Handle(), LVM_GETHEADER, 0, 0));
  const std::vector<int> whole = inkColumns(twtest::CaptureWindow(nativeHeader), 0, 180);
  const std::vector<int> first = inkColumns(shot, 0, 180);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(whole.empty());
  EXPECT_GE(first.front(), 3);
  EXPECT_LE(first.front(), 5);
  EXPECT_NEAR(first.back() - first.front(), whole.back() - whole.front(), 1) << "the whole caption, not an ellipsis";
  const std::vector<int> second = inkColumns(shot, 180, client.right);
  ASSERT_FALSE(second.empty());
  EXPECT_LT(second.back(), 260) << "a long caption stays inside its button";
  EXPECT_EQ(header->ItemRects().size(), 2u);

  // Hot tracking: column 1, then off the header.
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(220, 5));
  EXPECT_EQ(header->HotItem(), 1);
  EXPECT_TRUE(PixelBecomes(h, 200, 1, FrameRGB(kHeader, 2)));
  EXPECT_TRUE(PixelBecomes(h, 100, 1, FrameRGB(kHeader, 1)));
  EXPECT_TRUE(PixelBecomes(h, 270, 1, FrameRGB(kHeader, 1))) << "the strip is never hot";
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(179, 5));  // on the divider: unchanged
  EXPECT_EQ(header->HotItem(), 1);
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(header->HotItem(), -1);
  EXPECT_TRUE(PixelBecomes(h, 200, 1, FrameRGB(kHeader, 1)));
}

// ---- edit -------------------------------------------------------------------------------------

TEST_F(SkinListsTest, EditBorderRingsLeaveTheTextAreaAlone) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 240, 300, 22);
  edit->SetReadOnly(true);
  edit->SetText(L"C:\\out");
  auto* bare = new TEdit(form);
  bare->SetParent(form);
  bare->SetBounds(350, 240, 300, 22);
  bare->SetBorderStyle(bsNone);
  bare->SetText(L"no border");
  Settle(form->Handle());
  HWND h = edit->Handle();
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  RECT w{};
  GetWindowRect(h, &w);
  const int cx = origin.x - w.left, cy = origin.y - w.top;
  ASSERT_GT(cx, 0);
  const COLORREF clientBefore = WindowPixel(h, cx + 1, cy + 1);
  RECT bw{};
  GetWindowRect(bare->Handle(), &bw);
  auto bareBefore = std::vector<COLORREF>{WindowPixel(bare->Handle(), 0, 0), WindowPixel(bare->Handle(), 1, 1),
                                          WindowPixel(bare->Handle(), 2, 10)};

  auto* skin = new TSkinEdit(edit);
  skin->AttachControl(frame.get(), false, nullptr);
  auto* bareSkin = new TSkinEdit(bare);
  bareSkin->AttachControl(frame.get(), false, nullptr);
  Settle(form->Handle());
  const int right = w.right - w.left - 1, bottom = w.bottom - w.top - 1;
  EXPECT_TRUE(PixelBecomes(h, 0, 0, kShadowRGB));
  EXPECT_TRUE(PixelBecomes(h, right, bottom, kShadowRGB));
  EXPECT_TRUE(PixelBecomes(h, 1, 1, RGB(255, 255, 255)));
  EXPECT_TRUE(PixelBecomes(h, right - 1, bottom / 2, RGB(255, 255, 255)));
  EXPECT_EQ(WindowPixel(h, cx + 1, cy + 1), clientBefore) << "read-only text area keeps its colour";
  // Focus changes and a frame repaint keep the rings.
  edit->SetFocus();
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(PixelBecomes(h, 0, bottom / 2, kShadowRGB));
  // An edit without a border looks exactly as before.
  auto bareAfter = std::vector<COLORREF>{WindowPixel(bare->Handle(), 0, 0), WindowPixel(bare->Handle(), 1, 1),
                                         WindowPixel(bare->Handle(), 2, 10)};
  EXPECT_EQ(bareAfter, bareBefore);
  // Switched off, the native border shows at once; switched on, the rings.
  SendMessageW(h, WM_SKINENABLE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return WindowPixel(h, 0, bottom / 2) != kShadowRGB; }));
  SendMessageW(h, WM_SKINENABLE, 1, 0);
  EXPECT_TRUE(PixelBecomes(h, 0, bottom / 2, kShadowRGB));
  // A foreign control's paint request is answered with the marker.
  EXPECT_EQ(SendMessageW(h, WM_SKINPAINTEDIT, 0, kSkinMarker), kSkinMarker);
}

}  // namespace
