#include "skin/controls/SkinSpeedButton.h"

#include "gui/Controls.h"
#include "skin/controls/ButtonGeometry.h"

TW_IMPLEMENT_CLASS(TSkinSpeedButton, [](TClassBuilder<TSkinSpeedButton>&) {})

namespace {

constexpr int kTransparentTag = 5555;

bool ReadsTrue(TControl* c, const wchar_t* name) { return _wcsicmp(GetEnumProp(c, name).c_str(), L"True") == 0; }

}  // namespace

void TSkinSpeedButton::AttachControl(TSkinFrameLink* form, bool, TCanvas* canvas) {
  if (Attached()) return;
  auto* button = dynamic_cast<TControl*>(Owner());
  if (!button || dynamic_cast<TWinControl*>(button)) return;
  FForm = form;
  FCanvas = canvas;
  FRepaintDelegate = button;
  InstallHook(button);
  if (form) form->AddSkinnedControl(this);
  FTransparent = button->Tag() == kTransparentTag || HasOption(xoTransparent);
  FAttached = true;
  FLifeState = kSkinAttached;
  button->Invalidate();
}

void TSkinSpeedButton::EndHover() {
  if (!FMouseState) return;
  FMouseState = 0;
  RepaintSkin();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!m.WParam || !CanPaint()) break;
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PressAfterOriginal(m);
      return false;
    default:
      break;
  }
  // Not TSkinButton's: it would press and capture a window this button lacks.
  return TSkinControl::BeforeMessage(m);
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      FollowSpaceKey(m);
      break;
    case WM_LBUTTONUP:
      ShowPressed(false);
      break;
    case CM_MOUSEENTER:
      FMouseState |= kMouseHot;
      RepaintSkin();
      break;
    case CM_MOUSELEAVE:
      FMouseState = 0;
      if (FRepaintDelegate && FRepaintDelegate->Visible()) RepaintSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinSpeedButton::PaintWindow(HDC dc) {
  if (!FRepaintDelegate) return;
  if (dc) {
    DrawSkin(dc, RECT{0, 0, FRepaintDelegate->Width(), FRepaintDelegate->Height()});
    return;
  }
  FRepaintDelegate->Repaint();
}

void TSkinSpeedButton::DrawSkin(HDC dc, const RECT& r) {
  TControl* button = FRepaintDelegate;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (FPainting || !button || !CanPaint() || width <= 0 || height <= 0) return;
  FPainting = true;
  try {
    const bool enabled = ReadsTrue(button, L"Enabled");
    const TSpeedLook look = SpeedButtonLook(ReadsTrue(button, L"Down"), enabled, FMouseState & kMousePressed,
                                            FMouseState & kMouseHot, ReadsTrue(button, L"Flat"));
    if (HDC picture = BeginPicture(width, height, look.frame, look.drawFrame, !enabled)) {
      const std::wstring caption = button->Caption();
      if (GlyphOf(button)) DrawGlyphAndCaption(picture, button, caption, width, height, look.glyph, enabled, false, true);
      else DrawCentredCaption(picture, caption, width, height, false);
      EndPicture(dc, r);
    }
  } catch (...) {
    // A picture that cannot be made ends this paint quietly.
  }
  FPainting = false;
}
