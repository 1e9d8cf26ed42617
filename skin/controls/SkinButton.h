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
// The glyph, drop-down and window-less buttons derive from it and share its
// painter: BeginPicture (background, frame, font, caption colour),
// DrawContents (what goes on the face) and EndPicture (one copy to the DC).
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

  // --- the shared painter
  // Whether the skin has a Buttons image.
  bool CanPaint() const;
  // The library control whose Caption and Font are drawn: the skinned
  // control, or the window-less button (the repaint delegate); nullptr for a
  // bare window.
  TControl* Source() const;
  // Frame of the Buttons strip for the current state.
  virtual int FrameFor(bool focused, bool enabled) const;
  // Sizes the off-screen picture, fills its background (the parent's when
  // transparent, else the face), draws `frame` of the Buttons strip when
  // `drawFrame`, selects the caption font and sets the caption colour for
  // the frame (shadow when `disabled` although the frame is not 3). Returns
  // the picture's DC, or nullptr when it cannot be made.
  HDC BeginPicture(int width, int height, int frame, bool drawFrame, bool disabled = false);
  // The face's contents: the caption centred (FCaption).
  virtual void DrawContents(HDC picture, int width, int height, int frame, bool focused);
  // Deselects the font and copies the picture to `dc` at `r`.
  void EndPicture(HDC dc, const RECT& r);
  // The caption drawer: first "||" made a line break, centred one pixel
  // above the middle; a focus rectangle around it when `focused` (unless
  // xoNoFocusRect).
  void DrawCentredCaption(HDC picture, const std::wstring& caption, int width, int height, bool focused);
  // A focus rectangle around `box` grown by 2, unless xoNoFocusRect.
  void DrawFocusAround(HDC picture, RECT box) const;

  bool FTransparent = false;

private:
  void TrackLeave();
  void Press();
  void CancelPress();
  // Ends a press released on the button with one click.
  void Release();
  bool Inside(LPARAM clientPoint) const;

  HDC FPicture = nullptr;  // between BeginPicture and EndPicture
  HGDIOBJ FOldFont = nullptr;
};
