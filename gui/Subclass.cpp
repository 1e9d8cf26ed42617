#include "gui/Subclass.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "gui/Controls.h"

// ---------------------------------------------------------------------------
// TWindowHook

// What a hooked control's WindowProc is bound to. It outlives its hook when
// the hook is taken out from under a hook we do not know (someone saved our
// delegate in a plain variable): it then only passes messages on, until the
// control goes.
struct THookLink {
  TWindowHook* owner = nullptr;
  TWndMethod method;
  TWndMethod previous;

  void Dispatch(TMessage& m) {
    if (owner) method(m);  // may delete this link; nothing is touched after
    else previous(m);
  }
  TWndMethod Delegate() { return TWndMethod::Bind(this, &THookLink::Dispatch); }
};

namespace {

std::map<TControl*, std::vector<std::unique_ptr<THookLink>>>& HookLinks() {
  static std::map<TControl*, std::vector<std::unique_ptr<THookLink>>> links;
  return links;
}

void DeleteLink(TControl* control, THookLink* link) {
  auto it = HookLinks().find(control);
  if (it == HookLinks().end()) return;
  auto& v = it->second;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& p) { return p.get() == link; }), v.end());
  if (v.empty()) HookLinks().erase(it);
}

}  // namespace

TWindowHook::~TWindowHook() { Unhook(); }

void TWindowHook::Hook(TControl* control, TWndMethod method) {
  Unhook();
  if (!control) return;
  auto link = std::make_unique<THookLink>();
  link->owner = this;
  link->method = method;
  link->previous = control->WindowProc;
  control->WindowProc = link->Delegate();
  FControl = control;
  FLink = link.get();
  FLastPrevious = link->previous;
  HookLinks()[control].push_back(std::move(link));
}

void TWindowHook::Unhook() {
  if (!FLink) return;
  THookLink* link = FLink;
  TControl* control = FControl;
  FLastPrevious = link->previous;
  FLink = nullptr;
  FControl = nullptr;
  TWndMethod mine = link->Delegate();
  if (control->WindowProc == mine) {
    control->WindowProc = link->previous;
    DeleteLink(control, link);
    return;
  }
  // Another hook sits above: if it is one of ours, it passes on to what we
  // saved from now on.
  auto it = HookLinks().find(control);
  if (it != HookLinks().end()) {
    for (auto& other : it->second) {
      if (other.get() != link && other->previous == mine) {
        other->previous = link->previous;
        DeleteLink(control, link);
        return;
      }
    }
  }
  link->owner = nullptr;  // a pass-through until the control goes
}

void TWindowHook::CallPrevious(TMessage& m) const {
  if (FLink) FLink->previous(m);
  else FLastPrevious(m);
}

void ReleaseWindowHooks(TControl* control) {
  auto it = HookLinks().find(control);
  if (it == HookLinks().end()) return;
  for (auto& link : it->second) {
    if (link->owner) {
      link->owner->FLastPrevious.Clear();
      link->owner->FLink = nullptr;
      link->owner->FControl = nullptr;
    }
  }
  HookLinks().erase(it);
}

// ---------------------------------------------------------------------------
// TSubclass

// The subclasses of one window, newest first, kept in a window property.
struct TSubclassChain {
  HWND window = nullptr;
  WNDPROC original = nullptr;
  std::vector<TSubclass*> items;
  int depth = 0;           // messages of the window being handled right now
  bool destroyed = false;  // WM_NCDESTROY went through

  LRESULT CallFrom(size_t index, UINT msg, WPARAM wParam, LPARAM lParam);
  void ReleaseIfUnused();
  void WindowGone();
};

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

ATOM ChainAtom() {
  static ATOM atom = GlobalAddAtomW(L"TwSubclassChain");
  return atom;
}

TSubclassChain* ChainOf(HWND hwnd) { return static_cast<TSubclassChain*>(GetPropW(hwnd, MAKEINTATOM(ChainAtom()))); }

// One subclass's WindowProc being run: CallPrevious finds its place here.
struct TCallFrame {
  TSubclassChain* chain;
  TSubclass* item;
  size_t index;
  bool left;  // the item detached while this frame ran
};
thread_local std::vector<TCallFrame> tFrames;

}  // namespace

