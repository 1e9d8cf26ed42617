#include "gui/Controls.h"

#include <algorithm>
#include <map>

#include "gui/Menus.h"
#include "gui/Subclass.h"
#include "gui/Threads.h"

const TEnumInfo kAlignInfo{L"TAlign", {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"}};
const TEnumInfo kBiDiModeInfo{
    L"TBiDiMode", {L"bdLeftToRight", L"bdRightToLeft", L"bdRightToLeftNoAlign", L"bdRightToLeftReadingOnly"}};
const TEnumInfo kMouseButtonInfo{L"TMouseButton", {L"mbLeft", L"mbRight", L"mbMiddle"}};

TShiftState ShiftStateOfMouse(WPARAM keys, bool doubleClick) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ShiftBit(ssShift);
  if (keys & MK_CONTROL) s |= ShiftBit(ssCtrl);
  if (keys & MK_LBUTTON) s |= ShiftBit(ssLeft);
  if (keys & MK_RBUTTON) s |= ShiftBit(ssRight);
  if (keys & MK_MBUTTON) s |= ShiftBit(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s |= ShiftBit(ssAlt);
  if (doubleClick) s |= ShiftBit(ssDouble);
  return s;
}

// ---------------------------------------------------------------------------
// Control lookup

namespace {

// The control whose window CreateWindowEx is making on this thread; the
// first message of the new window binds it.
thread_local TWinControl* tCreating = nullptr;

struct TClassRecord {
  WNDPROC defProc = nullptr;
};
std::map<std::wstring, TClassRecord>& ClassRecords() {
  static std::map<std::wstring, TClassRecord> records;
  return records;
}

// One message of a control being handled by the window procedure. The
// control's destructor marks its frames, so nothing touches it afterwards.
struct TDispatchFrame {
  TControl* control;
  bool alive;
  TDispatchFrame* outer;
};
thread_local TDispatchFrame* tFrames = nullptr;

// Controls whose Free waits for the end of their messages.
std::vector<TControl*>& PendingFrees() {
  static std::vector<TControl*> pending;
  return pending;
}

UINT_PTR NextChildId() {
  static UINT_PTR id = 100;
  return ++id;
}

// Registers the window class named after the library class, on top of a
// system class (superclassing keeps its behaviour and extra bytes) or of
// DefWindowProc; answers the procedure underneath.
WNDPROC RegisterWindowClass(const std::wstring& name, const TCreateParams& p) {
  auto& records = ClassRecords();
  auto it = records.find(name);
  if (it != records.end()) return it->second.defProc;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  WNDPROC def;
  if (!p.systemClass.empty()) {
    if (!GetClassInfoExW(nullptr, p.systemClass.c_str(), &wc))
      throw Exception(L"Window class " + p.systemClass + L" is not available");
    def = wc.lpfnWndProc;
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  } else {
    def = DefWindowProcW;
    wc.style = p.classStyle;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(inst, L"MAINICON");
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hbrBackground = nullptr;
  }
  wc.cbSize = sizeof wc;
  wc.hInstance = inst;
  wc.lpfnWndProc = TwStdWndProc;
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception(L"Cannot register window class " + name);
  records[name].defProc = def;
  return def;
}

WNDPROC DefaultProcOfWindow(HWND hwnd) {
  wchar_t name[256];
  if (GetClassNameW(hwnd, name, 256)) {
    auto it = ClassRecords().find(name);
    if (it != ClassRecords().end() && it->second.defProc) return it->second.defProc;
  }
  return DefWindowProcW;
}

}  // namespace

std::wstring ControlAtomName() {
  return FormatW(L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                 static_cast<unsigned>(GuiThreadId()));
}

ATOM ControlAtom() {
  static ATOM atom = GlobalAddAtomW(ControlAtomName().c_str());
  return atom;
}

TWinControl* FindControl(HWND window) {
  if (!window) return nullptr;
  // Only windows of this process carry our pointers.
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
}

LRESULT CALLBACK TwStdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<TWinControl*>(GetPropW(hwnd, MAKEINTATOM(ControlAtom())));
  if (!control) {
    if (!tCreating) return CallWindowProcW(DefaultProcOfWindow(hwnd), hwnd, msg, wParam, lParam);
    control = tCreating;
    tCreating = nullptr;
    control->FHandle = hwnd;
    SetPropW(hwnd, MAKEINTATOM(ControlAtom()), control);
  }
  TMessage m{msg, wParam, lParam, 0};
  TDispatchFrame frame{control, true, tFrames};
  tFrames = &frame;
  ++control->FMessageDepth;
  try {
    control->WindowProc(m);
  } catch (...) {
    HandleCallbackException(std::current_exception());
  }
  tFrames = frame.outer;
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, MAKEINTATOM(ControlAtom()));
  if (!frame.alive) return m.Result;  // the control was destroyed inside the message
  --control->FMessageDepth;
  if (msg == WM_NCDESTROY && control->FHandle == hwnd) control->FHandle = nullptr;
  if (!PendingFrees().empty()) FreePendingControls(control);
  return m.Result;
}

