#include "skin/window/MenuItemPainter.h"

#include <algorithm>

#include "gui/ImgList.h"
#include "skin/controls/SkinSwitches.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/MenuItemLayout.h"
#include "skin/window/PopupMenu.h"

namespace {

// The screen's menu font, normal and bold, made once.
HFONT MenuFont(bool bold) {
  static HFONT fonts[2] = {};
  HFONT& f = fonts[bold ? 1 : 0];
  if (!f) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    LOGFONTW lf{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) lf = ncm.lfMenuFont;
    else GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    if (bold) lf.lfWeight = FW_BOLD;
    f = CreateFontIndirectW(&lf);
  }
  return f;
}

COLORREF Colour(TColour c) { return ResolveColour(c); }

bool HasImages(const TMenuSkin& skin) { return skin.MenuImages && skin.MenuImages->Count() > 0; }

const TDataSkinObject* MenuItemElement(const TMenuSkin& skin) {
  return skin.Model ? skin.Model->MenuItem() : nullptr;
}

SIZE TextSize(HDC dc, std::wstring text) {
  // An empty caption or a lone "&" is measured as if a space followed.
  if (text.empty() || text == L"&") text += L' ';
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The system check mark in `colour`, centred in `box` (item coordinates).
void DrawCheck(HDC dc, const RECT& box, int itemHeight, COLORREF colour) {
  const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
  if (cx <= 0 || cy <= 0) return;
  DibSurface mask;
  if (!mask.Resize(cx, cy)) return;
  std::fill(mask.Bits(), mask.Bits() + cx * cy, 0x00FFFFFFu);
  RECT r{0, 0, cx, cy};
  DrawFrameControl(mask.DC(), &r, DFC_MENU, DFCS_MENUCHECK);
  GdiFlush();
  Image glyph(cx, cy, kMagenta);
  const uint32_t ink = PixelFromColour(colour);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      if ((mask.Bits()[y * cx + x] & 0xFF) < 0x80) glyph.SetPixel(x, y, ink);
  const int x = box.left + (box.right - box.left - cx) / 2;
  const int y = (itemHeight - cy) / 2;
  TransparentDraw(dc, RECT{x, y, x + cx, y + cy}, glyph, kMagenta);
}

// Icon, check mark, caption and shortcut of an item, drawn on `dc` whose
// origin is the item's top-left corner.
void DrawItemContent(HDC dc, int w, int h, bool selected, const TMenuItemData& item, const TMenuSkin& skin,
                     bool rightToLeft) {
  const TDataSkinObject* element = MenuItemElement(skin);
  const bool images = HasImages(skin);
  const bool separator = item.IsSeparator();
  const TMenuItemBoxes boxes =
      MenuItemBoxes(ImgRect{0, 0, w, h}, separator, item.Checked, images ? skin.MenuImages->Width() : 0,
                    element != nullptr, element ? element->LeftWidth : 0, rightToLeft);
  const RECT icon{boxes.Icon.Left, boxes.Icon.Top, boxes.Icon.Right, boxes.Icon.Bottom};
  if (separator) {
    RECT edge{boxes.Caption.Left, 4, boxes.Caption.Right, h};
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_TOP);
    return;
  }
  if (images && item.ImageIndex >= 0 && item.ImageIndex < skin.MenuImages->Count()) {
    if (item.Checked) {
      // Checkered button face and highlight behind a checked image.
      const WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
      HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
      HBRUSH brush = CreatePatternBrush(pattern);
      const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      const COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      FillRect(dc, &icon, brush);
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBk);
      DeleteObject(brush);
      DeleteObject(pattern);
      RECT edge = icon;
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    skin.MenuImages->Draw(dc, icon.left, icon.top, item.ImageIndex, !item.Disabled);
  } else if (item.Checked) {
    DrawCheck(dc, icon, h, GetSysColor(COLOR_BTNTEXT));
  }

  const TSkinModel* m = skin.Model;
  COLORREF text;
  if (item.Disabled) {
    const TColour shadow = m ? m->ButtonShadowColour : SystemColour(kSysButtonShadow);
    const TColour menuText = m ? m->MenuTextColour : SystemColour(kSysMenuText);
    text = shadow == menuText ? GetSysColor(COLOR_BTNSHADOW) : Colour(shadow);
  } else if (selected) {
    text = Colour(m ? m->HilightTextColour : SystemColour(kSysHighlightText));
  } else {
    text = Colour(m ? m->MenuTextColour : SystemColour(kSysMenuText));
  }
  HGDIOBJ oldFont = SelectObject(dc, MenuFont(item.Default));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  const SIZE size = TextSize(dc, item.Caption);
  RECT caption{boxes.Caption.Left, (h - size.cy) / 2, boxes.Caption.Right, (h - size.cy) / 2 + size.cy};
  const UINT align = rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT;
  DrawTextW(dc, item.Caption.c_str(), int(item.Caption.size()), &caption, DT_SINGLELINE | DT_EXPANDTABS | align);
  if (!item.Shortcut.empty()) {
    RECT shortcut = rightToLeft ? RECT{11, caption.top, boxes.Caption.Right - size.cx, caption.bottom}
                                : RECT{boxes.Caption.Left + size.cx, caption.top, boxes.ShortcutRight, caption.bottom};
    DrawTextW(dc, item.Shortcut.c_str(), int(item.Shortcut.size()), &shortcut,
              DT_SINGLELINE | (rightToLeft ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
  }
  SelectObject(dc, oldFont);
}

// The separator piece of the MenuItem strip over `img`: left and right
// margins and the stretched middle of frame 2, magenta transparent.
void DrawSeparator(Image& img, const TDataSkinObject& element) {
  const Image& src = element.Bitmap;
  const ImgRect s = SeparatorSource(src.Width(), src.Height(), 5, img.Height());
  if (s.Empty()) return;
  const int l = std::clamp(element.LeftWidth, 0, s.Width());
  const int r = std::clamp(element.RightWidth, 0, s.Width() - l);
  const int w = img.Width(), h = img.Height();
  StretchCopy(img, ImgRect{0, 0, l, h}, src, ImgRect{s.Left, s.Top, s.Left + l, s.Bottom}, true);
  StretchCopy(img, ImgRect{w - r, 0, w, h}, src, ImgRect{s.Right - r, s.Top, s.Right, s.Bottom}, true);
  StretchCopy(img, ImgRect{l, 0, w - r, h}, src, ImgRect{s.Left + l, s.Top, s.Right - r, s.Bottom}, true);
}

}  // namespace

TMenuSkin MenuSkinOf(TSkinData& skin) {
  TMenuSkin s;
  s.Model = skin.SkinEmpty() ? nullptr : &skin.Model();
  s.SkinControls = skin.SkinControls();
  s.Options = skin.Options();
  s.DisableTag = skin.DisableTag();
  s.MenuImages = skin.MenuImages();
  return s;
}

TMenuItemData ReadNativeItem(HMENU menu, UINT position) {
  TMenuItemData item;
  item.Menu = menu;
  wchar_t text[82] = {};
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
  mi.dwTypeData = text;
  mi.cch = 81;
  if (!GetMenuItemInfoW(menu, position, TRUE, &mi)) {
    item.Caption = L"-";
    return item;
  }
  std::wstring s(text, std::min<size_t>(wcslen(text), 80));
  if ((mi.fType & MFT_SEPARATOR) || s.empty()) {
    item.Caption = L"-";
  } else {
    const size_t tab = s.find(L'\t');
    item.Caption = s.substr(0, tab);
    if (tab != std::wstring::npos) item.Shortcut = s.substr(tab + 1);
  }
  item.Checked = (mi.fState & MFS_CHECKED) != 0;
  item.Disabled = (mi.fState & MFS_DISABLED) != 0;  // MFS_GRAYED has the same bits
  item.Default = (mi.fState & MFS_DEFAULT) != 0;
  return item;
}

SIZE MeasurePopupItem(const TMenuItemData& item, const TMenuSkin& skin, bool hasImages) {
  const TDataSkinObject* element = MenuItemElement(skin);
  const int margin = element ? element->LeftWidth : 0;
  if (item.IsSeparator()) return SIZE{PopupItemWidth(0, element != nullptr, margin, hasImages), 8};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont(item.Default));
  const SIZE caption = TextSize(dc, item.Caption);
  int measured = caption.cx + 16 + 4;  // text and the icon box
  if (!item.Shortcut.empty()) measured += TextSize(dc, item.Shortcut).cx + 16;
  SelectObject(dc, old);
  DeleteDC(dc);
  const int height = std::max<int>(caption.cy + 4, 16 + 4);
  return SIZE{PopupItemWidth(measured, element != nullptr, margin, hasImages), height};
}

