#include "skin/controls/ControlGeometry.h"

#include <algorithm>
#include <cstdint>

#include "skin/data/WinSkinData.h"

int ButtonFrame(bool pressed, bool hot, bool focused, bool enabled) {
  if (!enabled) return kButtonDisabled;
  if (pressed) return kButtonPressed;
  if (hot) return kButtonHot;
  if (focused) return kButtonFocused;
  return kButtonNormal;
}

std::wstring ButtonCaptionText(const std::wstring& caption) {
  std::wstring text = caption;
  const size_t at = text.find(L"||");
  if (at != std::wstring::npos) text.replace(at, 2, L"\r\n");
  return text;
}

TColour ButtonCaptionColour(int frame, const TDataSkinButton& buttons, TColour own) {
  switch (frame) {
    case kButtonNormal:
      return buttons.HasNormalColour2 ? buttons.NormalColour2 : own;
    case kButtonHot:
      return buttons.HasMouseOverColour2 ? buttons.MouseOverColour2 : own;
    case kButtonPressed:
      return buttons.HasPressedColour2 ? buttons.PressedColour2 : own;
    case kButtonDisabled:
      return SystemColour(kSysButtonShadow);
    default:
      return own;
  }
}

ImgRect PlaceButtonCaption(int width, int height, int textWidth, int textHeight, bool centred) {
  const int dy = (height - textHeight) / 2 - 1;
  if (!centred) return ImgRect{0, dy, width, dy + textHeight};
  const int dx = (width - textWidth) / 2;
  return ImgRect{dx, dy, dx + textWidth, dy + textHeight};
}

int GroupFrameTop(int textHeight) { return textHeight / 2 - 1; }

ImgRect GroupCaptionRect(ImgRect bounds, bool rightAligned) {
  if (rightAligned) return ImgRect{bounds.Left, bounds.Top, bounds.Right - 8, bounds.Bottom};
  return ImgRect{bounds.Left + 8, bounds.Top, bounds.Right, bounds.Bottom};
}

int ProgressFillWidth(int width, int position, int minimum, int maximum) {
  if (width <= 0) return 0;
  const int64_t range = int64_t(maximum) - minimum;
  const int64_t done = int64_t(position) - minimum;
  if (range <= 0 || done <= 0) return 0;
  if (done >= range) return width;
  return int((2 * int64_t(width) * done + range) / (2 * range));
}
