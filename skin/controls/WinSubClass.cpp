#include "skin/controls/WinSubClass.h"

#include "gui/Controls.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinControl, [](TClassBuilder<TSkinControl>&) {})

namespace {

COLORREF PlainColour(TColour c) {
  return IsSystemColour(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF);
}

bool SameText(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

}  // namespace

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
  *FAlive = false;
  FHook.Unhook();
  FBare.Detach();
  if (FForm) FForm->RemoveSkinnedControl(this);
}

// ---- attach and detach ----------------------------------------------------------

void TSkinControl::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control) return;
  HWND window = control->Handle();
  if (!window) return;
  FManageColor = manageColor;
  FForm = form;
  FCanvas = canvas;
  FControl = control;
  FHandle = window;
  FUnicode = IsWindowUnicode(window) != FALSE;
  FEnabled = IsWindowEnabled(window) != FALSE;
  InstallHook();
  if (form) form->AddSkinnedControl(this);
  if (FManageColor) {
    TakeParentBackground();
    FSavedColor = control->Color();
    FSavedParentColor = control->ParentColor();
    control->SetColor(TColor(Skin() ? Skin()->ButtonFaceColour : SystemColour(kSysButtonFace)));
    FColorTaken = true;
    FollowFaceText();  // labels follow the managed colour: their text follows the skin
  }
  if (FParentBgTaken) FMode = 1;
  control->Invalidate();
  FAttached = true;
  FLifeState = kSkinAttached;
}

void TSkinControl::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  if (FAttached || !IsWindow(window)) return;
  if (!FBare.Attach(window)) return;
  FForm = form;
  FCanvas = canvas;
  FHandle = window;
  FEnabled = true;
  FMode = 0;
  if (form) form->AddSkinnedControl(this);
  FUnicode = IsWindowUnicode(window) != FALSE;
  FCaption = ReadWindowText(window);
  InvalidateRect(window, nullptr, TRUE);
  FAttached = true;
  FLifeState = kSkinAttached;
}

void TSkinControl::Unskin() {
  FChildText.Give();
  FFaceText = false;
  FFaceTextOwn = false;
  if (FManageColor && FControl && FColorTaken) {
    GiveParentBackground();
    FControl->SetColor(FSavedColor);
    if (FSavedParentColor) FControl->SetParentColor(true);
    FColorTaken = false;
  }
  if (FLifeState != kSkinWindowDestroyed) FLifeState = kSkinUnskinned;
}

void TSkinControl::SkinChanged() {
  if (FManageColor && FControl && Skin()) FControl->SetColor(TColor(Skin()->ButtonFaceColour));
  if (FFaceText) FollowFaceText(FFaceTextOwn);
  RepaintSkin();
}

void TSkinControl::EndHover() {
  if (!FMouseState) return;
  FMouseState = 0;
  RepaintSkin();
}

void TSkinControl::InstallHook() { InstallHook(FControl); }

void TSkinControl::InstallHook(TControl* control) {
  if (!control) return;
  FHook.Hook(control, TWndMethod::Bind(this, &TSkinControl::HookProc));
  FHookTaken = true;
}

bool TSkinControl::Hooked() const { return FHook.Hooked() || FBare.Attached(); }

void TSkinControl::TakeParentBackground() {
  if (HasOption(xoParentBackGround) || !FControl || !HasProperty(FControl, L"ParentBackground")) return;
  if (!SameText(GetEnumProp(FControl, L"ParentBackground"), L"True")) return;
  SetPropText(FControl, L"ParentBackground", L"False");
  FParentBgTaken = true;
}

void TSkinControl::FollowFaceText(bool withOwnCaption) {
  if (!FControl) return;
  FChildText.Take(FControl, ButtonText(), withOwnCaption);
  FFaceText = true;
  FFaceTextOwn = withOwnCaption;
}

void TSkinControl::GiveParentBackground() {
  if (!FParentBgTaken || !FControl) return;
  SetPropText(FControl, L"ParentBackground", L"True");
  FParentBgTaken = false;
}

// ---- message routing --------------------------------------------------------------

void TSkinControl::HookProc(TMessage& m) {
  if (m.Msg == WM_SKINENABLE) {
    FSkinActive = INT_PTR(m.WParam) > 0;
    if (!FSkinActive && FMouseState) EndHover();  // hot and pressed end with the skin
    RepaintSkin();
    return;
  }
  if (!FSkinActive) {
    CallOriginal(m);
    return;
  }
  if (!BeforeMessage(m)) return;
  const std::shared_ptr<bool> alive = FAlive;
  CallOriginal(m);
  if (*alive) AfterMessage(m);
}

LRESULT TSkinControl::TBareWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  FOwner.HookProc(m);
  return m.Result;
}

