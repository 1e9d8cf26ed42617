#include "skin/controls/SkinScControl.h"

#include "gui/StdCtrls.h"

TW_IMPLEMENT_CLASS(TSkinScControl, [](TClassBuilder<TSkinScControl>&) {})

void TSkinScControl::AttachScrolled(TSkinFrameLink* form, TCanvas* canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control || !control->Is<TScrollBar>()) {
    TSkinScrollbar::AttachScrolled(form, canvas);
    return;
  }
  TSkinControl::AttachControl(form, false, canvas);
  if (!FAttached || !FControl || !FControl->Parent()) return;
  FWholeControl = true;
  FSingleBar = true;
  FVert = new TWScrollbar(this);
  FVert->Bind(this, FControl, TWScrollbar::bkControl);
  FVert->SetEnabled(FControl->Enabled());
  if (FControl->Showing()) FVert->Reposition();
  HookSkinSwitch();
}

void TSkinScControl::AfterMessage(TMessage& m) {
  if (!FWholeControl) {
    TSkinScrollbar::AfterMessage(m);
    return;
  }
  switch (m.Msg) {
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_ENABLE_ARROWS:
    case CN_HSCROLL:
    case CN_VSCROLL:
    case WM_KEYDOWN:
      InvalidateBars();
      break;
    case WM_NCPAINT:
      RepositionBars();
      break;
    default:
      TSkinScrollbar::AfterMessage(m);
  }
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& r) {
  if (!FWholeControl) {
    TSkinScrollbar::DrawSkin(dc, r);
    return;
  }
  if (FVert && FVert->Shown()) InvalidateBars();
  else RepositionBars();
}
