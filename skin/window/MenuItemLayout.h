// Geometry of a skinned menu item (portable): widths added to measured items
// and the boxes of icon, caption and shortcut inside an item.
//
// Functions in this file:
//   PopupItemWidth, MainMenuItemWidth   widths of measured items
//   NativeItemSize      size of an item of a menu we did not build
//   MenuItemBoxes       icon box, caption and shortcut bands of one item
//   SeparatorSource     the band of the MenuItem strip a separator is cut from
#pragma once

#include "skin/data/Image.h"

// Popup menus and the system menu: the measured width plus the MenuItem
// element's left margin (when the skin has the element), 12, and 23 more
// without an image list.
int PopupItemWidth(int measured, bool hasMenuItem, int leftMargin, bool hasImages);
// Drop-downs of a main menu: plus the left margin, 10, and 25 more without
// an image list.
int MainMenuItemWidth(int measured, bool hasMenuItem, int leftMargin, bool hasImages);

struct TItemSize {
  int Width = 0, Height = 0;
};
// An item known only by its text: text width + 26 (+ the left margin);
// height text height + 4, or 8 for an empty text (a separator).
TItemSize NativeItemSize(int textWidth, int textHeight, bool emptyText, bool hasMenuItem,
                         int leftMargin);

struct TMenuItemBoxes {
  ImgRect Icon;      // empty for a separator
  ImgRect Caption;   // where the caption is laid out (before vertical centring)
  // Right edge of the shortcut band (right-aligned text ends here).
  int ShortcutRight = 0;
};
// Boxes of an item at `item` (any origin). `imageWidth` is the image list's
// width (0 without one: 16); a checked item's box is at least 16 wide. In a
// right-to-left menu the icon box sits at the right edge and the texts run
// from the left.
TMenuItemBoxes MenuItemBoxes(ImgRect item, bool separator, bool checked, int imageWidth,
                             bool hasMenuItem, int leftMargin, bool rightToLeft);

// The part of frame 2 of a `frameCount`-frame MenuItem strip of size
// imageWidth x imageHeight that a separator of the given height is cut from:
// its bottom band when the image is taller than the item.
ImgRect SeparatorSource(int imageWidth, int imageHeight, int frameCount, int itemHeight);
