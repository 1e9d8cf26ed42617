#include "gui/ButtonFace.h"

bool TrackButtonHot(TControl& button, bool& hot, UINT msg) {
  switch (msg) {
    case CM_MOUSEENTER:
    case WM_MOUSEMOVE:
      if (!hot) {
        hot = true;
        button.Invalidate();
      }
      return false;
    case CM_MOUSELEAVE:
      hot = false;
      button.Invalidate();
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      hot = true;
      return true;
    default:
      return false;
  }
}

void DrawButtonEdge(HDC dc, RECT r, bool flat, bool sunken, bool hot) {
  if (sunken) DrawEdge(dc, &r, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat || hot) DrawEdge(dc, &r, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
}
