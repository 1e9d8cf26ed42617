// Window regions from skin bitmaps (Windows).
//
// Functions in this file:
//   RegionFromBitmap   region of the non-key pixels, merged 2000 rectangles
//                      at a time
#pragma once

#include <windows.h>

#include "skin/data/ImgUtil.h"

// Union of the pixels outside the key range (see RegionRects), shifted by the
// offsets. The caller owns the region; it is empty when no pixel is outside.
HRGN RegionFromBitmap(const Image& img, int xOffset, int yOffset, int blueTolerance,
                      int greenTolerance, int redTolerance, COLORREF keyColour);
