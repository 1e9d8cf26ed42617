#include "gui/Buttons.h"

#include "gui/ButtonFace.h"

#include <algorithm>
#include <cstring>

const TEnumInfo kButtonLayoutInfo{L"TButtonLayout", {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"}};

// ---------------------------------------------------------------------------
// Glyph bitmaps

namespace {

template <class T>
T ReadLE(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void AppendLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

bool LoadBitmapFromBmp(TBitmap& bitmap, const std::vector<uint8_t>& bytes) {
  const size_t fileHeader = 14, infoHeader = 40;
  if (bytes.size() < fileHeader + infoHeader || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const uint8_t* info = bytes.data() + fileHeader;
  uint32_t offBits = ReadLE<uint32_t>(bytes.data() + 10);
  uint32_t headerSize = ReadLE<uint32_t>(info);
  int32_t width = ReadLE<int32_t>(info + 4), height = ReadLE<int32_t>(info + 8);
  uint16_t planes = ReadLE<uint16_t>(info + 12), bits = ReadLE<uint16_t>(info + 14);
  uint32_t compression = ReadLE<uint32_t>(info + 16), used = ReadLE<uint32_t>(info + 32);
  if (headerSize < infoHeader || headerSize > bytes.size() - fileHeader || planes != 1) return false;
  // A glyph is small; anything huge is a broken or hostile file.
  if (width <= 0 || width > 4096 || height == 0 || height < -4096 || height > 4096) return false;
  int rows = height < 0 ? -height : height;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  size_t colours = bits <= 8 ? (used ? used : (1u << bits)) : 0;
  if (bits <= 8 && used > (1u << bits)) return false;
  size_t masks = compression == BI_BITFIELDS && headerSize == infoHeader ? 12 : 0;
  size_t tableEnd = fileHeader + headerSize + masks + colours * 4;
  if (tableEnd > bytes.size() || offBits < tableEnd - colours * 4 - masks || offBits > bytes.size()) return false;
  size_t available = bytes.size() - offBits;
  size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  switch (compression) {
    case BI_RGB:
    case BI_BITFIELDS:
      if (compression == BI_BITFIELDS && bits != 16 && bits != 32) return false;
      if (stride * static_cast<size_t>(rows) > available) return false;
      break;
    case BI_RLE8:
    case BI_RLE4:
      if ((compression == BI_RLE8 && bits != 8) || (compression == BI_RLE4 && bits != 4) || height < 0) return false;
      break;
    default:
      return false;
  }
  // The header, masks and colour table as the platform reads them.
  std::vector<uint8_t> bmi(bytes.begin() + static_cast<std::ptrdiff_t>(fileHeader),
                           bytes.begin() + static_cast<std::ptrdiff_t>(tableEnd));
  reinterpret_cast<BITMAPINFOHEADER*>(bmi.data())->biSize = static_cast<DWORD>(infoHeader);
  if (headerSize > infoHeader) {  // a longer header: keep the first 40 bytes, then masks and colours
    bmi.erase(bmi.begin() + static_cast<std::ptrdiff_t>(infoHeader),
              bmi.begin() + static_cast<std::ptrdiff_t>(headerSize));
    if (compression == BI_BITFIELDS) {
      if (headerSize < 52) return false;
      bmi.insert(bmi.begin() + static_cast<std::ptrdiff_t>(infoHeader), info + 40, info + 52);
    }
  }
  TBitmap result(width, rows);
  if (result.Empty()) return false;
  PatBlt(result.DC(), 0, 0, width, rows, BLACKNESS);
  int done = StretchDIBits(result.DC(), 0, 0, width, rows, 0, 0, width, rows, bytes.data() + offBits,
                           reinterpret_cast<BITMAPINFO*>(bmi.data()), DIB_RGB_COLORS, SRCCOPY);
  if (done == 0 || done == static_cast<int>(GDI_ERROR)) return false;
  GdiFlush();
  bitmap.Assign(&result);
  return true;
}

namespace {

std::vector<uint8_t> BitmapToBmp(TBitmap& bitmap) {
  std::vector<uint8_t> out;
  if (bitmap.Empty()) return out;
  GdiFlush();
  uint32_t pixels = static_cast<uint32_t>(bitmap.Width() * bitmap.Height() * 4);
  out.push_back('B');
  out.push_back('M');
  AppendLE(out, 54 + pixels, 4);
  AppendLE(out, 0, 4);
  AppendLE(out, 54, 4);
  AppendLE(out, 40, 4);
  AppendLE(out, static_cast<uint32_t>(bitmap.Width()), 4);
  AppendLE(out, static_cast<uint32_t>(-bitmap.Height()), 4);  // top-down rows
  AppendLE(out, 1, 2);
  AppendLE(out, 32, 2);
  for (int i = 0; i < 6; ++i) AppendLE(out, 0, 4);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(bitmap.Pixels());
  out.insert(out.end(), bits, bits + pixels);
  return out;
}

}  // namespace

void DrawButtonGlyph(HDC dc, TBitmap& glyph, int numGlyphs, int index, int x, int y, bool enabled) {
  if (glyph.Empty()) return;
  numGlyphs = std::clamp(numGlyphs, 1, 4);
  int w = glyph.Width() / numGlyphs, h = glyph.Height();
  if (w <= 0) return;
  bool grey = false;
  if (index >= numGlyphs) {
    grey = index == 1;  // no disabled image: grey the first
    index = 0;
  }
  // Compose over what is on the DC: pixels of the key colour let it through.
  TBitmap back(w, h);
  BitBlt(back.DC(), 0, 0, w, h, dc, x, y, SRCCOPY);
  GdiFlush();
  const uint32_t key = glyph.ScanLine(h - 1)[0] & 0xFFFFFF;
  for (int row = 0; row < h; ++row) {
    const uint32_t* src = glyph.ScanLine(row) + index * w;
    uint32_t* dst = back.ScanLine(row);
    for (int col = 0; col < w; ++col) {
      uint32_t p = src[col] & 0xFFFFFF;
      if (p == key) continue;
      if (grey || !enabled) {
        uint32_t lum = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
        lum = 128 + lum / 2;  // light grey, as disabled glyphs look
        p = (lum << 16) | (lum << 8) | lum;
      }
      dst[col] = p;
    }
  }
  BitBlt(dc, x, y, w, h, back.DC(), 0, 0, SRCCOPY);
}

void TButtonGlyph::LoadGlyph(const std::vector<uint8_t>& bytes) {
  if (!LoadBitmapFromBmp(FGlyph, bytes)) throw EPropertyError(L"Glyph: not a readable bitmap");
  GlyphChanged();
}

std::vector<uint8_t> TButtonGlyph::SaveGlyph() { return BitmapToBmp(FGlyph); }

void TButtonGlyph::SetNumGlyphs(int n) {
  FNumGlyphs = std::clamp(n, 1, 4);
  GlyphChanged();
}
void TButtonGlyph::SetLayout(TButtonLayout l) {
  FLayout = l;
  GlyphChanged();
}
void TButtonGlyph::SetMargin(int m) {
  FMargin = std::max(m, -1);
  GlyphChanged();
}
void TButtonGlyph::SetSpacing(int s) {
  FSpacing = std::max(s, -1);
  GlyphChanged();
}

SIZE TButtonGlyph::GlyphSize() const {
  if (FGlyph.Empty()) return SIZE{0, 0};
  return SIZE{FGlyph.Width() / std::max(FNumGlyphs, 1), FGlyph.Height()};
}

void TButtonGlyph::DrawContents(HDC dc, RECT r, const std::wstring& caption, HFONT font, COLORREF textColour,
                                int state, TButtonLayout layout, int margin, int spacing, bool rtl,
                                TImageList* images, int imageIndex, int disabledIndex) {
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT measured{0, 0, std::max<int>(0, r.right - r.left), 0};
  UINT flags = DT_CALCRECT | DT_SINGLELINE | (rtl ? DT_RTLREADING : 0);
  if (!caption.empty()) DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, flags);
  else measured = RECT{0, 0, 0, 0};
  bool useImages = images && imageIndex >= 0 && imageIndex < images->Count();
  SIZE g = useImages ? SIZE{images->Width(), images->Height()} : GlyphSize();
  TButtonContents at = LayoutButtonContents(r.right - r.left, r.bottom - r.top, g.cx, g.cy, measured.right,
                                            measured.bottom, layout, margin, spacing);
  if (useImages) {
    bool own = state == 1 && disabledIndex >= 0 && disabledIndex < images->Count();
    images->Draw(dc, r.left + at.glyphX, r.top + at.glyphY, own ? disabledIndex : imageIndex, state != 1 || own);
  } else if (g.cx > 0) {
    DrawButtonGlyph(dc, FGlyph, FNumGlyphs, state, r.left + at.glyphX, r.top + at.glyphY, state != 1);
  }
  if (!caption.empty()) {
    RECT t{r.left + at.textX, r.top + at.textY, r.left + at.textX + measured.right, r.top + at.textY + measured.bottom};
    SetBkMode(dc, TRANSPARENT);
    UINT drawFlags = DT_SINGLELINE | (rtl ? DT_RTLREADING : 0);
    if (state == 1) {
      RECT shifted = t;
      OffsetRect(&shifted, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shifted, drawFlags);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
      SetTextColor(dc, textColour);
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &t, drawFlags);
  }
  SelectObject(dc, oldFont);
}

// ---------------------------------------------------------------------------
// TBitBtn

TW_IMPLEMENT_CLASS(TBitBtn, [](TClassBuilder<TBitBtn>& c) {
  c.Sub(L"Glyph", TPropKind::Object, &TBitBtn::Glyph);
  c.Binary(L"Glyph.Data", &TBitBtn::LoadGlyph, &TBitBtn::SaveGlyph);
  c.Int(L"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs);
  c.Enum(L"Layout", kButtonLayoutInfo, &TBitBtn::Layout, &TBitBtn::SetLayout);
  c.Int(L"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin);
  c.Int(L"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
  c.Ref(L"Images", &TBitBtn::Images, &TBitBtn::SetImages);
  c.Int(L"ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex);
  c.Int(L"DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex);
})

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style &= ~static_cast<DWORD>(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
  p.style |= BS_OWNERDRAW;
}

void TBitBtn::SetImages(TImageList* images) {
  FImages = images;
  if (images) FreeNotification(images);
  Invalidate();
}
void TBitBtn::SetImageIndex(int i) {
  FImageIndex = std::max(i, -1);
  Invalidate();
}
void TBitBtn::SetDisabledIndex(int i) {
  FDisabledIndex = std::max(i, -1);
  Invalidate();
}

void TBitBtn::Notification(TComponent* c, TOperation op) {
  TButton::Notification(c, op);
  if (op == opRemove && c == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& d) {
  RECT r = d.rcItem;
  bool pushed = (d.itemState & ODS_SELECTED) != 0, focused = (d.itemState & ODS_FOCUS) != 0;
  bool disabled = (d.itemState & ODS_DISABLED) != 0;
  HDC dc = d.hDC;
  if (Default() || focused) {  // the default button's dark outline
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  RECT inside = r;
  InflateRect(&inside, -2, -2);
  if (pushed) OffsetRect(&inside, 1, 1);
  DrawContents(dc, inside, Caption(), FFont.Handle(), ColorToRGB(FFont.Color()), disabled ? 1 : pushed ? 2 : 0,
               FLayout, FMargin, FSpacing, UseRightToLeftReading(), FImages, FImageIndex, FDisabledIndex);
  if (focused) {
    RECT f = r;
    InflateRect(&f, -3, -3);
    DrawFocusRect(dc, &f);
  }
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  // An owner-drawn button ignores BM_SETSTYLE's default look; we draw it.
  TButton::WndProc(m);
}

// ---------------------------------------------------------------------------
// TSpeedButton

TW_IMPLEMENT_CLASS(TSpeedButton, [](TClassBuilder<TSpeedButton>& c) {
  c.Bool(L"Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  c.Bool(L"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
  c.Int(L"GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
  c.Bool(L"AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
  c.Sub(L"Glyph", TPropKind::Object, &TSpeedButton::Glyph);
  c.Binary(L"Glyph.Data", &TSpeedButton::LoadGlyph, &TSpeedButton::SaveGlyph);
  c.Int(L"NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs);
  c.Enum(L"Layout", kButtonLayoutInfo, &TSpeedButton::Layout, &TSpeedButton::SetLayout);
  c.Int(L"Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin);
  c.Int(L"Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
  c.Bool(L"Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent);
})

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) {
  FWidth = 23;
  FHeight = 22;
  FParentColor = true;
}

void TSpeedButton::SetDown(bool d) {
  if (FGroupIndex == 0) d = false;
  if (d == FDown) return;
  // The one down button of a group without AllowAllUp stays down.
  if (FDown && !FAllowAllUp && !Loading()) return;
  FDown = d;
  if (d && FParent) {
    for (int i = 0; i < FParent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
      if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) {
        other->FDown = false;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::SetFlat(bool f) {
  FFlat = f;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int g) {
  FGroupIndex = g;
  if (g == 0 && !Loading()) {
    FDown = false;
    Invalidate();
  }
}

void TSpeedButton::SetAllowAllUp(bool a) {
  FAllowAllUp = a;
  // The whole group shares the setting.
  if (FParent && FGroupIndex != 0) {
    for (int i = 0; i < FParent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
      if (other && other->FGroupIndex == FGroupIndex) other->FAllowAllUp = a;
    }
  }
}

void TSpeedButton::SetTransparent(bool t) {
  FTransparent = t;
  Invalidate();
}

void TSpeedButton::Click() {
  if (FGroupIndex != 0) {
    if (FDown && FAllowAllUp) {
      FDown = false;
      Invalidate();
    } else {
      SetDown(true);
    }
  }
  TControl::Click();
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, FWidth, FHeight};
  if (!FTransparent) {
    HBRUSH b = CreateSolidBrush(ColorToRGB(FColor));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  bool sunken = FDown || (FMouseDown && FHot);
  DrawButtonEdge(dc, r, FFlat, sunken, FHot && FEnabled);
  RECT inside = r;
  InflateRect(&inside, -2, -2);
  if (sunken) OffsetRect(&inside, 1, 1);
  int state = !FEnabled ? 1 : sunken ? 2 : 0;
  if (FDown && FNumGlyphs > 3) state = 3;
  DrawContents(dc, inside, Caption(), FFont.Handle(), ColorToRGB(FFont.Color()), state, FLayout, FMargin, FSpacing,
               UseRightToLeftReading());
}

void TSpeedButton::WndProc(TMessage& m) {
  const bool repaint = TrackButtonHot(*this, FHot, m.Msg);
  TControl::WndProc(m);
  if (repaint) Invalidate();
}
