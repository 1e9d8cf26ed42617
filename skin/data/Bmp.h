// BMP reading and writing for skin images (portable).
//
// Functions in this file:
//   DecodeBmp  - BMP file bytes -> Image
//   EncodeBmp  - Image -> 24- or 32-bit BMP file bytes
//
// Read: the file header "BM" followed by an info header of 12 (core) or 40
// and more bytes (52, 56, 108 and 124 are the usual ones; every field is read
// only where the header and the file hold it); 1, 4, 8, 16, 24 and 32 bits per pixel; bottom-up and
// top-down rows; RLE8 and RLE4; bit-field masks (16 and 32 bits); palettes
// shorter than the maximum. Anything else, a size beyond Image::kMaxSide or
// Image::kMaxPixels, or pixel data shorter than the header promises gives
// false and an empty image: a broken image is a missing image, never a crash.
// A palette index beyond the palette reads as black; RLE runs and deltas that
// leave the image are cut at its edge.
//
// The result's BitCount() is 32 for 32-bit files and 24 otherwise; only 32-bit
// files without masks, or with an alpha mask, carry an alpha byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "skin/data/Image.h"

// `maxPixels` lowers the bound on width x height below Image::kMaxPixels.
bool DecodeBmp(const uint8_t* data, std::size_t size, Image& out, std::size_t maxPixels = Image::kMaxPixels);
inline bool DecodeBmp(std::string_view bytes, Image& out) {
  return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}
// Convenience: the decoded image, or an empty one.
inline Image DecodeBmp(std::string_view bytes) {
  Image img;
  DecodeBmp(bytes, img);
  return img;
}

// Writes a bottom-up BMP with a 40-byte info header. bitsPerPixel 24 or 32;
// 0 means the image's BitCount(). An empty image gives an empty vector.
std::vector<uint8_t> EncodeBmp(const Image& img, int bitsPerPixel = 0);
