#include "gui/Forms.h"

#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/ExtCtrls.h"
#include "gui/ImgList.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Threads.h"
#include "gui/Timer.h"

const TEnumInfo kFormBorderStyleInfo{
    L"TFormBorderStyle", {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"}};
const TEnumInfo kBorderIconsInfo{L"TBorderIcon", {L"biSystemMenu", L"biMinimize", L"biMaximize", L"biHelp"}};
const TEnumInfo kPositionInfo{
    L"TPosition", {L"poDesigned", L"poDefault", L"poScreenCenter", L"poDesktopCenter", L"poMainFormCenter"}};

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm* TControl::ParentForm() const { return dynamic_cast<TCustomForm*>(RootControl()); }

namespace {
// Sends a notification to every control below `parent`, parents first.
void Broadcast(TWinControl* parent, UINT msg, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    c->Perform(msg, wParam, lParam);
    if (auto* w = dynamic_cast<TWinControl*>(c)) Broadcast(w, msg, wParam, lParam);
  }
}
}  // namespace

TW_IMPLEMENT_CLASS(TCustomForm, [](TClassBuilder<TCustomForm>& c) {
  c.Int(L"ClientWidth", &TCustomForm::ClientWidthValue, &TCustomForm::SetClientWidth);
  c.Bool(L"AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll);
  c.Int(L"ClientHeight", &TCustomForm::ClientHeightValue, &TCustomForm::SetClientHeight);
  c.Enum(L"BorderStyle", kFormBorderStyleInfo, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle);
  c.Set(L"BorderIcons", kBorderIconsInfo, &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons);
  c.Enum(L"Position", kPositionInfo, &TCustomForm::Position, &TCustomForm::SetPosition);
  c.Ref(L"Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
  c.Event(L"OnCreate", &TCustomForm::OnCreate);
  c.Event(L"OnDestroy", &TCustomForm::OnDestroy);
  c.Event(L"OnShow", &TCustomForm::OnShow);
  c.Event(L"OnClose", &TCustomForm::OnClose);
  c.Event(L"OnCloseQuery", &TCustomForm::OnCloseQuery);
})
TW_IMPLEMENT_CLASS(TForm, [](TClassBuilder<TForm>&) {})

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), FScroller(std::make_unique<TScrollHelper>(this)) {
  FScroller->SetAutoScroll(false);
  FVisible = false;
  FParentFont = false;
  FParentColor = false;
  FColor = clBtnFace;
  FWidth = 320;
  FHeight = 240;
  Screen->FForms.push_back(this);
}

void TCustomForm::BeforeDestruction() {
  try {
    OnDestroy(this);
  } catch (...) {
    HandleCallbackException(std::current_exception());
  }
  TWinControl::BeforeDestruction();
}

TCustomForm::~TCustomForm() {
  auto& forms = Screen->FForms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application->FMainForm == this) Application->FMainForm = nullptr;
  if (FHandle) DestroyWindow(FHandle);
}

void TCustomForm::ReadDescription() {
  std::wstring name = UpperCase(ClassName());
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) throw EFormError(L"Form resource " + name + L" not found");
  HGLOBAL data = LoadResource(module, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  DWORD size = SizeofResource(module, res);
  if (!bytes) throw EFormError(L"Form resource " + name + L" cannot be loaded");
  TFormNode node = ReadFormBinary(static_cast<const uint8_t*>(bytes), size);
  ReadDescription(node, name);
}

void TCustomForm::ReadDescription(const TFormNode& node, const std::wstring& source) {
  ReadComponentTree(this, node, source);
}

void TCustomForm::DoCreate() { OnCreate(this); }

void TCustomForm::FrameSize(int& dx, int& dy) const {
  TCreateParams p;
  const_cast<TCustomForm*>(this)->CreateParams(p);
  RECT r{0, 0, 100, 100};
  AdjustWindowRectEx(&r, p.style, FMenu != nullptr, p.exStyle);
  dx = (r.right - r.left) - 100;
  dy = (r.bottom - r.top) - 100;
}

RECT TCustomForm::ClientRect() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
  }
  int dx, dy;
  FrameSize(dx, dy);
  return RECT{0, 0, std::max(0, FWidth - dx), std::max(0, FHeight - dy)};
}

