// Colour text of the skin settings: any bytes give a plain colour (or the
// fallback for the empty text) and the same answer every time.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/data/SkinColour.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  constexpr TColour kFallback = 0xFF000012;
  const TColour c = ColourFromText(text, kFallback);
  if (text.empty() ? c != kFallback : (c >> 24) != 0) std::abort();
  if (ColourFromText(text, 0) != (text.empty() ? 0 : c)) std::abort();
  return 0;
}
