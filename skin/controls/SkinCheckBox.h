// Skinned check boxes and radio buttons (Windows).
//
// Classes in this file:
//   TSkinCheckControl  what both share: the box (or circle) is one frame of a
//                      strip of the skin's Buttons section, drawn magenta-
//                      transparent at the left (or, with BS_LEFTTEXT, the
//                      right), centred vertically. On a library control whose
//                      strip exists (Mode() 1) the whole control is painted:
//                      face (or the parent's background when transparent),
//                      box, caption in the control's font (shadow colour when
//                      disabled) and the focus rectangle. Otherwise (a bare
//                      window, or no strip) only the box is painted over the
//                      native picture. Clicks, keys and the check state stay
//                      the native control's (so a radio group stays
//                      exclusive the native way); the skin repaints when the
//                      state or the press changes.
//   TSkinCheckBox      the CheckButton strip; unchecked, checked, disabled,
//                      grayed and indeterminate frames
//   TSkinRadioButton   the RadioButton strip; unchecked, checked, disabled
#pragma once

#include "skin/controls/WinSubClass.h"

class Image;

class TSkinCheckControl : public TSkinControl {
  TW_DECLARE_CLASS(TSkinCheckControl, TSkinControl)
public:
  explicit TSkinCheckControl(TComponent* owner) : TSkinControl(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;
  bool Transparent() const { return FTransparent; }
  // The frame (1-based) of the strip the control shows now.
  virtual int StripFrame(int frameCount) const = 0;

protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

  // The strip (nullptr when the skin has no Buttons section) and its frame count.
  virtual const Image* Strip() const = 0;
  virtual int StripFrameCount() const = 0;
  virtual bool IsRadio() const = 0;

private:
  bool HasStrip() const;

  bool FTransparent = false;
};

class TSkinCheckBox : public TSkinCheckControl {
  TW_DECLARE_CLASS(TSkinCheckBox, TSkinCheckControl)
public:
  explicit TSkinCheckBox(TComponent* owner) : TSkinCheckControl(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  int StripFrame(int frameCount) const override;
  // 0 before any BM_SETCHECK, else its last wParam + 1.
  int DataState() const { return FDataState; }

protected:
  void AfterMessage(TMessage& m) override;
  const Image* Strip() const override;
  int StripFrameCount() const override;
  bool IsRadio() const override { return false; }

private:
  int FDataState = 0;
};

class TSkinRadioButton : public TSkinCheckControl {
  TW_DECLARE_CLASS(TSkinRadioButton, TSkinCheckControl)
public:
  explicit TSkinRadioButton(TComponent* owner) : TSkinCheckControl(owner) {}

  int StripFrame(int frameCount) const override;

protected:
  const Image* Strip() const override;
  int StripFrameCount() const override;
  bool IsRadio() const override { return true; }
};
