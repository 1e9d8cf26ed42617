// Column-header geometry and the header's button picture (portable).
//
// Functions in this file:
//   HeaderTextAlign    alignment of an item's text from its format bits
//   HeaderContentX     where an item's image and text start
//   HeaderHotRect      the rectangle an item reacts to the mouse in
//   HeaderHitTest      item under a point
//   ComposeHeaderBar   the column buttons and the strip past the last column
//
// Texts and images are drawn on top by the Windows side.
#pragma once

#include <vector>

#include "skin/data/Image.h"
#include "skin/data/WinSkinData.h"

enum HeaderAlign { haLeft = 0, haCentre = 1, haRight = 2 };

// HDF_RIGHT (1) -> right, HDF_CENTER (2) -> centre, otherwise left.
HeaderAlign HeaderTextAlign(int format);

// Offset from an item's left edge of its image (the text follows the image):
// 3 for left alignment, centred or 2 pixels from the right otherwise; an
// offset below 2 becomes 1. `imageWidth` counts only when the image is used.
int HeaderContentX(HeaderAlign align, int itemWidth, int imageWidth, int textWidth);

// An item's rectangle shrunk by 3 at its left and right (the part between two
// dividers, so resizing a column does not light a button).
ImgRect HeaderHotRect(ImgRect item);

// Index of the first hot rectangle holding (x, y); -1 for none.
int HeaderHitTest(const std::vector<ImgRect>& hotRects, int x, int y);

// A width x height header drawn from the Headerbar object: frame 2 for the
// item `hot`, frame 1 for the others and for the strip from the greatest
// right edge to the header's end. Empty when the object has no image.
Image ComposeHeaderBar(const TDataSkinObject& bar, const std::vector<ImgRect>& items, int hot, int width,
                       int height, uint32_t face);
