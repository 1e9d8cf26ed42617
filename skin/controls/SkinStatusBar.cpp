#include "skin/controls/SkinStatusBar.h"

#include <commctrl.h>

#include <string>

#include "gui/ComCtrls.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/controls/StatusBarGeometry.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinStatusBar, [](TClassBuilder<TSkinStatusBar>&) {})

namespace {

UINT AlignFlags(StatusAlign align) {
  switch (align) {
    case kStatusRight: return DT_RIGHT;
    case kStatusCentre: return DT_CENTER;
    case kStatusLeft: break;
  }
  return DT_LEFT;
}

StatusAlign ToStatusAlign(TAlignment a) {
  return a == taRightJustify ? kStatusRight : a == taCenter ? kStatusCentre : kStatusLeft;
}

// The window's font in a plain style (no bold, italic, underline or strike-out).
HFONT PlainFont(HWND window) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  if (!GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return nullptr;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
  return CreateFontIndirectW(&lf);
}

RECT ShrinkSides(RECT r, int dx) {
  r.left += dx;
  r.right -= dx;
  return r;
}

// The status bar's caption drawer: the text measured, then placed one pixel
// above the middle (centred across for centre alignment).
void DrawStatusText(HDC dc, const RECT& area, std::wstring text, UINT align, UINT extraFlags) {
  if (text.empty()) text = L" ";
  SetBkMode(dc, TRANSPARENT);
  RECT measure = area;
  DrawTextWide(dc, text, measure, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const ImgRect place = PlaceButtonCaption(area.right - area.left, area.bottom - area.top,
                                           measure.right - measure.left, measure.bottom - measure.top,
                                           align == DT_CENTER);
  RECT box{area.left + place.Left, area.top + place.Top, area.left + place.Right, area.top + place.Bottom};
  DrawTextWide(dc, text, box, align | DT_EXPANDTABS | extraFlags);
}

}  // namespace

TStatusBar* TSkinStatusBar::Bar() const { return dynamic_cast<TStatusBar*>(FControl); }

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  if (Bar()) {
    if (m.Msg == WM_PAINT) {
      PaintClient(m);
      m.Result = 0;
      return false;
    }
    if (m.Msg == WM_ERASEBKGND) {
      m.Result = 1;
      return false;
    }
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinStatusBar::DrawEdges(HDC dc, const RECT& r, int frame) const {
  const TDataSkinObject* edges = Skin() ? Skin()->StatusBarEdges() : nullptr;
  if (edges) {
    const FrameMargins m{edges->LeftWidth, edges->TopHeight, edges->RightWidth, edges->BottomHeight};
    DrawFrame(dc, r, edges->Bitmap, false, edges->Tile == 1, false, 3, frame, m);
    return;
  }
  if (frame == 3 || r.right <= r.left || r.bottom <= r.top) return;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF topLeft = frame == 1 ? shadow : light, bottomRight = frame == 1 ? light : shadow;
  auto fill = [dc](int l, int t, int rr, int b, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    const RECT x{l, t, rr, b};
    FillRect(dc, &x, brush);
    DeleteObject(brush);
  };
  fill(r.left, r.top, r.right, r.top + 1, topLeft);
  fill(r.left, r.top, r.left + 1, r.bottom, topLeft);
  fill(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
  fill(r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& r) {
  TStatusBar* bar = Bar();
  if (!bar) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  DibSurface* out = Surface(width, height);
  if (!out) return;
  HDC mem = out->DC();
  const RECT all{0, 0, width, height};
  FillSkinFace(mem, all);
  HFONT font = PlainFont(FHandle);
  HGDIOBJ oldFont = font ? SelectObject(mem, font) : nullptr;
  const TSkinModel* skin = Skin();
  const TDataSkinObject* edges = skin ? skin->StatusBarEdges() : nullptr;
  SetTextColor(mem, edges ? COLORREF(ResolveColour(edges->NormalColour2)) : ButtonText());

  TStatusPanels* panels = bar->Panels();
  if (bar->SimplePanel() || panels->Count() == 0) {
    const UINT align = bar->UseRightToLeftReading() ? DT_RIGHT : DT_LEFT;
    DrawEdges(mem, all, 1);
    DrawStatusText(mem, ShrinkSides(all, 2), bar->SimpleText(), align, TextFlags(0));
  } else {
    const int count = panels->Count();
    for (int i = 0; i < count; ++i) {
      RECT pr{};
      if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
      const TStatusPanel* panel = panels->Items(i);
      const ImgRect box = StatusPanelBox(MakeRect(pr.left, pr.top, pr.right, pr.bottom), i == count - 1, width);
      const RECT b{box.Left, box.Top, box.Right, box.Bottom};
      DrawEdges(mem, b, StatusPanelFrame(StatusBevel(panel->Bevel())));
      if (panel->Style() != psText) continue;
      const bool rtl = panel->BiDiMode() != bdLeftToRight;
      const UINT align = AlignFlags(StatusPanelAlign(ToStatusAlign(panel->Alignment()), rtl));
      DrawStatusText(mem, ShrinkSides(b, 2), panel->Text(), align, TextFlags(0));
    }
  }

  const TDataSkinObject* extra = skin ? skin->ExtraImages() : nullptr;
  if ((GetWindowLongW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && extra && !extra->Bitmap.Empty()) {
    const ImgRect grip = StatusGripRect(width, height, extra->Bitmap.Width() / 5, extra->Bitmap.Height());
    DrawFrame(mem, RECT{grip.Left, grip.Top, grip.Right, grip.Bottom}, extra->Bitmap, false, false, true, 5, 5,
              FrameMargins{});
  }
  if (oldFont) SelectObject(mem, oldFont);
  if (font) DeleteObject(font);
  GdiFlush();
  BitBlt(dc, r.left, r.top, width, height, mem, 0, 0, SRCCOPY);
  bar->PaintControls(dc);
  DrawOwnerPanels(dc);
}

void TSkinStatusBar::DrawOwnerPanels(HDC dc) {
  TStatusBar* bar = Bar();
  if (!bar->OnDrawPanel.Assigned() || bar->SimplePanel()) return;
  TStatusPanels* panels = bar->Panels();
  for (int i = 0; i < panels->Count(); ++i) {
    // Only owner-drawn panels: a handler written for them must not paint
    // over the text panels.
    if (panels->Items(i)->Style() != psOwnerDraw) continue;
    RECT pr{};
    if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
    InflateRect(&pr, -2, -2);
    DRAWITEMSTRUCT item{};
    item.itemID = UINT(i);
    item.hwndItem = FHandle;
    item.hDC = dc;
    item.rcItem = pr;
    item.itemData = reinterpret_cast<ULONG_PTR>(panels->Items(i));
    bar->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
}
