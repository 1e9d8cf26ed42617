#include "gui/Menus.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(WORD key, TShiftState shift) {
  TShortCut s = static_cast<TShortCut>(key & 0xFF);
  if (shift & ShiftBit(ssShift)) s |= scShift;
  if (shift & ShiftBit(ssCtrl)) s |= scCtrl;
  if (shift & ShiftBit(ssAlt)) s |= scAlt;
  return s;
}

namespace {

struct TKeyName {
  WORD key;
  const wchar_t* name;
};
const TKeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},  {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},   {VK_END, L"End"},      {VK_HOME, L"Home"},  {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},      {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  for (const auto& k : kKeyNames)
    if (k.key == key) return k.name;
  return L"";
}

}  // namespace

std::wstring ShortCutToText(TShortCut s) {
  std::wstring name = KeyName(s & 0xFF);
  if (name.empty()) return L"";
  std::wstring out;
  if (s & scShift) out += L"Shift+";
  if (s & scCtrl) out += L"Ctrl+";
  if (s & scAlt) out += L"Alt+";
  return out + name;
}

TShortCut TextToShortCut(const std::wstring& text) {
  std::wstring rest = text;
  TShortCut mods = 0;
  for (;;) {
    if (rest.size() > 6 && SameText(rest.substr(0, 6), L"Shift+")) mods |= scShift, rest.erase(0, 6);
    else if (rest.size() > 5 && SameText(rest.substr(0, 5), L"Ctrl+")) mods |= scCtrl, rest.erase(0, 5);
    else if (rest.size() > 4 && SameText(rest.substr(0, 4), L"Alt+")) mods |= scAlt, rest.erase(0, 4);
    else break;
  }
  for (WORD key = 1; key < 0x100; ++key) {
    std::wstring name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(mods | key);
  }
  return scNone;
}

wchar_t AccessKeyOf(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    wchar_t c = caption[i + 1];
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// Item registry: command ids and the live items behind menu item data

namespace {

// Command ids stay clear of the dialog ids (IDOK...) and the system
// commands (0xF000 and up).
constexpr UINT kFirstCommand = 0x100;
constexpr UINT kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}
std::set<const TMenuItem*>& LiveItems() {
  static std::set<const TMenuItem*> items;
  return items;
}

UINT AllocateCommand(TMenuItem* item) {
  static UINT next = kFirstCommand;
  auto& commands = Commands();
  for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
    UINT id = next;
    next = next >= kLastCommand ? kFirstCommand : next + 1;
    if (!commands.count(id)) {
      commands[id] = item;
      return id;
    }
  }
  throw Exception(L"Too many menu items");
}

HFONT MenuFont(bool bold) {
  static HFONT normal = nullptr, heavy = nullptr;
  if (!normal) {
    NONCLIENTMETRICSW m = {};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    normal = CreateFontIndirectW(&m.lfMenuFont);
    m.lfMenuFont.lfWeight = FW_BOLD;
    heavy = CreateFontIndirectW(&m.lfMenuFont);
  }
  return bold ? heavy : normal;
}

