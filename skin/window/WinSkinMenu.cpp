#include "skin/window/WinSkinMenu.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "skin/controls/SkinMessages.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/MenuItemLayout.h"
#include "skin/window/MenuItemPainter.h"
#include "skin/window/PopupMenu.h"
#include "skin/window/WinSkinForm.h"

namespace {

// The one drop-down of the process being tracked (menus run one modal loop
// at a time on the GUI thread).
struct TTracking {
  TWinSkinMenu* Bar = nullptr;  // cleared when the bar goes during the loop
  TWinSkinForm* Frame = nullptr;
  HWND Window = nullptr;
  HMENU Submenu = nullptr;
  int Open = -1;
  int Count = 0;
  bool RightToLeft = false;
  // What WM_MENUSELECT said last.
  bool AnySelected = false;
  bool SelectedOpensSubmenu = false;
  HMENU SelectedMenu = nullptr;
  POINT LastMouse{};
  bool FirstSeen = false;
  bool ByKeyboard = false;
  // The neighbour to open once the loop has ended, -1 for none.
  int Pending = -1;
  HHOOK Hook = nullptr;
};
TTracking tracking;

HFONT MenuFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
      lf = ncm.lfMenuFont;
    else
      GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return CreateFontIndirectW(&lf);
  }();
  return font;
}

COLORREF Colour(TColour c) { return static_cast<COLORREF>(ResolveColour(c)); }

RECT ToRect(const ImgRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

bool Contains(const ImgRect& r, POINT p) { return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom; }

}  // namespace

// ---- TMenuBtn -------------------------------------------------------------------

void TMenuBtn::Paint() { bar_.PaintButton(*this); }

// ---- TWinSkinMenu ---------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& frame) : frame_(frame) {}

TWinSkinMenu::~TWinSkinMenu() {
  *alive_ = false;
  if (tracking.Bar == this) tracking.Bar = nullptr;
  RestoreOwnerDrawn();
  FreeButtons();
}

int TWinSkinMenu::OpenIndex() { return tracking.Open; }

bool TWinSkinMenu::OwnsHot() const {
  TCaptionButtons* b = frame_.Buttons();
  if (!b || !b->HotObject()) return false;
  return std::any_of(buttons_.begin(), buttons_.end(),
                     [&](const std::unique_ptr<TMenuBtn>& m) { return m.get() == b->HotObject(); });
}

void TWinSkinMenu::FreeButtons() {
  if (OwnsHot()) frame_.Buttons()->SetHotObject(nullptr);
  buttons_.clear();
}

