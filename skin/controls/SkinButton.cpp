#include "skin/controls/SkinButton.h"

#include <cwctype>

#include "gui/Controls.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinButton, [](TClassBuilder<TSkinButton>&) {})

namespace {

constexpr int kTransparentTag = 5555;

COLORREF Plain(TColour c) { return IsSystemColour(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF); }

std::wstring Lower(std::wstring s) {
  for (auto& ch : s) ch = wchar_t(std::towlower(ch));
  return s;
}

}  // namespace

void TSkinButton::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachControl(form, manageColor, canvas);
  if (!FControl) return;
  const std::wstring cls = Lower(FControl->ClassName());
  // Such buttons do their own mouse-down handling.
  FMode = cls.rfind(L"trz", 0) == 0 || cls.rfind(L"tel", 0) == 0 ? 1 : 0;
  FTransparent = FControl->Tag() == kTransparentTag || HasOption(xoTransparent);
}

void TSkinButton::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachWindow(window, form, canvas);
  FTransparent = HasOption(xoTransparent);
}

bool TSkinButton::CanPaint() const {
  const TSkinModel* skin = Skin();
  return skin && skin->Buttons && !skin->Buttons->Bitmap.Empty();
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!CanPaint()) break;
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!CanPaint()) break;
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Press();
      m.Result = 0;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinButton::Press() {
  if (GetFocus() != FHandle) SetFocus(FHandle);
  FMouseState |= kMousePressed;
  // The press keeps the mouse: leaving the button cancels it for certain (a
  // leave notification alone can be lost when the parent starts tracking).
  SetCapture(FHandle);
  TrackLeave();
  PaintWindow(nullptr);
}

void TSkinButton::CancelPress() {
  FMouseState = 0;
  if (GetCapture() == FHandle) ReleaseCapture();
  RepaintSkin();
}

void TSkinButton::EndHover() {
  if (FMouseState) CancelPress();
}

bool TSkinButton::Inside(LPARAM point) const {
  RECT client{};
  GetClientRect(FHandle, &client);
  const POINT p{short(LOWORD(point)), short(HIWORD(point))};
  return PtInRect(&client, p) != FALSE;
}

void TSkinButton::TrackLeave() {
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&t);
}

void TSkinButton::Release() {
  FMouseState &= uint8_t(~kMousePressed);
  if (GetCapture() == FHandle) ReleaseCapture();
  RepaintSkin();
  if (FControl) {
    FControl->Click();  // may free this object: nothing after it
    return;
  }
  HWND parent = GetParent(FHandle);
  wchar_t cls[64] = {};
  GetClassNameW(FHandle, cls, 64);
  const WPARAM id = Lower(cls) == L"tbutton" ? 0 : WPARAM(GetDlgCtrlID(FHandle));
  PostMessageW(parent, WM_COMMAND, id, LPARAM(FHandle));
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        FMouseState |= kMousePressed;
        RepaintSkin();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        FMouseState &= uint8_t(~kMousePressed);
        RepaintSkin();
      }
      break;
    case WM_MOUSEMOVE:
      if ((FMouseState & kMousePressed) && GetCapture() == FHandle && !Inside(m.LParam)) {
        CancelPress();  // a press dragged off the button
        break;
      }
      if (IsWindowEnabled(FHandle) && !(FMouseState & kMouseHot)) {
        FMouseState |= kMouseHot;
        if (FForm) FForm->SetHoveredControl(this);
        RepaintSkin();
      }
      TrackLeave();
      break;
    case WM_LBUTTONUP:
      if (!(FMouseState & kMousePressed)) break;
      if (Inside(m.LParam)) Release();
      else CancelPress();
      break;
    case WM_MOUSELEAVE:
      // A press dragged off the button is cancelled.
      FMouseState = 0;
      if (GetCapture() == FHandle) ReleaseCapture();
      RepaintSkin();
      break;
    case WM_CAPTURECHANGED:
      if ((FMouseState & kMousePressed) && HWND(m.LParam) != FHandle) CancelPress();
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
      RepaintSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinButton::DrawSkin(HDC dc, const RECT& r) {
  if (!CanPaint()) return;
  const TDataSkinButton& buttons = *Skin()->Buttons;
  const int width = r.right - r.left, height = r.bottom - r.top;
  DibSurface* surface = Surface(width, height);
  if (!surface) return;
  HDC sdc = surface->DC();
  const RECT all{0, 0, width, height};

  const bool focused = GetFocus() == FHandle;
  const bool enabled = (GetWindowLongW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  const int frame = ButtonFrame(FMouseState & kMousePressed, FMouseState & kMouseHot, focused, enabled);
  FCaption = FControl ? FControl->Caption() : ReadWindowText(FHandle);

  if (FTransparent) PaintParentBackground(FHandle, sdc);
  else FillSkinFace(sdc, all);
  DrawSkinFrame(sdc, all, buttons.FrameCount > 0 ? buttons.FrameCount : 5, frame, &buttons);

  HFONT font = FControl ? FControl->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(sdc, font) : nullptr;
  const TColour own = FControl ? TColour(FControl->Font()->Color()) : Skin()->ButtonTextColour;
  SetTextColor(sdc, Plain(ButtonCaptionColour(frame, buttons, own)));
  SetBkMode(sdc, TRANSPARENT);

  const std::wstring text = ButtonCaptionText(FCaption);
  RECT measured{2, 2, width - 2, height - 2};
  DrawTextWide(sdc, text, measured, TextFlags(DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER));
  const ImgRect place = PlaceButtonCaption(width, height, measured.right - measured.left,
                                           measured.bottom - measured.top, true);
  RECT box{place.Left, place.Top, place.Right, place.Bottom};
  DrawTextWide(sdc, text, box, TextFlags(DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER));
  if (focused && !HasOption(xoNoFocusRect)) {
    InflateRect(&box, 2, 2);
    DrawFocusRect(sdc, &box);
  }
  if (oldFont) SelectObject(sdc, oldFont);
  GdiFlush();
  BitBlt(dc, r.left, r.top, width, height, sdc, 0, 0, SRCCOPY);
}
