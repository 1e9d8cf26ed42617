#include "skin/window/CaptionButtons.h"

#include <windowsx.h>

#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinModel.h"
#include "skin/window/SystemMenu.h"

// ---- TNCObject ----------------------------------------------------------------

void TNCObject::MouseDown() {
  TNCObject* hot = owner_.HotObject();
  if (hot && hot != this) hot->MouseLeave();
  if (!Visible) return;
  owner_.SetHotObject(this);
  State = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  TNCObject* hot = owner_.HotObject();
  if (hot == this) return;
  if (hot) hot->MouseLeave();
  if (!Visible) return;
  owner_.SetHotObject(this);
  State = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (owner_.HotObject() == this) owner_.SetHotObject(nullptr);
  State = 1;
  Paint();
}

void TWinSysButton::Paint() { owner_.PaintButton(*this); }

// ---- TCaptionButtons ----------------------------------------------------------

TCaptionButtons::TCaptionButtons(TCaptionFrame& frame) : frame_(frame) {}

TCaptionButtons::~TCaptionButtons() = default;

TSystemMenu& TCaptionButtons::SystemMenu() {
  if (!systemMenu_) systemMenu_ = std::make_unique<TSystemMenu>();
  return *systemMenu_;
}

void TCaptionButtons::Rebuild(const TSkinModel& skin) {
  Drop();
  for (const auto& element : skin.SysButtons)
    if (element) buttons_.push_back(std::make_unique<TWinSysButton>(*this, *element));
  slots_.assign(buttons_.size(), TCaptionSlot{});
  under_.assign(buttons_.size(), Image{});
  LoadIcon();
}

void TCaptionButtons::Drop() {
  hot_ = nullptr;
  pressed_ = nullptr;
  buttons_.clear();
  slots_.clear();
  under_.clear();
}

void TCaptionButtons::LoadIcon() {
  HWND w = frame_.CaptionWindow();
  icon_ = nullptr;
  if (!w) return;
  DWORD_PTR answer = 0;
  auto ask = [&](WPARAM which) {
    answer = 0;
    SendMessageTimeoutW(w, WM_GETICON, which, 0, SMTO_ABORTIFHUNG, 500, &answer);
    return reinterpret_cast<HICON>(answer);
  };
  icon_ = ask(ICON_SMALL);
  if (!icon_) icon_ = reinterpret_cast<HICON>(GetClassLongPtrW(w, GCLP_HICONSM));
  if (!icon_) icon_ = ask(ICON_BIG);
  if (!icon_) icon_ = reinterpret_cast<HICON>(GetClassLongPtrW(w, GCLP_HICON));
}

int TCaptionButtons::IconSize() const { return icon_ ? GetSystemMetrics(SM_CXSMICON) : 0; }

std::vector<const TDataSkinSysButton*> TCaptionButtons::Elements() const {
  std::vector<const TDataSkinSysButton*> e;
  e.reserve(buttons_.size());
  for (const auto& b : buttons_) e.push_back(&b->Element);
  return e;
}

int TCaptionButtons::Layout() {
  HWND w = frame_.CaptionWindow();
  const TVisibilityQuery query = [w](int code, int action) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(w, WM_SKINBUTTONVISIBLE, WPARAM(code), LPARAM(action), SMTO_ABORTIFHUNG, 1000, &answer))
      return 0;
    return int(LRESULT(answer));
  };
  const int edge = LayoutCaptionButtons(Elements(), IconSize(), frame_.CaptionFacts(), frame_.CaptionMetrics(),
                                        query, slots_);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->Visible = slots_[i].Visible;
    buttons_[i]->HitRect = slots_[i].Rect;
  }
  return edge;
}

void TCaptionButtons::DrawButton(HDC dc, const TWinSysButton& b, int frame, int x, int y) const {
  const TDataSkinSysButton& e = b.Element;
  const RECT r{x, y, x + b.HitRect.Width(), y + b.HitRect.Height()};
  if (ShowsWindowIcon(e.Action)) {
    if (icon_) {
      const int size = GetSystemMetrics(SM_CXSMICON);
      DrawIconEx(dc, r.left, r.top, icon_, size, size, 0, nullptr, DI_NORMAL);
    } else {
      TransparentDraw(dc, r, e.Bitmap, kMagenta);
    }
    return;
  }
  DrawFrameStretched(dc, r, e.Bitmap, true, e.FrameCount, frame);
}

namespace {
// Frame of the strip for a state: 1 normal (4 while inactive, when the strip
// has it), 2 pressed, 3 hot (4 for buttons in the menu bar); a frame the strip
// lacks falls back to 1.
int FrameForState(const TDataSkinSysButton& e, int state, bool active) {
  int frame = 1;
  if (state == 2) frame = 2;
  else if (state == 3) frame = e.Visibility == 100 ? 4 : 3;
  else if (!active && e.FrameCount >= 4) frame = 4;
  return frame <= e.FrameCount ? frame : 1;
}
}  // namespace

