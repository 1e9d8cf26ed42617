// Geometry of the skinned status bar (portable).
//
// Functions in this file:
//   StatusPanelBox      a panel's painted rectangle
//   StatusPanelFrame    edge frame of a panel bevel
//   StatusGripRect      where the size grip goes
//   StatusPanelAlign    a panel's text alignment
#pragma once

#include <cstdint>

#include "skin/data/Image.h"

// Panel bevels as the library numbers them.
enum StatusBevel : uint8_t { kBevelNone = 0, kBevelLowered = 1, kBevelRaised = 2 };

// A panel's rectangle widened by 2 at the right; the last panel reaches the
// bar's right edge.
ImgRect StatusPanelBox(ImgRect panel, bool last, int barWidth);

// Frame of the StatusBarEdges strip: lowered 1, raised 2, none 3.
int StatusPanelFrame(StatusBevel bevel);

// The grip (one frame `frameWidth` x `frameHeight`) at the bottom-right of a
// bar width x height, ending one pixel inside its right and bottom edges.
ImgRect StatusGripRect(int width, int height, int frameWidth, int frameHeight);

// Text alignments in the library's order (left, right, centre).
enum StatusAlign : uint8_t { kStatusLeft = 0, kStatusRight = 1, kStatusCentre = 2 };

// The alignment a panel's text is drawn with: left and right swap when the
// panel reads right to left.
StatusAlign StatusPanelAlign(StatusAlign align, bool rightToLeft);
