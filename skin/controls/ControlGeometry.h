// Geometry and state rules of the skinned push button, group box and
// progress bar (portable).
//
// Functions in this file:
//   ButtonFrame          frame of the Buttons strip for a button state
//   ButtonCaptionText    the caption with its first "||" made a line break
//   ButtonCaptionColour  caption colour for a frame
//   PlaceButtonCaption   where the measured caption goes in the button
//   GroupFrameTop        top line of a group box's frame for a font
//   GroupCaptionRect     where a group box's caption is drawn
//   ProgressFillWidth    filled width of a progress bar
//
// Rectangles are ImgRect (right and bottom exclusive); divisions truncate
// toward zero.
#pragma once

#include <string>

#include "skin/data/Image.h"
#include "skin/data/SkinColour.h"

class TDataSkinButton;

// Frames of the Buttons strip (1-based).
enum : int { kButtonNormal = 1, kButtonPressed = 2, kButtonDisabled = 3, kButtonHot = 4, kButtonFocused = 5 };

// Disabled wins over everything; then pressed, hot, focused.
int ButtonFrame(bool pressed, bool hot, bool focused, bool enabled);

// Only the first "||" becomes CR LF.
std::wstring ButtonCaptionText(const std::wstring& caption);

// The skin's caption colour for normal, hot and pressed frames when the skin
// sets it; the system button-shadow colour when disabled; else `own` (the
// control's font colour, or the skin's button text colour for a bare window).
TColour ButtonCaptionColour(int frame, const TDataSkinButton& buttons, TColour own);

// The caption box of a button `width` x `height` whose caption measured
// `textWidth` x `textHeight`: centred one pixel above the middle; when not
// centred, only moved down and spanning the full width.
ImgRect PlaceButtonCaption(int width, int height, int textWidth, int textHeight, bool centred);

// The frame's top line for a font whose "0" is `textHeight` pixels high.
int GroupFrameTop(int textHeight);

// The caption's drawing rectangle inside `bounds`: 8 pixels in from the left,
// or from the right for a right-aligned (WS_EX_RIGHT) group box.
ImgRect GroupCaptionRect(ImgRect bounds, bool rightAligned);

// Width filled for `position` within `minimum`..`maximum` on a bar `width`
// pixels long, rounded to nearest (halves away from zero); 0 when the
// position is at or below the minimum or the range is empty, `width` at or
// above the maximum.
int ProgressFillWidth(int width, int position, int minimum, int maximum);
