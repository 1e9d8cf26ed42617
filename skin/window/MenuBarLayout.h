// The skinned menu bar without windows: where its buttons sit, which one is
// under a point, which one an access key names and where the arrow keys
// lead while a drop-down is open (portable).
//
// Functions in this file:
//   MenuBandRect        the band below the caption, in window coordinates
//   MenuBarStart        where the first caption starts inside the band
//   TMenuBarEntry       one top-level item as the layout sees it
//   LayoutMenuBar       hit rectangles of all buttons
//   MenuBarButtonAt     the button under a point
//   MenuAccessKey       the "&" letter of a caption
//   MenuBarButtonByKey  the first visible, enabled button with that letter
//   TArrowKey, MenuBarArrowTarget   the top-level item an arrow key moves to
//
// Window coordinates: origin at the window's top-left corner. Rectangles are
// (left, top, right, bottom), right and bottom exclusive.
#pragma once

#include <string>
#include <vector>

#include "skin/data/Image.h"

// (BorderLeft, CaptionHeight, width - BorderRight, CaptionHeight + band).
ImgRect MenuBandRect(int windowWidth, int borderLeft, int captionHeight, int borderRight, int bandHeight);

// With a MenuBar element: its left margin + 4 (right-to-left: its right
// margin + 8); without one 6. A band narrower than that start begins at 12.
int MenuBarStart(bool hasElement, int leftMargin, int rightMargin, bool rightToLeft, int bandWidth);

struct TMenuBarEntry {
  bool Visible = true;
  int TextWidth = 0;       // the caption measured in the menu font
  bool EmptyCaption = false;
};

// One rectangle per entry, in window coordinates: a visible entry is text
// width + 10 wide (0 for an empty caption) and as high as the band less its
// last row; buttons run from `start` rightwards, or right to left from the
// band's right edge - start. A hidden entry gets an empty rectangle.
std::vector<ImgRect> LayoutMenuBar(const std::vector<TMenuBarEntry>& entries, ImgRect band, int start,
                                   bool rightToLeft);

// Index of the first button whose rectangle holds the point and whose
// caption is not empty; -1 when none.
int MenuBarButtonAt(const std::vector<ImgRect>& rects, const std::vector<TMenuBarEntry>& entries, int x, int y);

// The access key of a caption ("&File" -> 'F'), upper case; "&&" is a
// literal ampersand; 0 when none.
wchar_t MenuAccessKey(const std::wstring& caption);

struct TMenuBarKeyEntry {
  std::wstring Caption;
  bool Visible = true;
  bool Enabled = true;
};
// Index of the first visible, enabled entry whose access key is `key` (any
// letter case); -1 when none.
int MenuBarButtonByKey(const std::vector<TMenuBarKeyEntry>& entries, wchar_t key);

enum class TArrowKey { Left, Right };
// Where an arrow key pressed in an open drop-down leads: Left goes to the
// previous top-level item unless the selection sits in a nested submenu;
// Right goes to the next one when nothing is selected or the selected item
// opens no submenu. Both wrap around. Right to left swaps the keys. -1: the
// key stays with the menu.
int MenuBarArrowTarget(TArrowKey key, int open, int count, bool selectionInNestedMenu, bool anySelected,
                       bool selectedOpensSubmenu, bool rightToLeft);