void FreePendingControls(TControl* finished) {
  // Only at the end of the finished control's own message, or between
  // messages: the code up the stack of any other message may still use a
  // control that is not busy itself.
  bool idle = tFrames == nullptr;
  for (bool again = true; again;) {
    again = false;
    for (TControl* c : PendingFrees()) {
      if (c->InMessage() || !(idle || c == finished)) continue;
      c->FFreePending = false;
      PendingFrees().erase(std::find(PendingFrees().begin(), PendingFrees().end(), c));
      TComponent::Free(c);
      again = true;  // the list changed (and freeing may have freed others)
      break;
    }
  }
}

bool TControl::DeferFree() {
  if (!InMessage()) return false;
  if (!FFreePending) {
    FFreePending = true;
    PendingFrees().push_back(this);
  }
  return true;
}

// ---------------------------------------------------------------------------
// TControl

TW_IMPLEMENT_CLASS(TControl, [](TClassBuilder<TControl>& c) {
  c.Int(L"Left", &TControl::Left, &TControl::SetLeft);
  c.Int(L"Top", &TControl::Top, &TControl::SetTop);
  c.Int(L"Width", &TControl::Width, &TControl::SetWidth);
  c.Int(L"Height", &TControl::Height, &TControl::SetHeight);
  c.Enum(L"Align", kAlignInfo, &TControl::Align, &TControl::SetAlign);
  c.Bool(L"Visible", &TControl::Visible, &TControl::SetVisible);
  c.Bool(L"Enabled", &TControl::Enabled, &TControl::SetEnabled);
  c.Colour(L"Color", &TControl::Color, &TControl::SetColor);
  c.Bool(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  c.Sub(L"Font", TPropKind::Object, &TControl::Font);
  c.Bool(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
  c.Str(L"Caption", &TControl::Caption, &TControl::SetCaption);
  c.Str(L"Text", &TControl::GetText, &TControl::SetText);
  c.Enum(L"BiDiMode", kBiDiModeInfo, &TControl::BiDiMode, &TControl::SetBiDiMode);
  c.Event(L"OnClick", &TControl::OnClick);
  c.Ref(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  c.Event(L"OnMouseDown", &TControl::OnMouseDown);
  c.Event(L"OnMouseUp", &TControl::OnMouseUp);
  c.Event(L"OnMouseMove", &TControl::OnMouseMove);
})

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = TWndMethod::Bind(this, &TControl::WndProc);
  FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  for (TDispatchFrame* f = tFrames; f; f = f->outer)
    if (f->control == this) f->alive = false;
  if (FFreePending) {
    auto& pending = PendingFrees();
    pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
  }
  ReleaseWindowHooks(this);
  FFont.OnChange = nullptr;
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
  FPopupMenu = menu;
  if (menu) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EComponentError(L"A control cannot be its own parent");
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  bool wasVisible = FParent && FVisible;
  if (wasVisible) Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (wasVisible) Invalidate();
  BoundsChanged();
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone && !FParent->FAligning) FParent->Realign();
}

void TControl::SetAlign(TAlign a) {
  if (a == FAlign) return;
  TAlign old = FAlign;
  FAlign = a;
  if (FParent && (old != alNone || a != alNone)) FParent->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (w->HandleAllocated()) ShowWindow(w->FHandle, v ? SW_SHOWNA : SW_HIDE);
  } else if (FParent) {
    FParent->Invalidate();
    RECT r = BoundsRect();
    if (FParent->HandleAllocated()) InvalidateRect(FParent->FHandle, &r, TRUE);
  }
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetEnabled(bool e) {
  if (e == FEnabled) return;
  FEnabled = e;
  Invalidate();
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor c) {
  FParentColor = false;
  if (c == FColor) return;
  FColor = c;
  ColorChanged();
}

void TControl::SetParentColor(bool p) {
  FParentColor = p;
  if (p) ApplyParentColor();
}

void TControl::ApplyParentColor() {
  if (!FParentColor || !FParent || FParent->FColor == FColor) return;
  FColor = FParent->FColor;
  ColorChanged();
  FParentColor = true;
}

void TControl::ColorChanged() {
  Invalidate();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool p) {
  FParentFont = p;
  if (p) ApplyParentFont();
}

void TControl::ApplyParentFont() {
  if (!FParentFont || !FParent) return;
  FFont.Assign(&FParent->FFont);  // runs FontChanged, which clears the flag
  FParentFont = true;
}

void TControl::FontChanged() {
  FParentFont = false;
  Invalidate();
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetText(const std::wstring& t) {
  if (t == FText) return;
  FText = t;
  TextChanged();
}

void TControl::TextChanged() {
  Invalidate();
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode m) {
  if (m == FBiDiMode) return;
  FBiDiMode = m;
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->RecreateWnd();
  else Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  ++FMessageDepth;
  try {
    WindowProc(m);
  } catch (...) {
    --FMessageDepth;
    throw;
  }
  --FMessageDepth;
  return m.Result;
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(FParent->FHandle, &r, TRUE);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    if (w->HandleAllocated()) {
      ::ClientToScreen(w->FHandle, &p);
      return p;
    }
  }
  if (!FParent) return p;
  return FParent->ClientToScreen(POINT{p.x + FLeft, p.y + FTop});
}

POINT TControl::ScreenToClient(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this)) {
    if (w->HandleAllocated()) {
      ::ScreenToClient(w->FHandle, &p);
      return p;
    }
  }
  if (!FParent) return p;
  POINT q = FParent->ScreenToClient(p);
  return POINT{q.x - FLeft, q.y - FTop};
}

