// Windows BMP encoding for generated images.
//
// Classes in this file:
//   Picture - a top-down 0xRRGGBB pixel grid.
// Functions: encodeBmp24 (the skin images), encodeBmpIndexed (the program's
// 1-bit and 4-bit bitmap resources, palette given).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skingen {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // top-down rows, 0xRRGGBB

    Picture() = default;
    Picture(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Bottom-up 24-bit BMP with a 40-byte info header.
std::vector<uint8_t> encodeBmp24(const Picture& p);

// Bottom-up palette BMP (bits 1 or 4). Every pixel must be one of the
// palette colours; throws std::invalid_argument otherwise.
std::vector<uint8_t> encodeBmpIndexed(const Picture& p, int bits, const std::vector<uint32_t>& palette);

} // namespace skingen
