// Skinned glyph buttons (Windows).
//
// Classes in this file:
//   TSkinBitButton   a push button with a glyph (a strip of NumGlyphs images:
//                    up, disabled, down, down-and-stuck) or an image-list
//                    image beside its caption, on the skin's Buttons frame.
//                    Press, hover and click are TSkinButton's. The glyph and
//                    its layout are read by property name (Glyph, Images,
//                    NumGlyphs, ImageIndex, DisabledIndex, Margin, Spacing,
//                    Layout, Alignment), so any library button that has them
//                    is served; a graphic-property name set on the object
//                    (e.g. "PngImage") is read instead of Glyph.
//
// The disabled glyph is the up glyph turned grey (r, g, b averaged); every
// cut is drawn with its own bottom-left pixel as the transparent colour.
#pragma once

#include <string>

#include "skin/controls/SkinButton.h"

class TSkinBitButton : public TSkinButton {
  TW_DECLARE_CLASS(TSkinBitButton, TSkinButton)
public:
  explicit TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}

  // The bitmap property read instead of Glyph; empty: Glyph.
  const std::wstring& GraphicProperty() const { return FGraphicProperty; }
  void SetGraphicProperty(const std::wstring& name) { FGraphicProperty = name; }

protected:
  void DrawContents(HDC picture, int width, int height, int frame, bool focused) override;

  // The glyph bitmap of `source` (nullptr when it has none or it is empty).
  TBitmap* GlyphOf(TControl* source) const;
  // Lays out glyph number `glyph` (1-based) and the caption of `source` on
  // the picture and draws both; `speedButton` selects the window-less
  // button's centring.
  void DrawGlyphAndCaption(HDC picture, TControl* source, const std::wstring& caption, int width, int height,
                           int glyph, bool enabled, bool focused, bool speedButton);

private:
  std::wstring FGraphicProperty;
};
