// Skinned window-less buttons (Windows).
//
// Classes in this file:
//   TSkinSpeedButton  a window-less (graphic) button painted on its parent
//                     from the skin's Buttons strip: hooked through the
//                     library control's message hook only; its parent hands
//                     it paint, mouse and mouse enter/leave messages. The
//                     library keeps Down, groups and the click; the skin
//                     follows hot and pressed and paints: Down shows the
//                     pressed frame and glyph 4, a Flat button shows the
//                     skin frame only while pressed or hot. A press dragged
//                     off the button is cancelled by the leave notification
//                     (the library then gives no click).
//
// The object is owned by the button; it is attached with AttachControl like
// every kind (manage-colour is ignored: the button takes its parent's look).
#pragma once

#include "skin/controls/SkinBitButton.h"

class TSkinSpeedButton : public TSkinBitButton {
  TW_DECLARE_CLASS(TSkinSpeedButton, TSkinBitButton)
public:
  explicit TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

  // Attaches to the owning window-less control (a second attach, or an
  // owner that has a window, is ignored).
  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void EndHover() override;
  // The skinned button.
  TControl* Button() const { return FRepaintDelegate; }

protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  // With a DC: paints into it (origin at the button); without: repaints the
  // button on its parent now.
  void PaintWindow(HDC dc) override;
  void DrawSkin(HDC dc, const RECT& r) override;

private:
  bool FPainting = false;
};
