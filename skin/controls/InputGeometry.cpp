#include "skin/controls/InputGeometry.h"

#include <algorithm>

int ComboButtonFrame(bool pressed, bool hot, bool focused, bool enabled) {
  if (!enabled) return kInputDisabled;
  if (pressed) return kInputPressed;
  return focused || hot ? kInputHot : kInputNormal;
}

int FlatComboButtonFrame(bool pressed, bool hot, bool focused, bool enabled) {
  if (pressed) return kInputPressed;
  if (focused || hot) return kInputHot;
  return enabled ? kInputNormal : kInputDisabled;
}

ComboLayout ComboButtonLayout(int width, int height, int arrowWidth, bool leftButton) {
  const int b = arrowWidth;
  if (leftButton) return {MakeRect(b + 4, 2, width - 2, height - 2), MakeRect(2, 0, b + 2, height)};
  return {MakeRect(2, 2, width - b - 4, height - 2), MakeRect(width - b - 2, 0, width - 2, height)};
}

FlatComboParts FlatComboLayout(int width, int height, int stripWidth, int frameWidth, int imageHeight,
                               bool leftButton) {
  const ImgRect inner = MakeRect(2, 2, width - 2, height - 2);
  const int bottom = std::min(inner.Bottom, inner.Top + imageHeight);
  if (leftButton)
    return {MakeRect(inner.Left, inner.Top, inner.Left + stripWidth, inner.Bottom),
            MakeRect(inner.Left, inner.Top, inner.Left + frameWidth, bottom)};
  return {MakeRect(inner.Right - stripWidth, inner.Top, inner.Right, inner.Bottom),
          MakeRect(inner.Right - frameWidth, inner.Top, inner.Right, bottom)};
}

UpDownHalf UpDownHalves(int width, int height, bool horizontal) {
  if (horizontal) return {MakeRect(0, 0, width / 2, height), MakeRect(width / 2, 0, width, height)};
  return {MakeRect(0, 0, width, height / 2), MakeRect(0, height / 2, width, height)};
}

UpDownState UpDownStates(int width, int height, bool horizontal, int cursorX, int cursorY, bool pressed,
                         bool hot, bool enabled) {
  if (!enabled) return {kInputDisabled, kInputDisabled};
  const int state = pressed ? kInputPressed : hot ? kInputHot : kInputNormal;
  if (state == kInputNormal) return {};
  const UpDownHalf h = UpDownHalves(width, height, horizontal);
  auto inside = [&](const ImgRect& r) {
    return cursorX >= r.Left && cursorX < r.Right && cursorY >= r.Top && cursorY < r.Bottom;
  };
  UpDownState s;
  if (inside(h.First)) s.First = state;
  else if (inside(h.Second)) s.Second = state;
  return s;
}

int UpDownFrame(bool secondButton, int state) { return (secondButton ? 4 : 0) + state; }

ImgRect KeepInsideEdit(ImgRect r, ImgRect self, ImgRect parent, int margin) {
  const int top = self.Top - parent.Top;
  if (top < margin) r.Top += margin - top;
  const int bottom = parent.Bottom - self.Bottom;
  if (bottom < margin) r.Bottom -= margin - bottom;
  const int right = parent.Right - self.Right;
  if (right < margin) r.Right -= margin - right;
  return r;
}

ImgRect TrackChannelPlace(ImgRect channel, int imageWidth, int imageHeight, bool vertical) {
  if (vertical) {
    const int shift = imageWidth < channel.Width() ? (channel.Width() - imageWidth) / 2 : 0;
    const int left = channel.Left + shift;
    return MakeRect(left, channel.Top, left + imageWidth, channel.Bottom);
  }
  const int shift = imageHeight < channel.Height() ? (channel.Height() - imageHeight) / 2 : 0;
  const int top = channel.Top + shift;
  return MakeRect(channel.Left, top, channel.Right, top + imageHeight);
}