void TSkinControl::CallOriginal(TMessage& m) {
  if (FControl || FHookTaken) FHook.CallPrevious(m);
  else if (FBare.Attached()) m.Result = FBare.Previous(m.Msg, m.WParam, m.LParam);
  else if (FHandle) m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY: {
      const std::shared_ptr<bool> alive = FAlive;
      CallOriginal(m);
      if (!*alive) return false;
      FSkinActive = false;
      FLifeState = kSkinWindowDestroyed;
      Unskin();
      return false;
    }
    case WM_SKINQUERY:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
      RepaintSkin();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

// ---- painting ---------------------------------------------------------------------

void TSkinControl::RepaintSkin() {
  if (FRepaintDelegate) {
    FRepaintDelegate->Invalidate();
    return;
  }
  if (!FHandle || !IsWindow(FHandle)) return;
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateWindow(FHandle);
}

void TSkinControl::ShowPressed(bool pressed) {
  if (pressed) FMouseState |= kMousePressed;
  else FMouseState &= uint8_t(~kMousePressed);
  RepaintSkin();
}

bool TSkinControl::FollowSpaceKey(const TMessage& m) {
  if ((m.Msg != WM_KEYDOWN && m.Msg != WM_KEYUP) || m.WParam != VK_SPACE) return false;
  ShowPressed(m.Msg == WM_KEYDOWN);
  return true;
}

void TSkinControl::PressAfterOriginal(TMessage& m) {
  CallOriginal(m);
  FMouseState |= kMousePressed;
  PaintWindow(nullptr);
}

void TSkinControl::PaintWindow(HDC dc) {
  if (!FHandle || !GetWindowRect(FHandle, &FWindowRect)) return;
  const RECT r{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
  HDC use = dc ? dc : GetWindowDC(FHandle);
  if (!use) return;
  try {
    DrawSkin(use, r);
  } catch (...) {
    // A broken skin image never leaves the message handler.
  }
  if (!dc) ReleaseDC(FHandle, use);
}

void TSkinControl::PaintClient(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  const bool began = dc == nullptr;
  if (began) dc = BeginPaint(FHandle, &ps);
  if (!dc) return;
  if (GetWindowRect(FHandle, &FWindowRect)) {
    const RECT r{0, 0, FWindowRect.right - FWindowRect.left, FWindowRect.bottom - FWindowRect.top};
    try {
      DrawSkin(dc, r);
    } catch (...) {
    }
  }
  if (began) EndPaint(FHandle, &ps);
}

void TSkinControl::EraseWithParent(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (FControl) {
    PaintParentBackground(FHandle, dc);
  } else {
    RECT r{};
    GetClientRect(FHandle, &r);
    FillParentColor(dc, r);
  }
  m.Result = 1;
}

void TSkinControl::FillSkinFace(HDC dc, const RECT& r) const {
  HBRUSH brush = CreateSolidBrush(ButtonFace());
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void TSkinControl::FillParentColor(HDC dc, const RECT& r) const {
  COLORREF colour = ButtonFace();
  if (FControl && FControl->Parent()) {
    const TPropInfo* p = FindPropInfo(FControl->Parent(), L"Color");
    if (p) colour = PlainColour(TColour(GetIntProp(FControl->Parent(), L"Color")));
  }
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

UINT TSkinControl::TextFlags(UINT flags) const {
  const bool rtl = (FControl && FControl->UseRightToLeftReading()) ||
                   (FRepaintDelegate && FRepaintDelegate->UseRightToLeftReading());
  return rtl ? flags | DT_RTLREADING : flags;
}

void TSkinControl::DrawTextFocus(HDC dc, const std::wstring& text, UINT flags, const RECT& r) const {
  RECT t = r;
  DrawTextWide(dc, text, t, flags | DT_CALCRECT | DT_NOCLIP);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int tw = t.right - t.left, th = t.bottom - t.top;
  if (flags & DT_CENTER) OffsetRect(&t, (w - tw) / 2, (h - th) / 2 - 1);
  else if (flags & DT_RIGHT) OffsetRect(&t, w - tw, 0);
  InflateRect(&t, 2, 1);
  IntersectRect(&t, &t, &r);
  DrawFocusRect(dc, &t);
}

void TSkinControl::DrawSkinFrame(HDC dc, const RECT& r, int frameCount, int frameNumber,
                                 const TDataSkinObject* object) const {
  if (!object || object->Bitmap.Empty() || r.right < r.left || r.bottom < r.top) return;
  const FrameMargins m{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
  DrawFrame(dc, r, object->Bitmap, false, object->Tile == 1, object->Trans == 1, frameCount,
            frameNumber, m);
}

// ---- skin access ------------------------------------------------------------------

const TSkinModel* TSkinControl::Skin() const { return FForm ? FForm->SkinModel() : nullptr; }

COLORREF TSkinControl::ButtonFace() const {
  return PlainColour(Skin() ? Skin()->ButtonFaceColour : SystemColour(kSysButtonFace));
}

COLORREF TSkinControl::ButtonText() const {
  return PlainColour(Skin() ? Skin()->ButtonTextColour : SystemColour(kSysButtonText));
}

COLORREF TSkinControl::ButtonShadow() const {
  return PlainColour(Skin() ? Skin()->ButtonShadowColour : SystemColour(kSysButtonShadow));
}

bool TSkinControl::HasOption(TSkinOption option) const {
  return FForm && HasSwitch(FForm->SkinOptions(), option);
}

DibSurface* TSkinControl::Surface(int width, int height) {
  if (FSurface.Width() != width || FSurface.Height() != height) {
    if (!FSurface.Resize(width, height)) return nullptr;
  }
  return FSurface.Bits() ? &FSurface : nullptr;
}

std::wstring TSkinControl::ReadWindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  if (n <= 0) return {};
  std::wstring text(size_t(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}