int TCustomForm::ClientWidthValue() const { return ClientRect().right; }
int TCustomForm::ClientHeightValue() const { return ClientRect().bottom; }

void TCustomForm::ApplyClientSize() {
  int dx, dy;
  FrameSize(dx, dy);
  int w = FClientWidth >= 0 ? FClientWidth + dx : FWidth;
  int h = FClientHeight >= 0 ? FClientHeight + dy : FHeight;
  SetBounds(FLeft, FTop, w, h);
}

void TCustomForm::SetClientWidth(int w) {
  FClientWidth = std::max(0, w);
  ApplyClientSize();
}

void TCustomForm::SetClientHeight(int h) {
  FClientHeight = std::max(0, h);
  ApplyClientSize();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle b) {
  if (b == FBorderStyle) return;
  FBorderStyle = b;
  ApplyClientSize();
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(int icons) {
  if (icons == FBorderIcons) return;
  FBorderIcons = icons & 0xF;
  ApplyClientSize();
  RecreateWnd();
}

void TCustomForm::SetPosition(TPosition p) { FPosition = p; }

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    FMenu->SetWindowHandle(nullptr);
    RemoveFreeNotification(FMenu);
  }
  FMenu = menu;
  if (menu) FreeNotification(menu);
  if (FHandle) {
    ::SetMenu(FHandle, menu ? menu->Handle() : nullptr);
    if (menu) menu->SetWindowHandle(FHandle);
  }
  // The stored client size stays: the frame grows by the bar.
  if (!Loading() && (FClientWidth >= 0 || FClientHeight >= 0)) ApplyClientSize();
  Perform(CM_MENUCHANGED, 0, 0);
}

