// PNG encoding for the preview sheets (8-bit RGB, no interlace).
//
// Functions: EncodePng, Deflate, Crc32, Adler32.
#pragma once

#include "skin/data/Image.h"

#include <cstdint>
#include <span>
#include <vector>

namespace skintool {

// The image's red, green and blue as an 8-bit RGB PNG (alpha ignored).
std::vector<uint8_t> EncodePng(const Image& img);

// A zlib stream (RFC 1950) of `data`, compressed with fixed-code deflate
// blocks (RFC 1951) and a hash-chain match finder.
std::vector<uint8_t> Deflate(std::span<const uint8_t> data);

uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc = 0);
uint32_t Adler32(std::span<const uint8_t> data);

} // namespace skintool