TWinControl* TControl::RootControl() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->FHandle) {
    if (TWinControl* root = FindControl(GetAncestor(w->FHandle, GA_ROOT))) return root;
  }
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TWinControl*>(const_cast<TControl*>(c));
}

void TControl::Click() { OnClick(this); }

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParentFont) ApplyParentFont();
  if (FParentColor) ApplyParentColor();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

bool TControl::DispatchMouse(const TMessage& m) {
  int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
  switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_LBUTTONDOWN: MouseDown(mbLeft, ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_RBUTTONDOWN: MouseDown(mbRight, ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_LBUTTONDBLCLK: MouseDown(mbLeft, ShiftStateOfMouse(m.WParam, true), x, y); return true;
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, ShiftStateOfMouse(m.WParam, true), x, y); return true;
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, ShiftStateOfMouse(m.WParam, true), x, y); return true;
    case WM_LBUTTONUP: MouseUp(mbLeft, ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_RBUTTONUP: MouseUp(mbRight, ShiftStateOfMouse(m.WParam), x, y); return true;
    case WM_MBUTTONUP: MouseUp(mbMiddle, ShiftStateOfMouse(m.WParam), x, y); return true;
    default: return false;
  }
}

void TControl::WndProc(TMessage& m) {
  DispatchMouse(m);
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FMouseDown = true;
      break;
    case WM_LBUTTONUP:
      if (FMouseDown) {
        FMouseDown = false;
        int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
        if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
      }
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

// ---------------------------------------------------------------------------
// TWinControl

TW_IMPLEMENT_CLASS(TWinControl, [](TClassBuilder<TWinControl>& c) {
  c.Int(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  c.Bool(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  c.Event(L"OnEnter", &TWinControl::OnEnter);
  c.Event(L"OnExit", &TWinControl::OnExit);
})

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  if (FHandle) DestroyHandle();
}

TWinControl::~TWinControl() {
  // The window goes first, so every object hooked to it (skin objects owned
  // by the control) still exists when it and its children get WM_NCDESTROY.
  if (FHandle) DestroyWindow(FHandle);
  FHandle = nullptr;
  DestroyComponents();
  while (!FControls.empty()) delete FControls.back();
  if (FBrush) DeleteObject(FBrush);
}

void TWinControl::InsertControl(TControl* c) {
  FControls.push_back(c);
  c->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    FTabList.push_back(w);
    if (FHandle && !Loading()) w->HandleNeeded();
  }
  if (!c->Loading()) {
    c->ApplyParentFont();
    c->ApplyParentColor();
  }
  if (c->FAlign != alNone) Realign();
  c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
  if (FMouseControl == c) FMouseControl = nullptr;
  if (FCaptureControl == c) {
    FCaptureControl = nullptr;
    if (FHandle && GetCapture() == FHandle) ReleaseCapture();
  }
  c->Invalidate();
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end());
  c->FParent = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    // A child window cannot outlive its parent window's place.
    if (w->FHandle && !Destroying()) w->DestroyHandle();
  }
  if (c->FAlign != alNone && !Destroying()) Realign();
}

