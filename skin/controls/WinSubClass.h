// Skinned-control base (Windows).
//
// Classes in this file:
//   TSkinControl   one skin object per skinned child window: hooks the
//                  window's messages (a library control through its
//                  replaceable WindowProc hook, a bare window by subclassing),
//                  lets the previous handling run where the skin adds nothing,
//                  and paints the window from the skin in use. The kinds
//                  (buttons, group boxes, panels, progress bars, ...) derive
//                  from it, each in its own file.
//
// Routing of every message: WM_SKINENABLE switches skinning on (wParam > 0,
// repaint) or off (the control is repainted natively and every further
// message goes straight to the previous handling); while on, BeforeMessage
// decides, and a message it lets through goes to the previous handling and
// then to AfterMessage.
//
// Detach restores exactly what attach changed: the WindowProc hook or the
// window procedure (only while it is still ours), the control's colour (and
// ParentColor), its ParentBackground property and the text colour of its
// window-less children.
//
// Hooking goes through the library's TWindowHook (library controls) and
// TSubclass (bare windows), gui/Subclass.h: no executable thunks, and the
// previous procedure of a bare window is reached with the wide-character
// call (the program subclasses with the W functions; an ANSI call would
// garble text messages). Switching skinning off repaints the control at once
// so its native look shows without waiting for an unrelated repaint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "gui/Core.h"
#include "gui/Messages.h"
#include "gui/Subclass.h"
#include "skin/controls/SkinFrameLink.h"
#include "skin/controls/SkinMessages.h"
#include "skin/controls/SkinTextColour.h"
#include "skin/data/DibSurface.h"

class TCanvas;
class TControl;
class TDataSkinObject;
class TSkinModel;
class TWinControl;

// Bits of TSkinControl::MouseState().
enum : uint8_t { kMouseHot = 1, kMousePressed = 2 };

// FLifeState values.
enum : int { kSkinCreated = 0, kSkinAttached = 1, kSkinUnskinned = 2, kSkinWindowDestroyed = 6 };

class TSkinControl : public TComponent {
  TW_DECLARE_CLASS(TSkinControl, TComponent)
public:
  // --- construction
  // `owner`: the library control to skin (AttachControl), or nullptr for a
  // bare window (AttachWindow; the frame's list then owns the object).
  explicit TSkinControl(TComponent* owner);
  // Gives the control its hook (or the window its procedure) back while it
  // is still ours, and leaves the frame's list.
  ~TSkinControl() override;

  // --- attach and detach
  // Attaches to the owning library control (its window is created if
  // needed). A second attach is ignored; without an owning windowed control
  // or a window, nothing happens.
  virtual void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas);
  // Attaches to a bare window by subclassing it. A second attach is ignored.
  virtual void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas);
  // Gives back the colour and ParentBackground taken at attach; LifeState 2.
  // Running it twice restores once.
  virtual void Unskin();
  // After a skin change: the managed colour again, then a repaint.
  virtual void SkinChanged();
  // The frame's hover tracking saw the mouse leave: clear hot and pressed.
  virtual void EndHover();

  // --- attributes
  HWND Handle() const { return FHandle; }
  // Whether the routing is installed (hook or subclass).
  bool Hooked() const;
  // The library control, or nullptr for a bare window.
  TWinControl* Control() const { return FControl; }
  TSkinFrameLink* Form() const { return FForm; }
  int LifeState() const { return FLifeState; }
  bool SkinActive() const { return FSkinActive; }
  bool Attached() const { return FAttached; }
  uint8_t MouseState() const { return FMouseState; }
  bool ParentBackgroundTaken() const { return FParentBgTaken; }
  int Mode() const { return FMode; }
  // The manage-colour flag an attach takes for objects made outside the
  // dispatch (the skin's OnSkinControl event).
  bool ManageColor() const { return FManageColor; }
  void SetManageColor(bool manage) { if (!FAttached) FManageColor = manage; }

  // --- message entry points
  // The routing procedure (installed as the library control's WindowProc).
  void HookProc(TMessage& m);

  // --- helpers shared with the dispatch and tests
  // GetWindowTextW of the window.
  static std::wstring ReadWindowText(HWND window);