HMENU TCustomForm::MenuHandle() const { return FHandle ? GetMenu(FHandle) : nullptr; }

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FMenu) {
    FMenu = nullptr;  // the menu took itself off the window
    if (!Destroying()) Perform(CM_MENUCHANGED, 0, 0);
  }
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift) {
  TShortCut sc = ShortCut(key, shift);
  if (FMenu && FMenu->IsShortCut(sc)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* popup = dynamic_cast<TPopupMenu*>(Components(i)); popup && popup->IsShortCut(sc)) return true;
  return false;
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  // Client size settings may have come before the border settings.
  if (FClientWidth >= 0 || FClientHeight >= 0) ApplyClientSize();
  Realign();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  switch (FBorderStyle) {
    case fbsNone: p.style |= WS_POPUP; break;
    case fbsSingle:
    case fbsToolWindow: p.style |= WS_CAPTION | WS_BORDER; break;
    case fbsSizeable:
    case fbsSizeToolWin: p.style |= WS_CAPTION | WS_THICKFRAME; break;
    case fbsDialog:
      p.style |= WS_CAPTION | WS_DLGFRAME;
      p.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (FBorderStyle == fbsToolWindow || FBorderStyle == fbsSizeToolWin) p.exStyle |= WS_EX_TOOLWINDOW;
  if (FBorderStyle != fbsNone) {
    if (FBorderIcons & (1 << biSystemMenu)) p.style |= WS_SYSMENU;
    if (FBorderStyle != fbsDialog && FBorderStyle != fbsToolWindow && FBorderStyle != fbsSizeToolWin) {
      if (FBorderIcons & (1 << biMinimize)) p.style |= WS_MINIMIZEBOX;
      if (FBorderIcons & (1 << biMaximize)) p.style |= WS_MAXIMIZEBOX;
    }
    if (FBorderIcons & (1 << biHelp)) p.exStyle |= WS_EX_CONTEXTHELP;
  }
  if (!FEnabled) p.style |= WS_DISABLED;
  // Owned by the application's window: one taskbar button, with its title.
  p.parent = Application ? Application->Handle() : nullptr;
}

void TCustomForm::InitializeWnd() {
  TWinControl::InitializeWnd();
  if (FMenu) {
    ::SetMenu(FHandle, FMenu->Handle());
    FMenu->SetWindowHandle(FHandle);
  }
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  if (FPosition == poScreenCenter || FPosition == poDesktopCenter ||
      (FPosition == poMainFormCenter && (!Application->MainForm() || Application->MainForm() == this))) {
    int sw = GetSystemMetrics(FPosition == poDesktopCenter ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
    int sh = GetSystemMetrics(FPosition == poDesktopCenter ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
    SetBounds((sw - FWidth) / 2, (sh - FHeight) / 2, FWidth, FHeight);
  } else if (FPosition == poMainFormCenter) {
    TCustomForm* m = Application->MainForm();
    SetBounds(m->Left() + (m->Width() - FWidth) / 2, m->Top() + (m->Height() - FHeight) / 2, FWidth, FHeight);
  }
}

void TCustomForm::Show() {
  ApplyPosition();
  FVisible = true;
  HWND h = Handle();
  ShowWindow(h, SW_SHOW);
  if (Application->Handle() && !IsWindowVisible(Application->Handle()) && Application->MainForm() == this)
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
  SetForegroundWindow(h);
  Perform(CM_VISIBLECHANGED, 1, 0);
  OnShow(this);
}

void TCustomForm::Close() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  OnClose(this, action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
    FVisible = false;
    Application->MainFormClosed();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize:
      if (FHandle) ShowWindow(FHandle, SW_MINIMIZE);
      break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (FHandle) PostMessageW(FHandle, CM_RELEASE, 0, 0);
  else Free(this);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  FActiveControl = c;
  if (c && FHandle && c->CanFocus()) c->SetFocus();
}

std::vector<TWinControl*> TCustomForm::TabStops() const {
  std::vector<TWinControl*> out;
  std::function<void(const TWinControl*)> walk = [&](const TWinControl* w) {
    for (TWinControl* c : w->TabList()) {
      if (c->TabStop() && c->CanFocus()) out.push_back(c);
      walk(c);
    }
  };
  walk(this);
  return out;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> stops = TabStops();
  if (stops.empty()) return;
  auto it = std::find(stops.begin(), stops.end(), current);
  size_t i;
  if (it == stops.end()) i = forward ? 0 : stops.size() - 1;
  else {
    size_t at = static_cast<size_t>(it - stops.begin());
    i = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  }
  stops[i]->SetFocus();
}

bool TCustomForm::AutoScroll() const { return FScroller->AutoScroll(); }
void TCustomForm::SetAutoScroll(bool a) { FScroller->SetAutoScroll(a); }

void TCustomForm::WndProc(TMessage& m) {
  if (FScroller->BeforeMessage(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      Free(this);  // nothing of this object is touched after this line
      return;
    case CM_FOCUSCHANGED: {
      auto* c = reinterpret_cast<TWinControl*>(m.LParam);
      if (c && c != this) FActiveControl = c;
      // Every control hears of it (painters show or drop their focus look).
      Broadcast(this, CM_FOCUSCHANGED, 0, m.LParam);
      return;
    }
    case CM_DIALOGCHAR: {
      // Alt+letter: the first showing, enabled control whose caption has
      // that access key acts on it; unhandled, it goes on to the menu bar
      // (and to hooks that look at the result).
      m.Result = 0;
      std::function<bool(TWinControl*)> offer = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
          TControl* c = parent->Controls(i);
          if (!c->Visible() || !c->Enabled()) continue;
          if (c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) return true;
          if (auto* w = dynamic_cast<TWinControl*>(c); w && offer(w)) return true;
        }
        return false;
      };
      if (offer(this)) m.Result = 1;
      return;
    }
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB) {
        HWND focus = GetFocus();
        TWinControl* current = FindControl(focus);
        SelectNext(current, (GetKeyState(VK_SHIFT) & 0x8000) == 0);
        m.Result = 1;
        return;
      }
      // Enter and Escape: offered to the showing, enabled controls until one
      // (the default or focused button, the cancel button) takes it.
      m.Result = 0;
      if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
        std::function<bool(TWinControl*)> offer = [&](TWinControl* parent) {
          for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
            if (!w || !w->Visible() || !w->Enabled()) continue;
            if (w->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) return true;
            if (offer(w)) return true;
          }
          return false;
        };
        if (offer(this)) m.Result = 1;
      }
      return;
    case WM_ACTIVATE:
      DefaultHandler(m);
      if (LOWORD(m.WParam) != WA_INACTIVE && FActiveControl && FActiveControl->CanFocus() &&
          FActiveControl->HandleAllocated())
        ::SetFocus(FActiveControl->Handle());
      return;
    case WM_SYSCOMMAND:
      // The main form minimizes with the application window, which owns the
      // taskbar button; restoring that window shows the form again.
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application->MainForm() == this && Application->Handle()) {
        FHiddenByMinimize = true;
        ShowWindow(FHandle, SW_HIDE);
        ShowWindow(Application->Handle(), SW_MINIMIZE);
        return;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      TWinControl::WndProc(m);
      // The client size the form was asked for stays the stored one.
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
  FScroller->AfterMessage(m);
}

