// Skinned up-down control (Windows).
//
// Classes in this file:
//   TSkinUpDown  paints both arrow buttons of an up-down (spin) control from
//                the skin's UpDown.Vert or UpDown.Horz strip and glyphs
//                (first button frames 1-4, second 5-8: normal, pressed,
//                disabled, hot), or plain buttons without them. The button
//                under the mouse shows pressed while the left button is
//                down; the native control keeps doing the counting and its
//                buddy. Stand-alone, or embedded in an edit (kept off the
//                edit's 3-pixel border, on a white background).
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinUpDown : public TSkinControl {
  TW_DECLARE_CLASS(TSkinUpDown, TSkinControl)
 public:
  explicit TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

  // The arrows are painted natively once this object has let go.
  void Unskin() override;

  // --- attributes
  // Set by the edit that holds the control.
  bool Embedded() const { return FEmbedded; }
  void SetEmbedded(bool embedded) { FEmbedded = embedded; }
  // Laid out side by side even without UDS_HORZ.
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool horizontal) { FHorizontal = horizontal; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  bool FEmbedded = false;
  bool FHorizontal = false;
};
