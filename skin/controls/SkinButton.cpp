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
    case WM_KEYUP:
      FollowSpaceKey(m);
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

TControl* TSkinButton::Source() const { return FControl ? static_cast<TControl*>(FControl) : FRepaintDelegate; }

int TSkinButton::FrameFor(bool focused, bool enabled) const {
  return ButtonFrame(FMouseState & kMousePressed, FMouseState & kMouseHot, focused, enabled);
}

void TSkinButton::DrawSkin(HDC dc, const RECT& r) {
  if (!CanPaint()) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const bool focused = GetFocus() == FHandle;
  const bool enabled = (GetWindowLongW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  const int frame = FrameFor(focused, enabled);
  FCaption = FControl ? FControl->Caption() : ReadWindowText(FHandle);
  HDC picture = BeginPicture(width, height, frame, true, !enabled);
  if (!picture) return;
  DrawContents(picture, width, height, frame, focused);
  EndPicture(dc, r);
}

HDC TSkinButton::BeginPicture(int width, int height, int frame, bool drawFrame, bool disabled) {
  const TDataSkinButton& buttons = *Skin()->Buttons;
  DibSurface* surface = Surface(width, height);
  if (!surface) return nullptr;
  HDC picture = surface->DC();
  FPicture = picture;
  const RECT all{0, 0, width, height};

  if (!FTransparent) {
    FillSkinFace(picture, all);
  } else if (FHandle) {
    PaintParentBackground(FHandle, picture);
  } else if (FRepaintDelegate && FRepaintDelegate->Parent() && FRepaintDelegate->Parent()->HandleAllocated()) {
    PaintParentBackground(FRepaintDelegate->Parent()->Handle(), FRepaintDelegate->BoundsRect(), picture);
  }
  if (drawFrame) DrawSkinFrame(picture, all, buttons.FrameCount > 0 ? buttons.FrameCount : 5, frame, &buttons);

  TControl* source = Source();
  HFONT font = source ? source->Font()->Handle() : reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  FOldFont = font ? SelectObject(picture, font) : nullptr;
  // A chosen font colour stays; the default one gives way to the skin's text colour.
  const bool chosen = source && !IsDefaultTextColour(source->Font()->Color());
  const TColour own = chosen ? TColour(source->Font()->Color()) : Skin()->ButtonTextColour;
  SetTextColor(picture, Plain(ButtonCaptionColour(disabled ? kButtonDisabled : frame, buttons, own)));
  SetBkMode(picture, TRANSPARENT);
  return picture;
}

void TSkinButton::DrawContents(HDC picture, int width, int height, int, bool focused) {
  DrawCentredCaption(picture, FCaption, width, height, focused);
}

void TSkinButton::DrawCentredCaption(HDC picture, const std::wstring& caption, int width, int height,
                                     bool focused) {
  const std::wstring text = ButtonCaptionText(caption);
  RECT measured{2, 2, width - 2, height - 2};
  DrawTextWide(picture, text, measured, TextFlags(DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER));
  const ImgRect place = PlaceButtonCaption(width, height, measured.right - measured.left,
                                           measured.bottom - measured.top, true);
  RECT box{place.Left, place.Top, place.Right, place.Bottom};
  DrawTextWide(picture, text, box, TextFlags(DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER));
  if (focused) DrawFocusAround(picture, box);
}

void TSkinButton::DrawFocusAround(HDC picture, RECT box) const {
  if (HasOption(xoNoFocusRect)) return;
  InflateRect(&box, 2, 2);
  DrawFocusRect(picture, &box);
}

void TSkinButton::EndPicture(HDC dc, const RECT& r) {
  if (!FPicture) return;
  if (FOldFont) SelectObject(FPicture, FOldFont);
  FOldFont = nullptr;
  GdiFlush();
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, FPicture, 0, 0, SRCCOPY);
  FPicture = nullptr;
}
