#include "skin/controls/SkinBoxH.h"

TW_IMPLEMENT_CLASS(TSkinBoxH, [](TClassBuilder<TSkinBoxH>&) {})

TSkinBoxH::~TSkinBoxH() {
  if (FOwnBrush) DeleteObject(FOwnBrush);
}

HBRUSH TSkinBoxH::FaceBrush() {
  if (FForm && FForm->FaceBrush()) return FForm->FaceBrush();
  if (!FOwnBrush) FOwnBrush = CreateSolidBrush(ButtonFace());
  return FOwnBrush;
}

bool TSkinBoxH::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r{};
      GetWindowRect(FHandle, &r);
      OffsetRect(&r, -r.left, -r.top);
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, FaceBrush());
      m.Result = 1;
      return false;
    }
    case WM_CTLCOLORSTATIC:
      CallOriginal(m);
      // Opaque static text gets the face colour behind it too.
      SetBkColor(reinterpret_cast<HDC>(m.WParam), ButtonFace());
      m.Result = reinterpret_cast<LRESULT>(FaceBrush());
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}