// ---------------------------------------------------------------------------
// TScreen

TW_IMPLEMENT_CLASS(TScreen, [](TClassBuilder<TScreen>&) {})

TCustomForm* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  for (TCustomForm* f : FForms)
    if (f->HandleAllocated() && f->Handle() == active) return f;
  return nullptr;
}

// ---------------------------------------------------------------------------
// TApplication

TW_IMPLEMENT_CLASS(TApplication, [](TClassBuilder<TApplication>& c) {
  c.Str(L"Title", &TApplication::Title, &TApplication::SetTitle);
})

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
  DestroyComponents();
  if (FHandle) DestroyWindow(FHandle);
}

void TApplication::Initialize() {
  SetGuiThread();
  ControlAtom();
  OleInitialize(nullptr);
  RegisterStandardClasses();
  SetExceptionHandler([this](const std::exception_ptr& e) { HandleException(e); });
  if (FHandle) return;
  static const wchar_t kClass[] = L"TApplication";
  WNDCLASSW wc = {};
  wc.lpfnWndProc = AppWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  FHandle = CreateWindowExW(0, kClass, FTitle.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

void TApplication::SetTitle(const std::wstring& t) {
  FTitle = t;
  if (FHandle) SetWindowTextW(FHandle, t.c_str());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    TCustomForm* main = Application->MainForm();
    switch (msg) {
      case WM_CLOSE:
        if (main) main->Close();
        return 0;
      case WM_SIZE:
        if (wp == SIZE_RESTORED && main && main->FHiddenByMinimize) {
          main->FHiddenByMinimize = false;
          ShowWindow(main->Handle(), SW_SHOW);
          SetForegroundWindow(main->Handle());
        }
        break;
      case WM_ACTIVATE:
        // Activation of the hidden owner goes on to the main form.
        if (LOWORD(wp) != WA_INACTIVE && main && main->HandleAllocated() && IsWindowVisible(main->Handle())) {
          SetActiveWindow(main->Handle());
          return 0;
        }
        break;
      default:
        break;
    }
  } catch (...) {
    HandleCallbackException(std::current_exception());
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

namespace {
// Whether the focused window takes this key itself: a multi-line edit takes
// Enter, an open drop-down list closes on Enter and Escape.
bool FocusWantsKey(MSG& msg) {
  HWND focus = GetFocus();
  if (!focus) return false;
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
  if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
  for (HWND w = focus; w; w = GetParent(w)) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (lstrcmpiW(cls, L"ComboBox") == 0 || dynamic_cast<TCustomComboBox*>(FindControl(w)))
      return SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}
}  // namespace

bool TApplication::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_SYSCHAR) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  auto* form = dynamic_cast<TCustomForm*>(FindControl(root));
  if (!form) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ShiftBit(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift |= ShiftBit(ssCtrl);
    if (GetKeyState(VK_MENU) < 0 || (msg.message == WM_SYSKEYDOWN && (msg.lParam & (1 << 29)))) shift |= ShiftBit(ssAlt);
    if (form->IsShortCut(static_cast<WORD>(msg.wParam), shift)) return true;
    if (msg.message == WM_SYSKEYDOWN) return false;
    if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) {
      if (shift & (ShiftBit(ssCtrl) | ShiftBit(ssAlt)) || FocusWantsKey(msg)) return false;
    } else if (msg.wParam != VK_TAB) {
      return false;
    }
    return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
  }
  return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

bool TApplication::HandleMessage(bool wait) {
  MSG msg;
  if (wait) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
      FTerminated = true;
      return false;
    }
  } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return false;
  } else if (msg.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  Dispatch(msg);
  return true;
}

