// Skinned scroll bars (Windows).
//
// Classes in this file:
//   TWScrollbar     a window of our own laid exactly over one native
//                   non-client scroll bar of a control: painted from the skin,
//                   it hands every press back to the native bar (the platform
//                   does all scrolling, tracking and notification) and shows
//                   the part under the mouse or being scrolled
//   TSkinScrollbar  the skin object of a library control with non-client
//                   scroll bars: owns a horizontal and a vertical TWScrollbar,
//                   keeps them placed over the native bars, draws the border
//                   and the corner square between two bars
//
// The overlays stay visible only while the control has WS_CLIPSIBLINGS (the
// library's controls do): without it the control's frame painting draws over
// them. They answer WM_SKINQUERY with 1 so no dispatch skins them again.
//
// Not handled yet: stand-alone scroll-bar controls and the bars of bare
// windows (the child list of a simple combo box).
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
  enum TBarKind : uint8_t { bkHorizontal = 0, bkVertical = 1 };

  // --- construction
  // Owned by its skin object; hidden until the first Reposition.
  explicit TWScrollbar(TComponent* owner);
  // Covers bar `kind` of `target` (a library control with a parent) and
  // paints from `skin`'s skin.
  void Bind(TSkinScrollbar* skin, TWinControl* target, TBarKind kind);

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
  bool Vertical() const { return FKind == bkVertical; }
  bool Shown() const { return FShown; }
  bool Tracking() const { return FTracking; }
  int HotPart() const { return FHotPart; }
  // The native bar in the target's window coordinates, as last placed.
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
  bool QueryBar(SCROLLBARINFO& info) const;
  // Native bar geometry in bar coordinates; false when it cannot be read.
  bool ReadGeometry(ScrollBarGeometry& g, SCROLLBARINFO& info) const;
  int AlongAxis(POINT p) const { return FKind == bkVertical ? p.y : p.x; }
  void MouseMove(TMessage& m);
  void MouseDown(TMessage& m);
  void MouseUp(TMessage& m);

  TSkinScrollbar* FSkin = nullptr;
  TWinControl* FTarget = nullptr;
  TBarKind FKind = bkVertical;
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
  // Attaches to the owning control, creates both bar windows and places
  // them. A second call is ignored.
  virtual void AttachScrolled(TSkinFrameLink* form, TCanvas* canvas);
  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override {
    AttachScrolled(form, canvas);
  }
  // Frees the bar windows (unless the control's window is already gone).
  void Unskin() override;

  // --- attributes
  TWScrollbar* HorzBar() const { return FHorz; }
  TWScrollbar* VertBar() const { return FVert; }
  bool DrawsBorder() const { return FDrawBorder; }
  // The skin model in use (for the bar windows).
  const TSkinModel* Model() const { return Skin(); }

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

 private:
  // Sees WM_SKINENABLE after the routing switched skinning: the overlays
  // and the border follow the switch.
  void SwitchHook(TMessage& m);

  TWScrollbar* FHorz = nullptr;
  TWScrollbar* FVert = nullptr;
  bool FDrawBorder = false;
  TWindowHook FSwitchHook;
};
