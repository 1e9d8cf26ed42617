// The face of the window-less buttons (speed buttons, tool buttons).
//
// Functions in this file:
//   TrackButtonHot  the hot state following the pointer, with repaints
//   DrawButtonEdge  the raised or sunken edge, thin on a flat button
#pragma once

#include <windows.h>

#include "gui/Controls.h"

// Sets `hot` on entering or moving over `button` and clears it on leaving,
// repainting when it changes. The left-button messages also set it; for them
// the answer is true: the caller repaints once the base class has handled
// the message (the pressed state changes there).
bool TrackButtonHot(TControl& button, bool& hot, UINT msg);

// A sunken edge, or a raised one; a flat button shows thin edges, and a
// raised one only while `hot`.
void DrawButtonEdge(HDC dc, RECT r, bool flat, bool sunken, bool hot);