HWND TWinControl::Handle() {
  if (!FHandle) {
    if (FParent) FParent->HandleNeeded();
    if (!FHandle) CreateWnd();
  }
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = FText;
  p.style = WS_CLIPCHILDREN;
  if (FParent) p.style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (FVisible) p.style |= WS_VISIBLE;
  if (!FEnabled) p.style |= WS_DISABLED;
  if (FTabStop) p.style |= WS_TABSTOP;
  if (UseRightToLeftReading()) p.exStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftAlignment()) p.exStyle |= WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
  p.x = FLeft;
  p.y = FTop;
  p.width = FWidth;
  p.height = FHeight;
  p.parent = FParent ? FParent->FHandle : nullptr;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.style & WS_CHILD) && !p.parent) throw Exception(L"Control '" + Name() + L"' has no parent window");
  std::wstring cls = ClassName();
  FDefWndProc = RegisterWindowClass(cls, p);
  FOwnClass = p.systemClass.empty();
  HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(NextChildId()) : nullptr;
  TWinControl* previous = tCreating;
  tCreating = this;
  HWND h = CreateWindowExW(p.exStyle, cls.c_str(), p.caption.c_str(), p.style, p.x, p.y, p.width, p.height, p.parent,
                           id, GetModuleHandleW(nullptr), nullptr);
  tCreating = previous;
  if (!h) {
    FHandle = nullptr;
    throw Exception(L"Error creating window for '" + Name() + L"' (" + IntToStr(static_cast<int64_t>(GetLastError())) +
                    L")");
  }
  if (!FHandle) {  // no message arrived during creation (never seen, but be sure)
    FHandle = h;
    SetPropW(h, MAKEINTATOM(ControlAtom()), this);
  }
  CreateWindowHandle(p);
  InitializeWnd();
  for (TWinControl* child : std::vector<TWinControl*>(FTabList)) child->HandleNeeded();
  Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams&) {
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), 0);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWnd();
  // Windows of the whole subtree go with ours (their controls learn it from
  // WM_NCDESTROY); each saves what lives only in its window first.
  DestroyChildWnds();
  DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::DestroyChildWnds() {
  for (TWinControl* child : FTabList) {
    if (!child->FHandle) continue;
    child->DestroyWnd();
    child->DestroyChildWnds();
  }
}

