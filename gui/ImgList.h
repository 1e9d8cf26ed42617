// Image lists (Windows).
//
// Classes in this file:
//   TImageList   a row of equal-sized images with masks: Width, Height, Count;
//                filled from a bitmap strip (mask colour) or a bitmap resource;
//                drawn normally or in the disabled style
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "gui/Graphics.h"

class TImageList : public TComponent {
  TW_DECLARE_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;

  int Width() const { return FWidth; }
  void SetWidth(int w);
  int Height() const { return FHeight; }
  void SetHeight(int h);
  int Count() const;
  HIMAGELIST Handle();

  // Cuts the strip into Width-wide images; pixels of the mask colour are
  // transparent. Answers the index of the first image added, -1 on failure.
  int AddMasked(const TBitmap& strip, TColor maskColour);
  // Replaces the images with those of a bitmap resource of the exe.
  bool LoadFromResource(const std::wstring& name, TColor maskColour);
  void Clear();
  // Disabled: drawn greyed, as menus show disabled glyphs.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);

 private:
  void Recreate();
  int FWidth = 16, FHeight = 16;
  HIMAGELIST FHandle = nullptr;
};
