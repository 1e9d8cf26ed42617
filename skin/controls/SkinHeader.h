// Skinned column header (Windows).
//
// Classes in this file:
//   TSkinHeader      repaints a header window's column buttons from the skin's
//                    Headerbar object (frame 1 normal, frame 2 under the
//                    mouse), fills the strip past the last column, and draws
//                    each column's image and caption on top
//   DrawImageAndText one column's image and caption within its rectangle
//
// A skin without a Headerbar image leaves the header native.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "skin/controls/SkinHeaderLayout.h"
#include "skin/controls/WinSubClass.h"

// Image (when `image` is not -1, a list exists and the image is narrower
// than the rectangle) and then the caption on one line, ending in an ellipsis
// when it is too long; `align` from HeaderTextAlign. Text in the DC's colour.
void DrawImageAndText(HDC dc, const RECT& r, HeaderAlign align, const std::wstring& text, int image,
                      HIMAGELIST images, UINT textFlags);

class TSkinHeader : public TSkinControl {
  TW_DECLARE_CLASS(TSkinHeader, TSkinControl)
 public:
  // --- construction
  explicit TSkinHeader(TComponent* owner);

  // --- attach
  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;

  // --- attributes
  // Index of the column under the mouse, -1 for none.
  int HotItem() const { return FHotItem; }
  // Each column's rectangle as last painted, shrunk by 3 at left and right.
  const std::vector<ImgRect>& ItemRects() const { return FItemRects; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  const TDataSkinObject* Headerbar() const;

  std::vector<ImgRect> FItemRects;
  int FHotItem = -1;
};
