// Screen pixels of windows into the portable Image (Windows tests and tools).
//
// Functions in this file:
//   CaptureScreenRect   pixels of a screen rectangle
//   CaptureWindow       a window's whole rectangle (frame included)
//   CaptureClient       a window's client area
//   ScreenPixel         one pixel of a window's client area, as COLORREF
//   SaveWindowBmp       a window's whole rectangle written as a 24-bit BMP file
//
// Pixels are read from the screen (Wine's virtual desktop): the window must
// be visible and on top; PrintWindow answers black under Wine.
#pragma once

#include <windows.h>

#include <string>

#include "skin/data/Image.h"

namespace twtest {

Image CaptureScreenRect(const RECT& r);
Image CaptureWindow(HWND window);
Image CaptureClient(HWND window);
COLORREF ScreenPixel(HWND window, int x, int y);
// False when nothing was captured or the file could not be written whole.
bool SaveWindowBmp(HWND window, const std::wstring& path);

}  // namespace twtest
