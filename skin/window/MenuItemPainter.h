// The skinned menu-item painter (Windows): owner-drawn items of popup menus,
// drop-downs and the system menu.
//
// Classes and functions in this file:
//   TMenuSkin          what the menu painters read of a skin definition
//   MenuSkinOf         the same taken from a TSkinData
//   TMenuItemData      one item as the painter sees it
//   ReadNativeItem     the item data of an item of any menu, by position
//   MeasurePopupItem   WM_MEASUREITEM answer for a popup or system-menu item
//   PaintMenuItem      draws one item (background from the menu window's
//                      skinned picture, MenuItem frame, icon or check,
//                      caption, shortcut)
//
// The background comes from the menu window's TWinSkinPopMenu (found through
// the popup list by menu handle), so items and border form one picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class TSkinModel;
class TSkinData;
class TImageList;

struct TMenuSkin {
  const TSkinModel* Model = nullptr;  // null: no skin (nothing is skinned)
  uint32_t SkinControls = 0;          // the skin definition's SkinControls set
  uint32_t Options = 0;               // its Options set
  int DisableTag = 99;
  TImageList* MenuImages = nullptr;   // restore, maximize, minimize, close glyphs
};
// Null model while the definition's skin is empty.
TMenuSkin MenuSkinOf(TSkinData& skin);

struct TMenuItemData {
  std::wstring Caption;   // "-" for a separator
  std::wstring Shortcut;  // right-aligned text; empty for none
  bool Checked = false;
  bool Disabled = false;
  bool Default = false;   // drawn bold
  int ImageIndex = -1;    // into the image list; -1 for none
  HMENU Menu = nullptr;   // the menu the item belongs to
  bool IsSeparator() const { return Caption == L"-"; }
};

// Text (up to 80 characters; the part after a tab becomes the shortcut),
// state and type of the item at `position` of `menu`. An item without text
// reads as a separator.
TMenuItemData ReadNativeItem(HMENU menu, UINT position);

// Size of an item measured in the screen's menu font, widened for the skin
// (see PopupItemWidth).
SIZE MeasurePopupItem(const TMenuItemData& item, const TMenuSkin& skin, bool hasImages);

// Draws the item into `dc` at `rect` (the menu's client coordinates), as
// selected or not.
void PaintMenuItem(HDC dc, const RECT& rect, bool selected, const TMenuItemData& item,
                   const TMenuSkin& skin, bool rightToLeft = false);
