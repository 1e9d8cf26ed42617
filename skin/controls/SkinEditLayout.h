// The skinned edit border (portable).
//
// Functions in this file:
//   EditHasBorder     whether a window's client area is smaller than the window
//   ComposeEditBorder the three rings of the border as an image
#pragma once

#include <cstdint>

#include "skin/data/Image.h"

// False for an edit drawn without a border (client as wide or as high as the
// window): such an edit is left exactly as the platform draws it.
bool EditHasBorder(int windowWidth, int windowHeight, int clientWidth, int clientHeight);

// width x height: the outer 1-pixel ring in `shadow` (a skin colour), the next
// two rings white; the inside is left white too. The caller copies only the
// part outside the client area.
Image ComposeEditBorder(int width, int height, uint32_t shadow);
