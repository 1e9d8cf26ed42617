#include "skin/controls/SkinProgress.h"

#include <commctrl.h>

#include "skin/controls/ProgressPicture.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinProgress, [](TClassBuilder<TSkinProgress>&) {})

bool TSkinProgress::CanPaint() const {
  const TSkinModel* skin = Skin();
  return skin && CanComposeProgress(skin->Progress(), skin->ProgressChunk());
}

bool TSkinProgress::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_PAINT && CanPaint()) {
    PaintClient(m);
    m.Result = 0;
    return false;
  }
  if (m.Msg == WM_ERASEBKGND && CanPaint()) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& r) {
  const TSkinModel* skin = Skin();
  if (!skin) return;
  const bool vertical = (GetWindowLongW(FHandle, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int position = int(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int low = int(SendMessageW(FHandle, PBM_GETRANGE, TRUE, 0));
  const int high = int(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
  const Image bar = ComposeProgress(r.right - r.left, r.bottom - r.top, vertical, skin->Progress(),
                                    skin->ProgressChunk(), position, low, high, skin->ButtonFaceColour);
  if (!bar.Empty()) DrawImage(dc, r.left, r.top, bar);
}
