#include "gui/StdCtrls.h"

#include <algorithm>

const TEnumInfo kBevelCutInfo{L"TBevelCut", {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"}};
const TEnumInfo kAlignmentInfo{L"TAlignment", {L"taLeftJustify", L"taRightJustify", L"taCenter"}};
const TEnumInfo kBorderStyleInfo{L"TBorderStyle", {L"bsNone", L"bsSingle"}};

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TButtonControl, [](TClassBuilder<TButtonControl>&) {})

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { FTabStop = true; }

TW_IMPLEMENT_CLASS(TButton, [](TClassBuilder<TButton>& c) {
  c.Bool(L"Default", &TButton::Default, &TButton::SetDefault);
})

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  FWidth = 75;
  FHeight = 25;
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.systemClass = L"BUTTON";
  p.style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool d) {
  if (d == FDefault) return;
  FDefault = d;
  if (HandleAllocated()) Perform(BM_SETSTYLE, d ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::PerformClick() {
  if (HandleAllocated()) SendMessageW(FHandle, BM_CLICK, 0, 0);
  else if (Enabled()) Click();
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCustomGroupBox, [](TClassBuilder<TCustomGroupBox>&) {})
TW_IMPLEMENT_CLASS(TGroupBox, [](TClassBuilder<TGroupBox>&) {})

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.systemClass = L"BUTTON";
  p.style |= BS_GROUPBOX;
}

void TCustomGroupBox::WndProc(TMessage& m) {
  // The system group box never erases its inside, and our parents clip
  // their children, so nobody else would paint it.
  if (m.Msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(FHandle, &r);
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, ColorBrush());
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

RECT TCustomGroupBox::AdjustClientRect() const {
  RECT r = ClientRect();
  int caption = const_cast<TCustomGroupBox*>(this)->Font()->PixelHeight();
  r.top += caption;
  InflateRect(&r, -2, -2);
  return r;
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCustomPanel, [](TClassBuilder<TCustomPanel>& c) {
  c.Enum(L"BevelOuter", kBevelCutInfo, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter);
  c.Enum(L"BevelInner", kBevelCutInfo, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner);
  c.Int(L"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth);
  c.Int(L"BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth);
  c.Enum(L"Alignment", kAlignmentInfo, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment);
  c.Bool(L"ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground);
  c.Bool(L"Transparent", &TCustomPanel::Transparent, &TCustomPanel::SetTransparent);
})
TW_IMPLEMENT_CLASS(TPanel, [](TClassBuilder<TPanel>&) {})

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

int TCustomPanel::BevelSize() const {
  return (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0) + FBorderWidth;
}

RECT TCustomPanel::AdjustClientRect() const {
  RECT r = ClientRect();
  int b = BevelSize();
  InflateRect(&r, -b, -b);
  return r;
}

void TCustomPanel::SetBevelOuter(TBevelCut b) {
  if (b == FBevelOuter) return;
  FBevelOuter = b;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut b) {
  if (b == FBevelInner) return;
  FBevelInner = b;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBevelWidth(int w) {
  if (w == FBevelWidth || w < 1) return;
  FBevelWidth = w;
  Realign();
  Invalidate();
}
void TCustomPanel::SetBorderWidth(int w) {
  if (w == FBorderWidth || w < 0) return;
  FBorderWidth = w;
  Realign();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}
void TCustomPanel::SetParentBackground(bool p) {
  FParentBackground = p;
  Invalidate();
}
void TCustomPanel::SetTransparent(bool t) {
  FTransparent = t;
  Invalidate();
}

namespace {
void Bevel(HDC dc, RECT& r, TBevelCut cut, int width) {
  if (cut == bvNone) return;
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  COLORREF topLeft = cut == bvLowered ? dark : light, bottomRight = cut == bvLowered ? light : dark;
  if (cut == bvSpace) topLeft = bottomRight = GetSysColor(COLOR_BTNFACE);
  for (int i = 0; i < width; ++i) {
    HBRUSH tl = CreateSolidBrush(topLeft), br = CreateSolidBrush(bottomRight);
    RECT t{r.left, r.top, r.right, r.top + 1}, l{r.left, r.top, r.left + 1, r.bottom};
    RECT b{r.left, r.bottom - 1, r.right, r.bottom}, rr{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &t, tl);
    FillRect(dc, &l, tl);
    FillRect(dc, &b, br);
    FillRect(dc, &rr, br);
    DeleteObject(tl);
    DeleteObject(br);
    InflateRect(&r, -1, -1);
  }
}
}  // namespace

bool TCustomPanel::EraseBackground(HDC dc) {
  // Painting covers everything; erasing separately would flicker.
  return true;
}

void TCustomPanel::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  if (!FParentBackground && !FTransparent) FillRect(dc, &r, ColorBrush());
  else if (FParent) {
    HBRUSH parentBrush = CreateSolidBrush(ColorToRGB(FParent->Color()));
    FillRect(dc, &r, parentBrush);
    DeleteObject(parentBrush);
  }
  Bevel(dc, r, FBevelOuter, FBevelWidth);
  InflateRect(&r, -FBorderWidth, -FBorderWidth);
  Bevel(dc, r, FBevelInner, FBevelWidth);
  std::wstring text = FText;
  if (!text.empty()) {
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(FFont.Color()));
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc, old);
  }
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCustomLabel, [](TClassBuilder<TCustomLabel>& c) {
  c.Bool(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize);
  c.Bool(L"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent);
  c.Enum(L"Alignment", kAlignmentInfo, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment);
})
TW_IMPLEMENT_CLASS(TLabel, [](TClassBuilder<TLabel>&) {})

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {
  FWidth = 65;
  FHeight = 17;
  FParentColor = true;
}

void TCustomLabel::SetAutoSize(bool a) {
  if (a == FAutoSize) return;
  FAutoSize = a;
  AdjustBounds();
}

void TCustomLabel::SetTransparent(bool t) {
  FTransparent = t;
  Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Invalidate();
}

void TCustomLabel::TextChanged() {
  TControl::TextChanged();
  AdjustBounds();
}

void TCustomLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || Loading()) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FFont.Handle());
  RECT r{0, 0, 0, 0};
  std::wstring text = FText.empty() ? std::wstring(L" ") : FText;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The height follows the font's character height, as the form was laid out with.
  int height = std::max<int>(FFont.PixelHeight(), 0);
  if (height == 0) height = r.bottom;
  int left = FLeft;
  if (FAlignment == taRightJustify) left = FLeft + FWidth - r.right;
  SetBounds(left, FTop, r.right, height);
}

void TCustomLabel::Paint(HDC dc) {
  RECT r{0, 0, FWidth, FHeight};
  if (!FTransparent) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(FColor));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  HGDIOBJ old = SelectObject(dc, FFont.Handle());
  SetBkMode(dc, TRANSPARENT);
  UINT flags = DT_NOPREFIX | DT_SINGLELINE;
  flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  if (!FEnabled) {
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shifted{1, 1, FWidth + 1, FHeight + 1};
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &shifted, flags);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, ColorToRGB(FFont.Color()));
  }
  DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &r, flags);
  SelectObject(dc, old);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCustomEdit, [](TClassBuilder<TCustomEdit>& c) {
  c.Bool(L"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
  c.Int(L"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
  c.Enum(L"BorderStyle", kBorderStyleInfo, &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle);
  c.Event(L"OnChange", &TCustomEdit::OnChange);
})
TW_IMPLEMENT_CLASS(TEdit, [](TClassBuilder<TEdit>&) {})

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.systemClass = L"EDIT";
  p.style |= ES_AUTOHSCROLL | ES_LEFT;
  if (FReadOnly) p.style |= ES_READONLY;
  if (FBorderStyle == bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWnd() {
  if (FMaxLength > 0) Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::DestroyWnd() { FText = GetText(); }

void TCustomEdit::SetReadOnly(bool r) {
  if (r == FReadOnly) return;
  FReadOnly = r;
  if (HandleAllocated()) Perform(EM_SETREADONLY, r ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int n) {
  if (n < 0) n = 0;
  FMaxLength = n;
  if (HandleAllocated()) Perform(EM_LIMITTEXT, static_cast<WPARAM>(n), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle b) {
  if (b == FBorderStyle) return;
  FBorderStyle = b;
  RecreateWnd();
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}
