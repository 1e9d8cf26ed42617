// Geometry and state rules of the glyph, drop-down and window-less buttons
// and of check boxes and radio buttons (portable).
//
// Types and functions in this file:
//   TGlyphLayout          where the glyph sits beside the caption
//   GlyphLayoutFromName   a Layout identifier ("blGlyphTop", ...) to a layout
//   PlaceGlyphAndText     glyph and caption positions on a glyph button
//   BitButtonGlyph        which glyph of the strip a frame shows
//   SpeedButtonLook       frame and glyph of a window-less button
//   MenuButtonFrame       frame of a drop-down button
//   PlaceMenuButton       caption position and arrow of a drop-down button
//   CheckBoxFrame         frame of the check-box strip for a state
//   RadioButtonFrame      frame of the radio-button strip for a state
//   PlaceCheckBox         box (or circle) and caption area of either
//
// Divisions truncate toward zero. Text flags use the values of the platform's
// text-drawing flags (word break 0x10, centre 0x1, right 0x2).
#pragma once

#include <string>

#include "skin/data/Image.h"

enum class TGlyphLayout { Left, Right, Top, Bottom };

constexpr unsigned kTextWordBreak = 0x10, kTextCenter = 0x1, kTextRight = 0x2;

// Lower-cased "blglyphleft", "blglyphright", "blglyphtop", "blglyphbottom";
// anything else is Left.
TGlyphLayout GlyphLayoutFromName(const std::wstring& name);

struct TGlyphPlacement {
  int glyphX = 0, glyphY = 0;
  int textX = 0, textY = 0;
  unsigned textFlags = kTextWordBreak;
};

// Client size C, glyph size G, measured caption size T. `margin` and
// `spacing` -1 mean automatic; `centred` (Alignment taCenter) recomputes the
// margin as an automatic one does. A missing glyph or caption leaves no
// spacing. `speedButton`: an automatic margin with a given spacing gets one
// pixel more.
TGlyphPlacement PlaceGlyphAndText(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight,
                                  int textWidth, int textHeight, TGlyphLayout layout, int margin, int spacing,
                                  bool centred, bool speedButton);

// Glyph (1-based) of a glyph button: 3 on the pressed frame, 2 disabled, else 1.
int BitButtonGlyph(int frame, bool enabled);

struct TSpeedLook {
  int frame = 1;
  int glyph = 1;
  bool drawFrame = true;  // a flat button shows the skin frame only pressed or hot
};
// Down shows the pressed frame with glyph 4; then disabled (frame 3, glyph 2),
// pressed (2, glyph 3), hot (4), normal (1).
TSpeedLook SpeedButtonLook(bool down, bool enabled, bool pressed, bool hot, bool flat);

// Disabled 3; pressed 2; focused or hot 4; else 1.
int MenuButtonFrame(bool pressed, bool hot, bool focused, bool enabled);

struct TMenuButtonPlace {
  int textX = 0, textY = 0;
  int arrowX[3] = {}, arrowY[3] = {};  // tip first
};
// A button width x height whose caption measured textWidth x textHeight in
// the room left of the 17-pixel arrow part.
TMenuButtonPlace PlaceMenuButton(int width, int height, int textWidth, int textHeight);

// What decides a check box's frame.
struct TCheckBoxState {
  bool checked = false;        // BM_GETSTATE has BST_CHECKED
  bool indeterminate = false;  // BM_GETSTATE has BST_INDETERMINATE
  bool disabled = false;       // WS_DISABLED
  // A library control's properties (empty names: absent).
  bool hasState = false;
  std::wstring state;  // State identifier
  bool hasChecked = false;
  std::wstring checkedText;  // Checked as text
  bool hasDataField = false;
  int dataState = 0;  // 0 none, else the last BM_SETCHECK wParam + 1
  bool hasDataBinding = false;
};
// Frame (1-based) of a `frameCount`-frame check-box strip.
int CheckBoxFrame(const TCheckBoxState& s, int frameCount);

// Frame (1-based) of a `frameCount`-frame radio-button strip. `hasChecked`
// and `checkedText`: a library control's Checked property, which overrides
// `checked`.
int RadioButtonFrame(bool checked, bool hasChecked, const std::wstring& checkedText, bool disabled,
                     int frameCount);

struct TCheckPlace {
  ImgRect box;
  ImgRect caption;
};
// Box (frameWidth x frameHeight, centred vertically) at the left of
// `bounds` with the caption area after it, or at the right with `leftText`
// (a radio button's circle one pixel further in).
TCheckPlace PlaceCheckBox(ImgRect bounds, int frameWidth, int frameHeight, bool leftText, bool radio);
