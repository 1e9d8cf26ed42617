#include "skin/controls/SkinScrollBar.h"

#include <algorithm>

#include "skin/data/DibSurface.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TWScrollbar, [](TClassBuilder<TWScrollbar>&) {})
TW_IMPLEMENT_CLASS(TSkinScrollbar, [](TClassBuilder<TSkinScrollbar>&) {})

namespace {

constexpr LONG kObjIdHScroll = -6, kObjIdVScroll = -5;

RECT ScreenToWindow(HWND window, RECT r) {
  RECT w{};
  GetWindowRect(window, &w);
  OffsetRect(&r, -w.left, -w.top);
  return r;
}

ImgRect ToImgRect(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

// ---- TWScrollbar ------------------------------------------------------------------

TWScrollbar::TWScrollbar(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  FArrow = GetSystemMetrics(SM_CXHSCROLL);
}

void TWScrollbar::Bind(TSkinControl* skin, TWinControl* target, TBarKind kind) {
  FSkin = skin;
  FTarget = target;
  FKind = kind;
  FVertical = kind == bkControl ? _wcsicmp(GetEnumProp(target, L"Kind").c_str(), L"sbHorizontal") != 0
                                : kind == bkVertical;
  SetParent(target->Parent());
}

void TWScrollbar::BindWindow(TSkinControl* skin, HWND target, TBarKind kind) {
  FSkin = skin;
  FTargetWindow = target;
  FParentWindow = GetParent(target);
  FKind = kind == bkHorizontal ? bkHorizontal : bkVertical;
  FVertical = FKind == bkVertical;
}

void TWScrollbar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.exStyle |= WS_EX_TOOLWINDOW;
  if (!Parent() && FParentWindow) {
    p.parent = FParentWindow;
    p.style |= WS_CHILD | WS_CLIPSIBLINGS;
  }
}

HWND TWScrollbar::TargetWindow() const {
  if (FTarget) return FTarget->HandleAllocated() ? const_cast<TWinControl*>(FTarget)->Handle() : nullptr;
  return FTargetWindow && IsWindow(FTargetWindow) ? FTargetWindow : nullptr;
}

bool TWScrollbar::QueryBar(SCROLLBARINFO& info) const {
  HWND target = TargetWindow();
  if (!target) return false;
  info = SCROLLBARINFO{};
  info.cbSize = sizeof info;
  if (FKind == bkControl) return QueryControl(info);
  return GetScrollBarInfo(target, FKind == bkVertical ? kObjIdVScroll : kObjIdHScroll, &info) != FALSE;
}

bool TWScrollbar::QueryControl(SCROLLBARINFO& info) const {
  HWND target = TargetWindow();
  // The control's own report: the thumb is exactly where a press finds it.
  if (GetScrollBarInfo(target, OBJID_CLIENT, &info)) return true;
  RECT client{};
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetClientRect(target, &client) || !GetScrollInfo(target, SB_CTL, &si)) return false;
  MapWindowPoints(target, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  info.rcScrollBar = client;
  const int length = FVertical ? client.bottom - client.top : client.right - client.left;
  const ThumbSpan t = ControlBarThumb(length, FArrow, ScrollRange{si.nMin, si.nMax, int(si.nPage), si.nPos});
  info.xyThumbTop = t.Start;
  info.xyThumbBottom = t.End;
  info.rgstate[0] = IsWindowEnabled(target) ? 0 : STATE_SYSTEM_UNAVAILABLE;
  return true;
}

bool TWScrollbar::ReadGeometry(ScrollBarGeometry& g, SCROLLBARINFO& info) const {
  if (!QueryBar(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return false;
  const RECT& r = info.rcScrollBar;
  g.Vertical = FVertical;
  g.Length = g.Vertical ? r.bottom - r.top : r.right - r.left;
  g.Cross = g.Vertical ? r.right - r.left : r.bottom - r.top;
  g.Arrow = FArrow;
  g.Thumb = ThumbSpan{info.xyThumbTop, info.xyThumbBottom};
  g.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  return g.Length > 0 && g.Cross > 0;
}

POINT TWScrollbar::ToBar(POINT p, const SCROLLBARINFO& info) const {
  if (FKind != bkControl || !HandleAllocated()) return p;
  // The overlay covers the whole control; the bar is its client area.
  MapWindowPoints(FHandle, HWND_DESKTOP, &p, 1);
  return POINT{p.x - info.rcScrollBar.left, p.y - info.rcScrollBar.top};
}

void TWScrollbar::Reposition() {
  SCROLLBARINFO info;
  if (!QueryBar(info)) return;
  HWND target = TargetWindow();
  if (!(GetWindowLongPtrW(target, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    HideBar();
    return;
  }
  const RECT& bar = info.rcScrollBar;
  FNative = ScreenToWindow(target, bar);
  RECT r = bar;
  if (FKind == bkControl) GetWindowRect(target, &r);
  POINT origin{r.left, r.top};
  MapWindowPoints(HWND_DESKTOP, GetParent(target), &origin, 1);
  HWND self = Handle();
  HWND before = GetWindow(target, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  if (before == self) flags |= SWP_NOZORDER;
  SetWindowPos(self, before ? before : HWND_TOP, origin.x, origin.y, r.right - r.left, r.bottom - r.top, flags);
  SetVisible(true);
  FShown = true;
  InvalidateRect(self, nullptr, FALSE);
}

void TWScrollbar::HideBar() {
  FShown = false;
  SetVisible(false);
}

void TWScrollbar::SetHotPart(int part) {
  if (part == FHotPart) return;
  FHotPart = part;
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, FALSE);
}

Image TWScrollbar::Compose() const {
  const TSkinModel* model = FSkin && FSkin->Form() ? FSkin->Form()->SkinModel() : nullptr;
  if (!model) return Image{};
  ScrollBarGeometry g;
  SCROLLBARINFO info;
  if (!ReadGeometry(g, info)) return Image{};
  // A native bar larger than this window waits for the next Reposition.
  if (HandleAllocated()) {
    RECT own{};
    GetClientRect(FHandle, &own);
    const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    if (w > own.right || h > own.bottom) return Image{};
  }
  if (FTracking && FHotPart == kScrollThumb) {
    POINT cursor{};
    GetCursorPos(&cursor);
    g.Thumb = DragThumb(g.Length, g.Arrow, FPressThumb, g.Thumb, AlongAxis(FPressCursor), AlongAxis(cursor));
  }
  const bool v = FVertical;
  // A scroll-bar control is drawn at the skin's thickness and stretched over it.
  if (FKind == bkControl && model->Scrollbar()) g.Cross = ScrollThickness(model->Scrollbar()->Bitmap.Height(), g.Arrow);
  const ScrollBarLook look{model->Scrollbar(), v ? model->VertScroll() : model->HorzScroll(),
                           v ? model->VertScrollThumb() : model->HorzScrollThumb(), model->ButtonFaceColour};
  return ComposeScrollBar(g, look, ScrollBarFeedback{FHotPart, FTracking});
}

void TWScrollbar::PaintWindow(HDC dc) {
  const Image img = Compose();
  if (img.Empty()) return;
  if (FKind != bkControl) {
    DrawImage(dc, 0, 0, img);
    return;
  }
  RECT own{}, place = FNative;
  GetClientRect(FHandle, &own);
  const HWND target = TargetWindow();
  if (target) {  // the control's client area within the overlay
    RECT w{}, c{};
    GetWindowRect(target, &w);
    GetWindowRect(FHandle, &c);
    OffsetRect(&place, w.left - c.left, w.top - c.top);
  }
  const TSkinModel* model = FSkin && FSkin->Form() ? FSkin->Form()->SkinModel() : nullptr;
  HBRUSH face = CreateSolidBrush(COLORREF(ResolveColour(model ? model->ButtonFaceColour : SystemColour(kSysButtonFace)) &
                                          0xFFFFFF));
  FillRect(dc, &own, face);
  DeleteObject(face);
  DibSurface picture;
  if (!picture.Assign(img)) return;
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, picture.DC(), 0, 0,
             img.Width(), img.Height(), SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void TWScrollbar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SKINQUERY:
      m.Result = 1;
      return;
    case WM_MOUSEMOVE:
      MouseMove(m);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseDown(m);
      return;
    case WM_LBUTTONUP:
      MouseUp(m);
      return;
    case WM_MOUSELEAVE:
      TWinControl::WndProc(m);
      if (!FTracking) SetHotPart(kScrollNone);
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // The wheel over the bar scrolls what the bar scrolls.
      if (HWND target = TargetWindow()) {
        m.Result = SendMessageW(target, m.Msg, m.WParam, m.LParam);
        if (HandleAllocated()) InvalidateRect(FHandle, nullptr, FALSE);
        return;
      }
      TWinControl::WndProc(m);
      return;
    default:
      TWinControl::WndProc(m);
  }
}

void TWScrollbar::MouseMove(TMessage& m) {
  TWinControl::WndProc(m);
  ScrollBarGeometry g;
  SCROLLBARINFO info;
  if (!ReadGeometry(g, info)) return;
  const POINT p = ToBar(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))}, info);
  SetHotPart(ScrollHitTest(g, AlongAxis(p)));
  TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&t);
}

