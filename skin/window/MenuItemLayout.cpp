#include "skin/window/MenuItemLayout.h"

#include <algorithm>

namespace {
int Margin(bool hasMenuItem, int leftMargin) { return hasMenuItem ? std::max(leftMargin, 0) : 0; }
}  // namespace

int PopupItemWidth(int measured, bool hasMenuItem, int leftMargin, bool hasImages) {
  return measured + Margin(hasMenuItem, leftMargin) + 12 + (hasImages ? 0 : 23);
}

int MainMenuItemWidth(int measured, bool hasMenuItem, int leftMargin, bool hasImages) {
  return measured + Margin(hasMenuItem, leftMargin) + 10 + (hasImages ? 0 : 25);
}

TItemSize NativeItemSize(int textWidth, int textHeight, bool emptyText, bool hasMenuItem,
                         int leftMargin) {
  TItemSize s;
  s.Width = std::max(textWidth, 0) + 26 + Margin(hasMenuItem, leftMargin);
  s.Height = emptyText ? 8 : std::max(textHeight, 0) + 4;
  return s;
}

TMenuItemBoxes MenuItemBoxes(ImgRect item, bool separator, bool checked, int imageWidth,
                             bool hasMenuItem, int leftMargin, bool rightToLeft) {
  TMenuItemBoxes b;
  int iconWidth = imageWidth > 0 ? imageWidth : 16;
  if (checked) iconWidth = std::max(iconWidth, 16);
  if (separator) iconWidth = 0;
  const int inset = 1 + Margin(hasMenuItem, leftMargin);
  const int top = item.Top + 1;
  if (!rightToLeft) {
    b.Icon = ImgRect{item.Left + inset, top, item.Left + inset + iconWidth, top + iconWidth};
    b.Caption = ImgRect{b.Icon.Right + 3, item.Top, item.Right - 1, item.Bottom};
    b.ShortcutRight = item.Right - 11;
  } else {
    b.Icon = ImgRect{item.Right - inset - iconWidth, top, item.Right - inset, top + iconWidth};
    b.Caption = ImgRect{item.Left + 11, item.Top, b.Icon.Left - 3, item.Bottom};
    b.ShortcutRight = b.Icon.Left - 3;
  }
  if (separator) b.Icon = ImgRect{b.Icon.Left, top, b.Icon.Left, top};
  return b;
}

ImgRect SeparatorSource(int imageWidth, int imageHeight, int frameCount, int itemHeight) {
  if (frameCount <= 0 || imageWidth <= 0 || imageHeight <= 0) return {};
  const int fw = imageWidth / frameCount;
  if (fw <= 0 || frameCount < 2) return {};
  const int top = imageHeight > itemHeight ? imageHeight - std::max(itemHeight, 0) : 0;
  return ImgRect{fw, top, 2 * fw, imageHeight};
}
