// Pictures of the skinned combo box, track-bar channel and up-down control,
// composed off-screen (portable).
//
// Functions in this file:
//   ComposeComboBox     border and drop button of a combo box
//   ComposeTrackChannel the channel image cut into three pieces
//   ComposeUpDown       the two arrow buttons of an up-down control
//
// The combo picture is magenta wherever the window is to keep what the
// platform drew (the text area, keyed corners): the painter copies it with
// magenta as the transparent colour.
#pragma once

#include "skin/controls/InputGeometry.h"
#include "skin/data/Image.h"
#include "skin/data/SkinColour.h"

class TDataSkinBorder;
class TDataSkinObject;

struct ComboState {
  bool Pressed = false, Hot = false, Focused = false, Enabled = true;
};

struct ComboSkin {
  const TDataSkinBorder* Button = nullptr;  // ComboButton; its Style picks the layout
  const TDataSkinObject* Sunk = nullptr;    // SunkEdge
  const TDataSkinObject* Extra = nullptr;   // ExtraImages (arrow glyphs)
  TColour Shadow = 0;                       // ButtonShadow, for the flat layout
  TColour Window = 0xFFFFFF;                // inner ring and strip of the flat layout
};

struct ComboPicture {
  Image Picture;   // empty when there is nothing to draw
  ImgRect Button;  // where the drop button went (for hot tracking)
  ImgRect Keep;    // text area to leave untouched (empty: none)
};

// `arrowWidth`: the system's horizontal scroll-bar arrow width; `thumbWidth`:
// its vertical scroll-thumb height (the flat layout's strip).
ComboPicture ComposeComboBox(int width, int height, const ComboSkin& skin, const ComboState& state,
                             bool leftButton, int arrowWidth, int thumbWidth);

// The channel image (frame 1 of its strip) for a native channel `channel`,
// placed by TrackChannelPlace: for a horizontal channel the left LeftWidth
// and right RightWidth columns unscaled and the middle stretched between;
// for a vertical one the top TopHeight and bottom BottomHeight rows and the
// middle stretched. `at` receives the picture's place. Empty without an image.
Image ComposeTrackChannel(const TDataSkinObject& track, bool vertical, ImgRect channel, ImgRect* at);

// Both buttons on a `face` background. With `strip` (an 8-frame UpDown
// element): each button's frame stretched, then the same frame of its glyph
// image centred, both magenta transparent. Without: an outline in
// `dkShadow`, filled `face` (normal, disabled) or `shadow` (pressed, hot),
// and an arrow of short lines in `dkShadow`.
Image ComposeUpDown(int width, int height, bool horizontal, const TDataSkinBorder* strip,
                    const UpDownState& state, TColour face, TColour shadow, TColour dkShadow);