bool TWinSkinMenu::Build() {
  HWND w = frame_.Window();
  HMENU menu = GetMenu(w);
  if (!menu) menu = native_;
  if (!menu || !IsMenu(menu)) {
    // The menu known last is gone: nothing left to show.
    native_ = nullptr;
    FreeButtons();
    return false;
  }
  if (frame_.Form() && !library_) {
    // The form's menu was taken away.
    FreeButtons();
    return false;
  }
  TCaptionButtons* owner = frame_.Buttons();
  if (!owner) return false;
  native_ = menu;
  FreeButtons();
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = 80;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    auto b = std::make_unique<TMenuBtn>(*owner, *this, i);
    b->Submenu = mi.hSubMenu;
    b->Enabled = (mi.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    b->Visible = true;
    b->Command = mi.wID;
    b->Caption = (mi.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
    if (library_) {
      if (TMenuItem* item = library_->FindItem(mi.wID)) {
        b->Item = item;
        b->Caption = item->Caption();
        b->Enabled = item->Enabled();
        b->Submenu = item->Count() > 0 ? item->Handle() : nullptr;
      }
    }
    buttons_.push_back(std::move(b));
  }
  if (GetMenu(w)) SetMenu(w, nullptr);
  return true;
}

void TWinSkinMenu::RestoreNativeMenu() {
  HWND w = frame_.Window();
  if (native_ && IsMenu(native_) && IsWindow(w) && !GetMenu(w)) SetMenu(w, native_);
}

std::vector<TMenuBarEntry> TWinSkinMenu::Entries(HDC dc) const {
  std::vector<TMenuBarEntry> entries;
  entries.reserve(buttons_.size());
  for (const auto& b : buttons_) {
    TMenuBarEntry e;
    e.Visible = b->Visible;
    e.EmptyCaption = b->Caption.empty();
    if (!e.EmptyCaption) {
      RECT r{0, 0, 0, 0};
      DrawTextW(dc, b->Caption.c_str(), static_cast<int>(b->Caption.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
      e.TextWidth = r.right - r.left;
    }
    entries.push_back(e);
  }
  return entries;
}

void TWinSkinMenu::Layout() {
  const TFrameSizes& s = frame_.Sizes();
  RECT wr{};
  GetWindowRect(frame_.Window(), &wr);
  const ImgRect band = MenuBandRect(wr.right - wr.left, s.BorderLeft, s.CaptionHeight, s.BorderRight, s.MenuBarHeight);
  const TSkinModel* m = frame_.SkinModel();
  const TDataSkinObject* e = m ? m->MenuBar() : nullptr;
  const bool element = e && !e->Bitmap.Empty();
  const bool rtl = frame_.CaptionMetrics().RightToLeft;
  const int start = MenuBarStart(element, element ? e->LeftWidth : 0, element ? e->RightWidth : 0, rtl, band.Width());
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  const std::vector<TMenuBarEntry> entries = Entries(dc);
  SelectObject(dc, old);
  DeleteDC(dc);
  const std::vector<ImgRect> rects = LayoutMenuBar(entries, band, start, rtl);
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->HitRect = rects[i];
  band_ = band;
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& b, const RECT& r) const {
  if (b.Caption.empty()) return;
  const TSkinModel* m = frame_.SkinModel();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, b.Enabled ? Colour(m ? m->MenuBarTextColour : SystemColour(kSysMenuText))
                             : GetSysColor(COLOR_BTNSHADOW));
  RECT box = r;
  DrawTextW(dc, b.Caption.c_str(), static_cast<int>(b.Caption.size()), &box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void TWinSkinMenu::Paint(HDC dc, const ImgRect& band) {
  const int w = band.Width(), h = band.Height();
  if (w <= 0 || h <= 0) return;
  band_ = band;
  const TSkinModel* m = frame_.SkinModel();
  const TDataSkinObject* e = m ? m->MenuBar() : nullptr;
  const bool rtl = frame_.CaptionMetrics().RightToLeft;
  Image background(w, h, PixelFromColour(Colour(m ? m->MenubarColour : SystemColour(kSysButtonFace))));
  int start;
  if (e && !e->Bitmap.Empty()) {
    // Frame 1 for the active window, 2 for an inactive one (stacked).
    const int frame = frame_.IsActive() ? 1 : 2;
    const FrameMargins margins{e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
    if (e->Tile == 1)
      DrawFrame(background, background.Bounds(), e->Bitmap, true, false, false, 2, frame, margins);
    else
      DrawHorzBar(background, background.Bounds(), e->Bitmap, true, false, 2, frame, margins);
    start = MenuBarStart(true, e->LeftWidth, e->RightWidth, rtl, w);
  } else {
    start = MenuBarStart(false, 0, 0, rtl, w);
  }
  background_ = background;
  DibSurface surface;
  if (surface.Assign(background)) {
    HGDIOBJ old = SelectObject(surface.DC(), MenuFont());
    const std::vector<TMenuBarEntry> entries = Entries(surface.DC());
    const std::vector<ImgRect> rects = LayoutMenuBar(entries, band, start, rtl);
    for (size_t i = 0; i < buttons_.size(); ++i) {
      TMenuBtn& b = *buttons_[i];
      b.HitRect = rects[i];
      if (!b.Visible || b.HitRect.Empty()) continue;
      const RECT r{b.HitRect.Left - band.Left, b.HitRect.Top - band.Top, b.HitRect.Right - band.Left,
                   b.HitRect.Bottom - band.Top};
      DrawCaption(surface.DC(), b, r);
    }
    SelectObject(surface.DC(), old);
    GdiFlush();
    surface.DrawTo(dc, band.Left, band.Top);
  }
}

void TWinSkinMenu::PaintButton(const TMenuBtn& b) {
  HWND w = frame_.Window();
  if (!w || !b.Visible || b.HitRect.Empty()) return;
  HDC dc = GetWindowDC(w);
  if (!dc) return;
  const RECT r = ToRect(b.HitRect);
  const int bw = b.HitRect.Width(), bh = b.HitRect.Height();
  // The band under the button as last painted, else what the window shows.
  Image under;
  const ImgRect src{b.HitRect.Left - band_.Left, b.HitRect.Top - band_.Top, b.HitRect.Right - band_.Left,
                    b.HitRect.Bottom - band_.Top};
  if (!background_.Empty() && src.Left >= 0 && src.Top >= 0 && src.Right <= background_.Width() &&
      src.Bottom <= background_.Height()) {
    under = Image(bw, bh, 0);
    under.Blit(0, 0, background_, src);
  } else {
    under = CaptureDC(dc, r);
  }
  DibSurface surface;
  if (surface.Assign(under)) {
    const RECT local{0, 0, bw, bh};
    if (b.State == 2 || b.State == 3) {
      const TSkinModel* m = frame_.SkinModel();
      HBRUSH brush = CreateSolidBrush(Colour(m ? m->ButtonHilightColour : SystemColour(kSysButtonHighlight)));
      FrameRect(surface.DC(), &local, brush);
      DeleteObject(brush);
    }
    HGDIOBJ old = SelectObject(surface.DC(), MenuFont());
    DrawCaption(surface.DC(), b, local);
    SelectObject(surface.DC(), old);
    GdiFlush();
    surface.DrawTo(dc, r.left, r.top);
  }
  ReleaseDC(w, dc);
}

TMenuBtn* TWinSkinMenu::ButtonAt(int x, int y) const {
  std::vector<ImgRect> rects;
  std::vector<TMenuBarEntry> entries;
  for (const auto& b : buttons_) {
    rects.push_back(b->HitRect);
    TMenuBarEntry e;
    e.Visible = b->Visible;
    e.EmptyCaption = b->Caption.empty();
    entries.push_back(e);
  }
  const int i = MenuBarButtonAt(rects, entries, x, y);
  return i >= 0 ? buttons_[static_cast<size_t>(i)].get() : nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonByAccelerator(wchar_t key) const {
  std::vector<TMenuBarKeyEntry> entries;
  for (const auto& b : buttons_) entries.push_back({b->Caption, b->Visible, b->Enabled});
  const int i = MenuBarButtonByKey(entries, key);
  return i >= 0 ? buttons_[static_cast<size_t>(i)].get() : nullptr;
}

POINT TWinSkinMenu::ToWindow(POINT screen) const {
  RECT r{};
  GetWindowRect(frame_.Window(), &r);
  return POINT{screen.x - r.left, screen.y - r.top};
}

// ---- drop-downs -------------------------------------------------------------------

namespace {

// Steers the open drop-down (message filter of the menu loop).
LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT next = CallNextHookEx(tracking.Hook, code, wParam, lParam);
  if (next || code != MSGF_MENU || !tracking.Bar) return next;
  try {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (!tracking.FirstSeen) {
      // The first item becomes selected, as when a menu opens from the keyboard.
      tracking.FirstSeen = true;
      HWND popup = FindWindowW(L"#32768", nullptr);
      PostMessageW(popup && IsWindowVisible(popup) ? popup : msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    switch (msg->message) {
      case WM_KEYDOWN:
        if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) tracking.ByKeyboard = false;
        if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
          const bool nested = tracking.AnySelected && tracking.SelectedMenu && tracking.SelectedMenu != tracking.Submenu;
          target = MenuBarArrowTarget(msg->wParam == VK_LEFT ? TArrowKey::Left : TArrowKey::Right, tracking.Open,
                                      tracking.Count, nested, tracking.AnySelected, tracking.SelectedOpensSubmenu,
                                      tracking.RightToLeft);
        }
        break;
      case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) tracking.Frame->SetMenuOpen(false);
        break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_NCLBUTTONDOWN: {
        const bool press = msg->message == WM_LBUTTONDOWN || msg->message == WM_NCLBUTTONDOWN;
        if (!press && msg->pt.x == tracking.LastMouse.x && msg->pt.y == tracking.LastMouse.y) break;
        tracking.LastMouse = msg->pt;
        RECT wr{};
        GetWindowRect(tracking.Window, &wr);
        TMenuBtn* b = tracking.Bar->ButtonAt(msg->pt.x - wr.left, msg->pt.y - wr.top);
        if (!b) break;
        if (press && b->Index == tracking.Open) {
          // A click on the open button closes its drop-down (and does not
          // open it again once the loop has ended).
          EndMenu();
          return 1;
        }
        if (b->Index != tracking.Open) target = b->Index;
        break;
      }
      default:
        break;
    }
    if (target >= 0 && target != tracking.Open) {
      tracking.ByKeyboard = true;
      tracking.Pending = target;
      EndMenu();
      return 1;
    }
  } catch (...) {
    // The menu goes on as the platform runs it.
  }
  return 0;
}

}  // namespace

void TWinSkinMenu::MakeOwnerDrawn(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    const bool was = (mi.fType & MFT_OWNERDRAW) != 0;
    ownerDrawn_.push_back({menu, static_cast<UINT>(i), mi.wID, mi.dwItemData, was});
    if (!was) {
      MENUITEMINFOW set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = mi.fType | MFT_OWNERDRAW;
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
    }
    if (mi.hSubMenu) MakeOwnerDrawn(mi.hSubMenu);
  }
}

void TWinSkinMenu::RestoreOwnerDrawn() {
  for (const TOwnerDrawn& o : ownerDrawn_) {
    if (o.WasOwnerDrawn || !IsMenu(o.Menu)) continue;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoW(o.Menu, o.Position, TRUE, &mi) || mi.wID != o.Id) continue;
    mi.fMask = MIIM_FTYPE;
    mi.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    SetMenuItemInfoW(o.Menu, o.Position, TRUE, &mi);
  }
  ownerDrawn_.clear();
}

void TWinSkinMenu::OpenDropDown(TMenuBtn* button) {
  tracking.ByKeyboard = false;
  if (!button || tracking.Hook) return;
  const std::shared_ptr<bool> alive = alive_;
  HWND w = frame_.Window();
  // The library runs the item's click handling. A native item with a
  // drop-down has no command of its own (its id is the submenu's handle).
  if (!button->Submenu || button->Item) PostMessageW(w, WM_COMMAND, MAKEWPARAM(button->Command, 0), 0);
  if (!button->Submenu) return;

  tracking = TTracking{};
  tracking.Bar = this;
  tracking.Frame = &frame_;
  tracking.Window = w;
  tracking.Submenu = button->Submenu;
  tracking.Open = button->Index;
  tracking.Count = static_cast<int>(buttons_.size());
  tracking.RightToLeft = frame_.CaptionMetrics().RightToLeft;
  MakeOwnerDrawn(button->Submenu);
  frame_.SetMenuOpen(true);
  SkinPopups().SetMenuKind(TMenuKind::MenuBar);
  tracking.Hook = SetWindowsHookExW(WH_MSGFILTER, &MenuFilter, nullptr, GetCurrentThreadId());
  GetCursorPos(&tracking.LastMouse);

  if (button->Enabled) {
    RECT wr{};
    GetWindowRect(w, &wr);
    const bool rtl = tracking.RightToLeft;
    const int x = wr.left + (rtl ? button->HitRect.Right : button->HitRect.Left);
    const int y = wr.top + button->HitRect.Bottom;
    TPMPARAMS params{sizeof params, RECT{wr.left + button->HitRect.Left, wr.top + button->HitRect.Top,
                                          wr.left + button->HitRect.Right, y}};
    // Notifications stay on: WM_MENUSELECT tells the filter where the
    // selection is.
    TrackPopupMenuEx(button->Submenu, TPM_RIGHTBUTTON | TPM_VERTICAL | (rtl ? TPM_RIGHTALIGN : TPM_LEFTALIGN), x, y,
                     w, &params);
  }

  if (tracking.Hook) UnhookWindowsHookEx(tracking.Hook);
  const int pending = tracking.Pending;
  tracking = TTracking{};
  if (SkinPopups().Count() == 0) SkinPopups().SetMenuKind(TMenuKind::Free);
  // The window (and with it this bar) may have gone during the loop.
  if (!*alive || !IsWindow(w)) return;
  RestoreOwnerDrawn();
  frame_.SetMenuOpen(false);
  if (pending >= 0 && pending < static_cast<int>(buttons_.size())) {
    // The neighbour opens through the frame's own click handling.
    const TMenuBtn& next = *buttons_[static_cast<size_t>(pending)];
    RECT wr{};
    GetWindowRect(w, &wr);
    PostMessageW(w, WM_NCLBUTTONDOWN, HTMENU,
                 MAKELPARAM(wr.left + next.HitRect.Left + 1, wr.top + next.HitRect.Top + 1));
  }
}

void TWinSkinMenu::PressAndOpen(TMenuBtn* b) {
  const std::shared_ptr<bool> alive = alive_;
  b->MouseDown();
  OpenDropDown(b);
  if (!*alive || !IsWindow(frame_.Window())) return;
  // Back to normal unless the cursor still rests on the button.
  POINT p{};
  GetCursorPos(&p);
  if (WindowFromPoint(p) == frame_.Window() && Contains(b->HitRect, ToWindow(p))) return;
  if (b->State != 1) {
    if (frame_.Buttons() && frame_.Buttons()->HotObject() == b)
      b->MouseLeave();
    else {
      b->State = 1;
      b->Paint();
    }
  }
}

// ---- owner-drawn drop-down items -------------------------------------------------

TMenuItem* TWinSkinMenu::LibraryItem(ULONG_PTR data) const {
  TMenuItem* item = FindMenuItem(data);
  return item && library_ && item->GetParentMenu() == library_ ? item : nullptr;
}

const TWinSkinMenu::TOwnerDrawn* TWinSkinMenu::FindOwnerDrawn(UINT id, ULONG_PTR data, HMENU menu) const {
  for (const TOwnerDrawn& o : ownerDrawn_)
    if (o.Id == id && o.Data == data && (!menu || o.Menu == menu)) return &o;
  return nullptr;
}

bool TWinSkinMenu::MeasureItem(MEASUREITEMSTRUCT& mi) {
  TSkinData* skin = frame_.Skin();
  if (!skin) return false;
  const TMenuSkin s = MenuSkinOf(*skin);
  const TDataSkinObject* element = s.Model ? s.Model->MenuItem() : nullptr;
  const int margin = element ? element->LeftWidth : 0;
  if (TMenuItem* item = LibraryItem(mi.itemData)) {
    HDC dc = CreateCompatibleDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    int width = 0, height = 0;
    item->MeasureItem(&canvas, width, height);
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
    mi.itemWidth = static_cast<UINT>(MainMenuItemWidth(width, element != nullptr, margin, library_->Images() != nullptr));
    mi.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
  }
  const TOwnerDrawn* o = FindOwnerDrawn(mi.itemID, mi.itemData, nullptr);
  if (!o) return false;
  const TMenuItemData data = ReadNativeItem(o->Menu, o->Position);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  std::wstring text = data.IsSeparator() ? std::wstring() : data.Caption;
  if (!data.Shortcut.empty()) text += L"\t" + data.Shortcut;
  RECT r{0, 0, 0, 0};
  const int height = text.empty() ? 0
                                  : DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                                              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  SelectObject(dc, old);
  DeleteDC(dc);
  const TItemSize size = NativeItemSize(r.right - r.left, height, text.empty(), element != nullptr, margin);
  mi.itemWidth = static_cast<UINT>(size.Width);
  mi.itemHeight = static_cast<UINT>(size.Height);
  return true;
}

bool TWinSkinMenu::DrawItem(const DRAWITEMSTRUCT& di) {
  TSkinData* skin = frame_.Skin();
  if (!skin) return false;
  TMenuSkin s = MenuSkinOf(*skin);
  HMENU menu = reinterpret_cast<HMENU>(di.hwndItem);
  TMenuItemData data;
  if (TMenuItem* item = LibraryItem(di.itemData)) {
    s.MenuImages = library_->Images();
    data.Caption = item->Caption();
    if (item->ShortCut()) data.Shortcut = ShortCutToText(static_cast<TShortCut>(item->ShortCut()));
    data.Checked = item->Checked();
    data.Disabled = !item->Enabled();
    data.Default = item->Default();
    data.ImageIndex = item->ImageIndex();
    data.Menu = menu;
  } else if (const TOwnerDrawn* o = FindOwnerDrawn(di.itemID, di.itemData, menu)) {
    data = ReadNativeItem(o->Menu, o->Position);
    data.Menu = menu;
  } else {
    return false;
  }
  PaintMenuItem(di.hDC, di.rcItem, (di.itemState & ODS_SELECTED) != 0, data, s, frame_.CaptionMetrics().RightToLeft);
  return true;
}

// ---- messages -------------------------------------------------------------------

bool TWinSkinMenu::HandleMessage(TMessage& m) {
  HWND w = frame_.Window();
  switch (m.Msg) {
    case WM_NCMOUSEMOVE: {
      if (!frame_.IsActive()) return false;
      const POINT p = ToWindow(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      TMenuBtn* b = ButtonAt(p.x, p.y);
      if (!b) return false;
      b->MouseEnter();
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_NONCLIENT, w, 0};
      TrackMouseEvent(&t);
      m.Result = 0;
      return true;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: {
      const POINT p = ToWindow(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      TMenuBtn* b = ButtonAt(p.x, p.y);
      if (!b) return false;
      if (m.Msg == WM_NCLBUTTONDOWN) {
        if (!frame_.IsActive()) SetForegroundWindow(w);
        PressAndOpen(b);
      }
      m.Result = 0;
      return true;
    }
    case WM_SKINMENUBUTTON: {
      const POINT p = ToWindow(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (TMenuBtn* b = ButtonAt(p.x, p.y)) PressAndOpen(b);
      m.Result = 0;
      return true;
    }
    case WM_SYSCOMMAND: {
      if ((m.WParam & 0xFFF0) != SC_KEYMENU || frame_.MenuBarOpen()) return false;
      const wchar_t key = static_cast<wchar_t>(m.LParam);
      if (key == L' ' || key == L'-' || GetCapture()) return false;
      TMenuBtn* b = nullptr;
      if (key == 0) {
        // Alt or F10 alone: the first button.
        for (const auto& candidate : buttons_)
          if (candidate->Visible && !candidate->Caption.empty()) {
            b = candidate.get();
            break;
          }
      } else {
        b = ButtonByAccelerator(key);
      }
      if (b) PressAndOpen(b);
      m.Result = 1;
      return true;
    }
    case WM_MENUSELECT:
      if (tracking.Bar == this) {
        const UINT flags = HIWORD(m.WParam);
        if (flags == 0xFFFF && m.LParam == 0) {
          if (!tracking.ByKeyboard) frame_.SetMenuOpen(false);
        } else {
          tracking.ByKeyboard = false;
          tracking.AnySelected = true;
          tracking.SelectedMenu = reinterpret_cast<HMENU>(m.LParam);
          tracking.SelectedOpensSubmenu = (flags & MF_POPUP) != 0;
        }
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (m.WParam != 0 || !mi || mi->CtlType != ODT_MENU || !MeasureItem(*mi)) return false;
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
      if (m.WParam != 0 || !di || di->CtlType != ODT_MENU || !DrawItem(*di)) return false;
      m.Result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool TWinSkinMenu::DialogChar(TMessage& m) {
  const bool alt = GetKeyState(VK_MENU) < 0 || (m.LParam & (1 << 29)) != 0;
  if (!alt || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  TMenuBtn* b = ButtonByAccelerator(static_cast<wchar_t>(m.WParam));
  if (!b) return false;
  RECT wr{};
  GetWindowRect(frame_.Window(), &wr);
  PostMessageW(frame_.Window(), WM_NCLBUTTONDOWN, HTMENU,
               MAKELPARAM(wr.left + b->HitRect.Left + 1, wr.top + b->HitRect.Top + 1));
  m.Result = 1;
  return true;
}

bool TWinSkinMenu::HoverTick() {
  if (!OwnsHot()) return false;
  auto* hot = static_cast<TMenuBtn*>(frame_.Buttons()->HotObject());
  POINT p{};
  GetCursorPos(&p);
  if (WindowFromPoint(p) == frame_.Window() && ButtonAt(ToWindow(p).x, ToWindow(p).y) == hot) return true;
  hot->MouseLeave();
  return false;
}
