#include "tools/skingen/BmpOut.h"

#include <algorithm>
#include <stdexcept>

namespace skingen {

namespace {

void put16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& o, uint32_t v) {
    for (int i = 0; i < 4; ++i) o.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> header(int w, int h, int bits, uint32_t paletteCount, uint32_t rowBytes) {
    uint32_t offset = 14 + 40 + paletteCount * 4;
    uint32_t imageSize = rowBytes * uint32_t(h);
    std::vector<uint8_t> o;
    o.push_back('B');
    o.push_back('M');
    put32(o, offset + imageSize);
    put32(o, 0);
    put32(o, offset);
    put32(o, 40);
    put32(o, uint32_t(w));
    put32(o, uint32_t(h));
    put16(o, 1);
    put16(o, uint32_t(bits));
    put32(o, 0);          // BI_RGB
    put32(o, imageSize);
    put32(o, 3780);       // 96 dpi
    put32(o, 3780);
    put32(o, paletteCount);
    put32(o, 0);
    return o;
}

} // namespace

std::vector<uint8_t> encodeBmp24(const Picture& p) {
    uint32_t rowBytes = (uint32_t(p.width) * 3 + 3) & ~3u;
    std::vector<uint8_t> o = header(p.width, p.height, 24, 0, rowBytes);
    for (int y = p.height - 1; y >= 0; --y) {
        size_t start = o.size();
        for (int x = 0; x < p.width; ++x) {
            uint32_t c = p.at(x, y);
            o.push_back(uint8_t(c));
            o.push_back(uint8_t(c >> 8));
            o.push_back(uint8_t(c >> 16));
        }
        o.resize(start + rowBytes, 0);
    }
    return o;
}

std::vector<uint8_t> encodeBmpIndexed(const Picture& p, int bits, const std::vector<uint32_t>& palette) {
    if (bits != 1 && bits != 4) throw std::invalid_argument("palette BMP needs 1 or 4 bits");
    if (palette.size() > (1u << bits)) throw std::invalid_argument("palette too large");
    uint32_t rowBytes = ((uint32_t(p.width) * uint32_t(bits) + 31) / 32) * 4;
    std::vector<uint8_t> o = header(p.width, p.height, bits, uint32_t(palette.size()), rowBytes);
    for (uint32_t c : palette) put32(o, c & 0xFFFFFF);  // B, G, R, 0 in memory order
    for (int y = p.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < p.width; ++x) {
            auto it = std::find(palette.begin(), palette.end(), p.at(x, y));
            if (it == palette.end()) throw std::invalid_argument("pixel colour not in palette");
            uint32_t index = uint32_t(it - palette.begin());
            size_t bit = size_t(x) * size_t(bits);
            int shift = 8 - bits - int(bit % 8);
            row[bit / 8] |= uint8_t(index << shift);
        }
        o.insert(o.end(), row.begin(), row.end());
    }
    return o;
}

} // namespace skingen