bool TWinControl::InMessage() const {
  if (FMessageDepth > 0) return true;
  for (TControl* c : FControls)
    if (c->InMessage()) return true;
  return false;
}

void TWinControl::RecreateWnd() {
  if (!FHandle || FRecreating) return;
  FRecreating = true;
  Perform(CM_RECREATEWND, 0, 0);
  DestroyHandle();
  FRecreating = false;
  HandleNeeded();
}

RECT TWinControl::ClientRect() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
  }
  return RECT{0, 0, FWidth, FHeight};
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->FVisible || (!c->FEnabled && !allowDisabled)) continue;
    if (p.x >= c->FLeft && p.y >= c->FTop && p.x < c->FLeft + c->FWidth && p.y < c->FTop + c->FHeight) return c;
  }
  return nullptr;
}

void TWinControl::Realign() {
  // While a description is read, children arrive one by one: docking each
  // as it comes would overwrite the stored positions that decide their
  // stacking. Loaded() aligns them all at once.
  if (FAligning || Destroying() || Loading()) return;
  std::vector<TControl*> docked;
  std::vector<TLayoutItem> items;
  for (TControl* c : FControls) {
    if (c->FAlign == alNone || !c->FVisible) continue;
    docked.push_back(c);
    items.push_back(TLayoutItem{c->FAlign, c->FLeft, c->FTop, c->FWidth, c->FHeight});
  }
  if (docked.empty()) return;
  RECT r = AdjustClientRect();
  AlignLayout(TLayoutRect{r.left, r.top, r.right, r.bottom}, items);
  FAligning = true;
  try {
    for (size_t i = 0; i < docked.size(); ++i)
      docked[i]->SetBounds(items[i].left, items[i].top, items[i].width, items[i].height);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

int TWinControl::TabOrder() const {
  if (Loading() && FTabOrderWanted >= 0) return FTabOrderWanted;
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (Loading()) {
    // Siblings described later do not exist yet; the parent sorts at Loaded.
    FTabOrderWanted = order;
    return;
  }
  if (!FParent) return;
  auto& list = FParent->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (order < 0) order = 0;
  if (order > static_cast<int>(list.size())) order = static_cast<int>(list.size());
  list.insert(list.begin() + order, this);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // Children read from a description: their stored tab order, then the rest
  // in creation order.
  std::vector<TWinControl*> list = FTabList;
  auto key = [&](TWinControl* c) {
    int index = static_cast<int>(std::find(list.begin(), list.end(), c) - list.begin());
    return c->FTabOrderWanted >= 0 ? std::make_pair(c->FTabOrderWanted, index) : std::make_pair(INT32_MAX, index);
  };
  std::stable_sort(FTabList.begin(), FTabList.end(), [&](TWinControl* a, TWinControl* b) { return key(a) < key(b); });
  Realign();
}

void TWinControl::SetTabStop(bool t) {
  if (t == FTabStop) return;
  FTabStop = t;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    SetWindowLongPtrW(FHandle, GWL_STYLE, t ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw Exception(L"Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (FHandle) SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  BoundsChanged();
  RequestAlign();
}

void TWinControl::BoundsChanged() { Realign(); }

void TWinControl::ReadBoundsFromWindow() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  HWND parent = GetParent(FHandle);
  if ((GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) && parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  int l = r.left, t = r.top, w = r.right - r.left, h = r.bottom - r.top;
  if (l == FLeft && t == FTop && w == FWidth && h == FHeight) return;
  FLeft = l;
  FTop = t;
  FWidth = w;
  FHeight = h;
  BoundsChanged();
  RequestAlign();
}

void TWinControl::SetEnabled(bool e) {
  if (e == FEnabled) return;
  FEnabled = e;
  if (FHandle) EnableWindow(FHandle, e ? TRUE : FALSE);
  Invalidate();
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

std::wstring TWinControl::GetText() const {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthW(FHandle);
  std::wstring t(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(FHandle, t.data(), n + 1);
  t.resize(static_cast<size_t>(std::max(n, 0)));
  return t;
}

void TWinControl::SetText(const std::wstring& t) {
  if (t == GetText()) {
    FText = t;
    return;
  }
  FText = t;
  if (FHandle) SetWindowTextW(FHandle, t.c_str());
  TextChanged();
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

HBRUSH TWinControl::ColorBrush() {
  if (!FBrush) FBrush = CreateSolidBrush(ColorToRGB(FColor));
  return FBrush;
}

void TWinControl::ColorChanged() {
  if (FBrush) DeleteObject(FBrush);
  FBrush = nullptr;
  TControl::ColorChanged();
  for (TControl* c : FControls) {
    c->ApplyParentColor();
    c->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  }
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), TRUE);
  for (TControl* c : FControls) {
    c->ApplyParentFont();
    c->Perform(CM_PARENTFONTCHANGED, 0, 0);
  }
}

LRESULT TWinControl::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(FFont.Color()));
  SetBkColor(dc, ColorToRGB(FColor));
  return reinterpret_cast<LRESULT>(ColorBrush());
}

void TWinControl::PaintWindow(HDC dc) {
  if (!FOwnClass) {
    TMessage pm{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(pm);
  }
}

bool TWinControl::EraseBackground(HDC dc) {
  RECT r;
  GetClientRect(FHandle, &r);
  FillRect(dc, &r, ColorBrush());
  return true;
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  bool started = first == nullptr;
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (!started) {
      if (c != first) continue;
      started = true;
    }
    if (dynamic_cast<TWinControl*>(c) || !c->FVisible) continue;
    int saved = SaveDC(dc);
    POINT old;
    OffsetViewportOrgEx(dc, c->FLeft, c->FTop, &old);
    IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::HandlePaint(TMessage& m) {
  bool windowless = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) {
    return c->FVisible && !dynamic_cast<TWinControl*>(c);
  });
  if (!FOwnClass && !windowless) {
    DefaultHandler(m);
    return;
  }
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps;
  bool began = false;
  if (!dc) {
    dc = BeginPaint(FHandle, &ps);
    began = true;
  }
  PaintWindow(dc);
  PaintControls(dc);
  if (began) EndPaint(FHandle, &ps);
  m.Result = 0;
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      if (m.LParam) child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (d && d->CtlType != ODT_MENU) child = d->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mi && mi->CtlType != ODT_MENU && FHandle) child = GetDlgItem(FHandle, static_cast<int>(mi->CtlID));
      break;
    }
    default:  // WM_CTLCOLOR...
      child = reinterpret_cast<HWND>(m.LParam);
      break;
  }
  if (!child || child == FHandle) return false;
  TWinControl* c = FindControl(child);
  if (!c) return false;
  m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::TrackMouse(TMessage& m) {
  if (FMouseInside || !FHandle) return;
  FMouseInside = true;
  TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&t);
  Perform(CM_MOUSEENTER, 0, 0);
}

