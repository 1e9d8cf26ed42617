#include "skin/controls/SkinDateTime.h"

#include <commctrl.h>

#include "skin/data/DcDrawing.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TArrowButton, [](TClassBuilder<TArrowButton>&) {})
TW_IMPLEMENT_CLASS(TSkinDateTime, [](TClassBuilder<TSkinDateTime>&) {})

// ---- TArrowButton -----------------------------------------------------------------

TArrowButton::TArrowButton(TComponent* owner) : TWinControl(owner) { SetTabStop(false); }

void TArrowButton::Bind(TSkinDateTime* skin, TWinControl* picker) {
  FSkin = skin;
  FPicker = picker;
  const int width = GetSystemMetrics(SM_CXHSCROLL);
  const bool left = (GetWindowLongW(picker->Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SetParent(picker);
  SetBounds(left ? 2 : picker->Width() - width - 4, 0, width, width + 1);
}

void TArrowButton::SetHot(bool hot) {
  if (hot == FHot) return;
  FHot = hot;
  Invalidate();
}

void TArrowButton::PaintWindow(HDC dc) {
  RECT client{};
  GetClientRect(FHandle, &client);
  const TSkinModel* skin = FSkin ? FSkin->Skin() : nullptr;
  HBRUSH face = CreateSolidBrush(FSkin ? FSkin->ButtonFace() : GetSysColor(COLOR_BTNFACE));
  FillRect(dc, &client, face);
  DeleteObject(face);
  const TDataSkinObject* arrow = skin ? skin->ComboArrow() : nullptr;
  if (arrow && !arrow->Bitmap.Empty())
    DrawFrameStretched(dc, client, arrow->Bitmap, true, arrow->FrameCount > 0 ? arrow->FrameCount : 4,
                       FHot ? 4 : 1);
}

void TArrowButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SKINQUERY:
      m.Result = 1;
      return;
    case CM_MOUSEENTER:
      if (FPicker && FPicker->Enabled()) SetHot(true);
      break;
    case CM_MOUSELEAVE:
      if (FPicker && FPicker->Enabled()) SetHot(false);
      break;
    case WM_LBUTTONDOWN: {
      TWinControl::WndProc(m);
      if (FPicker && FPicker->HandleAllocated()) {
        // The same point on the picker: its own drop button lies under us.
        const LPARAM at = MAKELPARAM(short(LOWORD(m.LParam)) + Left(), short(HIWORD(m.LParam)) + Top());
        PostMessageW(FPicker->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(FPicker->Handle(), WM_LBUTTONUP, 0, at);
      }
      Invalidate();
      return;
    }
    case WM_LBUTTONUP:
      TWinControl::WndProc(m);
      // Not while the calendar is open: taking the focus would close it.
      if (FPicker && FPicker->HandleAllocated() && !SendMessageW(FPicker->Handle(), DTM_GETMONTHCAL, 0, 0))
        FPicker->SetFocus();
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---- TSkinDateTime ----------------------------------------------------------------

void TSkinDateTime::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  TSkinEdit::AttachControl(form, manageColor, canvas);
  if (!Attached() || !FControl || (GetWindowLongW(FHandle, GWL_STYLE) & DTS_UPDOWN)) return;
  FArrow = new TArrowButton(this);
  FArrow->Bind(this, FControl);
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    SetWindowLongW(FHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
    FClipTaken = true;
  }
}

void TSkinDateTime::Unskin() {
  if (FLifeState != kSkinWindowDestroyed) {
    TComponent::Free(FArrow);
    if (FClipTaken && FHandle && IsWindow(FHandle))
      SetWindowLongW(FHandle, GWL_STYLE, GetWindowLongW(FHandle, GWL_STYLE) & ~WS_CLIPCHILDREN);
  }
  FArrow = nullptr;
  FClipTaken = false;
  TSkinEdit::Unskin();
}
