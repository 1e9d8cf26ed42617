// A small built-in 5 x 7 pixel font for the labels of the preview sheet.
//
// Functions: DrawLabel, LabelWidth. Lower-case letters are drawn as capitals;
// characters without a glyph are drawn as a box.
#pragma once

#include "skin/data/Image.h"

#include <string_view>

namespace skintool {

constexpr int kLabelHeight = 7;

// Draws `text` with its top-left corner at (x, y) in `pixel` colour
// (0x00RRGGBB), `scale` pixels per font pixel; returns the width drawn.
int DrawLabel(Image& img, int x, int y, std::string_view text, uint32_t pixel, int scale = 1);
int LabelWidth(std::string_view text, int scale = 1);

} // namespace skintool
