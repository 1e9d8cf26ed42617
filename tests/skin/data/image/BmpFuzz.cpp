// Fuzz target: arbitrary bytes as a BMP; a decoded image is also pushed
// through the nine-slice renderer and the region builder, and re-encoded.
#include <cstddef>
#include <cstdint>

#include "skin/data/Bmp.h"
#include "skin/data/ImgUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image img;
  if (!DecodeBmp(data, size, img)) {
    if (!img.Empty()) __builtin_trap();
    return 0;
  }
  if (img.Empty() || img.Width() > Image::kMaxSide || img.Height() > Image::kMaxSide) __builtin_trap();
  // Small files may expand to large RLE images; the round trip is checked on
  // the sizes skins use.
  if (std::size_t(img.Width()) * std::size_t(img.Height()) > 1024 * 1024) return 0;
  std::vector<uint8_t> again = EncodeBmp(img, 32);
  Image back;
  if (!DecodeBmp(again.data(), again.size(), back) || !(back == img)) __builtin_trap();
  if (std::size_t(img.Width()) * std::size_t(img.Height()) <= 256 * 256) {
    int n = 1 + (size % 5);
    Image frame = BuildFrameBitmap({0, 0, 37, 23}, img, {int(size % 7), 3, 4, int(size % 11)},
                                   size & 1, size & 2, n, 1 + int(size % unsigned(n)));
    if (frame.Width() != 37 || frame.Height() != 23) __builtin_trap();
    (void)RegionRects(img, 1, 2, 1, 1, 1, kMagenta);
  }
  return 0;
}
