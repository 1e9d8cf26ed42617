#include "skin/controls/SkinUpDown.h"

#include <commctrl.h>

#include "skin/controls/InputPictures.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinUpDown, [](TClassBuilder<TSkinUpDown>&) {})

namespace {

ImgRect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return MakeRect(r.left, r.top, r.right, r.bottom);
}

void FillWhite(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, HBRUSH(GetStockObject(WHITE_BRUSH)));
}

}  // namespace

void TSkinUpDown::Unskin() {
  TSkinControl::Unskin();
  if (FLifeState != kSkinWindowDestroyed && FHandle && IsWindow(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!FControl) FillWhite(FHandle, reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PressAfterOriginal(m);
      return false;
    case WM_LBUTTONUP:
      FMouseState &= uint8_t(~kMousePressed);
      CallOriginal(m);
      PaintWindow(nullptr);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& r) {
  const TSkinModel* skin = Skin();
  if (!skin) return;
  ImgRect place = MakeRect(r.left, r.top, r.right, r.bottom);
  HWND parent = GetParent(FHandle);
  if (FEmbedded && parent) {
    FillWhite(FHandle, dc);
    place = KeepInsideEdit(place, ScreenRect(FHandle), ScreenRect(parent));
  }
  if (place.Empty()) return;
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  const bool horizontal = FHorizontal || (style & UDS_HORZ);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(FHandle, &cursor);
  // The cursor in the picture's own coordinates.
  const UpDownState state =
      UpDownStates(place.Width(), place.Height(), horizontal, cursor.x - place.Left, cursor.y - place.Top,
                   FMouseState & kMousePressed, FMouseState & kMouseHot, (style & WS_DISABLED) == 0);
  const Image picture = ComposeUpDown(place.Width(), place.Height(), horizontal,
                                      horizontal ? skin->UpDownHorz() : skin->UpDownVert(), state,
                                      skin->ButtonFaceColour, skin->ButtonShadowColour, skin->ButtonDkShadowColour);
  if (!picture.Empty()) DrawImage(dc, place.Left, place.Top, picture);
}
