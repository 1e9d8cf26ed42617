#include "gui/TabCtrls.h"

#include <commctrl.h>

#include <algorithm>

const TEnumInfo kTabPositionInfo{L"TTabPosition", {L"tpTop", L"tpBottom", L"tpLeft", L"tpRight"}};
const TEnumInfo kTabStyleInfo{L"TTabStyle", {L"tsTabs", L"tsButtons", L"tsFlatButtons"}};

TW_IMPLEMENT_CLASS(TCustomTabControl, [](TClassBuilder<TCustomTabControl>& c) {
  c.Enum(L"TabPosition", kTabPositionInfo, &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition);
  c.Enum(L"Style", kTabStyleInfo, &TCustomTabControl::Style, &TCustomTabControl::SetStyle);
  c.Bool(L"MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine);
  c.Ref(L"Images", &TCustomTabControl::Images, &TCustomTabControl::SetImages);
  c.Event(L"OnChanging", &TCustomTabControl::OnChanging);
  c.Event(L"OnChange", &TCustomTabControl::OnChange);
})

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  FWidth = 289;
  FHeight = 193;
  FTabStop = true;
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.systemClass = WC_TABCONTROLW;
  static const DWORD positions[] = {0, TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT};
  static const DWORD styles[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
  p.style |= positions[FTabPosition] | styles[FStyle] | TCS_FOCUSONBUTTONDOWN;
  // Side tabs work only on several rows.
  if (FMultiLine || FTabPosition == tpLeft || FTabPosition == tpRight) p.style |= TCS_MULTILINE;
}

void TCustomTabControl::InitializeWnd() {
  TWinControl::InitializeWnd();
  ApplyImages();
  LoadTabs();
}

void TCustomTabControl::ApplyImages() {
  if (!HandleAllocated()) return;
  HIMAGELIST list = FImages ? FImages->Handle() : nullptr;
  SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
}

void TCustomTabControl::SetImages(TImageList* images) {
  FImages = images;
  if (images) FreeNotification(images);
  ApplyImages();
  LoadTabs();
}

void TCustomTabControl::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FImages) {
    FImages = nullptr;
    ApplyImages();
  }
}

void TCustomTabControl::DestroyWnd() {
  int i = WindowTabIndex();
  if (i >= 0) TabSelected(i);
  TWinControl::DestroyWnd();
}

void TCustomTabControl::LoadTabs() {
  if (!HandleAllocated()) return;
  SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
  std::vector<std::wstring> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = texts[i].data();
    item.iImage = FImages ? TabImage(static_cast<int>(i)) : -1;
    SendMessageW(FHandle, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(CurrentTab()), 0);
  LayoutChanged();
}

