#include "skin/controls/SkinTab.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "gui/TabCtrls.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinTab, [](TClassBuilder<TSkinTab>&) {})
TW_IMPLEMENT_CLASS(TSkinTabSheet, [](TClassBuilder<TSkinTabSheet>&) {})
TW_IMPLEMENT_CLASS(TSkinTabBtn, [](TClassBuilder<TSkinTabBtn>&) {})

namespace {

RECT ToRect(ImgRect r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
ImgRect ToImg(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }

// A tab's caption (at most 80 characters) and image index.
void ReadTab(HWND window, bool unicode, int index, std::wstring& text, int& image) {
  text.clear();
  image = -1;
  if (unicode) {
    wchar_t buffer[81] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = buffer;
    item.cchTextMax = 81;
    if (!SendMessageW(window, TCM_GETITEMW, WPARAM(index), reinterpret_cast<LPARAM>(&item))) return;
    buffer[80] = 0;
    text = item.pszText ? item.pszText : L"";
    image = item.iImage;
  } else {
    char buffer[81] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = buffer;
    item.cchTextMax = 81;
    if (!SendMessageA(window, TCM_GETITEMA, WPARAM(index), reinterpret_cast<LPARAM>(&item))) return;
    buffer[80] = 0;
    text = AnsiToWide(item.pszText ? item.pszText : "");
    image = item.iImage;
  }
}

// The display area of a tab window of width x height.
RECT DisplayArea(HWND window, int width, int height) {
  RECT display{0, 0, width, height};
  SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  return display;
}

HFONT WindowFont(HWND window) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

FrameMargins MarginsOf(const TDataSkinObject& o) {
  return FrameMargins{o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
}

// A 6 x 6 box with both diagonals, in the DC's text colour.
void DrawCloseBox(HDC dc, ImgRect b) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetTextColor(dc));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom);
  MoveToEx(dc, b.Left, b.Top, nullptr);
  LineTo(dc, b.Right, b.Bottom);
  MoveToEx(dc, b.Right - 1, b.Top, nullptr);
  LineTo(dc, b.Left - 1, b.Bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace

// ---- TSkinTab -----------------------------------------------------------------------

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}

TSkinTab::~TSkinTab() { *FLive = false; }

void TSkinTab::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  TSkinControl::AttachControl(form, manageColor, canvas);
  if (!Attached()) return;
  FEnabled = (GetWindowLongW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  auto* pages = dynamic_cast<TPageControl*>(FControl);
  FCloseBoxesOn = pages && pages->Tag() == kTabCloseBoxTag && !pages->MultiLine();
  FollowFaceText();  // labels on the client face
  PrepareImages();
  VisibleArrows();
  FSkinActive = true;
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
}

void TSkinTab::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  TSkinControl::AttachWindow(window, form, canvas);
  if (!Attached()) return;
  FFocused = GetFocus() == window;
  FEnabled = IsWindowEnabled(window) != FALSE;
  FCaption = ReadWindowText(window);
  PrepareImages();
}

void TSkinTab::SkinChanged() {
  // The images first, so the repaint of the base shows the new skin.
  PrepareImages();
  TSkinControl::SkinChanged();
}

void TSkinTab::PrepareImages() {
  FOrientation = TabOrientation(uint32_t(GetWindowLongW(FHandle, GWL_STYLE)));
  FTabImage.Clear();
  FPaneImage.Clear();
  const TSkinModel* skin = Skin();
  const TDataSkinBorder* tabs = skin ? skin->Tabs() : nullptr;
  if (!tabs) return;
  FTabImage = tabs->Bitmap;
  if (tabs->Style == 0) FPaneImage = tabs->Bitmap2;
  else if (tabs->Style == 1 && skin->TabPane()) FPaneImage = skin->TabPane()->Bitmap;
  FTabImage.SetBitCount(24);
  FPaneImage.SetBitCount(24);
  switch (FOrientation) {
    case kTabBottom:
      FlipBitmap(FTabImage);
      FlipBitmap(FPaneImage);
      break;
    case kTabLeft:
      if (!FPaneImage.Empty()) RotateLeft(FPaneImage);
      break;
    case kTabRight:
      if (!FPaneImage.Empty()) RotateRight(FPaneImage);
      break;
    case kTabTop:
      break;
  }
}

