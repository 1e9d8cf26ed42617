#include "skin/window/PopupMenu.h"

#include <algorithm>

#include "skin/controls/SkinMessages.h"
#include "skin/controls/SkinSwitches.h"
#include "skin/data/SkinModel.h"

namespace {

// The menu shown by a menu window (0 when the window does not say).
constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

// GetDCEx: take the window's own clipping styles (not in the SDK headers).
constexpr DWORD kDcxUseStyle = 0x00010000;

// Width of the menu window's border.
constexpr int kBorder = 3;

}  // namespace

bool PopupKindAllowed(TMenuKind kind, uint32_t skinControls) {
  struct Row {
    TMenuKind Kind;
    int Switch1, Switch2;
  };
  static constexpr Row kRows[] = {
      {TMenuKind::Free, xcPopupMenu, xcPopupMenu},
      {TMenuKind::MenuBar, xcMainMenu, xcMenuItem},
      {TMenuKind::SystemMenu, xcSystemMenu, xcSystemMenu},
  };
  for (const Row& r : kRows)
    if (r.Kind == kind) return HasSwitch(skinControls, r.Switch1) || HasSwitch(skinControls, r.Switch2);
  return false;
}

// ---- TWinSkinPopMenu --------------------------------------------------------

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

bool TWinSkinPopMenu::Attach(HWND window, const TMenuSkin& skin) {
  if (!TSubclass::Attach(window)) return false;
  window_ = window;
  skin_ = skin;
  menu_ = nullptr;
  return true;
}

void TWinSkinPopMenu::Detach() {
  TSubclass::Detach();
  background_.Clear();
}

POINT TWinSkinPopMenu::ItemOffset() const {
  POINT origin{0, 0};
  RECT r{};
  if (!window_ || !ClientToScreen(window_, &origin) || !GetWindowRect(window_, &r)) return POINT{kBorder, kBorder};
  return POINT{origin.x - r.left, origin.y - r.top};
}

bool TWinSkinPopMenu::CanPaint() const {
  const TSkinModel* m = skin_.Model;
  return m && m->MenuBackground() && !m->MenuBackground()->Bitmap.Empty();
}

void TWinSkinPopMenu::RenderBackground() {
  RECT r{};
  GetWindowRect(window_, &r);
  const TDataSkinObject& e = *skin_.Model->MenuBackground();
  background_ = BuildFrameBitmap(ImgRect{0, 0, r.right - r.left, r.bottom - r.top}, e.Bitmap,
                                 FrameMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}, false,
                                 e.Tile != 0, 1, 1);
}

void TWinSkinPopMenu::PaintBorder(HRGN update) {
  RenderBackground();
  if (background_.Empty()) return;
  // A real update region (wParam 1 means the whole window).
  const bool region = update && reinterpret_cast<uintptr_t>(update) != 1;
  HDC dc = region ? GetDCEx(window_, update, DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle | DCX_CACHE)
                  : GetWindowDC(window_);
  if (!dc) return;
  const int w = background_.Width(), h = background_.Height();
  // Only the border ring: what lies inside it belongs to the items.
  ExcludeClipRect(dc, kBorder, kBorder, w - kBorder, h - kBorder);
  DrawImage(dc, 0, 0, background_);
  ReleaseDC(window_, dc);
}

LRESULT TWinSkinPopMenu::Print(HDC dc, LPARAM flags) {
  RenderBackground();
  if (background_.Empty()) return CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
  DrawImage(dc, 0, 0, background_);
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  IntersectClipRect(dc, kBorder, kBorder, background_.Width() - kBorder, background_.Height() - kBorder);
  const LRESULT r = CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
  RestoreDC(dc, saved);
  return r;
}

