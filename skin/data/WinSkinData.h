// Skin elements: one skinnable part of the active skin each (portable).
//
// Classes in this file:
//   TDataSkinObject     margins, image strip, transparency and tile flags,
//                       frame count, style and state colours of one element
//   TDataSkinBorder     an element with a second image (tabs, up-down, combo
//                       button, progress bar, the four frame borders)
//   TDataSkinButton     push buttons, with the check-box and radio images
//   TDataSkinSysButton  one caption button
//   TDataSkinTitle      the caption text settings
//   TDataSkinBoxLabel   the group box
//
// Frames of an image strip sit side by side, are of equal width and are
// numbered from 1; 0xFF00FF is the transparent colour of every skin image.
// The elements are plain data: the skin model builder fills them and the
// painters only read them. A frame count read from the settings may be 0 or
// negative: readers must not divide by it unchecked.
#pragma once

#include <cstdint>
#include <string>

#include "skin/data/Image.h"
#include "skin/data/SkinColour.h"

// The value of an unset caption text colour.
constexpr TColour kColourNotSet = 0x1FFFFFFF;

class TDataSkinObject {
public:
  // Construction
  TDataSkinObject() = default;
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  // Attributes
  int32_t LeftWidth = 0;     // left part drawn unscaled
  int32_t TopHeight = 0;     // top part drawn unscaled
  int32_t RightWidth = 0;    // right part drawn unscaled
  int32_t BottomHeight = 0;  // bottom part drawn unscaled
  Image Bitmap;              // strip of FrameCount frames; empty when the skin has none
  int32_t Trans = 0;         // 1: magenta pixels are transparent
  int32_t Tile = 0;          // 0: middle stretched, 1: tiled (borders: the Stretch setting)
  std::string Name;          // section the element was read from, or a fixed name
  int32_t FrameCount = 1;
  int32_t Style = 0;         // meaning fixed by the element's painter
  int32_t NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
  TColour NormalColour2 = SystemColour(kSysButtonText);
  TColour MouseOverColour2 = SystemColour(kSysButtonText);
  TColour PressedColour2 = SystemColour(kSysButtonText);
};

class TDataSkinBorder : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  Image Bitmap2;  // second image
};

class TDataSkinButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  Image CheckBitmap;
  Image RadioBitmap;
  int32_t RadioFrameCount = 0;
  int32_t CheckFrameCount = 0;
  uint8_t HasNormalColour2 = 0;     // 1 when the skin sets NormalColour2
  uint8_t HasMouseOverColour2 = 0;  // 1 when the skin sets MouseOverColour2
  uint8_t HasPressedColour2 = 0;    // 1 when the skin sets PressedColour2
};

class TDataSkinSysButton : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t XCoord = 0;
  int32_t YCoord = 0;
  int32_t CombineOp = -1;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// Caption text. The margins hold TextShift (LeftWidth), TextShiftVert
// (TopHeight) and TextRightClip (RightWidth); Bitmap holds the TextBack image.
class TDataSkinTitle : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0;
  int32_t TextBackground = 0;
  int32_t FontHeight = 14;
  int32_t TextBackLeft = 0;
  int32_t TextBackRight = 0;
  TColour ActiveTextColour = kColourNotSet;
  TColour InactiveTextColour = kColourNotSet;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};
