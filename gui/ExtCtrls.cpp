#include "gui/ExtCtrls.h"

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TGroupButton, [](TClassBuilder<TGroupButton>&) {})

TGroupButton::TGroupButton(TCustomRadioGroup* group, int index)
    : TRadioButton(group), FGroup(group), FIndex(index) {}

void TGroupButton::Click() {
  FGroup->ButtonClicked(FIndex);
  TRadioButton::Click();
}

TW_IMPLEMENT_CLASS(TCustomRadioGroup, [](TClassBuilder<TCustomRadioGroup>& c) {
  c.Sub(L"Items", TPropKind::StringList, &TCustomRadioGroup::Items);
  c.Int(L"ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex);
  c.Int(L"Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns);
})
TW_IMPLEMENT_CLASS(TRadioGroup, [](TClassBuilder<TRadioGroup>&) {})

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  FItems.OnChange = [this] { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { FItems.OnChange = nullptr; }

void TCustomRadioGroup::UpdateButtons() {
  if (Loading()) return;  // Loaded() builds them once
  FUpdating = true;
  while (static_cast<int>(FButtons.size()) > FItems.Count()) {
    TGroupButton* b = FButtons.back();
    FButtons.pop_back();
    TComponent::Free(b);
  }
  while (static_cast<int>(FButtons.size()) < FItems.Count()) {
    auto* b = new TGroupButton(this, static_cast<int>(FButtons.size()));
    FButtons.push_back(b);
    b->SetParent(this);
  }
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems[static_cast<int>(i)]);
    FButtons[i]->SetEnabled(Enabled());
    FButtons[i]->SetChecked(static_cast<int>(i) == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  RECT r = AdjustClientRect();
  int columns = std::max(1, FColumns);
  int rows = (static_cast<int>(FButtons.size()) + columns - 1) / columns;
  int width = std::max<int>(0, r.right - r.left - 8) / columns;
  int height = std::max<int>(0, r.bottom - r.top - 2) / rows;
  for (size_t i = 0; i < FButtons.size(); ++i) {
    int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
    int h = std::min(height, 20);
    int top = r.top + 1 + row * height + (height - h) / 2;
    FButtons[i]->SetBounds(r.left + 6 + col * width, top, std::max(0, width - 2), h);
  }
}

void TCustomRadioGroup::ButtonClicked(int index) {
  if (FUpdating || index == FItemIndex) return;
  FItemIndex = index;
  Click();
}

void TCustomRadioGroup::SetItemIndex(int i) {
  if (Loading()) {  // Items may come later in the description
    FItemIndex = i;
    return;
  }
  if (i < -1 || i >= FItems.Count()) i = -1;
  if (i == FItemIndex) return;
  FItemIndex = i;
  FUpdating = true;
  for (size_t k = 0; k < FButtons.size(); ++k) FButtons[k]->SetChecked(static_cast<int>(k) == i);
  FUpdating = false;
  Click();
}

void TCustomRadioGroup::SetColumns(int n) {
  n = std::clamp(n, 1, 16);
  if (n == FColumns) return;
  FColumns = n;
  ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::BoundsChanged() {
  TCustomGroupBox::BoundsChanged();
  ArrangeButtons();
}

void TCustomRadioGroup::FontChanged() {
  TCustomGroupBox::FontChanged();
  ArrangeButtons();
}

// ---------------------------------------------------------------------------

void TScrollHelper::SetAutoScroll(bool a) {
  if (a == FAutoScroll) return;
  FAutoScroll = a;
  UpdateScrollBars();
}

SIZE TScrollHelper::ContentSize() const {
  SIZE s{0, 0};
  for (int i = 0; i < FControl->ControlCount(); ++i) {
    TControl* c = FControl->Controls(i);
    if (!c->Visible() || c->Align() != alNone) continue;
    s.cx = std::max<LONG>(s.cx, c->Left() + c->Width() + FScroll.x);
    s.cy = std::max<LONG>(s.cy, c->Top() + c->Height() + FScroll.y);
  }
  return s;
}

void TScrollHelper::UpdateScrollBars() {
  if (!FControl->HandleAllocated() || FUpdatingBars || FControl->Loading()) return;
  HWND h = FControl->Handle();
  FUpdatingBars = true;
  SIZE content = FAutoScroll ? ContentSize() : SIZE{0, 0};
  // Showing one bar narrows the client area, which may call for the other:
  // two rounds settle it.
  for (int round = 0; round < 2; ++round) {
    RECT client;
    GetClientRect(h, &client);
    SCROLLINFO hs = {sizeof hs, SIF_RANGE | SIF_PAGE, 0, static_cast<int>(content.cx) - 1,
                     static_cast<UINT>(client.right), 0, 0};
    SCROLLINFO vs = {sizeof vs, SIF_RANGE | SIF_PAGE, 0, static_cast<int>(content.cy) - 1,
                     static_cast<UINT>(client.bottom), 0, 0};
    if (content.cx <= client.right) hs.nMax = 0, hs.nPage = 0;
    if (content.cy <= client.bottom) vs.nMax = 0, vs.nPage = 0;
    SetScrollInfo(h, SB_HORZ, &hs, TRUE);
    SetScrollInfo(h, SB_VERT, &vs, TRUE);
  }
  RECT client;
  GetClientRect(h, &client);
  int maxX = std::max<int>(0, content.cx - client.right), maxY = std::max<int>(0, content.cy - client.bottom);
  FUpdatingBars = false;
  ScrollTo(std::min<int>(FScroll.x, maxX), std::min<int>(FScroll.y, maxY));
}

void TScrollHelper::ScrollTo(int x, int y) {
  x = std::max(x, 0);
  y = std::max(y, 0);
  int dx = x - FScroll.x, dy = y - FScroll.y;
  if (dx || dy) {
    FScroll = POINT{x, y};
    for (int i = 0; i < FControl->ControlCount(); ++i) {
      TControl* c = FControl->Controls(i);
      if (c->Align() != alNone) continue;
      c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
    }
    FControl->Invalidate();
  }
  if (FControl->HandleAllocated()) {
    SetScrollPos(FControl->Handle(), SB_HORZ, FScroll.x, TRUE);
    SetScrollPos(FControl->Handle(), SB_VERT, FScroll.y, TRUE);
  }
}

void TScrollHelper::ScrollInView(TControl* c) {
  if (!c || c->Parent() != FControl) return;
  RECT client = FControl->ClientRect();
  int x = FScroll.x, y = FScroll.y;
  if (c->Left() < 0) x += c->Left();
  else if (c->Left() + c->Width() > client.right) x += std::min<int>(c->Left(), c->Left() + c->Width() - client.right);
  if (c->Top() < 0) y += c->Top();
  else if (c->Top() + c->Height() > client.bottom) y += std::min<int>(c->Top(), c->Top() + c->Height() - client.bottom);
  ScrollTo(x, y);
}

void TScrollHelper::ScrollMessage(int bar, int code) {
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(FControl->Handle(), bar, &si)) return;
  int line = 8, pos = si.nPos;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  pos = std::clamp(pos, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
  if (bar == SB_HORZ) ScrollTo(pos, FScroll.y);
  else ScrollTo(FScroll.x, pos);
}

bool TScrollHelper::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam != 0) return false;  // a control's bar: reflected to it
      ScrollMessage(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
      m.Result = 0;
      return true;
    case WM_MOUSEWHEEL: {
      if (!(GetWindowLongPtrW(FControl->Handle(), GWL_STYLE) & WS_VSCROLL)) return false;
      int delta = static_cast<short>(HIWORD(m.WParam));
      for (int n = std::abs(delta) / WHEEL_DELTA * 3; n > 0; --n)
        ScrollMessage(SB_VERT, delta > 0 ? SB_LINEUP : SB_LINEDOWN);
      m.Result = 0;
      return true;
    }
    default:
      return false;
  }
}

void TScrollHelper::AfterMessage(const TMessage& m) {
  if (m.Msg == WM_SIZE || m.Msg == WM_SHOWWINDOW) UpdateScrollBars();
}

TW_IMPLEMENT_CLASS(TScrollingWinControl, [](TClassBuilder<TScrollingWinControl>& c) {
  c.Bool(L"AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll);
})

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}

void TScrollingWinControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TScrollingWinControl::InitializeWnd() {
  TWinControl::InitializeWnd();
  FScroller.UpdateScrollBars();
}

void TScrollingWinControl::Loaded() {
  TWinControl::Loaded();
  FScroller.UpdateScrollBars();
}

void TScrollingWinControl::WndProc(TMessage& m) {
  if (FScroller.BeforeMessage(m)) return;
  TWinControl::WndProc(m);
  FScroller.AfterMessage(m);
}

TW_IMPLEMENT_CLASS(TScrollBox, [](TClassBuilder<TScrollBox>& c) {
  c.Enum(L"BorderStyle", kBorderStyleInfo, &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle);
})

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  FWidth = 185;
  FHeight = 41;
  FTabStop = false;
}

void TScrollBox::CreateParams(TCreateParams& p) {
  TScrollingWinControl::CreateParams(p);
  if (FBorderStyle == bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::SetBorderStyle(TBorderStyle b) {
  if (b == FBorderStyle) return;
  FBorderStyle = b;
  RecreateWnd();
}
