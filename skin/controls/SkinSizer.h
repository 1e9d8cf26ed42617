// Skinned size grip (Windows).
//
// Classes in this file:
//   TSkinSizer   paints a size-grip scroll bar flat in the skin's ButtonFace
//                colour after its native painting.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinSizer : public TSkinControl {
  TW_DECLARE_CLASS(TSkinSizer, TSkinControl)
public:
  explicit TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

protected:
  void DrawSkin(HDC dc, const RECT& r) override;
};
