#include "gui/StdCtrls.h"

#include <algorithm>

#include "gui/Buttons.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Menus.h"
#include "gui/TabCtrls.h"
#include "gui/ToolBars.h"

// Descriptions create controls by class name only; this table keeps every
// control file (and so its class registration) in any program that uses
// the standard controls.
extern const void* const kControlClassesLinked[];
const void* const kControlClassesLinked[] = {
    reinterpret_cast<const void*>(&TRadioGroup::StaticClass), reinterpret_cast<const void*>(&TScrollBox::StaticClass),
    reinterpret_cast<const void*>(&TPageControl::StaticClass), reinterpret_cast<const void*>(&TTabControl::StaticClass),
    reinterpret_cast<const void*>(&TBitBtn::StaticClass), reinterpret_cast<const void*>(&TSpeedButton::StaticClass),
    reinterpret_cast<const void*>(&TStatusBar::StaticClass), reinterpret_cast<const void*>(&TTrackBar::StaticClass),
    reinterpret_cast<const void*>(&TToolBar::StaticClass), reinterpret_cast<const void*>(&TCoolBar::StaticClass)};

const TEnumInfo kBevelCutInfo{L"TBevelCut", {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"}};
const TEnumInfo kAlignmentInfo{L"TAlignment", {L"taLeftJustify", L"taRightJustify", L"taCenter"}};
const TEnumInfo kBorderStyleInfo{L"TBorderStyle", {L"bsNone", L"bsSingle"}};

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TButtonControl, [](TClassBuilder<TButtonControl>&) {})

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { FTabStop = true; }

TW_IMPLEMENT_CLASS(TButton, [](TClassBuilder<TButton>& c) {
  c.Bool(L"Default", &TButton::Default, &TButton::SetDefault);
  c.Bool(L"Cancel", &TButton::Cancel, &TButton::SetCancel);
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

bool TButton::DialogKey(WPARAM key) {
  if (!HandleAllocated() || !IsWindowVisible(FHandle) || !IsWindowEnabled(FHandle)) return false;
  if (key == VK_ESCAPE) {
    if (!FCancel) return false;
  } else if (key == VK_RETURN) {
    // The focused push button takes Enter; the Default one only while no
    // other push button has the focus.
    if (!Focused()) {
      if (!FDefault) return false;
      if (dynamic_cast<TButton*>(FindControl(GetFocus()))) return false;
    }
  } else {
    return false;
  }
  // Clicked in place, as a dialog would: the focus stays where it is.
  Click();
  return true;
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  if (m.Msg == CM_DIALOGKEY) {
    m.Result = DialogKey(m.WParam) ? 1 : 0;
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
  c.Bool(L"ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar);
  c.Ref(L"FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
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

void TCustomLabel::SetShowAccelChar(bool s) {
  if (s == FShowAccelChar) return;
  FShowAccelChar = s;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* c) {
  if (c == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = c;
  if (c) FreeNotification(c);
}

void TCustomLabel::Notification(TComponent* c, TOperation op) {
  TControl::Notification(c, op);
  if (op == opRemove && c == FFocusControl) FFocusControl = nullptr;
}

UINT TCustomLabel::TextFlags() const { return DT_SINGLELINE | (FShowAccelChar ? 0 : DT_NOPREFIX); }

void TCustomLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    // Alt+key of the caption's access key moves the focus to FocusControl.
    const auto key = static_cast<wchar_t>(m.WParam);
    const wchar_t want = (key >= L'a' && key <= L'z') ? static_cast<wchar_t>(key - L'a' + L'A') : key;
    m.Result = 0;
    if (FShowAccelChar && FFocusControl && key && AccessKeyOf(FText) == want && FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TControl::WndProc(m);
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
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | TextFlags());
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
  UINT flags = TextFlags();
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

// ---------------------------------------------------------------------------

const TEnumInfo kScrollStyleInfo{L"TScrollStyle", {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"}};

TW_IMPLEMENT_CLASS(TCustomMemo, [](TClassBuilder<TCustomMemo>& c) {
  c.Sub(L"Lines", TPropKind::StringList, &TCustomMemo::Lines);
  c.Enum(L"ScrollBars", kScrollStyleInfo, &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars);
  c.Bool(L"WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap);
})
TW_IMPLEMENT_CLASS(TMemo, [](TClassBuilder<TMemo>&) {})

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  FWidth = 185;
  FHeight = 89;
  FLines.OnChange = [this] {
    if (FSyncing) return;
    std::wstring text;
    for (int i = 0; i < FLines.Count(); ++i) {
      if (i) text += L"\r\n";
      text += FLines[i];
    }
    FSyncing = true;
    try {
      TCustomEdit::SetText(text);
    } catch (...) {
      FSyncing = false;
      throw;
    }
    FSyncing = false;
  };
}

TStringList* TCustomMemo::Lines() {
  // The window is the truth while it exists (the user may have typed).
  if (HandleAllocated() && !FSyncing) {
    FSyncing = true;
    FLines.SetText(TCustomEdit::GetText());
    FSyncing = false;
  }
  return &FLines;
}

std::wstring TCustomMemo::GetText() const { return TCustomEdit::GetText(); }

void TCustomMemo::SetText(const std::wstring& t) {
  TCustomEdit::SetText(t);
  if (!FSyncing) {
    FSyncing = true;
    FLines.SetText(t);
    FSyncing = false;
  }
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  p.style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!FWordWrap || FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.style |= ES_AUTOHSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) p.style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  if (s == FScrollBars) return;
  FScrollBars = s;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool w) {
  if (w == FWordWrap) return;
  FWordWrap = w;
  RecreateWnd();
}

void TCustomMemo::WndProc(TMessage& m) {
  // Multi-line edits take Enter and Tab themselves.
  if (m.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(m);
    m.Result |= DLGC_WANTALLKEYS;
    return;
  }
  TCustomEdit::WndProc(m);
}

// ---------------------------------------------------------------------------

const TEnumInfo kCheckBoxStateInfo{L"TCheckBoxState", {L"cbUnchecked", L"cbChecked", L"cbGrayed"}};
const TEnumInfo kLeftRightInfo{L"TLeftRight", {L"taLeftJustify", L"taRightJustify"}};

TW_IMPLEMENT_CLASS(TCustomCheckBox, [](TClassBuilder<TCustomCheckBox>& c) {
  c.Enum(L"State", kCheckBoxStateInfo, &TCustomCheckBox::State, &TCustomCheckBox::SetState);
  c.Bool(L"Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked);
  c.Bool(L"AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed);
  c.Enum(L"Alignment", kLeftRightInfo, &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment);
})
TW_IMPLEMENT_CLASS(TCheckBox, [](TClassBuilder<TCheckBox>&) {})

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  FWidth = 97;
  FHeight = 17;
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.systemClass = L"BUTTON";
  // Not automatic: the state lives here, the window only shows it.
  p.style |= BS_3STATE;
  if (FAlignment == taLeftJustifyLR) p.style |= BS_LEFTTEXT;
}

void TCustomCheckBox::InitializeWnd() {
  TButtonControl::InitializeWnd();
  SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState s) {
  if (s < cbUnchecked || s > cbGrayed) s = cbUnchecked;
  if (s == FState) return;
  FState = s;
  if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(s), 0);
  if (!Loading()) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight a) {
  if (a == FAlignment) return;
  FAlignment = a;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Toggle();
    return;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TRadioButton, [](TClassBuilder<TRadioButton>& c) {
  c.Bool(L"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
  c.Enum(L"Alignment", kLeftRightInfo, &TRadioButton::Alignment, &TRadioButton::SetAlignment);
})

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  FWidth = 113;
  FHeight = 17;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.systemClass = L"BUTTON";
  p.style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustifyLR) p.style |= BS_LEFTTEXT;
}

void TRadioButton::InitializeWnd() {
  TButtonControl::InitializeWnd();
  SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool c) {
  if (c == FChecked) return;
  FChecked = c;
  if (HandleAllocated()) SendMessageW(FHandle, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!c) return;
  if (FParent) {
    for (int i = 0; i < FParent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(FParent->Controls(i));
      if (other && other != this) other->SetChecked(false);
    }
  }
  if (!Loading()) Click();
}

void TRadioButton::SetAlignment(TLeftRight a) {
  if (a == FAlignment) return;
  FAlignment = a;
  RecreateWnd();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TListControl, [](TClassBuilder<TListControl>& c) {
  c.Sub(L"Items", TPropKind::StringList, &TListControl::Items);
  c.Int(L"ItemIndex", &TListControl::ItemIndex, &TListControl::SetItemIndex);
})

TListControl::TListControl(TComponent* owner) : TWinControl(owner) {
  FTabStop = true;
  FColor = clWindow;
  FItems.OnChange = [this] {
    if (HandleAllocated()) LoadItems();
    else if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  };
}

void TListControl::LoadItems() {
  int keep = HandleAllocated() ? ItemIndex() : FItemIndex;
  SendMessageW(FHandle, MsgReset(), 0, 0);
  for (int i = 0; i < FItems.Count(); ++i)
    SendMessageW(FHandle, MsgAdd(), 0, reinterpret_cast<LPARAM>(FItems[i].c_str()));
  if (keep >= FItems.Count()) keep = -1;
  SendMessageW(FHandle, MsgSetSel(), static_cast<WPARAM>(keep), 0);
}

void TListControl::InitializeWnd() {
  TWinControl::InitializeWnd();
  LoadItems();
  SendMessageW(FHandle, MsgSetSel(), static_cast<WPARAM>(FItemIndex), 0);
}

void TListControl::DestroyWnd() {
  FItemIndex = ItemIndex();
  TWinControl::DestroyWnd();
}

int TListControl::ItemIndex() const {
  if (!FHandle) return FItemIndex;
  LRESULT r = SendMessageW(FHandle, MsgGetSel(), 0, 0);
  return r < 0 ? -1 : static_cast<int>(r);
}

void TListControl::SetItemIndex(int i) {
  // A description may set ItemIndex before Items: keep it until loaded.
  if (!Loading() && (i < -1 || i >= FItems.Count())) i = -1;
  if (i == ItemIndex()) return;
  FItemIndex = i;
  if (HandleAllocated()) SendMessageW(FHandle, MsgSetSel(), static_cast<WPARAM>(i), 0);
}

// ---------------------------------------------------------------------------

// CB_SETMINVISIBLE (the headers offer it only for newer system versions).
constexpr UINT kComboSetMinVisible = 0x1701;

const TEnumInfo kComboBoxStyleInfo{
    L"TComboBoxStyle", {L"csDropDown", L"csSimple", L"csDropDownList", L"csOwnerDrawFixed", L"csOwnerDrawVariable"}};

TW_IMPLEMENT_CLASS(TCustomComboBox, [](TClassBuilder<TCustomComboBox>& c) {
  c.Enum(L"Style", kComboBoxStyleInfo, &TCustomComboBox::Style, &TCustomComboBox::SetStyle);
  c.Int(L"DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount);
  c.Event(L"OnChange", &TCustomComboBox::OnChange);
  c.Event(L"OnDropDown", &TCustomComboBox::OnDropDown);
  c.Event(L"OnCloseUp", &TCustomComboBox::OnCloseUp);
})
TW_IMPLEMENT_CLASS(TComboBox, [](TClassBuilder<TComboBox>&) {})

TCustomComboBox::TCustomComboBox(TComponent* owner) : TListControl(owner) {
  FWidth = 145;
  FHeight = 21;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TListControl::CreateParams(p);
  p.systemClass = L"COMBOBOX";
  static const DWORD kinds[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  p.style |= kinds[FStyle] | CBS_AUTOHSCROLL | WS_VSCROLL | CBS_HASSTRINGS;
  // The height of a drop-down combo box's window includes its list.
  if (FStyle != csSimple) p.height = FHeight + ListHeight();
}

void TCustomComboBox::InitializeWnd() {
  TListControl::InitializeWnd();
  SendMessageW(FHandle, kComboSetMinVisible, static_cast<WPARAM>(FDropDownCount), 0);
  if (FItemIndex < 0 && FStyle != csDropDownList && !FText.empty()) SetWindowTextW(FHandle, FText.c_str());
}

int TCustomComboBox::ListHeight() const {
  int item = FHandle ? static_cast<int>(SendMessageW(FHandle, CB_GETITEMHEIGHT, 0, 0)) : 0;
  if (item <= 0) item = const_cast<TCustomComboBox*>(this)->Font()->PixelHeight() + 4;
  return FDropDownCount * item + 2;
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  TListControl::SetBounds(left, top, width, height);
  // The window took the closed height: give the list its room back.
  if (FHandle && FStyle != csSimple)
    SetWindowPos(FHandle, nullptr, 0, 0, Width(), Height() + ListHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
  if (s == FStyle || s < csDropDown || s > csOwnerDrawVariable) return;
  FStyle = s;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int n) {
  FDropDownCount = std::clamp(n, 1, 100);
  if (!HandleAllocated()) return;
  SendMessageW(FHandle, kComboSetMinVisible, static_cast<WPARAM>(FDropDownCount), 0);
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

bool TCustomComboBox::DroppedDown() const { return FHandle && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0); }

void TCustomComboBox::SetDroppedDown(bool d) {
  if (FHandle) SendMessageW(FHandle, CB_SHOWDROPDOWN, d ? TRUE : FALSE, 0);
}

std::wstring TCustomComboBox::GetText() const {
  if (FHandle) return TListControl::GetText();
  if (FItemIndex >= 0 && FItemIndex < FItems.Count()) return FItems[FItemIndex];
  return FText;
}

void TCustomComboBox::SetText(const std::wstring& t) {
  if (t == GetText()) return;
  int index = FItems.IndexOf(t);
  if (FStyle == csDropDownList || index >= 0) {
    // A list-only box can show only an item; a matching item is selected.
    if (FStyle != csDropDownList) FText = t;
    SetItemIndex(index);
    return;
  }
  FItemIndex = -1;
  if (FHandle) SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  TListControl::SetText(t);
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
      case CBN_EDITCHANGE:
        OnChange(this);
        return;
      case CBN_DROPDOWN:
        OnDropDown(this);
        return;
      case CBN_CLOSEUP:
        OnCloseUp(this);
        return;
      default:
        break;
    }
  }
  TListControl::WndProc(m);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TCustomListBox, [](TClassBuilder<TCustomListBox>& c) {
  c.Enum(L"BorderStyle", kBorderStyleInfo, &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle);
  c.Int(L"Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns);
})
TW_IMPLEMENT_CLASS(TListBox, [](TClassBuilder<TListBox>&) {})

TCustomListBox::TCustomListBox(TComponent* owner) : TListControl(owner) {
  FWidth = 121;
  FHeight = 97;
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TListControl::CreateParams(p);
  p.systemClass = L"LISTBOX";
  p.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL;
  if (FColumns > 0) p.style |= LBS_MULTICOLUMN | WS_HSCROLL;
  if (FBorderStyle == bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::SetBorderStyle(TBorderStyle b) {
  if (b == FBorderStyle) return;
  FBorderStyle = b;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int n) {
  n = std::max(n, 0);
  if (n == FColumns) return;
  bool restyle = (n > 0) != (FColumns > 0);
  FColumns = n;
  if (restyle) RecreateWnd();
  else if (HandleAllocated() && n > 0) SendMessageW(FHandle, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(FWidth / n), 0);
}

void TCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE) {
    Click();
    return;
  }
  TListControl::WndProc(m);
}

// ---------------------------------------------------------------------------

const TEnumInfo kScrollBarKindInfo{L"TScrollBarKind", {L"sbHorizontal", L"sbVertical"}};
const TEnumInfo kScrollCodeInfo{L"TScrollCode", {L"scLineUp", L"scLineDown", L"scPageUp", L"scPageDown", L"scPosition",
                                                 L"scTrack", L"scTop", L"scBottom", L"scEndScroll"}};

TW_IMPLEMENT_CLASS(TScrollBar, [](TClassBuilder<TScrollBar>& c) {
  c.Enum(L"Kind", kScrollBarKindInfo, &TScrollBar::Kind, &TScrollBar::SetKind);
  c.Int(L"Min", &TScrollBar::Min, &TScrollBar::SetMin);
  c.Int(L"Max", &TScrollBar::Max, &TScrollBar::SetMax);
  c.Int(L"Position", &TScrollBar::Position, &TScrollBar::SetPosition);
  c.Int(L"PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
  c.Int(L"SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange);
  c.Int(L"LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange);
  c.Event(L"OnScroll", &TScrollBar::OnScroll);
  c.Event(L"OnChange", &TScrollBar::OnChange);
})

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = GetSystemMetrics(SM_CYHSCROLL);
  FTabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.systemClass = L"SCROLLBAR";
  p.style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::InitializeWnd() {
  TWinControl::InitializeWnd();
  UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO si = {sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
  SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind k) {
  if (k == FKind) return;
  FKind = k;
  if (!Loading()) SetBounds(FLeft, FTop, FHeight, FWidth);  // a turned bar keeps its shape
  RecreateWnd();
}

int TScrollBar::MaxPosition() const { return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax; }

void TScrollBar::SetPageSize(int v) {
  v = std::clamp(v, 0, FMax - FMin + 1);
  if (v == FPageSize) return;
  FPageSize = v;
  SetParams(FPosition, FMin, FMax);
  UpdateScrollInfo();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) max = min;
  bool changed = min != FMin || max != FMax;
  FMin = min;
  FMax = max;
  FPageSize = std::min(FPageSize, FMax - FMin + 1);
  position = std::clamp(position, FMin, MaxPosition());
  bool moved = position != FPosition;
  FPosition = position;
  if (changed || moved) UpdateScrollInfo();
  if (moved && !Loading()) OnChange(this);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int code = LOWORD(m.WParam);
    int pos = FPosition;
    switch (code) {
      case SB_LINEUP: pos -= FSmallChange; break;
      case SB_LINEDOWN: pos += FSmallChange; break;
      case SB_PAGEUP: pos -= FLargeChange; break;
      case SB_PAGEDOWN: pos += FLargeChange; break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: {
        // The 32-bit position; the message's word is only 16 bits.
        SCROLLINFO si = {sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        pos = GetScrollInfo(FHandle, SB_CTL, &si) ? si.nTrackPos : static_cast<short>(HIWORD(m.WParam));
        break;
      }
      case SB_TOP: pos = FMin; break;
      case SB_BOTTOM: pos = FMax; break;
      case SB_ENDSCROLL: break;
      default: return;
    }
    pos = std::clamp(pos, FMin, MaxPosition());
    static const TScrollCode codes[] = {scLineUp, scLineDown, scPageUp, scPageDown, scPosition,
                                        scTrack,  scTop,      scBottom, scEndScroll};
    OnScroll(this, codes[code], pos);
    SetPosition(pos);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}
