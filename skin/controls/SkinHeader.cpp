#include "skin/controls/SkinHeader.h"

#include <algorithm>

#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinHeader, [](TClassBuilder<TSkinHeader>&) {})

void DrawImageAndText(HDC dc, const RECT& r, HeaderAlign align, const std::wstring& text, int image,
                      HIMAGELIST images, UINT textFlags) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  int cx = 0, cy = 0;
  if (image != -1 && images) ImageList_GetIconSize(images, &cx, &cy);
  const bool useImage = image != -1 && images && cx < w;
  if (!useImage) cx = 0;
  const UINT lineFlags = DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS;
  // Measured within the item: a caption too long for it measures as wide as
  // the item and is drawn ending in an ellipsis (measured in an empty box, the
  // platform would measure the ellipsis alone).
  RECT measure{0, 0, std::max(0, w - cx), h};
  if (!text.empty())
    DrawTextW(dc, text.c_str(), int(text.size()), &measure, lineFlags | DT_CALCRECT | DT_NOCLIP);
  measure.right = std::min<LONG>(measure.right, std::max(0, w - cx));
  const int tw = measure.right - measure.left, th = measure.bottom - measure.top;
  const int x = HeaderContentX(align, w, cx, tw);
  if (useImage) ImageList_Draw(images, image, dc, r.left + x, r.top + (h - cx) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  RECT box{r.left + x + cx, r.top + (h - th) / 2, r.left + x + cx + tw, r.top + (h - th) / 2 + th};
  box.left = std::max(box.left, r.left);
  box.right = std::min(box.right, r.right);
  std::wstring copy = text;
  DrawTextW(dc, copy.data(), int(copy.size()), &box, lineFlags | textFlags);
}

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  TSkinControl::AttachControl(form, manageColor, canvas);
  FHotItem = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) {
  TSkinControl::AttachWindow(window, form, canvas);
  FHotItem = -1;
}

const TDataSkinObject* TSkinHeader::Headerbar() const {
  const TSkinModel* model = Skin();
  const TDataSkinObject* bar = model ? model->Headerbar() : nullptr;
  return bar && !bar->Bitmap.Empty() ? bar : nullptr;
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Headerbar()) return true;
      PaintClient(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!Headerbar()) return true;
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinHeader::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const int hit = HeaderHitTest(FItemRects, static_cast<short>(LOWORD(m.LParam)),
                                    static_cast<short>(HIWORD(m.LParam)));
      if (hit >= 0 && hit != FHotItem) {
        FHotItem = hit;
        RepaintSkin();
      }
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
      TrackMouseEvent(&t);
      break;
    }
    case WM_MOUSELEAVE:
      FHotItem = -1;
      RepaintSkin();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& r) {
  const TDataSkinObject* bar = Headerbar();
  if (!bar) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int count = std::max(0, int(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0)));
  std::vector<ImgRect> items;
  std::vector<int> indexes;
  for (int i = 0; i < count; ++i) {
    RECT ir{};
    if (!SendMessageW(FHandle, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
    items.push_back(MakeRect(ir.left, ir.top, ir.right, ir.bottom));
    indexes.push_back(i);
  }
  FItemRects.assign(size_t(count), ImgRect{});
  for (size_t k = 0; k < items.size(); ++k) FItemRects[size_t(indexes[k])] = HeaderHotRect(items[k]);
  int hotPosition = -1;
  for (size_t k = 0; k < indexes.size(); ++k)
    if (indexes[k] == FHotItem) hotPosition = int(k);

  const TSkinModel* model = Skin();
  DibSurface* surface = Surface(width, height);
  if (!surface) return;
  if (!surface->Assign(ComposeHeaderBar(*bar, items, hotPosition, width, height, model->ButtonFaceColour))) return;

  HDC mem = surface->DC();
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(mem, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(mem, TRANSPARENT);
  const bool enabled = IsWindowEnabled(FHandle) != FALSE;
  SetTextColor(mem, enabled ? ButtonText() : GetSysColor(COLOR_BTNSHADOW));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
  for (size_t k = 0; k < items.size(); ++k) {
    wchar_t text[201] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = 201;
    if (!SendMessageW(FHandle, HDM_GETITEMW, indexes[k], reinterpret_cast<LPARAM>(&item))) continue;
    text[200] = 0;
    if (!text[0]) continue;
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
    const ImgRect& ir = items[k];
    DrawImageAndText(mem, RECT{ir.Left, ir.Top, ir.Right, ir.Bottom}, HeaderTextAlign(item.fmt), text, image,
                     images, TextFlags(0));
  }
  SelectObject(mem, oldFont);
  GdiFlush();
  BitBlt(dc, r.left, r.top, width, height, mem, 0, 0, SRCCOPY);
}
