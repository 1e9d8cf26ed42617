#include "skin/controls/SkinBitButton.h"

#include <algorithm>

#include "gui/Controls.h"
#include "gui/Graphics.h"
#include "gui/ImgList.h"
#include "skin/controls/ButtonGeometry.h"
#include "skin/controls/ControlGeometry.h"
#include "skin/data/DcDrawing.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WideText.h"

TW_IMPLEMENT_CLASS(TSkinBitButton, [](TClassBuilder<TSkinBitButton>&) {})

namespace {

// Glyph `n` (1-based; glyph 1 when the strip has fewer) of a strip of
// `count` equal images, grey for the disabled glyph 2, drawn with its
// bottom-left pixel transparent.
void DrawGlyphCut(HDC dc, TBitmap& strip, int count, int n, int x, int y) {
  const int w = strip.Width() / count, h = strip.Height();
  if (w <= 0 || h <= 0) return;
  if (count < n) n = 1;
  GdiFlush();
  Image cut(w, h);
  if (cut.Empty() || !strip.Pixels()) return;
  const int left = (n - 1) * w;
  for (int row = 0; row < h; ++row) {
    const uint32_t* from = strip.ScanLine(row) + left;
    std::copy(from, from + w, cut.Row(row));
  }
  if (n == 2) GreyBitmap(cut);
  const COLORREF key = ColourFromPixel(PixelRGB(cut.Row(h - 1)[0]));
  TransparentDraw(dc, RECT{x, y, x + w, y + h}, cut, key);
}

}  // namespace

TBitmap* TSkinBitButton::GlyphOf(TControl* source) const {
  if (!source) return nullptr;
  const std::wstring name = FGraphicProperty.empty() ? std::wstring(L"Glyph") : FGraphicProperty;
  auto* glyph = dynamic_cast<TBitmap*>(GetObjectProp(source, name));
  return glyph && !glyph->Empty() ? glyph : nullptr;
}

void TSkinBitButton::DrawContents(HDC picture, int width, int height, int frame, bool focused) {
  const bool enabled = frame != kButtonDisabled;
  DrawGlyphAndCaption(picture, Source(), FCaption, width, height, BitButtonGlyph(frame, enabled), enabled, focused,
                      false);
}

void TSkinBitButton::DrawGlyphAndCaption(HDC picture, TControl* source, const std::wstring& caption, int width,
                                         int height, int glyphNumber, bool enabled, bool focused,
                                         bool speedButton) {
  TBitmap* glyph = GlyphOf(source);
  auto* images = source ? dynamic_cast<TImageList*>(GetObjectProp(source, L"Images")) : nullptr;
  int count = source ? GetIntProp(source, L"NumGlyphs") : -1;
  if (count < 1) count = 1;
  const int imageIndex = source ? GetIntProp(source, L"ImageIndex") : -1;
  const int disabledIndex = source ? GetIntProp(source, L"DisabledIndex") : -1;
  const int margin = source ? GetIntProp(source, L"Margin") : -1;
  const int spacing = source ? GetIntProp(source, L"Spacing") : -1;
  const TGlyphLayout layout = GlyphLayoutFromName(source ? GetEnumProp(source, L"Layout") : std::wstring());
  const bool centred = source && _wcsicmp(GetEnumProp(source, L"Alignment").c_str(), L"taCenter") == 0;

  int gw = 0, gh = 0;
  if (glyph) {
    gw = glyph->Width() / count;
    gh = glyph->Height();
  } else if (images && imageIndex != -1) {
    gw = images->Width();
    gh = images->Height();
  }

  const std::wstring text = ButtonCaptionText(caption);
  const bool across = layout == TGlyphLayout::Left || layout == TGlyphLayout::Right;
  RECT measured{2, 2, width - 2, height - 2};
  if (across) measured.right -= gw + 2;
  else measured.bottom -= gh + 2;
  int tw = 0, th = 0;
  if (!text.empty()) {
    DrawTextWide(picture, text, measured, DT_CALCRECT | DT_WORDBREAK);
    tw = measured.right - measured.left;
    th = measured.bottom - measured.top;
  }
  const TGlyphPlacement place = PlaceGlyphAndText(width, height, gw, gh, tw, th, layout, margin, spacing, centred,
                                                  speedButton);
  if (glyph) {
    DrawGlyphCut(picture, *glyph, count, glyphNumber, place.glyphX, place.glyphY);
  } else if (images && enabled && imageIndex != -1) {
    images->Draw(picture, place.glyphX, place.glyphY, imageIndex, true);
  } else if (images && !enabled) {
    if (disabledIndex != -1) images->Draw(picture, place.glyphX, place.glyphY, disabledIndex, true);
    else if (imageIndex != -1) images->Draw(picture, place.glyphX, place.glyphY, imageIndex, false);
  }
  RECT box{place.textX, place.textY, place.textX + tw, place.textY + th};
  if (!text.empty()) DrawTextWide(picture, text, box, TextFlags(place.textFlags));
  if (focused) DrawFocusAround(picture, box);
}