HWND TSkinTab::VisibleArrows() {
  HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) return nullptr;
  if (arrows != FArrows && SendMessageW(arrows, WM_SKINQUERY, 0, 0) != 1) {
    // Owned by the library control (gone with it), else by the frame's list.
    auto* skin = new TSkinUpDown(FControl);
    skin->AttachWindow(arrows, FForm, FCanvas);
    if (!skin->Attached()) TComponent::Free(skin);
    else FArrows = arrows;
  }
  return GetWindowLongW(arrows, GWL_STYLE) & WS_VISIBLE ? arrows : nullptr;
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;  // the paint covers the whole window
      return false;
    case WM_LBUTTONDOWN:
      if (FCloseBoxesOn && CloseBoxPressed(short(LOWORD(m.LParam)), short(HIWORD(m.LParam)))) {
        m.Result = 0;
        return false;
      }
      return TSkinControl::BeforeMessage(m);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

bool TSkinTab::CloseBoxPressed(int x, int y) {
  const int index = CloseBoxAt(FCloseBoxes, x, y);
  if (index < 0) return false;
  // The boxes are stale once a page goes: no second press may hit a box
  // that now belongs to the next tab before the strip is painted again.
  FCloseBoxes.clear();
  const std::shared_ptr<bool> live = FLive;
  HWND tabWindow = FHandle;
  LRESULT answer = 0;
  if (FForm && FForm->FrameWindow())
    answer = SendMessageW(FForm->FrameWindow(), WM_SKINTABCLOSE, reinterpret_cast<WPARAM>(tabWindow), index);
  if (!*live) return true;
  if (answer == 0) {
    if (auto* pages = dynamic_cast<TPageControl*>(FControl)) {
      for (int i = 0; i < pages->PageCount(); ++i) {
        if (pages->Pages(i)->TabIndex() != index) continue;
        TComponent::Free(pages->Pages(i));
        break;
      }
    }
  }
  if (*live) RepaintSkin();
  return true;
}

bool TSkinTab::ComposeStrip(int width, ImgRect pane, ImgRect strip) {
  const TDataSkinBorder* tabs = Skin() ? Skin()->Tabs() : nullptr;
  if (!tabs) return false;
  const int length = TabStripLength(strip, FOrientation);
  const bool lying = FOrientation == kTabTop || FOrientation == kTabBottom;
  const int thickness = lying ? strip.Height() : strip.Width();
  if (length <= 0 || thickness <= 0) return false;
  if ((FStrip.Width() != length || FStrip.Height() != thickness) && !FStrip.Resize(length, thickness)) return false;
  HDC dc = FStrip.DC();
  const RECT all{0, 0, length, thickness};
  FillParentColor(dc, all);
  HGDIOBJ oldFont = SelectObject(dc, WindowFont(FHandle));
  SetBkMode(dc, TRANSPARENT);

  const int count = std::max(0, int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0)));
  const int focus = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  FCloseBoxes.assign(size_t(count), ImgRect{});
  const FrameMargins margins = MarginsOf(*tabs);
  std::wstring text;
  int image = -1;
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
    const ImgRect r = TabToStrip(ToImg(item), FOrientation, width, pane, length);
    const int frame = i == focus ? 2 : 1;
    DrawFrame(dc, ToRect(r), FTabImage, false, tabs->Tile == 1, tabs->Trans == 1, tabs->FrameCount, frame, margins);
    SetTextColor(dc, COLORREF(ResolveColour(frame == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2)));
    if (FCloseBoxesOn) {
      const ImgRect box = TabCloseBox(r);
      DrawCloseBox(dc, box);
      FCloseBoxes[size_t(i)] = StripToWindow(box, FOrientation, width, pane, length);
    }
    ReadTab(FHandle, FUnicode, i, text, image);
    DrawImageAndText(dc, ToRect(r), haCentre, text, image, images, TextFlags(0));
  }
  SelectObject(dc, oldFont);
  GdiFlush();
  return true;
}