void TApplication::Dispatch(MSG& msg) {
  try {
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    FreePendingControls(nullptr);
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::ProcessMessages() {
  while (HandleMessage(false)) {
  }
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage(true);
  // Forms go while the library still runs; their handlers have finished.
  DestroyComponents();
}

void TApplication::Terminate() {
  if (FTerminated) return;
  FTerminated = true;
  PostQuitMessage(0);
}

int TApplication::ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
  HWND owner = nullptr;
  if (TCustomForm* f = Screen->ActiveForm()) owner = f->Handle();
  else if (FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
  else owner = FHandle;
  return ::MessageBoxW(owner, text.c_str(), caption.empty() ? FTitle.c_str() : caption.c_str(), flags);
}

void TApplication::ShowException(const std::wstring& text) {
  // One box at a time: an error raised again while the box is up (a timer
  // firing during the box) would pile up boxes without end.
  if (FShowingException) {
    MessageBeep(MB_ICONERROR);
    return;
  }
  FShowingException = true;
  ShowMessageBox(text, FTitle, MB_OK | MB_ICONERROR);
  FShowingException = false;
}

void TApplication::HandleException(const std::exception_ptr& error) { ShowException(ExceptionText(error)); }

// ---------------------------------------------------------------------------

void LoadFormFromText(TCustomForm* form, const std::wstring& text, const TFileResolver& resolve,
                      const std::wstring& source) {
  TFormNode node = ParseFormText(text, resolve, source);
  form->ReadDescription(node, source);
}

void RegisterStandardClasses() {
  RegisterClass<TComponent>();
  RegisterClass<TControl>();
  RegisterClass<TWinControl>();
  RegisterClass<TButton>();
  RegisterClass<TGroupBox>();
  RegisterClass<TPanel>();
  RegisterClass<TLabel>();
  RegisterClass<TEdit>();
  RegisterClass<TListView>();
  RegisterClass<TProgressBar>();
  RegisterClass<TTimer>();
  RegisterClass<TOpenDialog>();
  RegisterClass<TImageList>();
  RegisterClass<TForm>();
  RegisterClass<TMenuItem>();
  RegisterClass<TMainMenu>();
  RegisterClass<TPopupMenu>();
}

namespace {
BOOL CALLBACK CollectResourceName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) {
  try {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}
}  // namespace

std::vector<std::wstring> VerifyFormResources() {
  std::vector<std::wstring> names;
  HMODULE module = GetModuleHandleW(nullptr);
  EnumResourceNamesW(module, MAKEINTRESOURCEW(10), CollectResourceName, reinterpret_cast<LONG_PTR>(&names));
  std::vector<std::wstring> errors;
  for (const auto& name : names) {
    HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;
    const auto* bytes = data ? static_cast<const uint8_t*>(LockResource(data)) : nullptr;
    DWORD size = res ? SizeofResource(module, res) : 0;
    if (!bytes || size < 4 || std::memcmp(bytes, "TWF1", 4) != 0) continue;  // not a form
    try {
      TFormNode node = ReadFormBinary(bytes, size);
      const TClassInfo* info = FindClassInfo(node.className);
      if (!info || !info->create) throw EFormError(L"root class " + node.className + L" is not registered");
      std::unique_ptr<TComponent> root(info->create(nullptr));
      ReadComponentTree(root.get(), node, name);
    } catch (const std::exception&) {
      errors.push_back(name + L": " + ExceptionText(std::current_exception()));
    }
  }
  return errors;
}
