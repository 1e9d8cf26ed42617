// Geometry and state rules of the skinned combo box, track bar and up-down
// control (portable).
//
// Functions in this file:
//   ComboButtonFrame      frame of the ComboButton strip for the box's state
//   FlatComboButtonFrame  the same for the flat layout (ComboButton Style 1)
//   ComboButtonLayout     drop-button place and kept text area (any other Style)
//   FlatComboLayout       button strip and button image place (Style 1)
//   UpDownHalves          the two buttons of an up-down control
//   UpDownStates          the state of each button
//   UpDownFrame           frame of an UpDown strip for a button and state
//   KeepInsideEdit        an embedded up-down's picture kept off the edit border
//   TrackChannelPlace     where the channel image goes in the native channel
//
// Rectangles are ImgRect (right and bottom exclusive); divisions truncate
// toward zero.
#pragma once

#include "skin/data/Image.h"

// Frames of the ComboButton, SunkEdge, ExtraImages and ComboArrow strips and
// of each half of the UpDown strips (1-based).
enum : int { kInputNormal = 1, kInputPressed = 2, kInputDisabled = 3, kInputHot = 4 };

// Disabled wins; then pressed; then focused or hot.
int ComboButtonFrame(bool pressed, bool hot, bool focused, bool enabled);
// Pressed wins; then focused or hot; then disabled.
int FlatComboButtonFrame(bool pressed, bool hot, bool focused, bool enabled);

struct ComboLayout {
  ImgRect Keep;    // text area the skin leaves as the platform drew it
  ImgRect Button;  // where the drop button is drawn
};

// A box `width` x `height` whose drop button is `arrowWidth` wide (the
// system's horizontal scroll-bar arrow), at the right or at the left.
ComboLayout ComboButtonLayout(int width, int height, int arrowWidth, bool leftButton);

struct FlatComboParts {
  ImgRect Strip;   // filled with the box's background inside the rings
  ImgRect Button;  // one ComboButton frame wide, no higher than the image
};

// Flat layout: two rings, a strip `stripWidth` wide at the inner right (or
// left) edge, and the button image (`frameWidth` x `imageHeight`) there.
FlatComboParts FlatComboLayout(int width, int height, int stripWidth, int frameWidth, int imageHeight,
                               bool leftButton);

struct UpDownHalf {
  ImgRect First;   // upper (vertical) or left (horizontal) button
  ImgRect Second;
};

// Split at half the height (vertical) or half the width (horizontal).
UpDownHalf UpDownHalves(int width, int height, bool horizontal);

struct UpDownState {
  int First = kInputNormal, Second = kInputNormal;
};

// The half under the cursor (client coordinates) shows pressed while
// `pressed`, hot while `hot`, else normal; the other half is normal. A
// disabled control shows disabled on both.
UpDownState UpDownStates(int width, int height, bool horizontal, int cursorX, int cursorY, bool pressed,
                         bool hot, bool enabled);

// Frame of the 8-frame strip: first button 1-4, second 5-8.
int UpDownFrame(bool secondButton, int state);

// `r` (the up-down's own coordinates) shrunk so that its top, bottom and
// right edges stay `margin` pixels inside the parent edit; `self` and
// `parent` are the two windows' screen rectangles.
ImgRect KeepInsideEdit(ImgRect r, ImgRect self, ImgRect parent, int margin = 3);

// The channel picture's place: a vertical channel image keeps its own width
// and is centred across `channel` when narrower; a horizontal one keeps its
// height and is centred the same way. Along the axis it spans the channel.
ImgRect TrackChannelPlace(ImgRect channel, int imageWidth, int imageHeight, bool vertical);