LRESULT TSubclassChain::CallFrom(size_t index, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (index >= items.size())
    return original ? CallWindowProcW(original, window, msg, wParam, lParam)
                    : DefWindowProcW(window, msg, wParam, lParam);
  TSubclass* item = items[index];
  tFrames.push_back(TCallFrame{this, item, index, false});
  LRESULT r = 0;
  try {
    r = item->WindowProc(msg, wParam, lParam);
  } catch (...) {
    tFrames.pop_back();
    throw;
  }
  tFrames.pop_back();
  return r;
}

void TSubclassChain::ReleaseIfUnused() {
  if (depth > 0 || !items.empty()) return;
  if (destroyed) {
    delete this;
    return;
  }
  // Put the original back only while ours is the installed procedure: a
  // later subclass of someone else's saved ours and calls it.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != SubclassProc) return;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  RemovePropW(window, MAKEINTATOM(ChainAtom()));
  delete this;
}

void TSubclassChain::WindowGone() {
  destroyed = true;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == SubclassProc)
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  RemovePropW(window, MAKEINTATOM(ChainAtom()));
  // Each subclass leaves before it hears of it, so it may delete itself (or
  // another one) in WindowDestroyed.
  while (!items.empty()) {
    TSubclass* item = items.front();
    items.erase(items.begin());
    item->FWindow = nullptr;
    item->FChain = nullptr;
    try {
      item->WindowDestroyed();
    } catch (...) {
      HandleCallbackException(std::current_exception());
    }
  }
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSubclassChain* chain = ChainOf(hwnd);
  if (!chain) return DefWindowProcW(hwnd, msg, wParam, lParam);
  ++chain->depth;
  LRESULT r = 0;
  try {
    r = chain->CallFrom(0, msg, wParam, lParam);
  } catch (...) {
    HandleCallbackException(std::current_exception());
  }
  if (msg == WM_NCDESTROY && !chain->destroyed) chain->WindowGone();
  --chain->depth;
  chain->ReleaseIfUnused();
  return r;
}

TSubclass::~TSubclass() { Detach(); }

bool TSubclass::Attach(HWND window) {
  if (FChain || !window || !IsWindow(window)) return false;
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  TSubclassChain* chain = ChainOf(window);
  if (chain && chain->destroyed) return false;
  if (!chain) {
    chain = new TSubclassChain;
    chain->window = window;
    SetPropW(window, MAKEINTATOM(ChainAtom()), chain);
    chain->original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  }
  chain->items.insert(chain->items.begin(), this);
  FChain = chain;
  FWindow = window;
  return true;
}

void TSubclass::Detach() {
  TSubclassChain* chain = FChain;
  if (!chain) return;
  FChain = nullptr;
  FWindow = nullptr;
  chain->items.erase(std::remove(chain->items.begin(), chain->items.end(), this), chain->items.end());
  // Frames of this object's running messages keep their place in the chain.
  for (auto& f : tFrames)
    if (f.item == this) f.left = true;
  chain->ReleaseIfUnused();
}

int TSubclass::CountOn(HWND window) {
  TSubclassChain* chain = window ? ChainOf(window) : nullptr;
  return chain ? static_cast<int>(chain->items.size()) : 0;
}

LRESULT TSubclass::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return CallPrevious(msg, wParam, lParam); }

LRESULT TSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The innermost frame of this object (or, once it detached inside the
  // message, the frame it ran in) says where the chain goes on.
  for (auto it = tFrames.rbegin(); it != tFrames.rend(); ++it) {
    if (it->item != this) continue;
    TSubclassChain* chain = it->chain;
    auto pos = std::find(chain->items.begin(), chain->items.end(), this);
    size_t next = pos != chain->items.end() ? static_cast<size_t>(pos - chain->items.begin()) + 1
                                            : std::min(it->index, chain->items.size());
    return chain->CallFrom(next, msg, wParam, lParam);
  }
  // Not inside a message of the window: on from this object's place.
  if (FChain) {
    auto pos = std::find(FChain->items.begin(), FChain->items.end(), this);
    return FChain->CallFrom(static_cast<size_t>(pos - FChain->items.begin()) + 1, msg, wParam, lParam);
  }
  return 0;
}
