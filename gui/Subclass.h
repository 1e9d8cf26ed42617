// Hooking the message flow of controls and of windows we did not create (Windows).
//
// Classes in this file:
//   TWindowHook  hooks a library control's replaceable WindowProc. Hooks may
//                be taken out in any order: the one on top puts the saved
//                procedure back; one taken out from underneath another hook
//                is cut out of the chain, so no hook is ever lost or called
//                after it is gone.
//   TSubclass    subclasses any window of this thread (native controls,
//                dialogs and menus of other modules, our own windows). Several
//                subclasses of one window form a chain, newest first; the
//                window procedure is replaced once, and put back only while
//                ours is still the installed one. On WM_NCDESTROY every
//                subclass leaves the window after the message went through.
//
// Lifetime rule for both: an object may be deleted (or Unhook/Detach) inside
// its own message; nothing of it is touched after it is gone, and the message
// still reaches the procedure underneath when the object passes it on first.
//
// Example (a skin object on a library control):
//   class TSkinThing {
//     TWindowHook hook;
//     void Attach(TControl* c) { hook.Hook(c, TWndMethod::Bind(this, &TSkinThing::Message)); }
//     void Message(TMessage& m) {
//       if (m.Msg == WM_PAINT) { ...; return; }
//       hook.CallPrevious(m);
//     }
//   };   // the destructor of `hook` unhooks
//
// Example (a native window):
//   class TEditSkin : public TSubclass {
//    protected:
//     LRESULT WindowProc(UINT msg, WPARAM w, LPARAM l) override {
//       LRESULT r = CallPrevious(msg, w, l);
//       if (msg == WM_SETFOCUS) Repaint();
//       return r;
//     }
//     void WindowDestroyed() override { delete this; }   // allowed
//   };
//   (new TEditSkin)->Attach(hwnd);
#pragma once

#include <windows.h>

#include "gui/Messages.h"

class TControl;
struct THookLink;
struct TSubclassChain;

class TWindowHook {
 public:
  TWindowHook() = default;
  // Unhooks.
  ~TWindowHook();
  TWindowHook(const TWindowHook&) = delete;
  TWindowHook& operator=(const TWindowHook&) = delete;

  // --- operations
  // Makes `method` the control's WindowProc; the procedure current until now
  // is what CallPrevious reaches. A hook already in place is taken out first.
  void Hook(TControl* control, TWndMethod method);
  // Takes the hook out (see the file comment); nothing when not hooked.
  void Unhook();
  // Passes a message to the procedure that was current before this hook
  // (after Unhook inside a message: still the one it had).
  void CallPrevious(TMessage& m) const;

  // --- attributes
  bool Hooked() const { return FLink != nullptr; }
  // The hooked control; nullptr when not hooked or once the control is gone.
  TControl* Control() const { return FControl; }

 private:
  friend void ReleaseWindowHooks(TControl* control);
  TControl* FControl = nullptr;
  THookLink* FLink = nullptr;
  TWndMethod FLastPrevious;  // used after an unhook inside the hooked message
};

// Called by the control's destructor: every hook on it forgets it.
void ReleaseWindowHooks(TControl* control);

class TSubclass {
 public:
  TSubclass() = default;
  // Detaches.
  virtual ~TSubclass();
  TSubclass(const TSubclass&) = delete;
  TSubclass& operator=(const TSubclass&) = delete;

  // --- operations
  // Subclasses a window of the calling thread; false when the window does
  // not exist, belongs to another thread, or this object is attached already.
  bool Attach(HWND window);
  // Leaves the window (any order among several subclasses of it). The
  // original window procedure goes back when no subclass of ours remains and
  // ours is still the installed procedure; when someone subclassed the window
  // after us, our procedure stays as a pass-through until the window goes.
  void Detach();

  // --- attributes
  HWND Window() const { return FWindow; }
  bool Attached() const { return FWindow != nullptr; }
  // The number of subclasses of ours on a window (tests, diagnostics).
  static int CountOn(HWND window);

 protected:
  // --- overridables
  // Every message of the window, newest subclass first. The default passes
  // the message on unchanged.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The window received WM_NCDESTROY and it went through every procedure;
  // the object is detached (Window() is nullptr) and may delete itself.
  virtual void WindowDestroyed() {}

  // Passes a message to the subclass installed before this one, or to the
  // window's own procedure.
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  friend struct TSubclassChain;
  friend LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
  HWND FWindow = nullptr;
  TSubclassChain* FChain = nullptr;
};
