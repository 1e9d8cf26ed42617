// The skinned system menu of a framed window (Windows).
//
// Classes in this file:
//   TSystemMenu   a copy of the window's system menu with owner-drawn items,
//                 shown at a screen point; the chosen command is posted to the
//                 window as WM_SYSCOMMAND
//
// The copy is shown from a hidden window of our own, which answers the
// owner-draw messages with the skinned item painter, so the frame's window
// procedure is not involved. While the menu is tracked the popup list's menu
// kind is SystemMenu, so its menu window is skinned with xcSystemMenu.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/window/MenuItemPainter.h"

class TSystemMenu {
public:
  // Construction
  TSystemMenu() = default;
  ~TSystemMenu();
  TSystemMenu(const TSystemMenu&) = delete;
  TSystemMenu& operator=(const TSystemMenu&) = delete;

  // Operations
  // Copies the window's system menu (state fixed up from the window's show
  // state and boxes) into an owner-drawn popup; answers the item count.
  int Build(HWND window, const TMenuSkin& skin);
  // Builds, shows the menu at a screen point and waits for the choice; a
  // chosen command is posted to the window. Answers the command (0: none).
  UINT Show(HWND window, const TMenuSkin& skin, POINT screen);

  // Attributes
  HMENU Handle() const { return menu_; }
  const std::vector<TMenuItemData>& Items() const { return items_; }
  // The commands of the items, in order (0 for separators).
  const std::vector<UINT>& Commands() const { return commands_; }
  // The window the open menu belongs to (null when none is open).
  static HWND OpenFor();

private:
  void Free();
  static LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM);
  HWND Owner();

  HMENU menu_ = nullptr;
  HWND owner_ = nullptr;
  TMenuSkin skin_;
  std::vector<TMenuItemData> items_;
  std::vector<UINT> commands_;
};
