#include "skin/controls/SkinMenuButton.h"

#include "skin/controls/ButtonGeometry.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinMenuButton, [](TClassBuilder<TSkinMenuButton>&) {})

int TSkinMenuButton::FrameFor(bool focused, bool enabled) const {
  return MenuButtonFrame(FMouseState & kMousePressed, FMouseState & kMouseHot, focused, enabled);
}

void TSkinMenuButton::DrawContents(HDC picture, int width, int height, int frame, bool focused) {
  const std::wstring text = ButtonCaptionText(FCaption);
  RECT measured{2, 2, width - 17 - 2, height - 2};
  int tw = 0, th = 0;
  if (!text.empty()) {
    DrawTextWide(picture, text, measured, DT_CALCRECT | DT_WORDBREAK);
    tw = measured.right - measured.left;
    th = measured.bottom - measured.top;
  }
  const TMenuButtonPlace place = PlaceMenuButton(width, height, tw, th);
  RECT box{place.textX, place.textY, place.textX + tw, place.textY + th};
  if (!text.empty()) DrawTextWide(picture, text, box, TextFlags(DT_WORDBREAK));
  if (focused) DrawFocusAround(picture, box);

  const COLORREF colour = GetSysColor(frame == kButtonDisabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(picture, pen);
  HGDIOBJ oldBrush = SelectObject(picture, brush);
  const POINT arrow[3] = {{place.arrowX[0], place.arrowY[0]},
                          {place.arrowX[1], place.arrowY[1]},
                          {place.arrowX[2], place.arrowY[2]}};
  Polygon(picture, arrow, 3);
  SelectObject(picture, oldBrush);
  SelectObject(picture, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}
