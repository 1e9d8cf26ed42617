// Buttons with glyphs (Windows).
//
// Classes and functions in this file:
//   TBitBtn           push button drawn by the library: Glyph beside the caption,
//                     NumGlyphs (up, disabled, down), Layout, Margin, Spacing
//   TSpeedButton      window-less button painted on its parent: Down, Flat,
//                     GroupIndex (one down per group), AllowAllUp, Glyph
//   LoadBitmapFromBmp a BMP file's bytes into a TBitmap
//   DrawButtonGlyph   one image of a glyph strip; the strip's bottom-left pixel
//                     colour is transparent
#pragma once

#include <cstdint>
#include <vector>

#include "gui/ButtonLayout.h"
#include "gui/ImgList.h"
#include "gui/StdCtrls.h"

extern const TEnumInfo kButtonLayoutInfo;

// Fills the bitmap from BMP file bytes (uncompressed 1, 4, 8, 16, 24 or
// 32 bits per pixel, or RLE); false, with the bitmap untouched, for anything
// that is not a complete, sane bitmap.
bool LoadBitmapFromBmp(TBitmap& bitmap, const std::vector<uint8_t>& bytes);
// Image index of numGlyphs side by side at (x, y); a missing disabled image
// is drawn greyed from the first one.
void DrawButtonGlyph(HDC dc, TBitmap& glyph, int numGlyphs, int index, int x, int y, bool enabled);

// Glyph, NumGlyphs, Layout, Margin and Spacing shared by both buttons.
class TButtonGlyph {
 public:
  virtual ~TButtonGlyph() = default;
  TBitmap* Glyph() { return &FGlyph; }
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int n);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout l);
  int Margin() const { return FMargin; }
  void SetMargin(int m);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int s);
  // Loads the glyph from BMP bytes (EPropertyError when they are not one).
  void LoadGlyph(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> SaveGlyph();
  // Size of one image of the strip (0x0 without a glyph).
  SIZE GlyphSize() const;
  // Paints glyph and caption inside r in the given state (0 up, 1 disabled,
  // 2 down); an image of `images` (when imageIndex is one) replaces the glyph.
  void DrawContents(HDC dc, RECT r, const std::wstring& caption, HFONT font, COLORREF textColour, int state,
                    TButtonLayout layout, int margin, int spacing, bool rtl, TImageList* images = nullptr,
                    int imageIndex = -1, int disabledIndex = -1);

 protected:
  // Repaints the button after its glyph or layout changed.
  virtual void GlyphChanged() = 0;

  TBitmap FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1, FSpacing = 4;
};

class TBitBtn : public TButton, public TButtonGlyph {
  TW_DECLARE_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner);
  // An image list image instead of the glyph (DisabledIndex: when disabled).
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int i);
  int DisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int i);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void Notification(TComponent* c, TOperation op) override;
  void GlyphChanged() override { Invalidate(); }

 private:
  void DrawItem(const DRAWITEMSTRUCT& d);
  TImageList* FImages = nullptr;
  int FImageIndex = -1, FDisabledIndex = -1;
};

class TSpeedButton : public TControl, public TButtonGlyph {
  TW_DECLARE_CLASS(TSpeedButton, TControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  bool Down() const { return FDown; }
  // Only buttons of a group (GroupIndex != 0) stay down; a down button of a
  // group without AllowAllUp comes up only when another one goes down.
  void SetDown(bool d);
  bool Flat() const { return FFlat; }
  void SetFlat(bool f);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int g);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool a);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool t);
  // Whether the mouse is over the button (drawn raised when Flat).
  bool MouseInControl() const { return FHot; }
  // Whether the left button is held on it.
  bool Pressed() const { return FMouseDown; }

  void Click() override;
  void Paint(HDC dc) override;
  void WndProc(TMessage& m) override;

 protected:
  void GlyphChanged() override { Invalidate(); }

 private:
  bool FDown = false, FFlat = false, FAllowAllUp = false, FTransparent = false, FHot = false;
  int FGroupIndex = 0;
};