// Caption without its access-key marks, as measured.
std::wstring Plain(const std::wstring& caption) {
  std::wstring out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE s = {0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

}  // namespace

TMenuItem* FindMenuItem(ULONG_PTR itemData) {
  auto* item = reinterpret_cast<TMenuItem*>(itemData);
  return item && LiveItems().count(item) ? item : nullptr;
}

// ---------------------------------------------------------------------------
// TMenuItem

TW_IMPLEMENT_CLASS(TMenuItem, [](TClassBuilder<TMenuItem>& c) {
  c.Str(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  c.Bool(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  c.Bool(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
  c.Bool(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
  c.Bool(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault);
  c.Bool(L"RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
  c.Bool(L"AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck);
  c.Int(L"GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex);
  c.Int(L"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut);
  c.Int(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
  c.Event(L"OnClick", &TMenuItem::OnClick);
  c.Event(L"OnDrawItem", &TMenuItem::OnDrawItem);
  c.Event(L"OnMeasureItem", &TMenuItem::OnMeasureItem);
})

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  FCommand = AllocateCommand(this);
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  LiveItems().erase(this);
  Commands().erase(FCommand);
  while (!FItems.empty()) delete FItems.back();  // each takes itself out
  if (FParent) FParent->Remove(this);            // the menu is rebuilt without our sub-menu
  if (FHandle) DestroyMenu(FHandle);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

bool TMenuItem::TopLevelOfBar() const { return FParent && FParent->FMenu && dynamic_cast<TMainMenu*>(FParent->FMenu); }

void TMenuItem::Changed() {
  TMenu* menu = GetParentMenu();
  if (menu) menu->ItemChanged();
}

void TMenuItem::SetCaption(const std::wstring& c) {
  if (c == FCaption) return;
  FCaption = c;
  Changed();
}

void TMenuItem::SetChecked(bool c) {
  if (c == FChecked) return;
  FChecked = c;
  if (c && FRadioItem && FParent) {
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
  }
  Changed();
}

void TMenuItem::SetEnabled(bool e) {
  if (e == FEnabled) return;
  FEnabled = e;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Changed();
}

void TMenuItem::SetDefault(bool d) {
  if (d == FDefault) return;
  FDefault = d;
  Changed();
}

void TMenuItem::SetRadioItem(bool r) {
  if (r == FRadioItem) return;
  FRadioItem = r;
  Changed();
}

void TMenuItem::SetGroupIndex(int g) {
  if (g == FGroupIndex) return;
  FGroupIndex = g;
  Changed();
}

void TMenuItem::SetShortCut(int s) {
  s &= 0xFFFF;
  if (s == FShortCut) return;
  FShortCut = s;
  Changed();
}

void TMenuItem::SetImageIndex(int i) {
  if (i == FImageIndex) return;
  FImageIndex = i;
  Changed();
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item == this) throw EComponentError(L"A menu item cannot contain itself");
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw EComponentError(L"A menu item cannot contain its own parent");
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  Changed();
}

void TMenuItem::Click() {
  if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
  OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  HDC dc = canvas->Handle();
  HGDIOBJ old = SelectObject(dc, MenuFont(FDefault));
  SIZE text = TextSize(dc, Plain(FCaption).empty() ? L"W" : Plain(FCaption));
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  if (TopLevelOfBar()) {
    width = text.cx + 12;
    height = text.cy + 4;
  } else if (IsLine()) {
    width = 20;
    height = 8;
  } else {
    int glyph = images ? images->Width() : GetSystemMetrics(SM_CXMENUCHECK);
    int glyphHeight = images ? images->Height() : GetSystemMetrics(SM_CYMENUCHECK);
    width = glyph + 8 + text.cx + 16;
    if (FShortCut) width += 24 + TextSize(dc, ShortCutToText(static_cast<TShortCut>(FShortCut))).cx;
    height = std::max<int>(text.cy + 6, glyphHeight + 4);
  }
  SelectObject(dc, old);
  OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const RECT& rect, bool selected, bool noAccel) {
  if (OnDrawItem.Assigned()) {
    OnDrawItem(this, canvas, rect, selected);
    return;
  }
  HDC dc = canvas->Handle();
  int saved = SaveDC(dc);
  bool enabled = FEnabled;
  HBRUSH back = GetSysColorBrush(selected && enabled && !IsLine() ? COLOR_HIGHLIGHT : COLOR_MENU);
  FillRect(dc, &rect, back);
  if (IsLine()) {
    RECT line = rect;
    line.top = (rect.top + rect.bottom) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    RestoreDC(dc, saved);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  SelectObject(dc, MenuFont(FDefault));
  UINT prefix = noAccel ? DT_HIDEPREFIX : 0;
  if (TopLevelOfBar()) {
    RECT r = rect;
    DrawTextW(dc, FCaption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
    RestoreDC(dc, saved);
    return;
  }
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  int glyph = images ? images->Width() : GetSystemMetrics(SM_CXMENUCHECK);
  RECT glyphRect{rect.left + 2, rect.top, rect.left + 2 + glyph, rect.bottom};
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    int y = rect.top + (rect.bottom - rect.top - images->Height()) / 2;
    images->Draw(dc, glyphRect.left, y, FImageIndex, enabled);
    if (FChecked) {
      RECT frame{glyphRect.left - 1, y - 1, glyphRect.right + 1, y + images->Height() + 1};
      DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
  } else if (FChecked) {
    // The check or bullet glyph of the system, in the text colour.
    int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
    HDC mono = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mono, mask);
    RECT mr{0, 0, cx, cy};
    DrawFrameControl(mono, &mr, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    int y = rect.top + (rect.bottom - rect.top - cy) / 2;
    COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, glyphRect.left, y, cx, cy, mono, 0, 0, SRCAND);
    SetBkColor(dc, oldBk);
    SelectObject(mono, oldMask);
    DeleteObject(mask);
    DeleteDC(mono);
  }
  RECT text{glyphRect.right + 6, rect.top, rect.right - 8, rect.bottom};
  DrawTextW(dc, FCaption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
  if (FShortCut) {
    std::wstring keys = ShortCutToText(static_cast<TShortCut>(FShortCut));
    RECT right{text.left, rect.top, rect.right - 12, rect.bottom};
    DrawTextW(dc, keys.c_str(), -1, &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  RestoreDC(dc, saved);
}

// ---------------------------------------------------------------------------
// TMenu

TW_IMPLEMENT_CLASS(TMenu, [](TClassBuilder<TMenu>& c) {
  c.Ref(L"Images", &TMenu::Images, &TMenu::SetImages);
  c.Bool(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
})

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  // Items that belong to the menu go with it (the owner frees them too:
  // each takes itself out of its parent first).
  FRebuilding = true;  // no rebuilds while the items go
  FItems.reset();
  if (FHandle) DestroyMenu(FHandle);
  FHandle = nullptr;
}

void TMenu::SetImages(TImageList* images) {
  if (images == FImages) return;
  if (FImages) RemoveFreeNotification(FImages);
  FImages = images;
  if (images) FreeNotification(images);
  ItemChanged();
}

void TMenu::SetOwnerDraw(bool o) {
  if (o == FOwnerDraw) return;
  FOwnerDraw = o;
  ItemChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    ItemChanged();
  }
}

void TMenu::Loaded() {
  TComponent::Loaded();
  ItemChanged();
}

HMENU TMenu::Handle() {
  if (!FHandle) {
    FHandle = CreateMenuHandle();
    Rebuild();
  }
  return FHandle;
}

void TMenu::ItemChanged() {
  if (Loading() || Destroying() || !FHandle) return;
  Rebuild();
}

void TMenu::Rebuild() {
  if (!FHandle || FRebuilding || !FItems) return;
  FRebuilding = true;
  // Sub-menus keep their handles (others may hold them): take the items
  // out without destroying them, then fill again.
  while (GetMenuItemCount(FHandle) > 0) RemoveMenu(FHandle, 0, MF_BYPOSITION);
  Fill(FHandle, FItems.get(), dynamic_cast<TMainMenu*>(this) != nullptr);
  FRebuilding = false;
  MenuChanged();
}

void TMenu::Fill(HMENU menu, TMenuItem* parent, bool bar) {
  UINT position = 0;
  for (TMenuItem* item : parent->FItems) {
    if (item->FHandle && item->FItems.empty()) {
      DestroyMenu(item->FHandle);  // no sub-items any more
      item->FHandle = nullptr;
    }
    if (!item->FVisible) continue;
    std::wstring text = item->FCaption;
    if (item->FShortCut && !bar) text += L"\t" + ShortCutToText(static_cast<TShortCut>(item->FShortCut));
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    mii.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (FOwnerDraw || (FImages && !bar)) mii.fType |= MFT_OWNERDRAW;
    if (item->FRadioItem) mii.fType |= MFT_RADIOCHECK;
    if (item->FChecked) mii.fState |= MFS_CHECKED;
    if (!item->FEnabled) mii.fState |= MFS_GRAYED;
    if (item->FDefault) mii.fState |= MFS_DEFAULT;
    mii.wID = item->FCommand;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    mii.dwTypeData = text.data();
    mii.cch = static_cast<UINT>(text.size());
    if (!item->FItems.empty()) {
      if (!item->FHandle || !IsMenu(item->FHandle)) item->FHandle = CreatePopupMenu();
      while (GetMenuItemCount(item->FHandle) > 0) RemoveMenu(item->FHandle, 0, MF_BYPOSITION);
      Fill(item->FHandle, item, false);
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = item->FHandle;
    }
    InsertMenuItemW(menu, position++, TRUE, &mii);
  }
}

TMenuItem* TMenu::FindItem(UINT command) const {
  auto it = Commands().find(command);
  if (it == Commands().end()) return nullptr;
  return it->second->GetParentMenu() == this ? it->second : nullptr;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (shortCut == scNone) return false;
  // Depth first; an item under a disabled or hidden parent does not run.
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* parent) -> TMenuItem* {
    for (TMenuItem* item : parent->FItems) {
      if (!item->FVisible || !item->FEnabled) continue;
      if (item->FShortCut == shortCut && item->FItems.empty()) return item;
      if (TMenuItem* found = find(item)) return found;
    }
    return nullptr;
  };
  TMenuItem* item = find(FItems.get());
  if (!item) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------------------
// TMainMenu, TPopupMenu

TW_IMPLEMENT_CLASS(TMainMenu, [](TClassBuilder<TMainMenu>&) {})

TMainMenu::~TMainMenu() {
  if (FWindow && IsWindow(FWindow) && HandleAllocated() && GetMenu(FWindow) == Handle()) {
    ::SetMenu(FWindow, nullptr);  // the form hears of it through its free-notification
  }
}

void TMainMenu::MenuChanged() {
  if (!FWindow || !IsWindow(FWindow)) return;
  DrawMenuBar(FWindow);
  if (TWinControl* form = FindControl(FWindow)) form->Perform(CM_MENUCHANGED, 0, 0);
}

TW_IMPLEMENT_CLASS(TPopupMenu, [](TClassBuilder<TPopupMenu>& c) { c.Event(L"OnPopup", &TPopupMenu::OnPopup); })

namespace {

// Hidden top-level window owning the popup menus while they are shown.
class TPopupListWindow : public TWinControl {
  TW_DECLARE_CLASS(TPopupListWindow, TWinControl)
 public:
  explicit TPopupListWindow(TComponent* owner) : TWinControl(owner) { FVisible = false; }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.style = WS_POPUP;
    p.exStyle = WS_EX_TOOLWINDOW;
  }
};
TW_IMPLEMENT_CLASS(TPopupListWindow, [](TClassBuilder<TPopupListWindow>&) {})

}  // namespace

TWinControl* PopupList() {
  static TPopupListWindow* list = new TPopupListWindow(nullptr);  // lives as long as the program
  return list;
}

void TPopupMenu::Popup(int x, int y) {
  OnPopup(this);
  HMENU menu = Handle();
  HWND owner = PopupList()->Handle();
  UINT command = static_cast<UINT>(
      TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, owner, nullptr));
  if (!command) return;
  if (TMenuItem* item = FindItem(command); item && item->Enabled()) item->Click();
}

// ---------------------------------------------------------------------------
// Routing

bool DispatchMenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND: {
      if (m.LParam != 0 || HIWORD(m.WParam) > 1) return false;  // a control's notification
      auto it = Commands().find(LOWORD(m.WParam));
      if (it == Commands().end()) return false;
      TMenuItem* item = it->second;
      if (!item->Enabled() || !item->GetParentMenu()) return false;
      item->Click();
      m.Result = 0;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (!mis || mis->CtlType != ODT_MENU) return false;
      TMenuItem* item = FindMenuItem(mis->itemData);
      if (!item) return false;
      HDC dc = CreateCompatibleDC(nullptr);
      TCanvas canvas;
      canvas.SetHandle(dc);
      int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
      try {
        item->MeasureItem(&canvas, width, height);
      } catch (...) {
        canvas.SetHandle(nullptr);
        DeleteDC(dc);
        throw;
      }
      canvas.SetHandle(nullptr);
      DeleteDC(dc);
      mis->itemWidth = static_cast<UINT>(std::max(width, 0));
      mis->itemHeight = static_cast<UINT>(std::max(height, 0));
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (!dis || dis->CtlType != ODT_MENU) return false;
      TMenuItem* item = FindMenuItem(dis->itemData);
      if (!item) return false;
      TCanvas canvas;
      canvas.SetHandle(dis->hDC);
      try {
        item->DrawItem(&canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0, (dis->itemState & ODS_NOACCEL) != 0);
      } catch (...) {
        canvas.SetHandle(nullptr);
        throw;
      }
      canvas.SetHandle(nullptr);
      m.Result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      // Owner-drawn items have no text the system could match: find the
      // item whose caption has the typed access key.
      HMENU menu = reinterpret_cast<HMENU>(m.LParam);
      wchar_t typed = static_cast<wchar_t>(LOWORD(m.WParam));
      if (typed >= L'a' && typed <= L'z') typed = static_cast<wchar_t>(typed - L'a' + L'A');
      int count = menu ? GetMenuItemCount(menu) : 0;
      for (int i = 0; i < count; ++i) {
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
        TMenuItem* item = FindMenuItem(mii.dwItemData);
        if (item && item->Enabled() && AccessKeyOf(item->Caption()) == typed) {
          m.Result = MAKELRESULT(i, MNC_EXECUTE);
          return true;
        }
      }
      return false;
    }
    default: return false;
  }
}
