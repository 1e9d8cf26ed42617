#include "skin/controls/SkinGroupBox.h"

#include "gui/Controls.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinGroupBox, [](TClassBuilder<TSkinGroupBox>&) {})

void TSkinGroupBox::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (Attached()) return;
  // The box always wears the skin's face: labels inside follow its colour
  // (and their text the skin's), as they would paint a box of their own
  // colour on it otherwise.
  (void)manageColor;
  TSkinControl::AttachControl(form, true, canvas);
  if (FControl) FMode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (FMode != 0 && m.Msg == WM_PAINT) {
    PaintClient(m);
    m.Result = 0;
    return false;
  }
  if (FMode != 0 && m.Msg == WM_ERASEBKGND) {
    // The whole picture, face included, comes with the paint.
    m.Result = 1;
    return false;
  }
  return true;
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  // A library group box is composed off-screen; a bare one is painted over
  // its native picture, which has to stay where the skin draws nothing.
  DibSurface* surface = FMode != 0 ? Surface(width, height) : nullptr;
  if (FMode != 0 && !surface) return;
  HDC target = surface ? surface->DC() : dc;
  const RECT all{0, 0, width, height};

  std::wstring caption = ReadWindowText(FHandle);
  if (caption.empty() && FControl) caption = FControl->Caption();
  if (FControl) FillSkinFace(target, all);

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  COLORREF textColour = GetTextColor(target);
  if (FControl) {
    font = FControl->Font()->Handle();
    textColour = CaptionColour(FControl->Font()->Color());
  }
  HGDIOBJ oldFont = font ? SelectObject(target, font) : nullptr;
  SetTextColor(target, textColour);

  SIZE zero{};
  GetTextExtentPoint32W(target, L"0", 1, &zero);
  const int top = GroupFrameTop(zero.cy);

  if (FMode == 0) {
    HBRUSH face = FForm ? FForm->FaceBrush() : nullptr;
    HBRUSH own = face ? nullptr : CreateSolidBrush(ButtonFace());
    RECT edge{0, top, width, height};
    FrameRect(target, &edge, face ? face : own);
    InflateRect(&edge, -1, -1);
    FrameRect(target, &edge, face ? face : own);
    if (own) DeleteObject(own);
  }

  HPEN pen = CreatePen(PS_SOLID, 1, ButtonShadow());
  HGDIOBJ oldPen = SelectObject(target, pen);
  HGDIOBJ oldBrush = SelectObject(target, GetStockObject(NULL_BRUSH));
  RoundRect(target, 1, top, width - 1, height - 1, 5, 5);
  SelectObject(target, oldBrush);
  SelectObject(target, oldPen);
  DeleteObject(pen);

  if (!caption.empty()) {
    const COLORREF oldBk = SetBkColor(target, ButtonFace());
    const int oldMode = SetBkMode(target, OPAQUE);
    const bool right = (GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    const ImgRect c = GroupCaptionRect(ImgRect{0, 0, width, height}, right);
    RECT place{c.Left, c.Top, c.Right, c.Bottom};
    DrawTextWide(target, caption, place, right ? TextFlags(DT_EXPANDTABS | DT_RIGHT) : DT_EXPANDTABS);
    SetBkMode(target, oldMode);
    SetBkColor(target, oldBk);
  }
  if (oldFont) SelectObject(target, oldFont);

  // The native painting that would draw the window-less children never runs.
  if (FControl && FMode == 1) {
    RECT client{};
    GetClientRect(FHandle, &client);
    POINT origin{0, 0};
    MapWindowPoints(FHandle, nullptr, &origin, 1);
    const int saved = SaveDC(target);
    SetViewportOrgEx(target, origin.x - FWindowRect.left, origin.y - FWindowRect.top, nullptr);
    FControl->PaintControls(target);
    RestoreDC(target, saved);
  }
  if (surface) {
    GdiFlush();
    BitBlt(dc, r.left, r.top, width, height, target, 0, 0, SRCCOPY);
  }
}
