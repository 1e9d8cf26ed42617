// Skinned push buttons (Windows).
//
// Classes in this file:
//   TSkinButton   a push button painted from the skin's Buttons strip
//                 (frames: 1 normal, 2 pressed, 3 disabled, 4 hot,
//                 5 focused). Serves library buttons (AttachControl) and the
//                 push buttons of dialogs that have no library form
//                 (AttachWindow). It takes over press, hover and click: the
//                 native button never sees a mouse press; the skin keeps the
//                 mouse while pressed, so a press dragged off the button is
//                 cancelled (no click) and a press released on it gives
//                 exactly one; the keyboard still reaches the native button.
//
// Without a Buttons image in the skin the native button paints itself.
//
// Not handled yet: glyph, drop-down and window-less buttons.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinButton : public TSkinControl {
  TW_DECLARE_CLASS(TSkinButton, TSkinControl)
public:
  explicit TSkinButton(TComponent* owner) : TSkinControl(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;
  // Also ends a press and lets the mouse go.
  void EndHover() override;

  // Paint the parent's background under the skin image instead of the face.
  bool Transparent() const { return FTransparent; }

protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

private:
  bool CanPaint() const;
  void TrackLeave();
  void Press();
  void CancelPress();
  // Ends a press released on the button with one click.
  void Release();
  bool Inside(LPARAM clientPoint) const;

  bool FTransparent = false;
};
