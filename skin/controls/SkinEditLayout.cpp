#include "skin/controls/SkinEditLayout.h"

#include "skin/data/ImgUtil.h"

bool EditHasBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight) {
  return clientWidth < windowWidth && clientHeight < windowHeight;
}

Image ComposeEditBorder(int width, int height, uint32_t shadow) {
  Image out(width, height, MakePixel(255, 255, 255));
  if (out.Empty()) return out;
  const uint32_t s = PixelFromColour(ResolveColour(shadow));
  out.FillRect(MakeRect(0, 0, width, 1), s);
  out.FillRect(MakeRect(0, height - 1, width, height), s);
  out.FillRect(MakeRect(0, 0, 1, height), s);
  out.FillRect(MakeRect(width - 1, 0, width, height), s);
  return out;
}
