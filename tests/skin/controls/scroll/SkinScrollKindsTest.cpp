// Stand-alone scroll bars, the bars of a bare window, single-bar mode and the
// edit's spin button on real windows under Wine: pixels read back from the
// screen, presses on the skin compared with the same presses on native twins.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollBarH.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/window/ControlDispatch.h"
#include "tests/skin/controls/buttons/ButtonsFixture.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/skin/data/model/SkinTestPackage.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

using twtest::PumpPending;
using twtest::PumpUntil;

// ---- a skin whose every frame has its own colour ------------------------------------

// Frame k of a strip made by FrameStrip(frames, w, h, base) has pixel base | k.
COLORREF FrameRGB(uint32_t base, int k) {
  const uint32_t p = base | uint32_t(k);
  return RGB(PixelR(p), PixelG(p), PixelB(p));
}
constexpr uint32_t kArrows = 0x100000, kTrack = 0x200000, kThumb = 0x300000, kSpin = 0xA00000;

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
[UpDown.Vert]
Image=spin.bmp
GlyphImage=glyph.bmp
Trans=1
)");
  p.Add("arrows.bmp", FrameStrip(23, 17, 17, kArrows));
  p.Add("track.bmp", FrameStrip(4, 8, 17, kTrack));
  p.Add("thumb.bmp", FrameStrip(3, 17, 12, kThumb));
  p.Add("spin.bmp", FrameStrip(8, 16, 12, kSpin));
  p.Add("glyph.bmp", FrameStrip(8, 4, 4, 0xA80000));
  auto model = std::make_unique<TSkinModel>();
  EXPECT_TRUE(p.BuildInto(*model));
  return model;
}

// ---- waiting and reading pixels ------------------------------------------------------

void Settle(HWND top) {
  RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpPending();
  GdiFlush();
}

// Pixel at a point in a window's own window coordinates.
COLORREF WindowPixel(HWND w, int x, int y) {
  RECT r{};
  GetWindowRect(w, &r);
  const Image one = twtest::CaptureScreenRect(RECT{r.left + x, r.top + y, r.left + x + 1, r.top + y + 1});
  if (one.Empty()) return CLR_INVALID;
  return RGB(PixelR(one.Pixels()[0]), PixelG(one.Pixels()[0]), PixelB(one.Pixels()[0]));
}

::testing::AssertionResult PixelBecomes(HWND w, int x, int y, COLORREF expected) {
  COLORREF seen = 0;
  if (PumpUntil([&] { return (seen = WindowPixel(w, x, y)) == expected; })) return ::testing::AssertionSuccess();
  char text[96];
  snprintf(text, sizeof text, "pixel (%d,%d) is %06lX, expected %06lX", x, y, (unsigned long)seen,
           (unsigned long)expected);
  return ::testing::AssertionFailure() << text;
}

// The native report of a bar: OBJID_CLIENT for a scroll-bar control.
SCROLLBARINFO BarInfo(HWND window, LONG id) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, id, &info);
  return info;
}

// ---- fixture ------------------------------------------------------------------------------

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class SkinScrollKindsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->SetBounds(20, 20, 700, 360);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    frame = std::make_unique<skintest::TTestFrame>(form->Handle(), BuildSkin());
  }
  void TearDown() override {
    frame->ReleaseAll();
    TComponent::Free(form);
    PumpPending();
  }
  TScrollBar* MakeBar(TScrollBarKind kind, int left, int top, int width, int height) {
    auto* b = new TScrollBar(form);
    b->SetKind(kind);
    b->SetParent(form);
    b->SetBounds(left, top, width, height);
    b->SetMax(100);
    b->SetPageSize(30);
    b->SetSmallChange(3);
    b->SetLargeChange(10);
    return b;
  }
  TSkinScControl* SkinBar(TScrollBar* b) {
    auto* s = new TSkinScControl(b);
    s->AttachControl(frame.get(), false, nullptr);
    Settle(form->Handle());
    return s;
  }

  TForm* form = nullptr;
  std::unique_ptr<skintest::TTestFrame> frame;
};

// ---- stand-alone scroll bar ---------------------------------------------------------------

