#include "gui/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {
void InitCommonControlClasses() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                                    ICC_UPDOWN_CLASS | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}
}  // namespace

const TEnumInfo kViewStyleInfo{L"TViewStyle", {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"}};

// ---------------------------------------------------------------------------
// Columns

TW_IMPLEMENT_CLASS(TListColumn, [](TClassBuilder<TListColumn>& c) {
  c.Str(L"Caption", &TListColumn::Caption, &TListColumn::SetCaption);
  c.Int(L"Width", &TListColumn::Width, &TListColumn::SetWidth);
  c.Enum(L"Alignment", kAlignmentInfo, &TListColumn::Alignment, &TListColumn::SetAlignment);
})

TListColumn::TListColumn(TCollection* c) : TCollectionItem(c) {}

TCustomListView* TListColumn::View() const {
  auto* cols = dynamic_cast<TListColumns*>(Collection());
  return cols ? cols->View() : nullptr;
}

void TListColumn::Changed() {
  if (TCustomListView* v = View()) v->UpdateColumns();
}

void TListColumn::SetCaption(const std::wstring& c) {
  FCaption = c;
  Changed();
}

int TListColumn::Width() const {
  TCustomListView* v = View();
  if (v && v->HandleAllocated() && Index() >= 0) {
    int w = static_cast<int>(SendMessageW(v->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    if (w > 0) return w;
  }
  return FWidth;
}

void TListColumn::SetWidth(int w) {
  FWidth = w < 0 ? 0 : w;
  Changed();
}

void TListColumn::SetAlignment(TAlignment a) {
  FAlignment = a;
  Changed();
}

void TListColumn::Assign(const TPersistent* source) {
  if (auto* c = dynamic_cast<const TListColumn*>(source)) {
    FCaption = c->FCaption;
    FWidth = c->FWidth;
    FAlignment = c->FAlignment;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

TW_IMPLEMENT_CLASS(TListColumns, [](TClassBuilder<TListColumns>&) {})

TListColumns::TListColumns(TCustomListView* view)
    : TCollection(view, [](TCollection* c) { return new TListColumn(c); }), FView(view) {}

// ---------------------------------------------------------------------------
// Items

TW_IMPLEMENT_CLASS(TListItem, [](TClassBuilder<TListItem>&) {})
TW_IMPLEMENT_CLASS(TListItems, [](TClassBuilder<TListItems>& c) {
  c.Int(L"Count", &TListItems::Count, &TListItems::SetCount);
})

int TListItems::Count() const { return FView->OwnerData() ? FCount : static_cast<int>(FStored.size()); }

void TListItems::SetCount(int n) {
  if (n < 0) n = 0;
  if (!FView->OwnerData()) {
    // Stored mode: grow with empty rows or cut.
    while (static_cast<int>(FStored.size()) > n) FStored.pop_back();
    while (static_cast<int>(FStored.size()) < n) Add();
  }
  FCount = n;
  FView->UpdateCount();
}

TListItem* TListItems::Add() {
  if (FView->OwnerData()) throw Exception(L"A virtual list view has no stored items");
  FStored.push_back(std::make_unique<TListItem>());
  FStored.back()->Reset(static_cast<int>(FStored.size()) - 1);
  FCount = static_cast<int>(FStored.size());
  FView->UpdateCount();
  return FStored.back().get();
}

TListItem* TListItems::Item(int i) const {
  if (i < 0 || i >= static_cast<int>(FStored.size())) throw EListError(L"List index out of bounds (" + IntToStr(i) + L")");
  return FStored[static_cast<size_t>(i)].get();
}

void TListItems::Clear() {
  FStored.clear();
  FCount = 0;
  FView->UpdateCount();
}

// ---------------------------------------------------------------------------
// List view

TW_IMPLEMENT_CLASS(TCustomListView, [](TClassBuilder<TCustomListView>& c) {
  c.Sub(L"Columns", TPropKind::Collection, &TCustomListView::Columns);
  c.Sub(L"Items", TPropKind::Object, &TCustomListView::Items);
  c.Enum(L"ViewStyle", kViewStyleInfo, &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle);
  c.Bool(L"GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines);
  c.Bool(L"RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect);
  c.Bool(L"MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect);
  c.Bool(L"ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly);
  c.Bool(L"OwnerData", &TCustomListView::OwnerData, &TCustomListView::SetOwnerData);
  c.Enum(L"BorderStyle", kBorderStyleInfo, &TCustomListView::BorderStyle, &TCustomListView::SetBorderStyle);
  c.Bool(L"ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders);
  c.Int(L"ItemIndex", &TCustomListView::ItemIndex, &TCustomListView::SetItemIndex);
  c.Event(L"OnData", &TCustomListView::OnData);
  c.Event(L"OnSelectItem", &TCustomListView::OnSelectItem);
})
TW_IMPLEMENT_CLASS(TListView, [](TClassBuilder<TListView>&) {})

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner), FColumns(this), FItems(this) {
  FWidth = 250;
  FHeight = 150;
  FColor = clWindow;
  FTabStop = true;
}

TCustomListView::~TCustomListView() {
  // The window goes while the columns and items still exist.
  if (FHandle) DestroyWindow(FHandle);
}

void TCustomListView::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = WC_LISTVIEWW;
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.style |= views[FViewStyle] | LVS_SHAREIMAGELISTS;
  if (!FMultiSelect) p.style |= LVS_SINGLESEL;
  if (!FReadOnly) p.style |= LVS_EDITLABELS;
  if (FOwnerData) p.style |= LVS_OWNERDATA;
  if (!FShowColumnHeaders) p.style |= LVS_NOCOLUMNHEADER;
  if (FBorderStyle == bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::ApplyExtendedStyle() {
  if (!HandleAllocated()) return;
  DWORD ex = (FGridLines ? LVS_EX_GRIDLINES : 0) | (FRowSelect ? LVS_EX_FULLROWSELECT : 0);
  SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
}

void TCustomListView::InitializeWnd() {
  SendMessageW(FHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
  SendMessageW(FHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
  SendMessageW(FHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FFont.Color())));
  ApplyExtendedStyle();
  UpdateColumns();
  UpdateCount();
  if (FSavedIndex >= 0) SetItemIndex(FSavedIndex);
}

void TCustomListView::DestroyWnd() { FSavedIndex = ItemIndex(); }

void TCustomListView::UpdateColumns() {
  if (!HandleAllocated()) return;
  while (SendMessageW(FHandle, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < FColumns.Count(); ++i) {
    TListColumn* col = FColumns.Items(i);
    std::wstring caption = col->Caption();
    LVCOLUMNW lc = {};
    lc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    lc.fmt = col->Alignment() == taCenter ? LVCFMT_CENTER : col->Alignment() == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
    lc.cx = col->Width();
    lc.pszText = caption.data();
    lc.iSubItem = i;
    SendMessageW(FHandle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&lc));
  }
}

void TCustomListView::UpdateCount() {
  FCacheValid = false;
  if (!HandleAllocated()) return;
  int n = FItems.Count();
  if (FOwnerData) {
    SendMessageW(FHandle, LVM_SETITEMCOUNT, static_cast<WPARAM>(n), LVSICF_NOINVALIDATEALL);
    InvalidateRect(FHandle, nullptr, TRUE);
    return;
  }
  int shown = static_cast<int>(SendMessageW(FHandle, LVM_GETITEMCOUNT, 0, 0));
  while (shown > n) SendMessageW(FHandle, LVM_DELETEITEM, static_cast<WPARAM>(--shown), 0);
  for (; shown < n; ++shown) {
    LVITEMW it = {};
    it.mask = LVIF_TEXT;
    it.iItem = shown;
    it.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(FHandle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
  }
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListView::UpdateItems() {
  FCacheValid = false;
  Invalidate();
}

void TCustomListView::Loaded() {
  TWinControl::Loaded();
  UpdateColumns();
}

#define TW_LISTVIEW_RESTYLE(flag, value) \
  if (flag == value) return;             \
  flag = value;                          \
  RecreateWnd();

void TCustomListView::SetViewStyle(TViewStyle v) { TW_LISTVIEW_RESTYLE(FViewStyle, v) }
void TCustomListView::SetMultiSelect(bool m) { TW_LISTVIEW_RESTYLE(FMultiSelect, m) }
void TCustomListView::SetReadOnly(bool r) { TW_LISTVIEW_RESTYLE(FReadOnly, r) }
void TCustomListView::SetBorderStyle(TBorderStyle b) { TW_LISTVIEW_RESTYLE(FBorderStyle, b) }
void TCustomListView::SetShowColumnHeaders(bool s) { TW_LISTVIEW_RESTYLE(FShowColumnHeaders, s) }
#undef TW_LISTVIEW_RESTYLE

void TCustomListView::SetOwnerData(bool o) {
  if (o == FOwnerData) return;
  FItems.FStored.clear();
  FItems.FCount = 0;
  FOwnerData = o;
  RecreateWnd();
}

void TCustomListView::SetGridLines(bool g) {
  FGridLines = g;
  ApplyExtendedStyle();
}

void TCustomListView::SetRowSelect(bool r) {
  FRowSelect = r;
  ApplyExtendedStyle();
}

int TCustomListView::ItemIndex() const {
  if (!FHandle) return FSavedIndex;
  return static_cast<int>(SendMessageW(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int i) {
  if (!HandleAllocated()) {
    FSavedIndex = i;
    return;
  }
  LVITEMW st = {};
  st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  st.state = 0;
  SendMessageW(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&st));
  if (i >= 0 && i < FItems.Count()) {
    st.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&st));
    SendMessageW(FHandle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
  }
}

void TCustomListView::Clear() {
  FItems.Clear();
  FCacheValid = false;
}

TListItem* TCustomListView::RowData(int index) {
  if (index < 0 || index >= FItems.Count()) return nullptr;
  if (!FOwnerData) return FItems.Item(index);
  if (!FCacheValid || FCache.Index() != index) {
    FCache.Reset(index);
    FCacheValid = true;
    OnData(this, &FCache);
  }
  return &FCache;
}

void TCustomListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (hdr->code) {
      case LVN_GETDISPINFOW:
      case LVN_GETDISPINFOA: {
        auto* di = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        if (!(di->item.mask & LVIF_TEXT) || !di->item.pszText || di->item.cchTextMax <= 0) return;
        TListItem* row = RowData(di->item.iItem);
        std::wstring text;
        if (row) {
          int sub = di->item.iSubItem;
          if (sub == 0) text = row->Caption;
          else if (sub - 1 < row->SubItems.Count()) text = row->SubItems[sub - 1];
        }
        if (hdr->code == LVN_GETDISPINFOW) {
          size_t n = std::min(text.size(), static_cast<size_t>(di->item.cchTextMax - 1));
          std::memcpy(di->item.pszText, text.data(), n * sizeof(wchar_t));
          di->item.pszText[n] = L'\0';
        } else {
          auto* ai = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
          int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ai->item.pszText, ai->item.cchTextMax, nullptr, nullptr);
          if (n == 0) ai->item.pszText[0] = '\0';
          ai->item.pszText[ai->item.cchTextMax - 1] = '\0';
        }
        return;
      }
      case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)) OnSelectItem(this);
        return;
      }
      case NM_CLICK:
        Click();
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Progress bar

TW_IMPLEMENT_CLASS(TProgressBar, [](TClassBuilder<TProgressBar>& c) {
  c.Int(L"Min", &TProgressBar::Min, &TProgressBar::SetMin);
  c.Int(L"Max", &TProgressBar::Max, &TProgressBar::SetMax);
  c.Int(L"Position", &TProgressBar::Position, &TProgressBar::SetPosition);
  c.Bool(L"Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
})

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = PROGRESS_CLASSW;
  if (FSmooth) p.style |= PBS_SMOOTH;
}

void TProgressBar::InitializeWnd() {
  SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
  SendMessageW(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition.load()), 0);
}

void TProgressBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  if (HandleAllocated()) SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
}

void TProgressBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  if (HandleAllocated()) SendMessageW(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
}

void TProgressBar::SetPosition(int v) {
  FPosition.store(v);
  HWND h = FHandle;  // a worker reads the handle only; it never creates it
  if (!h) return;
  DWORD owner = GetWindowThreadProcessId(h, nullptr);
  if (owner == GetCurrentThreadId()) {
    SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(v), 0);
    return;
  }
  // The window's thread applies the latest stored value. If it does not
  // answer in time (it is not handling messages), post instead: the value
  // is applied at its next message loop, never lost and never waited for.
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, TW_SETPOSITION, 0, 0, SMTO_NORMAL, 2000, &result))
    PostMessageW(h, TW_SETPOSITION, 0, 0);
}

void TProgressBar::SetSmooth(bool s) {
  if (s == FSmooth) return;
  FSmooth = s;
  RecreateWnd();
}

void TProgressBar::WndProc(TMessage& m) {
  if (m.Msg == TW_SETPOSITION) {
    TMessage set{PBM_SETPOS, static_cast<WPARAM>(FPosition.load()), 0, 0};
    DefaultHandler(set);
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Track bar

const TEnumInfo kTrackBarOrientationInfo{L"TTrackBarOrientation", {L"trHorizontal", L"trVertical"}};
const TEnumInfo kTickStyleInfo{L"TTickStyle", {L"tsNone", L"tsAuto", L"tsManual"}};
const TEnumInfo kTickMarkInfo{L"TTickMark", {L"tmBottomRight", L"tmTopLeft", L"tmBoth"}};

TW_IMPLEMENT_CLASS(TTrackBar, [](TClassBuilder<TTrackBar>& c) {
  c.Int(L"Min", &TTrackBar::Min, &TTrackBar::SetMin);
  c.Int(L"Max", &TTrackBar::Max, &TTrackBar::SetMax);
  c.Int(L"Position", &TTrackBar::Position, &TTrackBar::SetPosition);
  c.Enum(L"Orientation", kTrackBarOrientationInfo, &TTrackBar::Orientation, &TTrackBar::SetOrientation);
  c.Int(L"Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency);
  c.Enum(L"TickStyle", kTickStyleInfo, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle);
  c.Enum(L"TickMarks", kTickMarkInfo, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks);
  c.Event(L"OnChange", &TTrackBar::OnChange);
})

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 45;
  FTabStop = true;
}

void TTrackBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = TRACKBAR_CLASSW;
  p.style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
  if (FTickStyle == tickNone) p.style |= TBS_NOTICKS;
  else if (FTickStyle == tickAuto) p.style |= TBS_AUTOTICKS;
  if (FTickMarks == tmBoth) p.style |= TBS_BOTH;
  else if (FTickMarks == tmTopLeft) p.style |= FOrientation == trVertical ? TBS_LEFT : TBS_TOP;
}

void TTrackBar::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageW(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageW(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  SendMessageW(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::DestroyWnd() {
  FPosition = Position();
  TWinControl::DestroyWnd();
}

int TTrackBar::Position() const {
  return FHandle ? static_cast<int>(SendMessageW(FHandle, TBM_GETPOS, 0, 0)) : FPosition;
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  if (FMax < FMin) FMax = FMin;
  if (HandleAllocated()) {
    SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(FHandle, TBM_SETRANGEMAX, TRUE, FMax);
  }
  SetPosition(FPosition);
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  if (FMin > FMax) FMin = FMax;
  if (HandleAllocated()) {
    SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(FHandle, TBM_SETRANGEMAX, TRUE, FMax);
  }
  SetPosition(FPosition);
}

void TTrackBar::SetPosition(int v) {
  if (!Loading()) v = std::clamp(v, FMin, FMax);
  bool changed = v != Position();
  FPosition = v;
  if (HandleAllocated()) SendMessageW(FHandle, TBM_SETPOS, TRUE, v);
  if (changed && !Loading()) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
  if (o == FOrientation) return;
  FOrientation = o;
  if (!Loading()) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TTrackBar::SetFrequency(int f) {
  FFrequency = std::max(f, 1);
  if (HandleAllocated()) SendMessageW(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
}

void TTrackBar::SetTickStyle(TTickStyle t) {
  if (t == FTickStyle) return;
  FTickStyle = t;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark t) {
  if (t == FTickMarks) return;
  FTickMarks = t;
  RecreateWnd();
}

void TTrackBar::PositionFromWindow() {
  int p = Position();
  if (p == FPosition) return;
  FPosition = p;
  OnChange(this);
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    PositionFromWindow();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Up-down

const TEnumInfo kUDOrientationInfo{L"TUDOrientation", {L"udHorizontal", L"udVertical"}};
const TEnumInfo kUDAlignButtonInfo{L"TUDAlignButton", {L"udLeft", L"udRight"}};
const TEnumInfo kUDBtnTypeInfo{L"TUDBtnType", {L"btNext", L"btPrev"}};

TW_IMPLEMENT_CLASS(TUpDown, [](TClassBuilder<TUpDown>& c) {
  c.Ref(L"Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
  c.Int(L"Min", &TUpDown::Min, &TUpDown::SetMin);
  c.Int(L"Max", &TUpDown::Max, &TUpDown::SetMax);
  c.Int(L"Position", &TUpDown::Position, &TUpDown::SetPosition);
  c.Int(L"Increment", &TUpDown::Increment, &TUpDown::SetIncrement);
  c.Enum(L"Orientation", kUDOrientationInfo, &TUpDown::Orientation, &TUpDown::SetOrientation);
  c.Enum(L"AlignButton", kUDAlignButtonInfo, &TUpDown::AlignButton, &TUpDown::SetAlignButton);
  c.Bool(L"Wrap", &TUpDown::Wrap, &TUpDown::SetWrap);
  c.Bool(L"Thousands", &TUpDown::Thousands, &TUpDown::SetThousands);
  c.Event(L"OnChanging", &TUpDown::OnChanging);
  c.Event(L"OnClick", &TUpDown::OnClick);
})

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  FWidth = 17;
  FHeight = 25;
}

void TUpDown::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = UPDOWN_CLASSW;
  p.style |= UDS_ARROWKEYS | UDS_SETBUDDYINT;
  if (FOrientation == udHorizontal) p.style |= UDS_HORZ;
  p.style |= FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (FWrap) p.style |= UDS_WRAP;
  if (!FThousands) p.style |= UDS_NOTHOUSANDS;
}

void TUpDown::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  UDACCEL accel = {0, static_cast<UINT>(FIncrement)};
  SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  ApplyBuddy();
  SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::DestroyWnd() {
  FPosition = Position();
  TWinControl::DestroyWnd();
}

void TUpDown::ApplyBuddy() {
  if (!HandleAllocated() || Loading()) return;
  HWND buddy = FAssociate ? FAssociate->Handle() : nullptr;
  SendMessageW(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  if (!buddy) return;
  // The control moved the arrows beside the buddy (and narrowed it); read back.
  RECT r;
  GetWindowRect(FHandle, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetAssociate(TWinControl* c) {
  if (c == this || c == FAssociate) return;
  if (c && c->Parent() != Parent() && !Loading()) throw EPropertyError(L"The associated control must share the parent");
  FAssociate = c;
  if (c) FreeNotification(c);
  ApplyBuddy();
}

void TUpDown::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated()) SendMessageW(FHandle, UDM_SETBUDDY, 0, 0);
  }
}

int TUpDown::Position() const {
  if (!FHandle) return FPosition;
  BOOL failed = FALSE;
  int p = static_cast<int>(SendMessageW(FHandle, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return failed ? FPosition : p;
}

void TUpDown::SetMin(int v) {
  FMin = v;
  if (HandleAllocated()) SendMessageW(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetMax(int v) {
  FMax = v;
  if (HandleAllocated()) SendMessageW(FHandle, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetPosition(int v) {
  if (!Loading()) v = std::clamp(v, std::min(FMin, FMax), std::max(FMin, FMax));
  FPosition = v;
  if (HandleAllocated()) SendMessageW(FHandle, UDM_SETPOS32, 0, v);
}

void TUpDown::SetIncrement(int v) {
  FIncrement = std::max(v, 1);
  if (!HandleAllocated()) return;
  UDACCEL accel = {0, static_cast<UINT>(FIncrement)};
  SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetOrientation(TUDOrientation o) {
  if (o == FOrientation) return;
  FOrientation = o;
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton a) {
  if (a == FAlignButton) return;
  FAlignButton = a;
  RecreateWnd();
}

void TUpDown::SetWrap(bool w) {
  if (w == FWrap) return;
  FWrap = w;
  RecreateWnd();
}

void TUpDown::SetThousands(bool t) {
  if (t == FThousands) return;
  FThousands = t;
  RecreateWnd();
}

void TUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(UDN_DELTAPOS)) {
    auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
    bool allow = true;
    OnChanging(this, allow);
    m.Result = allow ? FALSE : TRUE;
    FPendingDelta = allow ? nm->iDelta : 0;
    return;
  }
  if ((m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) && LOWORD(m.WParam) == SB_THUMBPOSITION) {
    // The position has moved (UDN_DELTAPOS came first and allowed it).
    int delta = FPendingDelta;
    FPendingDelta = 0;
    FPosition = Position();
    if (delta) OnClick(this, delta > 0 ? btNext : btPrev);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Status bar

const TEnumInfo kStatusPanelStyleInfo{L"TStatusPanelStyle", {L"psText", L"psOwnerDraw"}};
const TEnumInfo kStatusPanelBevelInfo{L"TStatusPanelBevel", {L"pbNone", L"pbLowered", L"pbRaised"}};

TW_IMPLEMENT_CLASS(TStatusPanel, [](TClassBuilder<TStatusPanel>& c) {
  c.Str(L"Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  c.Int(L"Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
  c.Enum(L"Alignment", kAlignmentInfo, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment);
  c.Enum(L"Bevel", kStatusPanelBevelInfo, &TStatusPanel::Bevel, &TStatusPanel::SetBevel);
  c.Enum(L"Style", kStatusPanelStyleInfo, &TStatusPanel::Style, &TStatusPanel::SetStyle);
  c.Enum(L"BiDiMode", kBiDiModeInfo, &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode);
})

TStatusPanel::TStatusPanel(TCollection* c) : TCollectionItem(c) {}

void TStatusPanel::Changed() {
  auto* panels = dynamic_cast<TStatusPanels*>(Collection());
  if (panels && panels->StatusBar()) panels->StatusBar()->UpdatePanels();
}

void TStatusPanel::SetText(const std::wstring& t) {
  if (t == FText) return;
  FText = t;
  Changed();
}
void TStatusPanel::SetWidth(int w) {
  FWidth = std::max(w, 0);
  Changed();
}
void TStatusPanel::SetAlignment(TAlignment a) {
  FAlignment = a;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel b) {
  FBevel = b;
  Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle s) {
  FStyle = s;
  Changed();
}
void TStatusPanel::SetBiDiMode(TBiDiMode m) {
  FBiDiMode = m;
  Changed();
}

void TStatusPanel::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TStatusPanel*>(source)) {
    FText = p->FText;
    FWidth = p->FWidth;
    FAlignment = p->FAlignment;
    FBevel = p->FBevel;
    FStyle = p->FStyle;
    FBiDiMode = p->FBiDiMode;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

TW_IMPLEMENT_CLASS(TStatusPanels, [](TClassBuilder<TStatusPanels>&) {})

TStatusPanels::TStatusPanels(TStatusBar* bar)
    : TCollection(bar, [](TCollection* c) { return new TStatusPanel(c); }), FBar(bar) {}

TW_IMPLEMENT_CLASS(TStatusBar, [](TClassBuilder<TStatusBar>& c) {
  c.Sub(L"Panels", TPropKind::Collection, &TStatusBar::Panels);
  c.Bool(L"SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel);
  c.Str(L"SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  c.Bool(L"SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
  c.Event(L"OnDrawPanel", &TStatusBar::OnDrawPanel);
})

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), FPanels(this) {
  FWidth = 200;
  FHeight = 19;
  FAlign = alBottom;
}

TStatusBar::~TStatusBar() {
  // The window goes while the panels it may ask about still exist.
  DestroyHandle();
}

void TStatusBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = STATUSCLASSNAMEW;
  // Our docking places it; the control must not move itself.
  p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FSizeGrip) p.style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitializeWnd() {
  TWinControl::InitializeWnd();
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated() || Loading()) return;
  if (FSimplePanel || FPanels.Count() == 0) {
    // Panel texts sent in simple mode may land on the simple text: only it goes.
    SendMessageW(FHandle, SB_SIMPLE, TRUE, 0);
    SendMessageW(FHandle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    Invalidate();
    return;
  }
  SendMessageW(FHandle, SB_SIMPLE, FALSE, 0);
  int n = std::min(FPanels.Count(), 255);
  if (n == 0) return;
  std::vector<int> edges(static_cast<size_t>(n));
  int x = 0;
  for (int i = 0; i < n; ++i) {
    x += FPanels.Items(i)->Width();
    edges[static_cast<size_t>(i)] = i == n - 1 ? -1 : x;  // the last one takes the rest
  }
  SendMessageW(FHandle, SB_SETPARTS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < n; ++i) {
    TStatusPanel* p = FPanels.Items(i);
    WPARAM flags = static_cast<WPARAM>(i);
    if (p->Bevel() == pbNone) flags |= SBT_NOBORDERS;
    else if (p->Bevel() == pbRaised) flags |= SBT_POPOUT;
    if (p->BiDiMode() != bdLeftToRight) flags |= SBT_RTLREADING;
    if (p->Style() == psOwnerDraw) {
      SendMessageW(FHandle, SB_SETTEXTW, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(p));
      continue;
    }
    // The control aligns by tabs in the text: one tab centres, two right-align.
    std::wstring text = p->Alignment() == taCenter ? L"\t" + p->Text()
                        : p->Alignment() == taRightJustify ? L"\t\t" + p->Text()
                                                           : p->Text();
    SendMessageW(FHandle, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
  }
  Invalidate();
}

RECT TStatusBar::PanelRect(int index) const {
  RECT r{0, 0, 0, 0};
  if (FHandle && !SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
    r = RECT{0, 0, 0, 0};
  return r;
}

void TStatusBar::SetSimplePanel(bool s) {
  FSimplePanel = s;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::wstring& t) {
  FSimpleText = t;
  UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool s) {
  if (s == FSizeGrip) return;
  FSizeGrip = s;
  RecreateWnd();
}

void TStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    int index = static_cast<int>(d->itemID);
    if (index >= 0 && index < FPanels.Count() && OnDrawPanel.Assigned()) {
      int saved = SaveDC(d->hDC);
      FCanvas.SetHandle(d->hDC);
      try {
        OnDrawPanel(this, FPanels.Items(index), d->rcItem);
      } catch (...) {
        FCanvas.SetHandle(nullptr);
        RestoreDC(d->hDC, saved);
        throw;
      }
      FCanvas.SetHandle(nullptr);
      RestoreDC(d->hDC, saved);
    }
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Header control

TW_IMPLEMENT_CLASS(THeaderSection, [](TClassBuilder<THeaderSection>& c) {
  c.Str(L"Text", &THeaderSection::Text, &THeaderSection::SetText);
  c.Int(L"Width", &THeaderSection::Width, &THeaderSection::SetWidth);
  c.Enum(L"Alignment", kAlignmentInfo, &THeaderSection::Alignment, &THeaderSection::SetAlignment);
})

THeaderSection::THeaderSection(TCollection* c) : TCollectionItem(c) {}

void THeaderSection::Changed() {
  auto* sections = dynamic_cast<THeaderSections*>(Collection());
  if (sections && sections->Header()) sections->Header()->UpdateSections();
}

void THeaderSection::SetText(const std::wstring& t) {
  FText = t;
  Changed();
}

int THeaderSection::Width() const {
  auto* sections = dynamic_cast<THeaderSections*>(Collection());
  THeaderControl* h = sections ? sections->Header() : nullptr;
  if (h && h->HandleAllocated() && Index() >= 0) {
    HDITEMW item = {};
    item.mask = HDI_WIDTH;
    if (SendMessageW(h->Handle(), HDM_GETITEMW, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item)))
      return item.cxy;
  }
  return FWidth;
}

void THeaderSection::SetWidth(int w) {
  FWidth = std::max(w, 0);
  Changed();
}

void THeaderSection::SetAlignment(TAlignment a) {
  FAlignment = a;
  Changed();
}

void THeaderSection::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const THeaderSection*>(source)) {
    FText = s->FText;
    FWidth = s->FWidth;
    FAlignment = s->FAlignment;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

TW_IMPLEMENT_CLASS(THeaderSections, [](TClassBuilder<THeaderSections>&) {})

THeaderSections::THeaderSections(THeaderControl* header)
    : TCollection(header, [](TCollection* c) { return new THeaderSection(c); }), FHeader(header) {}

TW_IMPLEMENT_CLASS(THeaderControl, [](TClassBuilder<THeaderControl>& c) {
  c.Sub(L"Sections", TPropKind::Collection, &THeaderControl::Sections);
  c.Event(L"OnSectionClick", &THeaderControl::OnSectionClick);
  c.Event(L"OnSectionResize", &THeaderControl::OnSectionResize);
})

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner), FSections(this) {
  FWidth = 200;
  FHeight = 17;
  FAlign = alTop;
}

THeaderControl::~THeaderControl() {
  DestroyHandle();
}

void THeaderControl::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = WC_HEADERW;
  p.style |= HDS_BUTTONS | HDS_HORZ | HDS_FULLDRAG;
}

void THeaderControl::InitializeWnd() {
  TWinControl::InitializeWnd();
  UpdateSections();
}

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || Loading()) return;
  while (SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(FHandle, HDM_DELETEITEM, 0, 0);
  for (int i = 0; i < FSections.Count(); ++i) {
    THeaderSection* s = FSections.Items(i);
    std::wstring text = s->Text();
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = text.data();
    item.cxy = s->Width() ;
    item.fmt = HDF_STRING | (s->Alignment() == taCenter ? HDF_CENTER : s->Alignment() == taRightJustify ? HDF_RIGHT : HDF_LEFT);
    SendMessageW(FHandle, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* nm = reinterpret_cast<NMHEADERW*>(m.LParam);
    UINT code = nm->hdr.code;
    if ((code == HDN_ITEMCLICKW || code == HDN_ITEMCLICKA) && nm->iItem >= 0 && nm->iItem < FSections.Count()) {
      OnSectionClick(this, FSections.Items(nm->iItem));
      return;
    }
    if ((code == HDN_ENDTRACKW || code == HDN_ENDTRACKA) && nm->iItem >= 0 && nm->iItem < FSections.Count()) {
      // The window already has the new width; Width() reads it from there.
      OnSectionResize(this, FSections.Items(nm->iItem));
      return;
    }
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// Date and time picker

const TEnumInfo kDateTimeKindInfo{L"TDateTimeKind", {L"dtkDate", L"dtkTime"}};
const TEnumInfo kDTDateModeInfo{L"TDTDateMode", {L"dmComboBox", L"dmUpDown"}};
const TEnumInfo kDTDateFormatInfo{L"TDTDateFormat", {L"dfShort", L"dfLong"}};

TW_IMPLEMENT_CLASS(TDateTimePicker, [](TClassBuilder<TDateTimePicker>& c) {
  c.Str(L"Date", &TDateTimePicker::DateText, &TDateTimePicker::SetDateText);
  c.Str(L"Time", &TDateTimePicker::TimeText, &TDateTimePicker::SetTimeText);
  c.Enum(L"Kind", kDateTimeKindInfo, &TDateTimePicker::Kind, &TDateTimePicker::SetKind);
  c.Enum(L"DateMode", kDTDateModeInfo, &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode);
  c.Enum(L"DateFormat", kDTDateFormatInfo, &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat);
  c.Event(L"OnChange", &TDateTimePicker::OnChange);
})

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  FWidth = 186;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  GetLocalTime(&FValue);
  FValue.wMilliseconds = 0;
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.systemClass = DATETIMEPICK_CLASSW;
  if (FKind == dtkTime) p.style |= DTS_TIMEFORMAT;
  else p.style |= FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
  if (FDateMode == dmUpDown || FKind == dtkTime) p.style |= DTS_UPDOWN;
}

void TDateTimePicker::InitializeWnd() {
  TWinControl::InitializeWnd();
  SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FValue));
}

void TDateTimePicker::DestroyWnd() {
  FValue = DateTime();
  TWinControl::DestroyWnd();
}

SYSTEMTIME TDateTimePicker::DateTime() const {
  SYSTEMTIME t = FValue;
  if (FHandle && SendMessageW(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID) t = FValue;
  return t;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& t) {
  // Checked through the platform: an impossible date is refused, not stored.
  // Wine's conversion rolls 2023-02-29 over to March 1st instead of
  // failing: a value is valid only when it survives the round trip.
  FILETIME ft;
  SYSTEMTIME v = t;
  v.wMilliseconds = 0;
  if (!SystemTimeToFileTime(&v, &ft) || !FileTimeToSystemTime(&ft, &v) || v.wYear != t.wYear ||
      v.wMonth != t.wMonth || v.wDay != t.wDay || v.wHour != t.wHour || v.wMinute != t.wMinute ||
      v.wSecond != t.wSecond)
    throw EPropertyError(L"Not a valid date and time");
  FValue = v;
  if (HandleAllocated()) SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FValue));
}

std::wstring TDateTimePicker::DateText() const {
  SYSTEMTIME t = DateTime();
  return FormatW(L"%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
}

std::wstring TDateTimePicker::TimeText() const {
  SYSTEMTIME t = DateTime();
  return FormatW(L"%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
}

namespace {
// Three numbers separated by one character each; false unless exactly that.
bool ParseTriple(const std::wstring& s, wchar_t sep, int& a, int& b, int& c) {
  size_t p1 = s.find(sep), p2 = p1 == std::wstring::npos ? p1 : s.find(sep, p1 + 1);
  if (p2 == std::wstring::npos || s.find(sep, p2 + 1) != std::wstring::npos) return false;
  int64_t x, y, z;
  if (!TryStrToInt64(s.substr(0, p1), x) || !TryStrToInt64(s.substr(p1 + 1, p2 - p1 - 1), y) ||
      !TryStrToInt64(s.substr(p2 + 1), z))
    return false;
  if (x < 0 || y < 0 || z < 0 || x > 9999 || y > 9999 || z > 9999) return false;
  a = static_cast<int>(x), b = static_cast<int>(y), c = static_cast<int>(z);
  return true;
}
}  // namespace

void TDateTimePicker::SetDateText(const std::wstring& s) {
  int y, mo, d;
  if (!ParseTriple(Trim(s), L'-', y, mo, d)) throw EPropertyError(L"A date is written YYYY-MM-DD: " + s);
  SYSTEMTIME t = DateTime();
  t.wYear = static_cast<WORD>(y), t.wMonth = static_cast<WORD>(mo), t.wDay = static_cast<WORD>(d);
  t.wDayOfWeek = 0;
  SetDateTime(t);
}

void TDateTimePicker::SetTimeText(const std::wstring& s) {
  int h, mi, sec;
  if (!ParseTriple(Trim(s), L':', h, mi, sec) || h > 23 || mi > 59 || sec > 59)
    throw EPropertyError(L"A time is written HH:MM:SS: " + s);
  SYSTEMTIME t = DateTime();
  t.wHour = static_cast<WORD>(h), t.wMinute = static_cast<WORD>(mi), t.wSecond = static_cast<WORD>(sec);
  SetDateTime(t);
}

void TDateTimePicker::SetKind(TDateTimeKind k) {
  if (k == FKind) return;
  FKind = k;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode m) {
  if (m == FDateMode) return;
  FDateMode = m;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat f) {
  if (f == FDateFormat) return;
  FDateFormat = f;
  RecreateWnd();
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(DTN_DATETIMECHANGE)) {
    FValue = DateTime();
    OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}
