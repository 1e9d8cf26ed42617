// Skinned bare container window (Windows).
//
// Classes in this file:
//   TSkinBoxH   a container window without a library object (a dialog nested
//               in a dialog): its background, and that of its static texts,
//               in the skin's ButtonFace colour.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinBoxH : public TSkinControl {
  TW_DECLARE_CLASS(TSkinBoxH, TSkinControl)
public:
  explicit TSkinBoxH(TComponent* owner) : TSkinControl(owner) {}
  ~TSkinBoxH() override;

protected:
  bool BeforeMessage(TMessage& m) override;

private:
  HBRUSH FaceBrush();
  HBRUSH FOwnBrush = nullptr;  // when the frame has no face brush
};