void TSkinTab::DrawSkin(HDC dc, const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (TabOrientation(uint32_t(GetWindowLongW(FHandle, GWL_STYLE))) != FOrientation) PrepareImages();
  const ImgRect pane = TabPaneRect(ToImg(DisplayArea(FHandle, width, height)), FOrientation);
  DibSurface* out = Surface(width, height);
  if (!out) return;
  HDC mem = out->DC();
  const RECT all{0, 0, width, height};
  FillParentColor(mem, all);

  if (!FTabImage.Empty()) {
    const ImgRect strip = TabStripRect(width, height, pane, FOrientation);
    if (ComposeStrip(width, pane, strip)) {
      if (FOrientation == kTabLeft || FOrientation == kTabRight) {
        Image upright = FStrip.ToImage();
        if (FOrientation == kTabLeft) RotateLeft(upright);
        else RotateRight(upright);
        DrawImage(mem, strip.Left, strip.Top, upright);
      } else {
        BitBlt(mem, strip.Left, strip.Top, strip.Width(), strip.Height(), FStrip.DC(), 0, 0, SRCCOPY);
      }
    }
  } else {
    // No tab image: the window's own tabs, with the skinned page frame over them.
    FCloseBoxes.clear();
    // Its painting may leave clipping or objects in the DC: restore them.
    const int saved = SaveDC(mem);
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(mem), 0, 0};
    CallOriginal(paint);
    RestoreDC(mem, saved);
  }

  if (!FPaneImage.Empty()) {
    const TDataSkinBorder* tabs = Skin() ? Skin()->Tabs() : nullptr;
    const TDataSkinObject* paneObject = Skin() ? Skin()->TabPane() : nullptr;
    FrameMargins margins{4, 5, 4, 4};
    if (tabs && tabs->Style != 0 && paneObject) margins = MarginsOf(*paneObject);
    DrawFrame(mem, ToRect(pane), FPaneImage, false, false, false, 1, 1, margins);
  }
  if (FControl) FControl->PaintControls(mem);
  GdiFlush();

  const int saved = SaveDC(dc);
  if (HWND arrows = VisibleArrows()) {
    RECT a{};
    GetWindowRect(arrows, &a);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&a), 2);
    ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
  }
  BitBlt(dc, r.left, r.top, width, height, mem, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

// ---- TSkinTabSheet ------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (FMode != 0) break;
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (FMode != 0) break;
      {
        RECT r{};
        GetClientRect(FHandle, &r);
        FillSkinFace(reinterpret_cast<HDC>(m.WParam), r);
      }
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& r) {
  FillSkinFace(dc, r);
  if (FControl) FControl->PaintControls(dc);
}

// ---- TSkinTabBtn --------------------------------------------------------------------

bool TSkinTabBtn::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    PaintClient(m);
    m.Result = 0;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTabBtn::DrawSkin(HDC dc, const RECT& r) {
  const TSkinModel* skin = Skin();
  const TDataSkinButton* buttons = skin ? skin->Buttons.get() : nullptr;
  if (!buttons || buttons->Bitmap.Empty()) return;
  FEnabled = FControl ? FControl->Enabled() : IsWindowEnabled(FHandle) != FALSE;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int stripHeight = std::min(height, int(DisplayArea(FHandle, width, height).top) - 4 + 1);
  DibSurface* out = stripHeight > 0 ? Surface(width, stripHeight) : nullptr;
  if (!out) return;
  HDC mem = out->DC();
  FillSkinFace(mem, RECT{0, 0, width, stripHeight});
  HGDIOBJ oldFont = SelectObject(mem, WindowFont(FHandle));
  SetBkMode(mem, TRANSPARENT);

  const int count = std::max(0, int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0)));
  const int focus = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
  const FrameMargins margins = MarginsOf(*buttons);
  std::wstring text;
  int image = -1;
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item))) continue;
    OffsetRect(&item, 0, 1);
    const int frame = i == focus ? 2 : 1;
    DrawFrame(mem, item, buttons->Bitmap, false, buttons->Tile == 1, buttons->Trans == 1, 5, frame, margins);
    COLORREF colour = RGB(0, 0, 0);
    if (frame == 1 && buttons->HasNormalColour2) colour = COLORREF(ResolveColour(buttons->NormalColour2));
    if (frame == 2 && buttons->HasPressedColour2) colour = COLORREF(ResolveColour(buttons->PressedColour2));
    SetTextColor(mem, colour);
    ReadTab(FHandle, FUnicode, i, text, image);
    DrawImageAndText(mem, item, haCentre, text, image, images, TextFlags(0));
  }
  SelectObject(mem, oldFont);
  GdiFlush();
  BitBlt(dc, r.left, r.top, width, stripHeight, mem, 0, 0, SRCCOPY);
  if (FControl) {
    // The strip's labels and other window-less children, as the library paints them.
    const int saved = SaveDC(dc);
    FControl->PaintControls(dc);
    RestoreDC(dc, saved);
  }
}
