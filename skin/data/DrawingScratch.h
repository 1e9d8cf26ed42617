// The shared scratch objects of the skin engine's drawing routines (Windows).
//
// Classes and functions in this file:
//   DrawingScratch             owner of the scratch bitmap and scratch string
//                              list; while one exists, GetSysColor resolves
//                              system colours for the pixel routines
//   StartupDrawingUtilities,   counted start-up / shut-down of one
//   ShutdownDrawingUtilities   DrawingScratch for the whole program
//   ScratchBitmap, ScratchStrings   the current owner's objects
//
// The scratch objects live exactly as long as their DrawingScratch: the
// first start-up creates it, the matching last shut-down destroys it, and
// ScratchBitmap() answers null before and after (the frame painter tests
// that to stop painting at program end).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/Graphics.h"

class DrawingScratch {
public:
  // Construction: creates the 1x1 scratch bitmap (stretch mode colour on
  // colour) and the string list, and installs GetSysColor as the resolver
  // of system colours (ImgUtil.h). Only one may exist at a time: the second
  // one raises std::logic_error.
  DrawingScratch();
  // Frees both objects.
  ~DrawingScratch();
  DrawingScratch(const DrawingScratch&) = delete;
  DrawingScratch& operator=(const DrawingScratch&) = delete;

  // Attributes
  TBitmap* Bitmap() { return &bitmap_; }
  std::vector<std::wstring>* Strings() { return &strings_; }
  // The live owner, or nullptr.
  static DrawingScratch* Current();

private:
  TBitmap bitmap_;
  std::vector<std::wstring> strings_;
};

void StartupDrawingUtilities();
void ShutdownDrawingUtilities();
// The shared off-screen surface (its DC in stretch mode colour-on-colour when
// created; set it again after SetSize if StretchBlt is used on it); null
// before the first start-up and after the last shut-down.
TBitmap* ScratchBitmap();
std::vector<std::wstring>* ScratchStrings();
