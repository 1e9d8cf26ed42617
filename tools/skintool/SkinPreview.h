// Renders a skin into one preview sheet: a mock window (active and
// inactive) composed the way the skin engine composes it, then every element
// frame by frame at typical sizes, with labels.
//
// Functions: RenderPreview.
#pragma once

#include "skin/data/Image.h"
#include "tools/skintool/SkinFiles.h"

namespace skintool {

// Builds the skin model from `skin` and draws the sheet. Throws
// SkinToolError when the skin has no settings file or its model does not
// build.
Image RenderPreview(const SkinFiles& skin);

} // namespace skintool
