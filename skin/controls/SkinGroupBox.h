// Skinned group box (Windows).
//
// Classes in this file:
//   TSkinGroupBox   repaints a group box completely: flat skin face, a thin
//                   rounded frame in the skin's shadow colour, the caption
//                   cutting the frame line, and the window-less children
//                   (labels) on top. A bare-window group box lets the native
//                   painting run and is painted over it.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinGroupBox : public TSkinControl {
  TW_DECLARE_CLASS(TSkinGroupBox, TSkinControl)
public:
  explicit TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;

protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};