protected:
  // --- overridables
  // true: pass the message on, then AfterMessage; false: consumed.
  virtual bool BeforeMessage(TMessage& m);
  virtual void AfterMessage(TMessage& m);
  // Paints the whole window through `dc`, or a window DC when it is null.
  virtual void PaintWindow(HDC dc);
  // Draws the skinned look into `dc` within `r` (window coordinates, origin 0,0).
  virtual void DrawSkin(HDC dc, const RECT& r) {}

  // --- shared routines for the kinds
  // The previous handling of the message (saved hook or window procedure).
  void CallOriginal(TMessage& m);
  // Invalidates the whole window (erasing) and updates it.
  void RepaintSkin();
  // Sets or clears the pressed bit of FMouseState, then RepaintSkin.
  void ShowPressed(bool pressed);
  // Space down shows the face pressed, space up released (the keyboard's
  // click); false for any other message.
  bool FollowSpaceKey(const TMessage& m);
  // A left press: the previous handling first, then the pressed face painted
  // at once.
  void PressAfterOriginal(TMessage& m);
  // WM_PAINT handler of kinds that paint the client area: wParam as the DC
  // or BeginPaint; DrawSkin with the window rectangle at the origin.
  void PaintClient(TMessage& m);
  // WM_ERASEBKGND handler: the parent's background (library control) or the
  // parent colour; result 1.
  void EraseWithParent(TMessage& m);
  void FillSkinFace(HDC dc, const RECT& r) const;
  void FillParentColor(HDC dc, const RECT& r) const;
  // `flags` plus DT_RTLREADING for a right-to-left control.
  UINT TextFlags(UINT flags) const;
  // Focus rectangle around `text` as drawn in `r` with `flags`.
  void DrawTextFocus(HDC dc, const std::wstring& text, UINT flags, const RECT& r) const;
  // Frame `frameNumber` (1-based) of `object`'s `frameCount`-frame strip,
  // nine-slice scaled to `r`; magenta transparent when the object's Trans is 1.
  void DrawSkinFrame(HDC dc, const RECT& r, int frameCount, int frameNumber,
                     const TDataSkinObject* object) const;

  // The skin model in use, or nullptr.
  const TSkinModel* Skin() const;
  // Skin colours resolved to RGB (system colours looked up).
  COLORREF ButtonFace() const;
  COLORREF ButtonText() const;
  COLORREF ButtonShadow() const;
  // The colour of text in `fontColour` drawn on the skin's face: the default
  // window or button text colour becomes the skin's ButtonText.
  COLORREF CaptionColour(TColor fontColour) const { return SkinTextColour(fontColour, ButtonText()); }
  bool HasOption(TSkinOption option) const;
  // Hooks FControl's WindowProc with the routing (kinds with their own attach).
  void InstallHook();
  // Hooks a window-less control's WindowProc with the routing; CallOriginal
  // then reaches its saved hook.
  void InstallHook(TControl* control);
  // Window-less children (labels) with the default font colour take the
  // skin's ButtonText, for kinds that paint the skin's face under them;
  // Unskin gives them back, a skin change recolours them.
  void FollowFaceText(bool withOwnCaption = false);
  // ParentBackground "True" -> "False" unless xoParentBackGround; and back.
  void TakeParentBackground();
  void GiveParentBackground();
  // The off-screen surface kinds compose on; resized only when the size
  // changes. Null when the size is unusable.
  DibSurface* Surface(int width, int height);

  // --- state (names follow the skin engine's vocabulary)
  uint8_t FMouseState = 0;
  TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  std::wstring FCaption;
  bool FSkinActive = true;
  bool FUnicode = false;
  HWND FHandle = nullptr;
  TWinControl* FControl = nullptr;
  RECT FWindowRect{};
  TControl* FRepaintDelegate = nullptr;
  bool FManageColor = false;
  int FSavedColor = 0;
  bool FColorTaken = false;
  bool FAttached = false;
  int FLifeState = kSkinCreated;
  TSkinFrameLink* FForm = nullptr;
  int FMode = 0;
  uint8_t FMode2 = 0;
  bool FParentBgTaken = false;
  bool FSavedParentColor = false;
  TChildTextColours FChildText;  // see FollowFaceText
  bool FFaceText = false;
  bool FFaceTextOwn = false;  // the control's own caption follows too

private:
  // The subclass of a bare window: hands every message to the routing.
  class TBareWindow : public TSubclass {
  public:
    explicit TBareWindow(TSkinControl& owner) : FOwner(owner) {}
    LRESULT Previous(UINT msg, WPARAM wParam, LPARAM lParam) { return CallPrevious(msg, wParam, lParam); }

  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    TSkinControl& FOwner;
  };

  // Set to false by the destructor: a handler run by the previous handling
  // may free this object (a click that closes the form).
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  TWindowHook FHook;         // library control: our WindowProc, over the saved one
  bool FHookTaken = false;   // FHook was installed (also on a window-less control)
  TBareWindow FBare{*this};  // bare window: the subclass
  DibSurface FSurface;
};
