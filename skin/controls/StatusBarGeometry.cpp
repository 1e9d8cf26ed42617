#include "skin/controls/StatusBarGeometry.h"

ImgRect StatusPanelBox(ImgRect panel, bool last, int barWidth) {
  panel.Right = last ? barWidth : panel.Right + 2;
  return panel;
}

int StatusPanelFrame(StatusBevel bevel) {
  switch (bevel) {
    case kBevelRaised: return 2;
    case kBevelNone: return 3;
    case kBevelLowered: break;
  }
  return 1;
}

ImgRect StatusGripRect(int width, int height, int frameWidth, int frameHeight) {
  return {width - 1 - frameWidth, height - 1 - frameHeight, width - 1, height - 1};
}

StatusAlign StatusPanelAlign(StatusAlign align, bool rightToLeft) {
  if (!rightToLeft || align == kStatusCentre) return align;
  return align == kStatusLeft ? kStatusRight : kStatusLeft;
}
