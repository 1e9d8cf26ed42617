#include "skin/window/SkinManage.h"

#include <algorithm>

#include "gui/Controls.h"
#include "gui/Forms.h"
#include "gui/Strings.h"
#include "gui/Timer.h"
#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/window/WinSkinForm.h"
#ifdef TW_HAVE_POPUP_MENUS
#include "skin/window/PopupMenu.h"
#endif

namespace {

std::unique_ptr<TSkinManage> g_manager;

std::wstring WindowClassName(HWND window) {
  wchar_t name[101] = {};
  GetClassNameW(window, name, 101);
  return name;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// The library form of a window: a screen form with this handle, else the
// control stored in the window's lookup property when it is a form.
TCustomForm* LibraryFormOf(HWND window) {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && f->Handle() == window) return f;
  }
  return dynamic_cast<TCustomForm*>(FindControl(window));
}

}  // namespace

TSkinManage* SkinManager() { return g_manager.get(); }

TSkinManage& CreateSkinManager() {
  if (!g_manager) g_manager = std::make_unique<TSkinManage>();
  return *g_manager;
}

// The popup list is a static of its own: it is emptied here, on an explicit
// teardown, and never from the manager's destructor at program exit, when
// that static may already be gone.
void DestroySkinManager() {
  if (!g_manager) return;
#ifdef TW_HAVE_POPUP_MENUS
  SkinPopups().DetachAll();
#endif
  g_manager.reset();
}

TSkinManage::TSkinManage() {
  FActionTimer = new TTimer(nullptr);
  FActionTimer->SetEnabled(false);
  FActionTimer->SetInterval(100);
  FActionTimer->OnTimer = MakeDelegate<TNotifyEvent>(this, &TSkinManage::ActionTimerTick);
}

TSkinManage::~TSkinManage() {
  FState = kManagerDestroying;
  FActive = false;
  delete FActionTimer;
  FActionTimer = nullptr;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  while (!FFormList.empty()) {
    TWinSkinForm* frame = FFormList.back();
    FFormList.pop_back();
    if (frame->Module() == module) {
      frame->DetachQuick();
      TComponent::Free(frame);
    }
  }
  if (FHook) UnhookWindowsHookEx(FHook);
  FHook = nullptr;
}

unsigned TSkinManage::ActionInterval() const { return FActionTimer ? FActionTimer->Interval() : 0; }
bool TSkinManage::ActionPending() const { return FActionTimer && FActionTimer->Enabled(); }

// ---------------------------------------------------------------------------
// Skin definitions

void TSkinManage::AddSkin(TSkinData* skin) {
  if (!skin || std::find(FSkinList.begin(), FSkinList.end(), skin) != FSkinList.end()) return;
  FSkinList.push_back(skin);
  if (!FMainSkin && skin->SkinFormtype() == sfMainform) FMainSkin = skin;
}

void TSkinManage::RemoveSkin(TSkinData* skin) {
  FSkinList.erase(std::remove(FSkinList.begin(), FSkinList.end(), skin), FSkinList.end());
  if (FMainSkin == skin) FMainSkin = nullptr;
  if (FPendingSkin == skin) FPendingSkin = nullptr;
  // A frame must not outlive the definition it paints with.
  for (size_t i = FFormList.size(); i-- > 0;) {
    if (i < FFormList.size() && FFormList[i]->Skin() == skin) UnskinFrame(FFormList[i]);
  }
}

void TSkinManage::InstallHook() {
  if (FHook) return;
  FHook = SetWindowsHookExW(WH_CBT, &TSkinManage::CbtHook, nullptr, GetCurrentThreadId());
}

void TSkinManage::RequestAction(int code, unsigned intervalMs) {
  FPendingAction = code;
  if (FActionTimer) FActionTimer->SetInterval(intervalMs);
  if (FState != kManagerCreated) {
    if (FActionTimer) FActionTimer->SetEnabled(true);
  } else if (code == kActionSkin) {
    FActive = true;
  } else if (code == kActionUnskin) {
    FActive = false;
  }
}

void TSkinManage::ApplySkinChange() {
  for (TWinSkinForm* frame : FFormList)
    if (frame->Skin() == FPendingSkin) frame->DropCaptionButtons();
}

