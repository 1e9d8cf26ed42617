// Skinned drop-down buttons (Windows).
//
// Classes in this file:
//   TSkinMenuButton  a push button with a drop-down arrow in its right-hand
//                    17 pixels; the caption is centred in the room left of
//                    it. Focus shows the hot frame (4) rather than frame 5.
//                    Press, hover and click are TSkinButton's.
#pragma once

#include "skin/controls/SkinButton.h"

class TSkinMenuButton : public TSkinButton {
  TW_DECLARE_CLASS(TSkinMenuButton, TSkinButton)
public:
  explicit TSkinMenuButton(TComponent* owner) : TSkinButton(owner) {}

protected:
  int FrameFor(bool focused, bool enabled) const override;
  void DrawContents(HDC picture, int width, int height, int frame, bool focused) override;
};
