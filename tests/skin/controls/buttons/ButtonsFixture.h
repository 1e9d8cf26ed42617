// Shared pieces of the button-kind tests (Windows): a skin whose Buttons,
// CheckButton and RadioButton frames each have their own colour, painting a
// window-less control off-screen, real mouse input and pixel search.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "gui/Controls.h"
#include "tests/skin/controls/kinds/KindsFixture.h"

namespace skintest {

// Frame k of the check strip is RGB(0x30, 0, k); of the radio strip RGB(0x40, 0, k).
constexpr uint32_t kCheckBase = 0x300000, kRadioBase = 0x400000;
inline COLORREF CheckFrameRGB(int k) { return RGB(0x30, 0, k); }
inline COLORREF RadioFrameRGB(int k) { return RGB(0x40, 0, k); }

// Buttons (5 frames), a check strip of `checkFrames` and a radio strip of
// `radioFrames` 13x13 frames; frame counts come from the image widths.
inline std::unique_ptr<TSkinModel> ButtonKindsSkin(int checkFrames = 4, int radioFrames = 4) {
  SkinTestPackage p(
      "[Colours]\nButtonFace=200 200 200\nButtonShadow=10 20 30\nButtonText=0 0 0\n"
      "[Buttons]\nBitmap=buttons.bmp\nCheckButton=check.bmp\nRadioButton=radio.bmp\nMouseOverColour2=0 0 255\n");
  p.Add("buttons.bmp", FrameStrip(5, 20, 20, kButtonBase));
  p.Add("check.bmp", FrameStrip(checkFrames, 13, 13, kCheckBase));
  p.Add("radio.bmp", FrameStrip(radioFrames, 13, 13, kRadioBase));
  auto model = std::make_unique<TSkinModel>();
  p.BuildInto(*model);
  return model;
}

// A window-less control painted by its own paint handling off-screen.
inline Image PaintControlToImage(TControl* control, uint32_t background = 0x00FF7F00) {
  DibSurface s;
  if (!s.Resize(control->Width(), control->Height())) return Image();
  std::fill(s.Bits(), s.Bits() + size_t(s.Width()) * size_t(s.Height()), background);
  control->Perform(WM_PAINT, WPARAM(s.DC()), 0);
  GdiFlush();
  return s.ToImage();
}

inline bool HasPixel(const Image& img, COLORREF c) {
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x)
      if (At(img, x, y) == c) return true;
  return false;
}

// Absolute mouse input through the system queue, as a user's, at a point of
// `window`'s client area.
inline void MouseAt(HWND window, int x, int y, DWORD buttons = 0) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

}  // namespace skintest