bool TWinControl::DialogChar(wchar_t key) {
  if (!FHandle || key == 0 || OwnWindowClass() || !FDefWndProc) return false;
  if (!IsWindowVisible(FHandle) || !IsWindowEnabled(FHandle)) return false;
  wchar_t want = (key >= L'a' && key <= L'z') ? static_cast<wchar_t>(key - L'a' + L'A') : key;
  if (AccessKeyOf(Caption()) != want) return false;
  // Buttons of every kind (push, check, radio) are pressed, as dialogs do;
  // text a user typed into an edit is no access key.
  LRESULT code = CallWindowProcW(FDefWndProc, FHandle, WM_GETDLGCODE, 0, 0);
  if (!(code & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_RADIOBUTTON))) return false;
  if (CanFocus()) ::SetFocus(FHandle);
  SendMessageW(FHandle, BM_CLICK, 0, 0);
  return true;
}

void TWinControl::SetMouseControl(TControl* c) {
  if (c == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = c;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (c && FMouseControl == c) c->Perform(CM_MOUSEENTER, 0, 0);
}

// Window-less children get their mouse messages from us, in their own
// coordinates; the one pressed keeps them (and the capture) until the last
// button is up.
bool TWinControl::RouteMouse(TMessage& m) {
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* at = ControlAtPos(p);
  if (at && dynamic_cast<TWinControl*>(at)) at = nullptr;
  if (m.Msg == WM_MOUSEMOVE) SetMouseControl(at);
  TControl* target = FCaptureControl ? FCaptureControl : at;
  if (!target) return false;
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
              m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
  if (down && !FCaptureControl && FHandle) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->FLeft, p.y - target->FTop));
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (up && FCaptureControl && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
    FCaptureControl = nullptr;
    if (FHandle && GetCapture() == FHandle) ReleaseCapture();
  }
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MENUCHAR:
      if (DispatchMenuMessage(m)) return;
      break;
    case WM_CONTEXTMENU: {
      // The control under the point (window-less children included) with a
      // context menu shows it; otherwise the message goes on to the parent.
      POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      TControl* target = this;
      if (m.LParam == -1) {  // from the keyboard: below the control's top left
        screen = ClientToScreen(POINT{4, 4});
      } else if (TControl* child = ControlAtPos(ScreenToClient(screen)); child && !dynamic_cast<TWinControl*>(child)) {
        target = child;
      }
      if (target->FPopupMenu) {
        target->FPopupMenu->SetPopupComponent(target);
        target->FPopupMenu->Popup(screen.x, screen.y);
        m.Result = 0;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      m.Result = DialogChar(static_cast<wchar_t>(m.WParam)) ? 1 : 0;
      return;
    case WM_COMMAND:
      if (m.LParam == 0 && DispatchMenuMessage(m)) return;
      if (ReflectToChild(m)) return;
      break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (DispatchMenuMessage(m)) return;
      if (ReflectToChild(m)) return;
      break;
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (ReflectToChild(m)) return;
      break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC:
      m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_PAINT:
      HandlePaint(m);
      return;
    case WM_ERASEBKGND:
      if (FOwnClass) {
        m.Result = EraseBackground(reinterpret_cast<HDC>(m.WParam)) ? 1 : 0;
        return;
      }
      break;
    case WM_SETFOCUS:
      DefaultHandler(m);
      Perform(CM_ENTER, 0, 0);
      OnEnter(this);
      if (TWinControl* root = RootControl(); root && root != this)
        root->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      Perform(CM_EXIT, 0, 0);
      OnExit(this);
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(m);
      ReadBoundsFromWindow();
      return;
    case WM_SIZE:
      DefaultHandler(m);
      Realign();
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (m.Msg == WM_MOUSEMOVE) TrackMouse(m);
      if (RouteMouse(m)) return;
      DispatchMouse(m);
      break;
    case WM_MOUSELEAVE:
      FMouseInside = false;
      SetMouseControl(nullptr);
      Perform(CM_MOUSELEAVE, 0, 0);
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != FHandle) FCaptureControl = nullptr;
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  // Our own notifications mean nothing to the window classes underneath.
  if ((m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) || (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) || !FHandle) {
    m.Result = 0;
    return;
  }
  m.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, m.Msg, m.WParam, m.LParam);
}
