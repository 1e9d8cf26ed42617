// Skinned stand-alone scroll bar and scroll box (Windows).
//
// Classes in this file:
//   TSkinScControl  for a scroll-bar control: one TWScrollbar covering the
//                   whole control, painted from the skin at the skin's
//                   thickness and stretched over it; presses go to the
//                   control (its own tracking loop scrolls), the wheel too,
//                   and every change of its range or position repaints the
//                   overlay. For any other control (a scroll box, an
//                   auto-scrolling container) it covers the non-client bars
//                   as TSkinScrollbar does.
#pragma once

#include "skin/controls/SkinScrollBar.h"

class TSkinScControl : public TSkinScrollbar {
  TW_DECLARE_CLASS(TSkinScControl, TSkinScrollbar)
 public:
  explicit TSkinScControl(TComponent* owner) : TSkinScrollbar(owner) {}

  // --- attach
  // A scroll-bar control (with a parent) gets its one bar window; other
  // controls their non-client overlays. A second call is ignored.
  void AttachScrolled(TSkinFrameLink* form, TCanvas* canvas) override;

  // --- attributes
  // The bar window covering a scroll-bar control, or null.
  TWScrollbar* Bar() const { return FWholeControl ? FVert : nullptr; }

 protected:
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  bool FWholeControl = false;
};
