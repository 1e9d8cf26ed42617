// TSkinTrackBar under Wine: channel and thumb from the skin in both
// orientations on the parent's background, native tick marks, the bar still
// driven by keys and mouse.
#include <windows.h>

#include <commctrl.h>

#include "gui/ComCtrls.h"
#include "skin/controls/SkinTrackBar.h"
#include "tests/skin/controls/inputs/InputsFixture.h"
#include "tests/support/WindowCapture.h"

using namespace skintest;
using namespace twtest;

namespace {

class SkinTrackBarTest : public InputsTest {
 protected:
  TTrackBar* Make(TTrackBarOrientation o, int left, int top, int w, int h) {
    auto* bar = new TTrackBar(form);
    bar->SetParent(form);
    bar->SetOrientation(o);
    bar->SetBounds(left, top, w, h);
    bar->SetMax(10);
    bar->SetPosition(5);
    bar->OnChange = TNotifyEvent::Bind(&changes, &ClickCounter::Click);
    auto* object = new TSkinTrackBar(bar);
    object->AttachControl(skin.get(), false, nullptr);
    return bar;
  }
  static RECT Query(TTrackBar* bar, UINT msg) {
    RECT r{};
    SendMessageW(bar->Handle(), msg, 0, LPARAM(&r));
    return r;
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  ClickCounter changes;
};

TEST_F(SkinTrackBarTest, ChannelAndThumbComeFromTheSkinInBothOrientations) {
  form->SetColor(TColor(0x00305070));
  TTrackBar* h = Make(trHorizontal, 20, 20, 240, 40);
  const Image himg = PaintToImage(h->Handle());
  EXPECT_EQ(At(himg, 1, 1), RGB(0x70, 0x50, 0x30)) << "the bar stands on its parent's background";
  const RECT hc = Query(h, TBM_GETCHANNELRECT), ht = Query(h, TBM_GETTHUMBRECT);
  EXPECT_EQ(At(himg, hc.left + 4, Centre(hc).y), FrameRGB(kTrackRGB, 1)) << "channel";
  EXPECT_EQ(At(himg, Centre(ht).x, Centre(ht).y), FrameRGB(kThumbHorzRGB, 2)) << "thumb, frame 2";
  // Tick marks stay native: marks on the background below the thumb.
  const COLORREF back = At(himg, 0, himg.Height() - 1);
  int marks = 0;
  for (int y = ht.bottom; y < himg.Height(); ++y)
    for (int x = 0; x < himg.Width(); ++x) marks += At(himg, x, y) != back;
  EXPECT_GT(marks, 10) << "tick marks drawn below the channel";

  TTrackBar* v = Make(trVertical, 300, 20, 40, 200);
  const Image vimg = PaintToImage(v->Handle());
  RECT vc = Query(v, TBM_GETCHANNELRECT);
  if (vc.right - vc.left > vc.bottom - vc.top) vc = RECT{vc.top, vc.left, vc.bottom, vc.right};
  const RECT vt = Query(v, TBM_GETTHUMBRECT);
  EXPECT_EQ(At(vimg, Centre(vc).x, vc.top + 4), FrameRGB(kTrackVertRGB, 1)) << "vertical channel";
  EXPECT_EQ(At(vimg, Centre(vt).x, Centre(vt).y), FrameRGB(kThumbVertRGB, 2)) << "vertical thumb";
}

TEST_F(SkinTrackBarTest, KeysAndMouseStillMoveTheThumb) {
  TTrackBar* bar = Make(trHorizontal, 20, 20, 240, 40);
  HWND w = bar->Handle();
  bar->SetFocus();
  SendMessageW(w, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(w, WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(bar->Position(), 6);
  EXPECT_GE(changes.count, 1);
  const POINT at = Centre(Query(bar, TBM_GETTHUMBRECT));
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(w, at.x, at.y) == FrameRGB(kThumbHorzRGB, 2); }))
      << "the moved thumb on screen";

  // A real click in the channel to the left of the thumb pages down.
  const RECT c = Query(bar, TBM_GETCHANNELRECT);
  MouseAt(w, c.left + 6, Centre(c).y);
  MouseAt(w, c.left + 6, Centre(c).y, MOUSEEVENTF_LEFTDOWN);
  MouseAt(w, c.left + 6, Centre(c).y, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return bar->Position() < 6; }));
  const POINT moved = Centre(Query(bar, TBM_GETTHUMBRECT));
  ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(w, moved.x, moved.y) == FrameRGB(kThumbHorzRGB, 2); }));
  EXPECT_EQ(ScreenPixel(w, at.x, Centre(c).y), FrameRGB(kTrackRGB, 1)) << "the old place shows the channel again";
  MouseAt(form->Handle(), 400, 250);
}

TEST_F(SkinTrackBarTest, CustomDrawOfAnotherWindowIsNotTakenForTheBars) {
  // A tool tip of the bar sends its own custom-draw notifications to it.
  TTrackBar* bar = Make(trHorizontal, 20, 20, 240, 40);
  NMCUSTOMDRAW cd{};
  cd.hdr.hwndFrom = form->Handle();
  cd.hdr.code = UINT(NM_CUSTOMDRAW);
  cd.dwDrawStage = CDDS_ITEMPREPAINT;
  cd.dwItemSpec = TBCD_THUMB;
  cd.hdc = GetDC(bar->Handle());
  EXPECT_NE(SendMessageW(bar->Handle(), WM_NOTIFY, 0, LPARAM(&cd)), CDRF_SKIPDEFAULT);
  cd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_NE(SendMessageW(bar->Handle(), WM_NOTIFY, 0, LPARAM(&cd)), CDRF_NOTIFYITEMDRAW);
  ReleaseDC(bar->Handle(), cd.hdc);
  // The bar's own notification is answered.
  cd.hdr.hwndFrom = bar->Handle();
  cd.hdc = GetDC(bar->Handle());
  EXPECT_EQ(SendMessageW(bar->Handle(), WM_NOTIFY, 0, LPARAM(&cd)), CDRF_NOTIFYITEMDRAW);
  ReleaseDC(bar->Handle(), cd.hdc);
}

}  // namespace
