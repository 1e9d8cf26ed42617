#include "skin/controls/SkinComBox.h"

#include "gui/Controls.h"
#include "skin/controls/InputPictures.h"
#include "skin/controls/SkinScrollBarH.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinComBox, [](TClassBuilder<TSkinComBox>&) {})

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() { FEditHook.Detach(); }

void TSkinComBox::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachControl(form, manageColor, canvas);
  if (Attached()) AfterAttach();
}

void TSkinComBox::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachWindow(window, form, canvas);
  if (Attached()) AfterAttach();
}

void TSkinComBox::AfterAttach() {
  ReadStyle();
  COMBOBOXINFO info{sizeof info};
  const bool known = GetComboBoxInfo(FHandle, &info) != FALSE;
  if ((FStyle & 3) == CBS_SIMPLE) {
    FListWindow = known ? info.hwndList : nullptr;
    const LONG list = FListWindow ? GetWindowLongW(FListWindow, GWL_STYLE) : 0;
    HWND parent = FListWindow ? GetParent(FListWindow) : nullptr;
    if (FControl && (list & WS_CHILD) && !(list & WS_POPUP) && parent && parent != GetDesktopWindow()) {
      FListScroll = new TSkinScrollbarH(this);
      FListScroll->AttachWindow(FListWindow, FForm, FCanvas);
      if (!FListScroll->Attached()) TComponent::Free(FListScroll);
    }
    return;
  }
  HWND edit = GetWindow(FHandle, GW_CHILD);
  if (edit && (GetWindowLongW(edit, GWL_STYLE) & WS_CHILD) && FEditHook.Attach(edit)) FEditWindow = edit;
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == FListScroll) FListScroll = nullptr;
}

void TSkinComBox::Unskin() {
  FEditHook.Detach();
  FEditWindow = nullptr;
  if (FListScroll && FLifeState != kSkinWindowDestroyed) {
    if (FListScroll->LifeState() != kSkinWindowDestroyed) FListScroll->Unskin();
    TComponent::Free(FListScroll);
  }
  TSkinControl::Unskin();
  // Painted natively once this object has let go.
  if (FLifeState != kSkinWindowDestroyed && FHandle && IsWindow(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

void TSkinComBox::ReadStyle() {
  FStyle = GetWindowLongW(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongW(FHandle, GWL_EXSTYLE);
}

bool TSkinComBox::CanPaint() const {
  const TSkinModel* skin = Skin();
  return skin && skin->ComboButton() && !skin->ComboButton()->Bitmap.Empty();
}

void TSkinComBox::TrackLeave() {
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&t);
}

void TSkinComBox::SetMouseBits(uint8_t bits, bool on) {
  const uint8_t was = FMouseState;
  FMouseState = on ? uint8_t(FMouseState | bits) : uint8_t(FMouseState & ~bits);
  if (FMouseState != was) RepaintSkin();
}

LRESULT TSkinComBox::TEditHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallPrevious(msg, wParam, lParam);
  if (!FOwner.SkinActive()) return result;
  switch (msg) {
    case WM_PAINT:
      FOwner.PaintWindow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FOwner.SetMouseBits(kMousePressed, true);
      break;
    case WM_LBUTTONUP:
      FOwner.SetMouseBits(kMousePressed, false);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The box shows its focused frame while its edit has the focus.
      FOwner.RepaintSkin();
      break;
    default:
      break;
  }
  return result;
}

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      break;  // the box repaints itself
    case WM_MOUSEMOVE: {
      const POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
      // Client and window coordinates coincide for a combo box (no frame).
      const bool over = p.x >= FButtonRect.Left && p.x < FButtonRect.Right && p.y >= FButtonRect.Top &&
                        p.y < FButtonRect.Bottom && IsWindowEnabled(FHandle);
      if (over && !(FMouseState & kMouseHot)) {
        if (FForm) FForm->SetHoveredControl(this);
        TrackLeave();
      }
      SetMouseBits(kMouseHot, over);
      break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      RepaintSkin();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetMouseBits(kMousePressed, true);
      break;
    case WM_LBUTTONUP:
      SetMouseBits(kMousePressed, false);
      break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      SetMouseBits(kMouseHot, false);
      break;
    case CN_COMMAND:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) {
        FDropped = true;
      } else if (HIWORD(m.WParam) == CBN_CLOSEUP) {
        FDropped = false;
        // A press that opened the list may end inside it.
        SetMouseBits(kMousePressed, false);
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& r) {
  if (!CanPaint()) return;
  const TSkinModel& skin = *Skin();
  ReadStyle();
  COMBOBOXINFO info{sizeof info};
  if (GetComboBoxInfo(FHandle, &info) && (info.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  ComboSkin parts;
  parts.Button = skin.ComboButton();
  parts.Sunk = skin.SunkEdge();
  parts.Extra = skin.ExtraImages();
  parts.Shadow = skin.ButtonShadowColour;
  ComboState state;
  state.Enabled = (FStyle & WS_DISABLED) == 0;
  state.Pressed = (FMouseState & kMousePressed) != 0;
  state.Hot = (FMouseState & kMouseHot) != 0;
  const HWND focus = GetFocus();
  state.Focused = focus && (focus == FHandle || IsChild(FHandle, focus));
  const int width = r.right - r.left, height = r.bottom - r.top;
  const ComboPicture picture =
      ComposeComboBox(width, height, parts, state, (FExStyle & WS_EX_LEFTSCROLLBAR) != 0,
                      GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYVTHUMB));
  if (picture.Picture.Empty()) return;
  FButtonRect = picture.Button;
  TransparentDraw(dc, r, picture.Picture, kMagenta);
}