LRESULT TWinSkinPopMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SKINQUERY: return 1;
    case WM_DESTROY: {
      background_.Clear();
      return CallPrevious(msg, wParam, lParam);
    }
    case WM_ERASEBKGND:
      if (!HasSwitch(skin_.Options, xoMenuBG)) CallPrevious(msg, wParam, lParam);
      return 1;
    case WM_NCPAINT:
      if (!CanPaint()) break;
      PaintBorder(reinterpret_cast<HRGN>(wParam));
      return 0;
    case WM_PAINT: {
      // Wine's menu window has no non-client area: it draws its border in
      // the client area while painting, so the skinned border goes over it.
      const LRESULT r = CallPrevious(msg, wParam, lParam);
      if (CanPaint()) PaintBorder(nullptr);
      return r;
    }
    case WM_PRINT:
      if (!CanPaint()) break;
      return Print(reinterpret_cast<HDC>(wParam), lParam);
    default: break;
  }
  return CallPrevious(msg, wParam, lParam);
}

void TWinSkinPopMenu::WindowDestroyed() {
  // The window went before anyone detached it: drop our entry (this object
  // is deleted there).
  if (list_) list_->DetachPopup(window_);
}

// ---- TSkinPopups ------------------------------------------------------------

TWinSkinPopMenu* TSkinPopups::Find(HWND window) const {
  for (const auto& p : list_)
    if (p->MenuWindow() == window) return p.get();
  return nullptr;
}

TWinSkinPopMenu* TSkinPopups::AttachPopup(HWND window, const TMenuSkin& skin) {
  if (!window || !IsWindow(window) || !skin.Model) return nullptr;
  if (!PopupKindAllowed(kind_, skin.SkinControls)) return nullptr;
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) return nullptr;
  if (Find(window) || SendMessageW(window, WM_SKINQUERY, 0, 0) == 1) return nullptr;
  auto popup = std::make_unique<TWinSkinPopMenu>();
  if (!popup->Attach(window, skin)) return nullptr;
  popup->list_ = this;
  list_.push_back(std::move(popup));
  return list_.back().get();
}

bool TSkinPopups::DetachPopup(HWND window) {
  if (!window) return false;
  auto it = std::find_if(list_.begin(), list_.end(), [&](const auto& p) { return p->MenuWindow() == window; });
  if (it == list_.end()) return false;
  std::unique_ptr<TWinSkinPopMenu> gone = std::move(*it);
  list_.erase(it);
  gone->list_ = nullptr;
  gone->Detach();
  if (list_.empty()) kind_ = TMenuKind::Free;
  return true;
}

void TSkinPopups::DetachAll() {
  while (!list_.empty()) {
    std::unique_ptr<TWinSkinPopMenu> gone = std::move(list_.back());
    list_.pop_back();
    gone->list_ = nullptr;
    gone->Detach();
  }
  kind_ = TMenuKind::Free;
}

void TSkinPopups::TagNewPopup(HMENU menu) {
  if (!menu || PopupFor(menu)) return;
  for (auto it = list_.rbegin(); it != list_.rend(); ++it) {
    TWinSkinPopMenu& p = **it;
    if (p.Menu()) continue;
    const HMENU shown = p.MenuWindow() ? reinterpret_cast<HMENU>(SendMessageW(p.MenuWindow(), kGetMenuOfWindow, 0, 0))
                                       : nullptr;
    if (shown && IsMenu(shown)) {
      p.SetMenu(shown);
      if (shown == menu) return;
      continue;
    }
    p.SetMenu(menu);
    return;
  }
}

const TWinSkinPopMenu* TSkinPopups::PopupFor(HMENU menu) const {
  if (!menu) return nullptr;
  for (const auto& p : list_)
    if (p->Menu() == menu) return p.get();
  return nullptr;
}

const Image* TSkinPopups::PopupBitmapFor(HMENU menu) const {
  const TWinSkinPopMenu* p = PopupFor(menu);
  return p ? &p->Background() : nullptr;
}

TSkinPopups& SkinPopups() {
  // Never destroyed: menu windows are gone long before the process ends, and
  // no exit-time destructor may reach into user32.
  static TSkinPopups* popups = new TSkinPopups;
  return *popups;
}