int TCustomTabControl::WindowTabIndex() const {
  if (!FHandle) return -1;
  return static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r = ClientRect();
  if (FHandle) {
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // Before the window exists: a frame and one row of tabs.
  InflateRect(&r, -4, -4);
  switch (FTabPosition) {
    case tpTop: r.top += 20; break;
    case tpBottom: r.bottom -= 20; break;
    case tpLeft: r.left += 20; break;
    case tpRight: r.right -= 20; break;
  }
  return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
  if (!FHandle) return -1;
  TCHITTESTINFO hit = {{x, y}, 0};
  return static_cast<int>(SendMessageW(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TCustomTabControl::SetTabPosition(TTabPosition p) {
  if (p == FTabPosition || p < tpTop || p > tpRight) return;
  FTabPosition = p;
  RecreateWnd();
  LayoutChanged();
}

void TCustomTabControl::SetStyle(TTabStyle s) {
  if (s == FStyle || s < tsTabs || s > tsFlatButtons) return;
  FStyle = s;
  RecreateWnd();
  LayoutChanged();
}

void TCustomTabControl::SetMultiLine(bool m) {
  if (m == FMultiLine) return;
  FMultiLine = m;
  RecreateWnd();
  LayoutChanged();
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    if (hdr->code == static_cast<UINT>(TCN_SELCHANGING)) {
      bool allow = true;
      OnChanging(this, allow);
      m.Result = allow ? FALSE : TRUE;
      return;
    }
    if (hdr->code == static_cast<UINT>(TCN_SELCHANGE)) {
      TabSelected(WindowTabIndex());
      OnChange(this);
      m.Result = 0;
      return;
    }
  }
  TWinControl::WndProc(m);
  if (m.Msg == WM_SIZE) LayoutChanged();
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TTabControl, [](TClassBuilder<TTabControl>& c) {
  c.Sub(L"Tabs", TPropKind::StringList, &TTabControl::Tabs);
  c.Int(L"TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
})

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  FTabs.OnChange = [this] {
    if (FTabIndex >= FTabs.Count()) FTabIndex = FTabs.Count() - 1;
    if (FTabIndex < 0 && FTabs.Count() > 0) FTabIndex = 0;
    LoadTabs();
  };
}

std::vector<std::wstring> TTabControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (int i = 0; i < FTabs.Count(); ++i) texts.push_back(FTabs[i]);
  return texts;
}

int TTabControl::TabIndex() const { return FHandle ? WindowTabIndex() : FTabIndex; }

void TTabControl::SetTabIndex(int i) {
  if (!Loading() && (i < -1 || i >= FTabs.Count())) i = -1;
  FTabIndex = i;
  if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TTabSheet, [](TClassBuilder<TTabSheet>& c) {
  c.Ref(L"PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl);
  c.Bool(L"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible);
  c.Int(L"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex);
  c.IntReadOnly(L"TabIndex", &TTabSheet::TabIndex);
  c.Int(L"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
})

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  FParentColor = true;
  FVisible = false;  // the page control shows the active one
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  auto* pc = dynamic_cast<TPageControl*>(parent);
  if (pc == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  if (pc) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* p) { SetParent(p); }

void TTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  if (FPageControl) FPageControl->PagesChanged();
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int i) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  pages.erase(std::find(pages.begin(), pages.end(), this));
  i = std::clamp(i, 0, static_cast<int>(pages.size()));
  pages.insert(pages.begin() + i, this);
  FPageControl->PagesChanged();
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int n = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    if (p->FTabVisible) ++n;
  }
  return -1;
}

void TTabSheet::SetImageIndex(int i) {
  FImageIndex = std::max(i, -1);
  if (FPageControl) FPageControl->PagesChanged();
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (FPageControl) FPageControl->PagesChanged();
}

// ---------------------------------------------------------------------------

TW_IMPLEMENT_CLASS(TPageControl, [](TClassBuilder<TPageControl>& c) {
  c.Ref(L"ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  c.Int(L"ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex);
  c.IntReadOnly(L"PageCount", &TPageControl::PageCount);
})

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->FPageControl = this;
  FPages.push_back(page);
  if (!FActivePage && !Loading()) FActivePage = page;
  PagesChanged();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  TTabSheet* next = FActivePage == page ? FindNextPage(page, true) : FActivePage;
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (next == page) next = nullptr;
  FActivePage = next;
  if (!Destroying()) PagesChanged();
}

void TPageControl::Notification(TComponent* c, TOperation op) {
  TCustomTabControl::Notification(c, op);
  if (op == opRemove && c == FActivePage) FActivePage = nullptr;
}

void TPageControl::PagesChanged() {
  if (Loading() || Destroying()) return;
  LoadTabs();
  ShowActive();
}

std::vector<std::wstring> TPageControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible) texts.push_back(p->Caption());
  return texts;
}

int TPageControl::TabImage(int tab) const {
  TTabSheet* p = PageOfTab(tab);
  return p ? p->ImageIndex() : -1;
}

TTabSheet* TPageControl::PageOfTab(int tab) const {
  if (tab < 0) return nullptr;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && tab-- == 0) return p;
  return nullptr;
}

int TPageControl::CurrentTab() const { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::TabSelected(int index) {
  FActivePage = PageOfTab(index);
  ShowActive();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) page = nullptr;
  FActivePage = page;
  if (Loading()) return;
  if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(CurrentTab()), 0);
  ShowActive();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i) {
  SetActivePage(i >= 0 && i < PageCount() ? FPages[static_cast<size_t>(i)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward) const {
  if (FPages.empty()) return nullptr;
  int n = PageCount();
  int start = current ? current->PageIndex() : (forward ? n - 1 : 0);
  for (int k = 1; k <= n; ++k) {
    int i = ((start + (forward ? k : -k)) % n + n) % n;
    if (FPages[static_cast<size_t>(i)]->FTabVisible) return FPages[static_cast<size_t>(i)];
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
  TTabSheet* next = FindNextPage(FActivePage, forward);
  if (!next || next == FActivePage) return;
  bool allow = true;
  OnChanging(this, allow);
  if (!allow) return;
  SetActivePage(next);
  OnChange(this);
}

void TPageControl::ShowActive() {
  if (FActivePage && !FActivePage->FTabVisible) FActivePage = nullptr;
  LayoutChanged();
  for (TTabSheet* p : FPages) p->SetVisible(p == FActivePage);
}

void TPageControl::LayoutChanged() {
  RECT r = DisplayRect();
  for (TTabSheet* p : FPages) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::BoundsChanged() {
  TCustomTabControl::BoundsChanged();
  LayoutChanged();
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  if (!FActivePage) FActivePage = FindNextPage(nullptr, true);
  PagesChanged();
}