void TWScrollbar::MouseDown(TMessage& m) {
  TWinControl::WndProc(m);
  ScrollBarGeometry g;
  SCROLLBARINFO info;
  HWND target = TargetWindow();
  if (!target || !ReadGeometry(g, info)) return;
  GetCursorPos(&FPressCursor);
  FPressThumb = g.Thumb;
  const POINT own{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  POINT p = ToBar(own, info);
  FHotPart = ScrollHitTest(g, AlongAxis(p));
  FTracking = true;
  InvalidateRect(FHandle, nullptr, FALSE);
  ReleaseCapture();
  // The platform's own scroll loop runs inside this call, until the release.
  if (FKind == bkControl) {
    POINT at = own;
    MapWindowPoints(FHandle, target, &at, 1);
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  } else {
    p.x += info.rcScrollBar.left;
    p.y += info.rcScrollBar.top;
    SendMessageW(target, WM_NCLBUTTONDOWN, FVertical ? HTVSCROLL : HTHSCROLL, MAKELPARAM(p.x, p.y));
  }
  FTracking = false;
  ReleaseCapture();
  if (!IsWindow(target) || !HandleAllocated()) return;
  // The part under the cursor now (the release may have left the bar).
  POINT c{};
  GetCursorPos(&c);
  ::ScreenToClient(FHandle, &c);
  RECT client{};
  GetClientRect(FHandle, &client);
  FHotPart = PtInRect(&client, c) && ReadGeometry(g, info) ? ScrollHitTest(g, AlongAxis(ToBar(c, info)))
                                                          : kScrollNone;
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TWScrollbar::MouseUp(TMessage& m) {
  TWinControl::WndProc(m);
  FTracking = false;
  ReleaseCapture();
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, FALSE);
}

// ---- TSkinScrollbar ---------------------------------------------------------------

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() {
  TComponent::Free(FHorz);
  TComponent::Free(FVert);
  FHorz = FVert = nullptr;
}

void TSkinScrollbar::AttachScrolled(TSkinFrameLink* form, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(form, false, canvas);
  if (!FAttached || !FControl || !FControl->Parent()) return;
  FDrawBorder = FMode != 1 && HasProperty(FControl, L"BorderStyle") &&
                _wcsicmp(GetEnumProp(FControl, L"BorderStyle").c_str(), L"bsNone") != 0;
  if (!FSingleBar) {
    FHorz = new TWScrollbar(this);
    FHorz->Bind(this, FControl, TWScrollbar::bkHorizontal);
  }
  FVert = new TWScrollbar(this);
  FVert->Bind(this, FControl, TWScrollbar::bkVertical);
  for (TWScrollbar* bar : {FHorz, FVert}) {
    if (!bar) continue;
    bar->SetEnabled(FControl->Enabled());
    if (FControl->Showing()) bar->Reposition();
  }
  HookSkinSwitch();
  RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinScrollbar::HookSkinSwitch() {
  if (FControl) FSwitchHook.Hook(FControl, TWndMethod::Bind(this, &TSkinScrollbar::SwitchHook));
}

void TSkinScrollbar::SwitchHook(TMessage& m) {
  const UINT msg = m.Msg;
  FSwitchHook.CallPrevious(m);
  // Only this message is known not to free the object underneath.
  if (msg != WM_SKINENABLE) return;
  if (SkinActive()) {
    RepositionBars();
  } else {
    HideBars();
  }
  RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TSkinScrollbar::Unskin() {
  FSwitchHook.Unhook();
  TSkinControl::Unskin();
  if (FLifeState != kSkinWindowDestroyed) {
    TComponent::Free(FHorz);
    TComponent::Free(FVert);
    FHorz = FVert = nullptr;
    if (FHandle && IsWindow(FHandle)) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void TSkinScrollbar::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FHorz) FHorz = nullptr;
  if (c == FVert) FVert = nullptr;
}

void TSkinScrollbar::RepositionBars() {
  if (FHorz) FHorz->Reposition();
  if (FVert) FVert->Reposition();
}

void TSkinScrollbar::HideBars() {
  if (FHorz) FHorz->HideBar();
  if (FVert) FVert->HideBar();
}

void TSkinScrollbar::InvalidateBars() {
  for (TWScrollbar* bar : {FHorz, FVert})
    if (bar && bar->Shown() && bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, FALSE);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCPAINT) {
    CallOriginal(m);
    HDC dc = GetWindowDC(FHandle);
    if (dc) {
      if (FDrawBorder) DrawBorder(dc);
      FillCorner(dc);
      ReleaseDC(FHandle, dc);
    }
    return false;
  }
  if (m.Msg == WM_SKINPAINTINTO && m.LParam == kSkinMarker) {
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
      if (FDrawBorder) DrawBorder(dc);
      FillCorner(dc);
    }
    m.Result = kSkinMarker;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      RepositionBars();
      break;
    case WM_HSCROLL:
      if (FHorz) FHorz->SetHotPart(LOWORD(m.WParam));
      break;
    case WM_VSCROLL:
      if (FVert) FVert->SetHotPart(LOWORD(m.WParam));
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_KEYDOWN:
      InvalidateBars();
      break;
    case CM_SHOWINGCHANGED:
    case CM_VISIBLECHANGED:
      if (FControl && FControl->Showing()) RepositionBars();
      else HideBars();
      break;
    case CM_ENABLEDCHANGED:
      if (FHorz && FControl) FHorz->SetEnabled(FControl->Enabled());
      if (FVert && FControl) FVert->SetEnabled(FControl->Enabled());
      TSkinControl::AfterMessage(m);
      break;
    case CM_RECREATEWND:
      if (FForm && FForm->FrameWindow())
        PostMessageW(FForm->FrameWindow(), WM_SKINREATTACH, reinterpret_cast<WPARAM>(FHandle), 0);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT&) {
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  for (TWScrollbar* bar : {FHorz, FVert}) {
    if (!bar) continue;
    if (bar->Shown())
      InvalidateRect(bar->Handle(), nullptr, FALSE);
    else if (style & (bar->Vertical() ? WS_VSCROLL : WS_HSCROLL))
      bar->Reposition();
  }
  FillCorner(dc);
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  RECT r{};
  GetWindowRect(FHandle, &r);
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH shadow = CreateSolidBrush(ButtonShadow());
  HBRUSH face = CreateSolidBrush(ButtonFace());
  FrameRect(dc, &r, shadow);
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face);
  DeleteObject(shadow);
  DeleteObject(face);
}

void TSkinScrollbar::FillCorner(HDC dc) {
  if (!FHorz || !FVert || !FHorz->Shown() || !FVert->Shown()) return;
  const ImgRect c = ScrollCornerRect(ToImgRect(FVert->NativeRect()), ToImgRect(FHorz->NativeRect()));
  if (c.Empty()) return;
  const RECT r{c.Left, c.Top, c.Right, c.Bottom};
  HBRUSH face = CreateSolidBrush(ButtonFace());
  FillRect(dc, &r, face);
  DeleteObject(face);
}
