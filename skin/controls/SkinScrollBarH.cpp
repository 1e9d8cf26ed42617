#include "skin/controls/SkinScrollBarH.h"

TW_IMPLEMENT_CLASS(TSkinScrollbarH, [](TClassBuilder<TSkinScrollbarH>&) {})

void TSkinScrollbarH::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  if (FAttached || !IsWindow(window) || !GetParent(window)) return;
  TSkinControl::AttachWindow(window, form, canvas);
  if (!FAttached) return;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (!(style & WS_CLIPSIBLINGS)) {
    SetWindowLongW(window, GWL_STYLE, style | WS_CLIPSIBLINGS);
    FClipTaken = true;
  }
  FHorz = new TWScrollbar(this);
  FHorz->BindWindow(this, window, TWScrollbar::bkHorizontal);
  FVert = new TWScrollbar(this);
  FVert->BindWindow(this, window, TWScrollbar::bkVertical);
  RepositionBars();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbarH::Unskin() {
  TSkinScrollbar::Unskin();
  if (FClipTaken && FLifeState != kSkinWindowDestroyed && IsWindow(FHandle)) {
    SetWindowLongW(FHandle, GWL_STYLE, GetWindowLongW(FHandle, GWL_STYLE) & ~WS_CLIPSIBLINGS);
    FClipTaken = false;
  }
}

bool TSkinScrollbarH::BeforeMessage(TMessage& m) {
  // No border of ours: the native frame stays, the overlays follow it.
  if (m.Msg == WM_NCPAINT) return true;
  return TSkinScrollbar::BeforeMessage(m);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
  if (!IsWindowVisible(FHandle)) HideBars();
  switch (m.Msg) {
    case WM_NCPAINT:
      RepositionBars();
      if (HDC dc = GetWindowDC(FHandle)) {
        FillCorner(dc);
        ReleaseDC(FHandle, dc);
      }
      break;
    case WM_SHOWWINDOW:
      if (m.WParam) RepositionBars();
      break;
    default:
      TSkinScrollbar::AfterMessage(m);
  }
}