// ---------------------------------------------------------------------------
// Timer actions

void TSkinManage::ActionTimerTick(TObject*) {
  if (FActionTimer) FActionTimer->SetEnabled(false);
  RunPendingAction();
}

void TSkinManage::RunPendingAction() {
  TSkinData* skin = FPendingSkin;
  if (!skin) return;
  const int code = FPendingAction;
  if (skin->SkinFormtype() == sfOnlyThisForm) {
    if (code == kActionSkin) {
      FActive = FScanning = true;
      for (int i = Screen->FormCount() - 1; i >= 0; --i)
        if (Screen->Forms(i) == skin->Owner()) FormCheck(Screen->Forms(i));
      FScanning = false;
    } else if (code == kActionUnskin) {
      FActive = false;
      PurgeDeadFrames();
      for (size_t i = FFormList.size(); i-- > 0;) {
        if (FFormList[i]->Skin() == skin) {
          UnskinFrame(FFormList[i]);
          break;
        }
      }
    } else if (code == kActionRefresh) {
      PurgeDeadFrames();
      for (TWinSkinForm* frame : FFormList) {
        if (frame->Skin() != skin) continue;
        frame->DropCaptionButtons();
        frame->RecalcGeometry();
        frame->Reapply();
        break;
      }
    }
  } else {
    if (code == kActionSkin) {
      FActive = FScanning = true;
      PurgeDeadFrames();
      for (int i = Screen->FormCount() - 1; i >= 0; --i) FormCheck(Screen->Forms(i));
      FScanning = false;
    } else if (code == kActionUnskin) {
      FActive = false;
      PurgeDeadFrames();
      while (!FFormList.empty()) UnskinFrame(FFormList.front());
    } else if (code == kActionRefresh) {
      PurgeDeadFrames();
      // All frames are measured before any is repainted.
      std::vector<TWinSkinForm*> frames;
      for (TWinSkinForm* frame : FFormList)
        if (frame->Skin() == skin) frames.push_back(frame);
      for (TWinSkinForm* frame : frames) {
        frame->DropCaptionButtons();
        frame->RecalcGeometry();
      }
      for (TWinSkinForm* frame : frames) frame->Reapply();
    }
  }
  // The definition may have gone during the action (a handler freed it).
  if (std::find(FSkinList.begin(), FSkinList.end(), skin) != FSkinList.end()) skin->ActionFinished();
  FPendingSkin = nullptr;
}

void TSkinManage::FormCheck(TCustomForm* form) {
  if (!form->Visible() || !form->HandleAllocated()) return;
  HWND window = form->Handle();
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) return;
  SkinWindow(window);
}

// Full restore, repaint, then the entry goes.
void TSkinManage::UnskinFrame(TWinSkinForm* frame) {
  HWND window = frame->Window();
  frame->Detach();
  if (IsWindow(window))
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  FFormList.erase(std::remove(FFormList.begin(), FFormList.end(), frame), FFormList.end());
  TComponent::Free(frame);
}

// ---------------------------------------------------------------------------
// Attaching windows

bool TSkinManage::SkinWindow(HWND window) {
  if (!FActive || !IsWindow(window)) return false;
  PurgeDeadFrames();
  if (SendMessageW(window, WM_SKINQUERY, 0, 0) == 1 || FindSkinForm(window)) return false;

  TCustomForm* form = LibraryFormOf(window);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  if (!FScanning && (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD)) {
    HWND parent = GetParent(window);
    if (parent && LowerCase(WindowClassName(parent)) == L"mdiclient") return false;
  }
  const std::wstring className = WindowClassName(window);
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const HINSTANCE module = GetModuleHandleW(nullptr);
  if (!form && instance != module && className != L"#32770") return false;

  RECT r{};
  GetWindowRect(window, &r);
  const bool hasArea = r.right > r.left && r.bottom > r.top;
  if (!hasArea && !(exStyle & WS_EX_MDICHILD)) return false;
  if (form && form->Tag() == kNoFrameTag) return false;
  if (Contains(className, L"TcxPopupEditPopupWindow") || className == L"TApplication") return false;
  bool doSkin = true;
  if (FMainSkin) {
    if (!FMainSkin->HasOption(xoPreview) && Contains(LowerCase(className), L"preview")) doSkin = false;
    FMainSkin->QueryFormSkin(form, className, doSkin);
  }
  if (!doSkin) return false;

  TSkinData* skin = SelectSkin(window, className);
  if (!skin || skin->SkinEmpty()) return false;

  auto* frame = new TWinSkinForm(form, this, window, module, className);
  if (form)
    frame->AttachForm(skin, form);
  else
    frame->AttachWindow(skin);
  FFormList.push_back(frame);
  PostMessageW(window, WM_SKINFORM, 0, 1000);
  return true;
}

