// Chooses a skin of the running Tonewell.exe through its skinned system menu
// with real input (SendInput through the system queue), as a user does.
//
// Functions in this file:
//   MouseAt, KeyPress    real mouse and keyboard input
//   OpenSystemMenu       right click on the caption until the menu shows
//   FindLastRows         screen rows of the menu's last items, found by
//                        hovering each until it is drawn highlighted
//   CheckedRow           which of those rows carries the check mark
//   ChooseSkinByMouse    all of the above: open, find, click the item
//   Quiet                a capture once it has stayed the same a while
//
// Menus of another process cannot be read under Wine (no item rectangles,
// no states), so rows and the check are read off the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "skin/data/Image.h"

namespace e2e {

// Absolute mouse input at a screen point, with optional button flags.
void MouseAt(POINT screen, DWORD buttons = 0);
void KeyPress(WORD vk);

// A point of the caption band, clear of the caption buttons.
POINT CaptionPoint(HWND main);

// The process's open popup-menu window after a right click on `main`'s
// caption (a few tries); nullptr when none showed.
HWND OpenSystemMenu(DWORD pid, HWND main);
// Closes an open menu with Escape and waits for it to go.
void CloseMenu(HWND menu);

// The rows of the last `count` items of the open menu, top to bottom, in
// screen coordinates. Needs `base`, a capture of the menu with none of
// those items highlighted.
bool FindLastRows(HWND menu, const Image& base, int count, std::vector<RECT>& rows);
// The row whose check-mark column differs from all the others, which are
// alike; -1 when no single row stands out.
int CheckedRow(HWND menu, const Image& base, const std::vector<RECT>& rows);

// Polls `capture` until it has not changed for `quietMs` (a skin change is
// applied by the program's timer a while after the choice, and the frame
// repaints in steps); gives up after `limitMs` and answers the last one.
Image Quiet(const std::function<Image()>& capture, DWORD quietMs = 700, DWORD limitMs = 15000);

struct TChoice {
  bool Clicked = false;      // the item was highlighted and clicked
  int CheckedBefore = -1;    // the row checked when the menu opened
  const char* Failure = "";  // the step that failed, when not clicked
};
// Opens the system menu, finds the `count` skin items (the menu's last
// items), notes the checked one and clicks item `index`.
TChoice ChooseSkinByMouse(DWORD pid, HWND main, int index, int count = 5);

}  // namespace e2e
