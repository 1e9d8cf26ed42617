#include "skin/controls/SkinCheckBox.h"

#include "gui/Controls.h"
#include "skin/controls/ButtonGeometry.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinCheckControl, [](TClassBuilder<TSkinCheckControl>&) {})
TW_IMPLEMENT_CLASS(TSkinCheckBox, [](TClassBuilder<TSkinCheckBox>&) {})
TW_IMPLEMENT_CLASS(TSkinRadioButton, [](TClassBuilder<TSkinRadioButton>&) {})

namespace {

constexpr int kTransparentTag = 5555;

bool Disabled(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_DISABLED) != 0; }

}  // namespace

// ---- shared -------------------------------------------------------------------------

bool TSkinCheckControl::HasStrip() const {
  const Image* strip = Strip();
  return strip && !strip->Empty();
}

void TSkinCheckControl::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachControl(form, manageColor, canvas);
  if (!FControl) return;
  FMode = HasStrip() ? 1 : 0;
  FTransparent = FControl->Tag() == kTransparentTag || HasOption(xoTransparent);
}

void TSkinCheckControl::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  if (Attached()) return;
  TSkinControl::AttachWindow(window, form, canvas);
  FTransparent = HasOption(xoTransparent);
}

bool TSkinCheckControl::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_PRINT:
      if (FMode != 1 || !HasStrip()) return true;
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!FTransparent) return true;
      EraseWithParent(m);
      return false;
    default:
      return true;
  }
}

void TSkinCheckControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:  // the native control draws its pushed look at once
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_CHECKSTATECHANGED:
      RepaintSkin();
      break;
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
      // The native painting (no strip) draws the caption in this colour.
      if (FControl && m.WParam) SetTextColor(reinterpret_cast<HDC>(m.WParam), CaptionColour(FControl->Font()->Color()));
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinCheckControl::DrawSkin(HDC dc, const RECT& r) {
  const Image* strip = Strip();
  const int n = StripFrameCount();
  if (!strip || strip->Empty() || n <= 0) {
    FMode = 0;
    return;
  }
  const int fw = strip->Width() / n, fh = strip->Height();
  const int width = r.right - r.left, height = r.bottom - r.top;
  const bool leftText = (GetWindowLongW(FHandle, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const TCheckPlace place = PlaceCheckBox(MakeRect(r.left, r.top, r.right, r.bottom), fw, fh, leftText, IsRadio());
  const UINT flags = leftText && FControl && FControl->UseRightToLeftReading() ? DT_RIGHT | DT_RTLREADING : 0;
  const int frame = StripFrame(n);

  // The whole control is composed off-screen; over the native picture only
  // the box is drawn.
  DibSurface* surface = FMode == 1 ? Surface(width, height) : nullptr;
  HDC target = surface ? surface->DC() : dc;
  if (surface) {
    SetViewportOrgEx(target, -r.left, -r.top, nullptr);
    if (FTransparent) PaintParentBackground(FHandle, target);
    else FillSkinFace(target, r);
  }
  DrawFrameStretched(target, RECT{place.box.Left, place.box.Top, place.box.Right, place.box.Bottom}, *strip, true,
                     n, frame);

  if (surface && FControl) {
    const std::wstring caption = FControl->Caption();
    HGDIOBJ oldFont = SelectObject(target, FControl->Font()->Handle());
    SetTextColor(target, Disabled(FHandle) ? GetSysColor(COLOR_BTNSHADOW) : CaptionColour(FControl->Font()->Color()));
    SetBkColor(target, ButtonFace());
    SetBkMode(target, TRANSPARENT);
    RECT area{place.caption.Left, place.caption.Top, place.caption.Right, place.caption.Bottom};
    RECT measured = area;
    DrawTextWide(target, caption, measured, flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    OffsetRect(&area, 0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
    const UINT drawFlags = flags | DT_EXPANDTABS | DT_WORDBREAK;
    if (GetFocus() == FHandle && !caption.empty()) DrawTextFocus(target, caption, drawFlags, area);
    DrawTextWide(target, caption, area, drawFlags);
    SelectObject(target, oldFont);
  }
  if (surface) {
    SetViewportOrgEx(target, 0, 0, nullptr);
    GdiFlush();
    BitBlt(dc, r.left, r.top, width, height, target, 0, 0, SRCCOPY);
  }
}

// ---- check box ----------------------------------------------------------------------

void TSkinCheckBox::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  FDataState = 0;
  TSkinCheckControl::AttachControl(form, manageColor, canvas);
}

const Image* TSkinCheckBox::Strip() const {
  const TSkinModel* skin = Skin();
  return skin && skin->Buttons ? &skin->Buttons->CheckBitmap : nullptr;
}

int TSkinCheckBox::StripFrameCount() const {
  const TSkinModel* skin = Skin();
  return skin && skin->Buttons ? skin->Buttons->CheckFrameCount : 0;
}

int TSkinCheckBox::StripFrame(int frameCount) const {
  const LRESULT native = SendMessageW(FHandle, BM_GETSTATE, 0, 0);
  TCheckBoxState s;
  s.checked = (native & BST_CHECKED) != 0;
  s.indeterminate = (native & BST_INDETERMINATE) != 0;
  s.disabled = Disabled(FHandle);
  if (FControl) {
    s.hasState = HasProperty(FControl, L"State");
    if (s.hasState) s.state = GetEnumProp(FControl, L"State");
    s.hasChecked = HasProperty(FControl, L"Checked");
    if (s.hasChecked) s.checkedText = GetEnumProp(FControl, L"Checked");
    s.hasDataField = HasProperty(FControl, L"DataField");
    s.dataState = FDataState;
    s.hasDataBinding = HasProperty(FControl, L"DataBinding");
  }
  return CheckBoxFrame(s, frameCount);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
  if (m.Msg == BM_SETCHECK) FDataState = int(m.WParam) + 1;
  TSkinCheckControl::AfterMessage(m);
}

// ---- radio button -------------------------------------------------------------------

const Image* TSkinRadioButton::Strip() const {
  const TSkinModel* skin = Skin();
  return skin && skin->Buttons ? &skin->Buttons->RadioBitmap : nullptr;
}

int TSkinRadioButton::StripFrameCount() const {
  const TSkinModel* skin = Skin();
  return skin && skin->Buttons ? skin->Buttons->RadioFrameCount : 0;
}

int TSkinRadioButton::StripFrame(int frameCount) const {
  const bool checked = (SendMessageW(FHandle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  const bool hasChecked = FControl && HasProperty(FControl, L"Checked");
  return RadioButtonFrame(checked, hasChecked, hasChecked ? GetEnumProp(FControl, L"Checked") : std::wstring(),
                          Disabled(FHandle), frameCount);
}