TEST_F(SkinScrollKindsTest, StandAloneBarScrollsExactlyAsTheNativeOne) {
  TScrollBar* skinned = MakeBar(sbVertical, 20, 10, 17, 240);
  TScrollBar* native = MakeBar(sbVertical, 80, 10, 17, 240);
  TSkinScControl* s = SkinBar(skinned);
  TWScrollbar* bar = s->Bar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->Shown());
  RECT own{}, control{};
  GetWindowRect(bar->Handle(), &own);
  GetWindowRect(skinned->Handle(), &control);
  EXPECT_TRUE(EqualRect(&own, &control)) << "the overlay covers the whole control";
  EXPECT_EQ(GetWindow(bar->Handle(), GW_HWNDNEXT), skinned->Handle()) << "directly above it";

  struct Press {
    const char* name;
    std::function<int(const SCROLLBARINFO&)> along;  // press point along the bar
    int drag;                                        // move before the release
  };
  const int len = 240;
  const Press presses[] = {
      {"line down", [&](const SCROLLBARINFO&) { return len - 4; }, 0},
      {"page down", [](const SCROLLBARINFO& i) { return i.xyThumbBottom + 3; }, 0},
      {"line up", [](const SCROLLBARINFO&) { return 4; }, 0},
      {"thumb drag", [](const SCROLLBARINFO& i) { return (i.xyThumbTop + i.xyThumbBottom) / 2; }, 60},
      {"page up", [](const SCROLLBARINFO& i) { return i.xyThumbTop - 3; }, 0},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.name);
    for (TScrollBar* b : {skinned, native}) {
      HWND h = b->Handle();
      const int at = p.along(BarInfo(h, OBJID_CLIENT));
      // The control's tracking loop reads these once it runs.
      if (p.drag) PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, at + p.drag));
      PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(8, at + p.drag));
      SendMessageW(b == skinned ? bar->Handle() : h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, at));
      Settle(form->Handle());
    }
    EXPECT_FALSE(bar->Tracking());
    EXPECT_EQ(skinned->Position(), native->Position());
  }
  EXPECT_GT(skinned->Position(), 0) << "the presses scrolled at all";

  // The wheel over the overlay does to the control what the wheel over the
  // control itself does (the platform's control takes no wheel under Wine).
  const int before = native->Position();
  SendMessageW(bar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(control.left + 8, control.top + 50));
  SendMessageW(native->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(control.left + 68, control.top + 50));
  Settle(form->Handle());
  EXPECT_EQ(skinned->Position(), native->Position()) << "native moved from " << before;
}

// Ends a drag inside the control's tracking loop with real input: moves the
// mouse to the point and lets the button go.
struct TRealRelease {
  HWND window;
  POINT to;
} gRelease;
void CALLBACK ReleaseDrag(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  skintest::MouseAt(gRelease.window, gRelease.to.x, gRelease.to.y);
  skintest::MouseAt(gRelease.window, gRelease.to.x, gRelease.to.y, MOUSEEVENTF_LEFTUP);
}

