// Skinned date/time picker (Windows).
//
// Classes in this file:
//   TSkinDateTime  the edit's skinned border around a date/time picker, and
//                  a TArrowButton over the picker's own drop button
//   TArrowButton   a small window painted with the skin's ComboArrow (frame 4
//                  while the mouse is over it, else 1) on ButtonFace; a press
//                  on it is handed to the picker's drop button, so the picker
//                  opens its calendar as if pressed itself
//
// A picker in up-down mode has no drop button and gets no arrow window.
#pragma once

#include "gui/Controls.h"
#include "skin/controls/SkinEdit.h"

class TSkinDateTime;

class TArrowButton : public TWinControl {
  TW_DECLARE_CLASS(TArrowButton, TWinControl)
 public:
  // Owned by its skin object.
  explicit TArrowButton(TComponent* owner);
  // Places the window over the drop button of `picker` and paints from
  // `skin`'s skin.
  void Bind(TSkinDateTime* skin, TWinControl* picker);

  bool Hot() const { return FHot; }
  void WndProc(TMessage& m) override;

 protected:
  void PaintWindow(HDC dc) override;
  bool EraseBackground(HDC) override { return true; }

 private:
  void SetHot(bool hot);

  TSkinDateTime* FSkin = nullptr;
  TWinControl* FPicker = nullptr;
  bool FHot = false;
};

class TSkinDateTime : public TSkinEdit {
  TW_DECLARE_CLASS(TSkinDateTime, TSkinEdit)
 public:
  explicit TSkinDateTime(TComponent* owner) : TSkinEdit(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  // Also removes the arrow window and gives the picker its style back.
  void Unskin() override;

  // The arrow window, or null.
  TArrowButton* ArrowButton() const { return FArrow; }

 private:
  friend class TArrowButton;
  TArrowButton* FArrow = nullptr;
  bool FClipTaken = false;
};
