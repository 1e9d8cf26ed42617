#include "skin/window/SystemMenu.h"

#include "gui/ImgList.h"
#include "skin/window/PopupMenu.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"TwSystemMenuOwner";

// Glyphs of the skin's menu images.
enum : int { kImageRestore = 0, kImageMaximize = 1, kImageMinimize = 2, kImageClose = 3 };

HWND openFor = nullptr;

}  // namespace

TSystemMenu::~TSystemMenu() {
  Free();
  if (owner_) DestroyWindow(owner_);
}

void TSystemMenu::Free() {
  if (menu_) DestroyMenu(menu_);
  menu_ = nullptr;
  items_.clear();
  commands_.clear();
}

HWND TSystemMenu::OpenFor() { return openFor; }

int TSystemMenu::Build(HWND window, const TMenuSkin& skin) {
  Free();
  skin_ = skin;
  menu_ = CreatePopupMenu();
  HMENU native = GetSystemMenu(window, FALSE);
  if (!menu_ || !native) return 0;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  const bool minimized = IsIconic(window) != 0;
  const bool maximized = !minimized && IsZoomed(window) != 0;
  const bool hasMin = (style & WS_MINIMIZEBOX) != 0, hasMax = (style & WS_MAXIMIZEBOX) != 0;

  const int count = GetMenuItemCount(native);
  for (int i = 0; i < count; ++i) {
    TMenuItemData item = ReadNativeItem(native, UINT(i));
    const UINT id = GetMenuItemID(native, i);
    const UINT command = item.IsSeparator() || id == UINT(-1) ? 0 : id;
    // A state the system gave an item is kept; the window's show state and
    // boxes may only take more items away.
    switch (command & 0xFFF0) {
      case SC_SIZE:
      case SC_MOVE: item.Disabled = item.Disabled || maximized; break;
      case SC_MINIMIZE:
        item.Disabled = minimized || !hasMin;
        item.ImageIndex = kImageMinimize;
        break;
      case SC_MAXIMIZE:
        item.Disabled = maximized || !hasMax;
        item.ImageIndex = kImageMaximize;
        break;
      case SC_RESTORE:
        item.Disabled = !minimized && !maximized;
        item.ImageIndex = kImageRestore;
        break;
      case SC_CLOSE: item.ImageIndex = kImageClose; break;
      default: break;
    }
    item.Menu = menu_;
    items_.push_back(item);
    commands_.push_back(command);
    UINT flags = MF_OWNERDRAW;
    if (item.Disabled || command == 0) flags |= MF_GRAYED;
    if (item.Checked) flags |= MF_CHECKED;
    AppendMenuW(menu_, flags, command, reinterpret_cast<LPCWSTR>(items_.size() - 1));
    if (item.Default) SetMenuDefaultItem(menu_, UINT(i), TRUE);
  }
  return int(items_.size());
}

HWND TSystemMenu::Owner() {
  if (owner_ && IsWindow(owner_)) return owner_;
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    return RegisterClassW(&wc);
  }();
  if (!atom) return nullptr;
  owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (owner_) SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return owner_;
}

LRESULT CALLBACK TSystemMenu::OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TSystemMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  try {
    if (self && msg == WM_MEASUREITEM) {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (mi->CtlType == ODT_MENU && mi->itemData < self->items_.size()) {
        const bool images = self->skin_.MenuImages && self->skin_.MenuImages->Count() > 0;
        const SIZE s = MeasurePopupItem(self->items_[mi->itemData], self->skin_, images);
        mi->itemWidth = UINT(s.cx);
        mi->itemHeight = UINT(s.cy);
        return TRUE;
      }
    }
    if (self && msg == WM_DRAWITEM) {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (di->CtlType == ODT_MENU && di->itemData < self->items_.size()) {
        TMenuItemData item = self->items_[di->itemData];
        item.Menu = reinterpret_cast<HMENU>(di->hwndItem);
        PaintMenuItem(di->hDC, di->rcItem, (di->itemState & ODS_SELECTED) != 0, item, self->skin_);
        return TRUE;
      }
    }
  } catch (...) {
    // Painting failures leave the item as the system drew it.
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

UINT TSystemMenu::Show(HWND window, const TMenuSkin& skin, POINT screen) {
  if (!IsWindow(window) || Build(window, skin) == 0) return 0;
  HWND owner = Owner();
  if (!owner) return 0;
  SkinPopups().SetMenuKind(TMenuKind::SystemMenu);
  openFor = window;
  const UINT command = UINT(TrackPopupMenuEx(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                             screen.x, screen.y, owner, nullptr));
  openFor = nullptr;
  if (SkinPopups().Count() == 0) SkinPopups().SetMenuKind(TMenuKind::Free);
  if (command) PostMessageW(window, WM_SYSCOMMAND, command, 0);
  return command;
}