TSkinData* TSkinManage::SelectSkin(HWND window, const std::wstring& className) const {
  TSkinData* pick = nullptr;
  for (TSkinData* s : FSkinList) {
    auto* owner = dynamic_cast<TWinControl*>(s->Owner());
    if (s->SkinFormtype() == sfOnlyThisForm && owner && owner->HandleAllocated() && owner->Handle() == window)
      pick = s;
  }
  if (pick) return pick;
  const std::wstring lower = LowerCase(className);
  if (lower == L"tmessageform" || lower == L"#32770") {
    for (TSkinData* s : FSkinList)
      if (s->SkinFormtype() == sfDialog) pick = s;
    if (pick) return pick;
  }
  for (TSkinData* s : FSkinList)
    if (s->SkinFormtype() == sfMainform) pick = s;
  if (pick) return pick;
  return FSkinList.empty() ? nullptr : FSkinList.front();
}

void TSkinManage::PurgeDeadFrames() {
  if (FState == kManagerDestroying) return;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  for (size_t i = FFormList.size(); i-- > 0;) {
    TWinSkinForm* frame = FFormList[i];
    if (frame->LifeState() == kFrameWindowDestroyed && frame->Module() == module) {
      FFormList.erase(FFormList.begin() + static_cast<std::ptrdiff_t>(i));
      TComponent::Free(frame);
    }
  }
}

void TSkinManage::RemoveSkinForm(TWinSkinForm* frame) {
  if (FState == kManagerDestroying) return;
  FFormList.erase(std::remove(FFormList.begin(), FFormList.end(), frame), FFormList.end());
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND window) const {
  for (TWinSkinForm* frame : FFormList)
    if (frame->Window() == window) return frame;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Popup menus

void TSkinManage::AttachPopup(HWND window) {
#ifdef TW_HAVE_POPUP_MENUS
  if (!FActive) return;
  TSkinData* skin = SelectSkin(window, WindowClassName(window));
  if (!skin || skin->SkinEmpty()) return;
  SkinPopups().AttachPopup(window, MenuSkinOf(*skin));
#else
  (void)window;
#endif
}

void TSkinManage::DetachPopup(HWND window) {
#ifdef TW_HAVE_POPUP_MENUS
  SkinPopups().DetachPopup(window);
#else
  (void)window;
#endif
}

// ---------------------------------------------------------------------------
// The CBT hook

LRESULT CALLBACK TSkinManage::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* self = g_manager.get();
  const HHOOK hook = self ? self->FHook : nullptr;
  if (code < 0 || !self) return CallNextHookEx(hook, code, wParam, lParam);
  try {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
      auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
      const LONG style = create->lpcs->style;
      const std::wstring className = WindowClassName(window);
      if (className == L"ScrollBar" && (style & 0x10)) {
        if (TWinSkinForm* frame = self->FindSkinForm(create->lpcs->hwndParent)) frame->SkinSizeGrip(window);
      }
      if (!(style & WS_CHILD) && className == L"#32768") self->AttachPopup(window);
      if (create->lpcs->dwExStyle & WS_EX_MDICHILD) self->SkinWindow(window);
    } else if (code == HCBT_DESTROYWND) {
      self->DetachPopup(window);
    } else if (code == HCBT_ACTIVATE) {
      if (self->FState == kManagerCreated) self->FState = kManagerInUse;
      self->SkinWindow(window);
    }
  } catch (...) {
    HandleCallbackException(std::current_exception());
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}
