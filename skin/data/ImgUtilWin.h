// Bitmap utilities of the skin engine: every device-context routine
// (Windows). Umbrella include; each concern has its own header:
//   DibSurface.h      off-screen DIB surfaces, pixels to and from GDI
//   DrawingScratch.h  the shared scratch objects and their owner
//   DcDrawing.h       frame drawers, gradient and parent background on a DC
//   BitmapRegion.h    regions from skin bitmaps
//   WideText.h        text helpers
#pragma once

#include "skin/data/BitmapRegion.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/DibSurface.h"
#include "skin/data/DrawingScratch.h"
#include "skin/data/WideText.h"
