// Skinned scroll bars (Windows).
//
// Classes in this file:
//   TWScrollbar     a window of our own laid exactly over one native scroll
//                   bar (a non-client bar of a control or a bare window, or a
//                   whole scroll-bar control): painted from the skin, it hands
//                   every press back to the native bar (the platform does all
//                   scrolling, tracking and notification), passes the wheel
//                   on, and shows the part under the mouse or being scrolled
//   TSkinScrollbar  the skin object of a library control with non-client
//                   scroll bars: owns a horizontal and a vertical TWScrollbar
//                   (only the vertical one in single-bar mode), keeps them
//                   placed over the native bars, draws the border and the
//                   corner square between two bars
//
// The bars of bare windows and stand-alone scroll-bar controls are in
// SkinScrollBarH.h and SkinScControl.h.
//
// The overlays stay visible only while the control has WS_CLIPSIBLINGS (the
// library's controls do): without it the control's frame painting draws over
// them. They answer WM_SKINQUERY with 1 so no dispatch skins them again.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gui/Controls.h"
#include "gui/Subclass.h"
#include "skin/controls/SkinScrollBarLayout.h"
#include "skin/controls/WinSubClass.h"

class TSkinScrollbar;

class TWScrollbar : public TWinControl {
  TW_DECLARE_CLASS(TWScrollbar, TWinControl)
 public:
  // Horizontal or vertical non-client bar, or a whole scroll-bar control.
  enum TBarKind : uint8_t { bkHorizontal = 0, bkVertical = 1, bkControl = 2 };

  // --- construction
  // Owned by its skin object; hidden until the first Reposition.
  explicit TWScrollbar(TComponent* owner);
  // Covers bar `kind` of `target` (a library control with a parent) and
  // paints from `skin`'s skin. A bkControl bar covers the whole control; the
  // control's "Kind" property gives its orientation.
  void Bind(TSkinControl* skin, TWinControl* target, TBarKind kind);
  // Covers non-client bar `kind` (horizontal or vertical) of a bare child
  // window; the overlay becomes a child of the window's parent.
  void BindWindow(TSkinControl* skin, HWND target, TBarKind kind);

  // --- operations
  // Asks the native bar where it is: shows this window exactly over it,
  // directly above the target in Z-order, or hides it when the bar is not
  // visible. When the bar cannot be queried the last placement stays.
  void Reposition();
  // Hides the window (Shown() false).
  void HideBar();
  // The part to show as hot or pressed (a ScrollPart or scroll code);
  // repaints when it changes.
  void SetHotPart(int part);

  // --- attributes
  bool Vertical() const { return FVertical; }
  TBarKind Kind() const { return FKind; }
  bool Shown() const { return FShown; }
  bool Tracking() const { return FTracking; }
  int HotPart() const { return FHotPart; }
  // The native bar in the target's window coordinates, as last placed (a
  // bkControl bar: the control's client area).
  const RECT& NativeRect() const { return FNative; }
  // The picture of the bar as it is to be painted now (empty when the skin
  // or the native bar gives nothing to paint).
  Image Compose() const;

  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void PaintWindow(HDC dc) override;
  bool EraseBackground(HDC dc) override { return true; }

 private:
  // The window owning the native bar (or the scroll-bar control), or null.
  HWND TargetWindow() const;
  // Native bar state; a scroll-bar control that cannot report it is
  // described from its scroll information.
  bool QueryBar(SCROLLBARINFO& info) const;
  bool QueryControl(SCROLLBARINFO& info) const;
  // Native bar geometry in bar coordinates; false when it cannot be read.
  bool ReadGeometry(ScrollBarGeometry& g, SCROLLBARINFO& info) const;
  // A point of this window in the native bar's coordinates.
  POINT ToBar(POINT p, const SCROLLBARINFO& info) const;
  int AlongAxis(POINT p) const { return FVertical ? p.y : p.x; }
  void MouseMove(TMessage& m);
  void MouseDown(TMessage& m);
  void MouseUp(TMessage& m);

  TSkinControl* FSkin = nullptr;
  TWinControl* FTarget = nullptr;
  HWND FTargetWindow = nullptr;  // bare target
  HWND FParentWindow = nullptr;  // its parent, ours too
  TBarKind FKind = bkVertical;
  bool FVertical = true;
  int FArrow = 17;
  RECT FNative{};
  POINT FPressCursor{};
  ThumbSpan FPressThumb;
  int FHotPart = kScrollNone;
  bool FShown = false;
  bool FTracking = false;
};

class TSkinScrollbar : public TSkinControl {
  TW_DECLARE_CLASS(TSkinScrollbar, TSkinControl)
 public:
  // --- construction
  // `owner`: the library control whose scroll bars are skinned.
  explicit TSkinScrollbar(TComponent* owner);
  ~TSkinScrollbar() override;

  // --- attach and detach
  // Attaches to the owning control, creates both bar windows (the vertical
  // one only in single-bar mode) and places them. A second call is ignored.
  virtual void AttachScrolled(TSkinFrameLink* form, TCanvas* canvas);
  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override {
    AttachScrolled(form, canvas);
  }
  // Frees the bar windows (unless the control's window is already gone).
  void Unskin() override;

  // --- attributes
  // Single-bar mode: only the vertical bar is skinned; the horizontal one
  // stays native. Set before the attach.
  bool SingleBar() const { return FSingleBar; }
  void SetSingleBar(bool single) { if (!FAttached) FSingleBar = single; }
  TWScrollbar* HorzBar() const { return FHorz; }
  TWScrollbar* VertBar() const { return FVert; }
  bool DrawsBorder() const { return FDrawBorder; }
 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void Notification(TComponent* c, TOperation op) override;

  // Border (1 pixel ButtonShadow, 1 pixel ButtonFace inside) and corner
  // square, in window coordinates.
  void DrawBorder(HDC dc);
  void FillCorner(HDC dc);
  void RepositionBars();
  void InvalidateBars();
  void HideBars();
  // Lets the overlays and the border follow WM_SKINENABLE (after attach).
  void HookSkinSwitch();

  TWScrollbar* FHorz = nullptr;
  TWScrollbar* FVert = nullptr;
  bool FDrawBorder = false;
  bool FSingleBar = false;

 private:
  // Sees WM_SKINENABLE after the routing switched skinning: the overlays
  // and the border follow the switch.
  void SwitchHook(TMessage& m);

  TWindowHook FSwitchHook;
};
