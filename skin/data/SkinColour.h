// Skin colours and the colour text of the skin settings.
//
// Classes and functions in this file:
//   TColour            32-bit colour, red in the low byte, green, then blue.
//   SystemColour       the value naming system colour k (0xFF000000 + k).
//   IsSystemColour     true for such a value; painters resolve it when drawing.
//   MakeColour         a plain colour from its three channels.
//   ColourFromText     parses the "R G B" colour text of the settings.
#pragma once

#include <cstdint>
#include <string_view>

using TColour = std::uint32_t;

constexpr TColour kWhite = 0xFFFFFF;
constexpr TColour kBlack = 0x000000;

// The system colour indices the skin model falls back to.
enum : int {
  kSysScrollbar = 0,
  kSysMenu = 4,
  kSysMenuText = 7,
  kSysWindowText = 8,
  kSysCaptionText = 9,
  kSysHighlight = 13,
  kSysHighlightText = 14,
  kSysButtonFace = 15,
  kSysButtonShadow = 16,
  kSysButtonText = 18,
  kSysInactiveCaptionText = 19,
  kSysButtonHighlight = 20,
  kSys3DDarkShadow = 21,
};

constexpr TColour SystemColour(int index) {
  return 0xFF000000u | (static_cast<TColour>(index) & 0xFFu);
}

constexpr bool IsSystemColour(TColour c) { return (c >> 24) == 0xFFu; }

constexpr TColour MakeColour(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

constexpr unsigned RedOf(TColour c) { return c & 0xFFu; }
constexpr unsigned GreenOf(TColour c) { return (c >> 8) & 0xFFu; }
constexpr unsigned BlueOf(TColour c) { return (c >> 16) & 0xFFu; }

// Colour text: the decimal digit runs of the text are red, green and blue in
// that order, each reduced to its low 8 bits; an empty text gives `fallback`.
// A run that ends a text is only counted as the third number, so "10,20,30"
// is (10, 20, 30) while "255 128" is (255, 0, 0). Digits that would overflow
// any integer type are fine: only the low 8 bits of each number are kept.
TColour ColourFromText(std::string_view text, TColour fallback);