void PaintMenuItem(HDC dc, const RECT& rect, bool selected, const TMenuItemData& item, const TMenuSkin& skin,
                   bool rightToLeft) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  const TSkinModel* m = skin.Model;
  const TDataSkinObject* element = MenuItemElement(skin);
  Image img(w, h, PixelFromColour(Colour(m ? m->MenuColour : SystemColour(kSysMenu))));
  if (img.Empty()) return;
  if (!element) {
    if (selected && !item.IsSeparator())
      img.Fill(PixelFromColour(Colour(m ? m->HilightColour : SystemColour(kSysHighlight))));
  } else {
    // The menu window's skinned picture under the item.
    SkinPopups().TagNewPopup(item.Menu);
    const TWinSkinPopMenu* popup = SkinPopups().PopupFor(item.Menu);
    if (popup && !popup->Background().Empty()) {
      const POINT at = popup->ItemOffset();
      img.Blit(0, 0, popup->Background(), ImgRect{rect.left + at.x, rect.top + at.y, rect.right + at.x, rect.bottom + at.y});
    }
    if (item.IsSeparator()) {
      DrawSeparator(img, *element);
      DrawImage(dc, rect.left, rect.top, img);
      return;
    }
    DrawFrame(img, img.Bounds(), element->Bitmap, false, element->Tile != 0, element->Trans != 0, 5,
              selected ? 4 : 1,
              FrameMargins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight});
  }
  DibSurface surface;
  if (!surface.Assign(img)) return;
  DrawItemContent(surface.DC(), w, h, selected, item, skin, rightToLeft);
  GdiFlush();
  surface.DrawTo(dc, rect.left, rect.top);
}
