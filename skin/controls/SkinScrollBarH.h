// Skinned scroll bars of a bare window (Windows).
//
// Classes in this file:
//   TSkinScrollbarH  the overlays of TSkinScrollbar for a child window that
//                    has no library control (the child list of a simple
//                    combo box): subclasses the window, lays a horizontal and
//                    a vertical TWScrollbar over its non-client bars and keeps
//                    them placed, fills the corner between two bars. Draws no
//                    border.
//
// The window gets WS_CLIPSIBLINGS while skinned (its own bar painting would
// otherwise draw over the overlays); detach gives the style back.
#pragma once

#include "skin/controls/SkinScrollBar.h"

class TSkinScrollbarH : public TSkinScrollbar {
  TW_DECLARE_CLASS(TSkinScrollbarH, TSkinScrollbar)
 public:
  // `owner`: the skin object that made it (or nullptr: the frame's list owns it).
  explicit TSkinScrollbarH(TComponent* owner) : TSkinScrollbar(owner) {}

  // --- attach and detach
  // Subclasses `window`, creates both bar windows and places them. A second
  // attach is ignored, as is an attach to a library control.
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;
  void AttachScrolled(TSkinFrameLink*, TCanvas*) override {}
  // Frees the bar windows (unless the window is gone) and gives the style back.
  void Unskin() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;

 private:
  bool FClipTaken = false;
};
