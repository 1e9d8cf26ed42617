#include "gui/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {
void InitCommonControlClasses() {
  static bool done = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
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