TEST_F(SkinScrollKindsTest, RealMouseDragOfTheSkinnedThumbMovesTheBarAsOnTheNativeOne) {
  TScrollBar* skinned = MakeBar(sbVertical, 20, 10, 17, 240);
  TScrollBar* native = MakeBar(sbVertical, 80, 10, 17, 240);
  TWScrollbar* bar = SkinBar(skinned)->Bar();
  HWND overlay = bar->Handle();
  for (TScrollBar* b : {skinned, native}) {
    const SCROLLBARINFO i = BarInfo(b->Handle(), OBJID_CLIENT);
    HWND under = b == skinned ? overlay : b->Handle();
    const int y = (i.xyThumbTop + i.xyThumbBottom) / 2;
    skintest::MouseAt(under, 8, y);
    skintest::MouseAt(under, 8, y, MOUSEEVENTF_LEFTDOWN);
    gRelease = TRealRelease{under, POINT{8, y + 50}};
    SetTimer(nullptr, 0, 100, &ReleaseDrag);
    EXPECT_TRUE(PumpUntil([&] { return b->Position() > 0 && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
    Settle(form->Handle());
  }
  EXPECT_GT(native->Position(), 0);
  EXPECT_EQ(skinned->Position(), native->Position());
  EXPECT_FALSE(bar->Tracking());
}

TEST_F(SkinScrollKindsTest, BarIsDrawnFromTheSkinStretchedOverTheControlAndFollowsItsState) {
  TScrollBar* vert = MakeBar(sbVertical, 20, 10, 30, 200);  // wider than the skin's 17
  TScrollBar* horz = MakeBar(sbHorizontal, 80, 10, 220, 17);
  vert->SetPosition(50);
  HWND v = SkinBar(vert)->Bar()->Handle();
  HWND h = SkinBar(horz)->Bar()->Handle();
  for (int x : {2, 15, 28}) {  // across the whole width
    EXPECT_TRUE(PixelBecomes(v, x, 3, FrameRGB(kArrows, 9)));
    EXPECT_TRUE(PixelBecomes(v, x, 196, FrameRGB(kArrows, 13)));
  }
  const SCROLLBARINFO vi = BarInfo(vert->Handle(), OBJID_CLIENT);
  EXPECT_TRUE(PixelBecomes(v, 15, vi.xyThumbTop + 1, FrameRGB(kThumb, 1)));
  EXPECT_TRUE(PixelBecomes(v, 15, vi.xyThumbTop - 2, FrameRGB(kTrack, 1)));
  EXPECT_TRUE(PixelBecomes(h, 3, 8, FrameRGB(kArrows, 1)));
  EXPECT_TRUE(PixelBecomes(h, 216, 8, FrameRGB(kArrows, 5)));
  EXPECT_TRUE(PixelBecomes(h, BarInfo(horz->Handle(), OBJID_CLIENT).xyThumbTop + 1, 8, FrameRGB(kThumb, 1)));

  // The mouse over the down arrow lights it; a position set in code moves the drawn thumb.
  SendMessageW(v, WM_MOUSEMOVE, 0, MAKELPARAM(15, 196));
  EXPECT_TRUE(PixelBecomes(v, 15, 196, FrameRGB(kArrows, 16)));
  vert->SetPosition(0);
  EXPECT_TRUE(PixelBecomes(v, 15, 18, FrameRGB(kThumb, 1)));

  // Switched off: the native control shows and answers for itself; on again: the skin.
  SendMessageW(vert->Handle(), WM_SKINENABLE, 0, 0);
  Settle(form->Handle());
  EXPECT_FALSE(IsWindowVisible(v));
  EXPECT_EQ(SendMessageW(vert->Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(PumpUntil([&] { return WindowPixel(vert->Handle(), 15, 3) != FrameRGB(kArrows, 9); }));
  SendMessageW(vert->Handle(), WM_SKINENABLE, 1, 0);
  Settle(form->Handle());
  EXPECT_TRUE(IsWindowVisible(v));
  EXPECT_TRUE(PixelBecomes(v, 15, 3, FrameRGB(kArrows, 9)));

  // Disabled: the disabled track and no thumb.
  vert->SetEnabled(false);
  Settle(form->Handle());
  EXPECT_TRUE(PixelBecomes(v, 15, 18, FrameRGB(kTrack, 3)));
  EXPECT_TRUE(PixelBecomes(v, 15, 100, FrameRGB(kTrack, 3)));
}

// ---- bars of a bare window -------------------------------------------------------------------

HWND MakeListBox(HWND parent, int left) {
  HWND lb = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                            left, 10, 200, 200, parent, nullptr, nullptr, nullptr);
  for (int i = 0; i < 60; ++i) SendMessageW(lb, LB_ADDSTRING, 0, LPARAM((L"row " + std::to_wstring(i)).c_str()));
  return lb;
}

TEST_F(SkinScrollKindsTest, BareWindowBarScrollsAsTheNativeOneAndDetachGivesTheStyleBack) {
  HWND skinned = MakeListBox(form->Handle(), 20), native = MakeListBox(form->Handle(), 300);
  const LONG style = GetWindowLongW(skinned, GWL_STYLE);
  auto* s = new TSkinScrollbarH(nullptr);
  s->AttachWindow(skinned, frame.get(), nullptr);
  Settle(form->Handle());
  TWScrollbar* bar = s->VertBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->Shown());
  EXPECT_FALSE(s->HorzBar()->Shown());
  EXPECT_EQ(SendMessageW(skinned, WM_SKINQUERY, 0, 0), 1);
  const SCROLLBARINFO info = BarInfo(skinned, OBJID_VSCROLL);
  RECT own{};
  GetWindowRect(bar->Handle(), &own);
  EXPECT_TRUE(EqualRect(&own, &info.rcScrollBar));
  const int len = own.bottom - own.top;
  EXPECT_TRUE(PixelBecomes(bar->Handle(), 8, len - 3, FrameRGB(kArrows, 13)));

  // Page down on the overlay, and the same on the native bar.
  const int along = info.xyThumbBottom + 3;
  for (HWND lb : {skinned, native}) {
    const RECT r = BarInfo(lb, OBJID_VSCROLL).rcScrollBar;
    POINT end{r.left + 8, r.top + along};
    ScreenToClient(lb, &end);
    PostMessageW(lb, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
    if (lb == skinned) SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, along));
    else SendMessageW(lb, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(r.left + 8, r.top + along));
    Settle(form->Handle());
  }
  EXPECT_EQ(SendMessageW(skinned, LB_GETTOPINDEX, 0, 0), SendMessageW(native, LB_GETTOPINDEX, 0, 0));
  const LRESULT top = SendMessageW(skinned, LB_GETTOPINDEX, 0, 0);
  EXPECT_GT(top, 0);
  // The wheel over the overlay scrolls the list as the wheel over the list.
  for (HWND w : {bar->Handle(), native}) SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  Settle(form->Handle());
  EXPECT_GT(SendMessageW(skinned, LB_GETTOPINDEX, 0, 0), top);
  EXPECT_EQ(SendMessageW(skinned, LB_GETTOPINDEX, 0, 0), SendMessageW(native, LB_GETTOPINDEX, 0, 0));
  const SCROLLBARINFO after = BarInfo(skinned, OBJID_VSCROLL);
  EXPECT_TRUE(PixelBecomes(bar->Handle(), 8, after.xyThumbTop + 1, FrameRGB(kThumb, 1)));

  HWND overlay = bar->Handle();
  frame->ReleaseAll();
  PumpPending();
  EXPECT_FALSE(IsWindow(overlay));
  EXPECT_EQ(GetWindowLongW(skinned, GWL_STYLE), style) << "style bits as before the attach";
  EXPECT_EQ(SendMessageW(skinned, WM_SKINQUERY, 0, 0), 0);
}

// ---- dispatch ------------------------------------------------------------------------------------

TEST_F(SkinScrollKindsTest, DispatchGivesScrollBarsBoxesAndSingleBarControlsTheirSkins) {
  TScrollBar* sb = MakeBar(sbHorizontal, 10, 10, 200, 17);
  auto* box = new TScrollBox(form);
  box->SetParent(form);
  box->SetBounds(10, 40, 150, 120);
  auto* inside = new TPanel(form);
  inside->SetParent(box);
  inside->SetBounds(0, 0, 100, 400);  // taller than the box: a vertical bar
  box->UpdateScrollBars();
  auto* memo = new TMemo(form);
  memo->SetParent(form);
  memo->SetBounds(200, 40, 200, 120);
  memo->SetScrollBars(ssBoth);
  memo->SetWordWrap(false);
  std::wstring lines;
  for (int i = 0; i < 40; ++i) lines += L"a line long enough to need the horizontal bar of this memo " + std::to_wstring(i) + L"\r\n";
  memo->SetText(lines);
  frame->Third.Add(L"TMemo=singlescrollbar");
  Settle(form->Handle());
  for (TWinControl* c : std::initializer_list<TWinControl*>{sb, box, memo}) SkinChildControl(*frame, c, form);
  Settle(form->Handle());

  auto* bar = dynamic_cast<TSkinScControl*>(frame->Find(sb->Handle()));
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(bar->Bar(), nullptr);
  EXPECT_TRUE(bar->Bar()->Shown());
  EXPECT_FALSE(bar->Bar()->Vertical());

  auto* scrolled = dynamic_cast<TSkinScControl*>(frame->Find(box->Handle()));
  ASSERT_NE(scrolled, nullptr);
  EXPECT_EQ(scrolled->Bar(), nullptr) << "a scroll box has non-client bars";
  ASSERT_NE(scrolled->VertBar(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return scrolled->VertBar()->Shown(); }));

  auto* single = dynamic_cast<TSkinScrollbar*>(frame->Find(memo->Handle()));
  ASSERT_NE(single, nullptr);
  EXPECT_TRUE(single->SingleBar());
  EXPECT_EQ(single->HorzBar(), nullptr);
  EXPECT_TRUE(single->VertBar()->Shown());
  const SCROLLBARINFO h = BarInfo(memo->Handle(), OBJID_HSCROLL);
  EXPECT_FALSE(h.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the memo has a horizontal bar, left native";
}

// ---- the edit's spin button ----------------------------------------------------------------------

TEST_F(SkinScrollKindsTest, SpinButtonInsideAnEditIsPaintedFromTheSkinInsideTheBorder) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(20, 20, 120, 30);
  HWND e = edit->Handle();
  RECT client{};
  GetClientRect(e, &client);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16, client.bottom, e,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(spin, nullptr);
  auto* s = new TSkinEdit(edit);
  s->AttachControl(frame.get(), false, nullptr);
  Settle(form->Handle());
  RedrawWindow(e, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  PumpUntil([&] { return frame->Find(spin) != nullptr; });
  auto* updown = dynamic_cast<TSkinUpDown*>(frame->Find(spin));
  ASSERT_NE(updown, nullptr) << "the spin button got its own skin object";
  EXPECT_TRUE(updown->Embedded());
  RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

  // Upper half frame 1, lower half frame 5 (away from the centred glyphs).
  RECT sr{}, er{};
  GetWindowRect(spin, &sr);
  GetWindowRect(e, &er);
  const int x = 2, h = sr.bottom - sr.top;
  EXPECT_TRUE(PixelBecomes(spin, x, h / 4, FrameRGB(kSpin, 1)));
  EXPECT_TRUE(PixelBecomes(spin, x, h - h / 4, FrameRGB(kSpin, 5)));
  // The edit's inner border ring stays beside the spin.
  EXPECT_TRUE(PixelBecomes(e, er.right - er.left - 2, (er.bottom - er.top) / 2, RGB(255, 255, 255)));
}

}  // namespace
