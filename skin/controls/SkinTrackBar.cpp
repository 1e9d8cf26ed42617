#include "skin/controls/SkinTrackBar.h"

#include <commctrl.h>

#include "skin/controls/InputPictures.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinTrackBar, [](TClassBuilder<TSkinTrackBar>&) {})

namespace {

constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;

ImgRect ToImgRect(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

void TSkinTrackBar::Unskin() {
  TSkinControl::Unskin();
  if (FLifeState != kSkinWindowDestroyed && FHandle && IsWindow(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    // Only the bar's own drawing: its tool tip sends custom-draw too.
    if (hdr && hdr->code == UINT(NM_CUSTOMDRAW) && hdr->hwndFrom == FHandle) {
      m.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(m.LParam));
      return false;
    }
    return true;
  }
  return TSkinControl::BeforeMessage(m);
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& cd) {
  if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (cd.dwDrawStage == CDDS_PREERASE) {
    // The bar stands on its parent's background, as a transparent one
    // would, instead of the platform's flat fill.
    PaintParentBackground(FHandle, cd.hdc);
    return CDRF_SKIPDEFAULT;
  }
  if (cd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  switch (cd.dwItemSpec) {
    case TBCD_THUMB:
      DrawThumb(cd.hdc);
      return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
      DrawChannel(cd.hdc);
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  const TSkinModel* skin = Skin();
  if (!skin) return;
  const bool vertical = (GetWindowLongW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
  RECT c{};
  SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, LPARAM(&c));
  // Some platforms report a vertical bar's channel lying down.
  if (vertical && c.right - c.left > c.bottom - c.top) c = RECT{c.top, c.left, c.bottom, c.right};
  const TDataSkinObject* track = vertical && skin->TrackVert() ? skin->TrackVert() : skin->Track();
  const bool drawVertical = vertical && skin->TrackVert();
  if (!track) return;
  ImgRect at{};
  const Image picture = ComposeTrackChannel(*track, drawVertical, ToImgRect(c), &at);
  if (!picture.Empty()) DrawImage(dc, at.Left, at.Top, picture);
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  const TSkinModel* skin = Skin();
  if (!skin) return;
  const bool vertical = (GetWindowLongW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
  RECT t{};
  SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, LPARAM(&t));
  const TDataSkinObject* thumb = vertical && skin->TrackThumbVert() ? skin->TrackThumbVert() : skin->TrackThumbHorz();
  if (thumb && !thumb->Bitmap.Empty()) {
    DrawFrameStretched(dc, t, thumb->Bitmap, true, kThumbFrames, kThumbFrame);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, ButtonShadow());
  HBRUSH brush = CreateSolidBrush(ButtonFace());
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  Rectangle(dc, t.left, t.top, t.right, t.bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}