int TCaptionButtons::PaintCaptionBand(HDC band) {
  const int edge = Layout();
  const bool active = frame_.CaptionFacts().Active;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const TWinSysButton& b = *buttons_[i];
    if (!b.Visible || b.HitRect.Empty() || b.Element.Visibility == 100) continue;
    const RECT r{b.HitRect.Left, b.HitRect.Top, b.HitRect.Right, b.HitRect.Bottom};
    under_[i] = CaptureDC(band, r);
    DrawButton(band, b, FrameForState(b.Element, b.State, active), r.left, r.top);
  }
  return edge;
}

void TCaptionButtons::PaintButton(const TWinSysButton& b) {
  HWND w = frame_.CaptionWindow();
  if (!w || !b.Visible || b.HitRect.Empty()) return;
  size_t index = 0;
  while (index < buttons_.size() && buttons_[index].get() != &b) ++index;
  if (index == buttons_.size()) return;
  HDC dc = GetWindowDC(w);
  if (!dc) return;
  const RECT r{b.HitRect.Left, b.HitRect.Top, b.HitRect.Right, b.HitRect.Bottom};
  // The band under the button as it was composed, else what the window shows.
  const Image& under = under_[index];
  Image background = under.Width() == b.HitRect.Width() && under.Height() == b.HitRect.Height() ? under : CaptureDC(dc, r);
  DibSurface surface;
  if (surface.Assign(background)) {
    DrawButton(surface.DC(), b, FrameForState(b.Element, b.State, frame_.CaptionFacts().Active), 0, 0);
    GdiFlush();
    surface.DrawTo(dc, r.left, r.top);
  }
  ReleaseDC(w, dc);
}

TNCObject* TCaptionButtons::ObjectAt(int x, int y) const {
  const int i = HitCaptionButton(Elements(), slots_, x, y);
  return i >= 0 ? buttons_[size_t(i)].get() : nullptr;
}

POINT TCaptionButtons::ToWindow(LPARAM screenPoint) const {
  RECT r{};
  GetWindowRect(frame_.CaptionWindow(), &r);
  return POINT{GET_X_LPARAM(screenPoint) - r.left, GET_Y_LPARAM(screenPoint) - r.top};
}

void TCaptionButtons::HoverTick() {
  HWND w = frame_.CaptionWindow();
  if (!w || frame_.MenuBarOpen()) return;
  POINT p{};
  RECT r{};
  GetCursorPos(&p);
  GetWindowRect(w, &r);
  // The object really under the cursor: mouse messages may arrive late or
  // out of order (see docs/wine.md), the cursor position does not.
  TNCObject* under = WindowFromPoint(p) == w ? ObjectAt(p.x - r.left, p.y - r.top) : nullptr;
  if (hot_ && hot_ != under) {
    TNCObject* leaving = hot_;
    leaving->MouseLeave();
    hot_ = nullptr;
  }
  // Like a mouse move: only an active window's objects light up.
  if (under && under != hot_ && frame_.CaptionFacts().Active) under->MouseEnter();
}

