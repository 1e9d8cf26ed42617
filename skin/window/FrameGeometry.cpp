#include "skin/window/FrameGeometry.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"

namespace {

int Frames(const TDataSkinObject* e) { return e && e->FrameCount > 1 ? e->FrameCount : 1; }
int StripWidth(const TDataSkinObject* e) { return e && !e->Bitmap.Empty() ? e->Bitmap.Width() / Frames(e) : 0; }
int StripHeight(const TDataSkinObject* e) { return e && !e->Bitmap.Empty() ? e->Bitmap.Height() / Frames(e) : 0; }

}  // namespace

TFrameSizes FrameSizesOf(const TDataSkinObject* left, const TDataSkinObject* top,
                         const TDataSkinObject* right, const TDataSkinObject* bottom,
                         TBorderKind kind) {
  TFrameSizes s;
  if (kind == TBorderKind::None) return s;
  s.CaptionHeight = StripHeight(top);
  s.BorderLeft = StripWidth(left);
  s.BorderRight = StripWidth(right);
  s.BorderBottom = StripHeight(bottom);
  return s;
}

TBorderKind BorderKindOf(uint32_t style, uint32_t exStyle, bool dialogClass) {
  TBorderKind kind;
  if ((style & kStyleCaption) != kStyleCaption)
    kind = TBorderKind::None;
  else if (style & kStyleThickFrame)
    kind = TBorderKind::Sizeable;
  else if (style & kStyleDialogBit)
    kind = TBorderKind::Dialog;
  else
    kind = TBorderKind::Single;
  if (exStyle & kExStyleDlgModalFrame) kind = TBorderKind::Dialog;
  if (dialogClass) kind = TBorderKind::Dialog;
  return kind;
}

ImgRect SkinClientRect(ImgRect w, const TFrameSizes& s) {
  ImgRect r{w.Left + s.BorderLeft, w.Top + s.CaptionHeight + s.MenuBarHeight, w.Right - s.BorderRight,
            w.Bottom - s.BorderBottom};
  // Never hand the system an inverted client rectangle.
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

TFramePieces FramePiecesOf(int w, int h, const TFrameSizes& s) {
  TFramePieces p;
  p.Left = {0, 0, s.BorderLeft, h};
  p.Right = {w - s.BorderRight, 0, w, h};
  p.Bottom = {s.BorderLeft, h - s.BorderBottom, w - s.BorderRight, h};
  p.Top = {s.BorderLeft, 0, w - s.BorderRight, s.CaptionHeight};
  p.MenuBand = {s.BorderLeft, s.CaptionHeight, w - s.BorderRight, s.CaptionHeight + s.MenuBarHeight};
  p.Client = {s.BorderLeft, s.CaptionHeight + s.MenuBarHeight, w - s.BorderRight, h - s.BorderBottom};
  return p;
}

int SkinHitTest(int previous, int x, int y, const TFrameSizes& s) {
  if (previous != kHitNowhere && previous != kHitCaption) return previous;
  int hit = previous;
  if (y > 3) hit = kHitCaption;
  if (y > s.CaptionHeight && s.MenuBarHeight > 0) hit = kHitMenu;
  return hit;
}

TSize2 SkinnedWindowSize(int cw, int ch, const TFrameSizes& s) {
  return {std::max(cw, 0) + s.Width(), std::max(ch, 0) + s.Height()};
}

TSize2 NativeWindowSize(int w, int h, int nfw, int nfh, const TFrameSizes& s) {
  return {w + nfw - s.BorderLeft - s.BorderRight, h + nfh - s.CaptionHeight - s.BorderBottom};
}

int PickBorderFrame(bool active, int frameCount) { return active || frameCount <= 1 ? 1 : 2; }
