// Skinned status bar (Windows).
//
// Classes in this file:
//   TSkinStatusBar   repaints a library status bar completely: the face,
//                    each panel's edge from the skin's StatusBarEdges strip
//                    (frame 1 lowered, 2 raised, 3 no bevel; plain 1-pixel
//                    3-D edges without it), the panel texts in its
//                    NormalColour2, the size grip from frame 5 of
//                    ExtraImages, and then the owner's drawing of its
//                    owner-drawn panels (OnDrawPanel). With no panels, or
//                    SimplePanel on, the simple text over the whole bar.
//
// A bare status-bar window (no library control) keeps its native look.
#pragma once

#include "skin/controls/WinSubClass.h"

class TStatusBar;

class TSkinStatusBar : public TSkinControl {
  TW_DECLARE_CLASS(TSkinStatusBar, TSkinControl)
 public:
  explicit TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}

 protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  TStatusBar* Bar() const;
  // A panel's edge: `frame` of StatusBarEdges, or the 3-D edges.
  void DrawEdges(HDC dc, const RECT& r, int frame) const;
  // The owner's drawing of the owner-drawn panels, on the window's DC.
  void DrawOwnerPanels(HDC dc);
};
