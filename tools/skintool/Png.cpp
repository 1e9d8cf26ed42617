#include "tools/skintool/Png.h"

#include <array>

namespace skintool {

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
    // Low `count` bits of `value`, least significant first (deflate order).
    void put(uint32_t value, int count) {
        acc_ |= uint64_t(value) << bits_;
        bits_ += count;
        while (bits_ >= 8) {
            out_.push_back(uint8_t(acc_));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    // A Huffman code, most significant bit first.
    void code(uint32_t code, int length) {
        uint32_t r = 0;
        for (int i = 0; i < length; ++i) r |= ((code >> i) & 1u) << (length - 1 - i);
        put(r, length);
    }
    void flush() {
        if (bits_ > 0) out_.push_back(uint8_t(acc_));
        acc_ = 0;
        bits_ = 0;
    }

private:
    std::vector<uint8_t>& out_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

void literalCode(BitWriter& w, int sym) {
    if (sym < 144) w.code(0x30 + uint32_t(sym), 8);
    else if (sym < 256) w.code(0x190 + uint32_t(sym - 144), 9);
    else if (sym < 280) w.code(uint32_t(sym - 256), 7);
    else w.code(0xC0 + uint32_t(sym - 280), 8);
}

constexpr std::array<int, 29> kLenBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLenExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                           193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void matchCode(BitWriter& w, int length, int distance) {
    int li = 28;
    while (kLenBase[size_t(li)] > length) --li;
    literalCode(w, 257 + li);
    if (kLenExtra[size_t(li)]) w.put(uint32_t(length - kLenBase[size_t(li)]), kLenExtra[size_t(li)]);
    int di = 29;
    while (kDistBase[size_t(di)] > distance) --di;
    w.code(uint32_t(di), 5);
    if (kDistExtra[size_t(di)]) w.put(uint32_t(distance - kDistBase[size_t(di)]), kDistExtra[size_t(di)]);
}

void putBE32(std::vector<uint8_t>& o, uint32_t v) {
    for (int i = 3; i >= 0; --i) o.push_back(uint8_t(v >> (8 * i)));
}

void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    putBE32(png, uint32_t(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBE32(png, Crc32(std::span<const uint8_t>(png.data() + start, png.size() - start)));
}

} // namespace

uint32_t Crc32(std::span<const uint8_t> data, uint32_t crc) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (uint8_t b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(std::span<const uint8_t> data) {
    uint32_t a = 1, b = 0;
    for (uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> Deflate(std::span<const uint8_t> data) {
    std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32 KiB window, fastest
    BitWriter w(out);
    constexpr int kWindow = 32768, kHashBits = 15, kMaxChain = 32;
    std::vector<int> head(1 << kHashBits, -1), prev(data.size(), -1);
    auto hash = [&](size_t i) {
        return ((uint32_t(data[i]) << 10) ^ (uint32_t(data[i + 1]) << 5) ^ data[i + 2]) & ((1u << kHashBits) - 1);
    };
    // One final block with the fixed codes.
    w.put(1, 1);
    w.put(1, 2);
    size_t i = 0, n = data.size();
    auto insert = [&](size_t p) {
        if (p + 2 >= n) return;
        uint32_t h = hash(p);
        prev[p] = head[h];
        head[h] = int(p);
    };
    while (i < n) {
        int bestLen = 0, bestDist = 0;
        if (i + 2 < n) {
            int cand = head[hash(i)];
            for (int chain = 0; cand >= 0 && chain < kMaxChain; ++chain, cand = prev[size_t(cand)]) {
                int dist = int(i) - cand;
                if (dist > kWindow) break;
                int len = 0, limit = int(std::min<size_t>(258, n - i));
                while (len < limit && data[size_t(cand) + size_t(len)] == data[i + size_t(len)]) ++len;
                if (len > bestLen) bestLen = len, bestDist = dist;
                if (len == limit) break;
            }
        }
        if (bestLen >= 3) {
            matchCode(w, bestLen, bestDist);
            for (int k = 0; k < bestLen; ++k) insert(i + size_t(k));
            i += size_t(bestLen);
        } else {
            literalCode(w, data[i]);
            insert(i);
            ++i;
        }
    }
    literalCode(w, 256);
    w.flush();
    putBE32(out, Adler32(data));
    return out;
}

std::vector<uint8_t> EncodePng(const Image& img) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> png(std::begin(kSignature), std::end(kSignature));
    std::vector<uint8_t> ihdr;
    putBE32(ihdr, uint32_t(img.Width()));
    putBE32(ihdr, uint32_t(img.Height()));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, adaptive filters, no interlace
    chunk(png, "IHDR", ihdr);

    // Rows with filter "Sub": each byte minus the same channel one pixel left.
    std::vector<uint8_t> raw;
    raw.reserve(size_t(img.Height()) * (size_t(img.Width()) * 3 + 1));
    for (int y = 0; y < img.Height(); ++y) {
        raw.push_back(1);
        const uint32_t* row = img.Row(y);
        uint32_t left = 0;
        for (int x = 0; x < img.Width(); ++x) {
            uint32_t p = row[x];
            raw.push_back(uint8_t(PixelR(p) - PixelR(left)));
            raw.push_back(uint8_t(PixelG(p) - PixelG(left)));
            raw.push_back(uint8_t(PixelB(p) - PixelB(left)));
            left = p;
        }
    }
    chunk(png, "IDAT", Deflate(raw));
    chunk(png, "IEND", {});
    return png;
}

} // namespace skintool