bool TCaptionButtons::HandleMessage(TMessage& m) {
  HWND w = frame_.CaptionWindow();
  if (!w) return false;
  switch (m.Msg) {
    case WM_NCMOUSEMOVE: {
      if (!frame_.CaptionFacts().Active) {
        m.Result = 0;
        return true;
      }
      const POINT p = ToWindow(m.LParam);
      if (TNCObject* o = ObjectAt(p.x, p.y)) {
        o->MouseEnter();
        // Leaving the window's non-client area ends the hover at once.
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_NONCLIENT, w, 0};
        TrackMouseEvent(&t);
        m.Result = 0;
        return true;
      }
      if (hot_) {
        TNCObject* leaving = hot_;
        leaving->MouseLeave();
        hot_ = nullptr;
      }
      return false;
    }
    case WM_NCMOUSELEAVE:
      HoverTick();
      return false;
    case WM_NCLBUTTONDOWN: {
      const POINT p = ToWindow(m.LParam);
      if (TNCObject* o = ObjectAt(p.x, p.y)) {
        if (!frame_.CaptionFacts().Active) SetForegroundWindow(w);
        o->MouseDown();
        pressed_ = o;
        m.Result = 0;
        return true;
      }
      const TCaptionFacts f = frame_.CaptionFacts();
      // A maximized window is not dragged by its caption.
      if (f.ShowState == TShowState::Maximized && f.Active && m.WParam == HTCAPTION) m.WParam = HTMENU;
      return false;
    }
    case WM_NCLBUTTONUP: {
      const POINT p = ToWindow(m.LParam);
      TNCObject* o = ObjectAt(p.x, p.y);
      TNCObject* pressed = pressed_;
      pressed_ = nullptr;
      if (!o) return false;
      // Released over the hot object, or over the one pressed even when a
      // late mouse move took its hover away in between.
      if (o == hot_ || o == pressed) {
        hot_ = o;
        auto* button = static_cast<TWinSysButton*>(o);
        button->MouseUp();
        RunAction(*button, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      }
      m.Result = 0;
      return true;
    }
    case WM_NCLBUTTONDBLCLK: {
      const POINT p = ToWindow(m.LParam);
      if (TNCObject* o = ObjectAt(p.x, p.y)) {
        if (ShowsWindowIcon(static_cast<TWinSysButton*>(o)->Element.Action)) {
          frame_.StopHoverTimer();
          PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
          // The second press of two quick clicks: pressed again, so its
          // release acts like the first one's.
          o->MouseDown();
          pressed_ = o;
        }
        m.Result = 0;
        return true;
      }
      const TCaptionFacts f = frame_.CaptionFacts();
      if (m.WParam != HTCAPTION) return false;
      if (f.ShowState != TShowState::Normal) {
        frame_.ShowStateChanging(TShowState::Normal);
        PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
      } else if (f.Capabilities & kCapMaximizeBox) {
        frame_.ShowStateChanging(TShowState::Maximized);
        PostMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      } else {
        return false;
      }
      m.Result = 0;
      return true;
    }
    case WM_NCRBUTTONDOWN:
      if (m.WParam != HTCAPTION || (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_MDICHILD)) return false;
      OpenSystemMenu(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      m.Result = 0;
      return true;
    case WM_SYSCOMMAND: {
      if ((m.WParam & 0xFFF0) != SC_KEYMENU || frame_.MenuBarOpen()) return false;
      if (m.LParam == L' ') {
        POINT origin{0, 0};
        ClientToScreen(w, &origin);
        OpenSystemMenu(origin);
        m.Result = 0;
        return true;
      }
      // Alt or F10 alone would open the unskinned system menu.
      if (m.LParam == 0) {
        m.Result = 1;
        return true;
      }
      return false;
    }
    default: return false;
  }
}

void TCaptionButtons::RunAction(const TWinSysButton& button, POINT screen) {
  HWND w = frame_.CaptionWindow();
  const TCaptionFacts f = frame_.CaptionFacts();
  switch (RoleOfAction(button.Element.Action)) {
    case TButtonRole::Close:
      if (GetMenuState(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND) != UINT(-1)) {
        frame_.StopHoverTimer();
        PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case TButtonRole::MaximizeRestore:
      if (f.ShowState == TShowState::Maximized) {
        frame_.ShowStateChanging(TShowState::Normal);
        PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
      } else {
        frame_.ShowStateChanging(TShowState::Maximized);
        PostMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        hot_ = nullptr;
      }
      break;
    case TButtonRole::MinimizeRestore:
      if (f.ShowState == TShowState::Minimized) {
        frame_.ShowStateChanging(TShowState::Normal);
        PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
      } else {
        frame_.ShowStateChanging(TShowState::Minimized);
        if (!(f.Capabilities & kCapCaptionStyle))
          SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE) | WS_SYSMENU);
        PostMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      }
      break;
    case TButtonRole::SystemMenu: OpenSystemMenu(POINT{screen.x + 1, screen.y + 1}, true); break;
    case TButtonRole::MDIMinimize:
    case TButtonRole::MDIRestore:
    case TButtonRole::MDIClose: {
      HWND client = frame_.MDIClientWindow();
      HWND child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
      if (!child) break;
      const TButtonRole role = RoleOfAction(button.Element.Action);
      const WPARAM command = role == TButtonRole::MDIMinimize ? SC_MINIMIZE
                             : role == TButtonRole::MDIRestore ? SC_RESTORE
                                                               : SC_CLOSE;
      SendMessageW(child, WM_SYSCOMMAND, command, 0);
      break;
    }
    case TButtonRole::Custom:
      PostMessageW(w, WM_SKINBUTTONACTION, WPARAM(button.Element.Action), 0);
      break;
  }
}

void TCaptionButtons::OpenSystemMenu(POINT screen, bool fromIconButton) {
  HWND w = frame_.CaptionWindow();
  const DWORD now = GetTickCount();
  // Only the icon button counts clicks: a right click or Alt+Space right
  // after the icon's menu closed opens the menu again.
  if (fromIconButton) {
    if (lastMenuTick_ && now - lastMenuTick_ < GetDoubleClickTime()) {
      lastMenuTick_ = 0;
      if (hot_) {
        frame_.StopHoverTimer();
        PostMessageW(w, WM_CLOSE, 0, 0);
      }
      return;
    }
    lastMenuTick_ = now;
  }
  TNCObject* hot = hot_;
  if (hot) {
    // The menu takes the mouse: the button goes back to normal first.
    hot->MouseLeave();
    hot_ = nullptr;
  }
  SystemMenu().Show(w, frame_.CaptionMenuSkin(), screen);
}
