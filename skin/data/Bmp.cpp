#include "skin/data/Bmp.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One channel of a bit-field mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1u)) ++shift;
    max = m >> shift;
  }
  uint32_t Get(uint32_t px) const {
    if (!max) return 0;
    uint64_t v = (px & mask) >> shift;
    return uint32_t((v * 255 + max / 2) / max);
  }
};

struct Layout {
  int width = 0, height = 0;  // height > 0
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kRgb;
  std::vector<uint32_t> palette;  // as pixels
  Channel r, g, b, a;
  bool rawAlpha = false;  // 32-bit BI_RGB: keep the fourth byte
};

// Image row for the file's row number `fileRow`.
int TargetRow(const Layout& l, int fileRow) { return l.topDown ? fileRow : l.height - 1 - fileRow; }

uint32_t PaletteAt(const Layout& l, uint32_t index) {
  return index < l.palette.size() ? l.palette[index] : 0u;
}

bool DecodeUncompressed(const Layout& l, const uint8_t* data, std::size_t avail, Image& img) {
  const uint64_t rowBits = uint64_t(l.width) * uint64_t(l.bpp);
  const uint64_t stride = ((rowBits + 31) / 32) * 4;
  // The last row may lack its padding; anything shorter is a broken file.
  const uint64_t need = stride * uint64_t(l.height - 1) + (rowBits + 7) / 8;
  if (need > avail) return false;
  for (int fy = 0; fy < l.height; ++fy) {
    const uint8_t* src = data + stride * uint64_t(fy);
    uint32_t* dst = img.Row(TargetRow(l, fy));
    switch (l.bpp) {
      case 1:
      case 4:
      case 8: {
        const int perByte = 8 / l.bpp;
        const uint32_t mask = (1u << l.bpp) - 1;
        for (int x = 0; x < l.width; ++x) {
          uint8_t byte = src[x / perByte];
          int shift = 8 - l.bpp * (x % perByte + 1);
          dst[x] = PaletteAt(l, (byte >> shift) & mask);
        }
        break;
      }
      case 16:
        for (int x = 0; x < l.width; ++x) {
          uint32_t px = U16(src + 2 * x);
          dst[x] = MakePixel(l.r.Get(px), l.g.Get(px), l.b.Get(px)) | (l.a.Get(px) << 24);
        }
        break;
      case 24:
        for (int x = 0; x < l.width; ++x) dst[x] = MakePixel(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int x = 0; x < l.width; ++x) {
          uint32_t px = U32(src + 4 * x);
          if (l.rawAlpha)
            dst[x] = px;
          else
            dst[x] = MakePixel(l.r.Get(px), l.g.Get(px), l.b.Get(px)) | (l.a.Get(px) << 24);
        }
        break;
    }
  }
  return true;
}

// RLE8 / RLE4. Runs, absolute blocks and deltas that leave the image are cut
// at its edge; input that ends early leaves the rest as palette entry 0.
void DecodeRle(const Layout& l, const uint8_t* data, std::size_t avail, Image& img) {
  const bool four = l.compression == kRle4;
  const uint32_t fill = PaletteAt(l, 0);
  img.Fill(fill);
  std::size_t p = 0;
  int x = 0, y = 0;
  auto put = [&](uint32_t index) {
    if (x < l.width && y < l.height) img.Row(TargetRow(l, y))[x] = PaletteAt(l, index);
    ++x;
  };
  while (p + 2 <= avail && y < l.height) {
    uint8_t count = data[p], value = data[p + 1];
    p += 2;
    if (count > 0) {
      int n = std::min<int>(count, std::max(0, l.width - x));
      for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
      x = std::min(x + (count - n), l.width);  // the rest of the run is cut
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // delta
        if (p + 2 > avail) return;
        x = std::min(x + data[p], l.width);
        y += data[p + 1];
        p += 2;
        break;
      default: {  // absolute block of `value` pixels, padded to a 16-bit boundary
        std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : value;
        std::size_t have = std::min(bytes, avail - p);
        for (int i = 0; i < value; ++i) {
          std::size_t byteIndex = four ? std::size_t(i) / 2 : std::size_t(i);
          if (byteIndex >= have) break;
          uint8_t b = data[p + byteIndex];
          if (x >= l.width) break;
          put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
        }
        p += bytes + (bytes & 1);
        if (p > avail) return;
        break;
      }
    }
  }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, std::size_t size, Image& out, std::size_t maxPixels) {
  out.Clear();
  if (!data || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t offBits = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);
  if (headerSize < 12 || headerSize > size - 14) return false;
  const uint8_t* h = data + 14;
  Layout l;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  std::size_t paletteEntry = 4;
  if (headerSize == 12) {
    l.width = int(U16(h + 4));
    height = int64_t(U16(h + 6));
    l.bpp = int(U16(h + 10));
    paletteEntry = 3;
  } else if (headerSize >= 40) {
    l.width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    l.bpp = int(U16(h + 14));
    l.compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  } else {
    return false;
  }
  if (U16(h + (headerSize == 12 ? 8 : 12)) != 1) return false;  // planes
  l.topDown = height < 0;
  if (l.topDown) height = -height;
  if (l.width <= 0 || height <= 0 || l.width > Image::kMaxSide || height > Image::kMaxSide ||
      std::size_t(l.width) * std::size_t(height) > std::min(maxPixels, Image::kMaxPixels))
    return false;
  l.height = int(height);

  std::size_t tableOffset = 14 + headerSize;
  switch (l.compression) {
    case kRgb:
      if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32) return false;
      if (l.bpp == 16) {
        l.r = Channel(0x7C00);
        l.g = Channel(0x03E0);
        l.b = Channel(0x001F);
      }
      l.rawAlpha = l.bpp == 32;
      break;
    case kRle8:
      if (l.bpp != 8) return false;
      break;
    case kRle4:
      if (l.bpp != 4) return false;
      break;
    case kBitFields:
    case kAlphaBitFields: {
      if (l.bpp != 16 && l.bpp != 32) return false;
      // Mask n sits at offset 40 + 4n of the info header: inside a header
      // long enough to hold it, otherwise right after the header, where it
      // pushes the colour table back. Either way it must lie in the file.
      const std::size_t maskCount = l.compression == kAlphaBitFields || headerSize >= 56 ? 4 : 3;
      const std::size_t masksEnd = 14 + 40 + 4 * maskCount;
      if (masksEnd > size) return false;
      const uint8_t* m = h + 40;
      l.r = Channel(U32(m));
      l.g = Channel(U32(m + 4));
      l.b = Channel(U32(m + 8));
      if (maskCount == 4) l.a = Channel(U32(m + 12));
      tableOffset = std::max(tableOffset, masksEnd);
      break;
    }
    default:
      return false;
  }
  if (l.topDown && (l.compression == kRle8 || l.compression == kRle4)) return false;

  if (l.bpp <= 8) {
    std::size_t maxColours = std::size_t(1) << l.bpp;
    std::size_t count = colorsUsed ? std::min<std::size_t>(colorsUsed, maxColours) : maxColours;
    // A palette shorter than the header claims keeps what is there.
    std::size_t room = tableOffset < size ? (size - tableOffset) / paletteEntry : 0;
    if (offBits > tableOffset && offBits <= size)
      room = std::min(room, (offBits - tableOffset) / paletteEntry);
    count = std::min(count, room);
    l.palette.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const uint8_t* e = data + tableOffset + i * paletteEntry;
      l.palette[i] = MakePixel(e[2], e[1], e[0]);
    }
  }

  if (offBits < 14 + headerSize || offBits >= size) return false;
  Image img;
  if (!img.Resize(l.width, l.height)) return false;
  img.SetBitCount(l.bpp == 32 ? 32 : 24);
  if (l.compression == kRle8 || l.compression == kRle4) {
    DecodeRle(l, data + offBits, size - offBits, img);
  } else if (!DecodeUncompressed(l, data + offBits, size - offBits, img)) {
    return false;
  }
  out = std::move(img);
  return true;
}

std::vector<uint8_t> EncodeBmp(const Image& img, int bitsPerPixel) {
  std::vector<uint8_t> v;
  if (img.Empty()) return v;
  const int bpp = bitsPerPixel == 0 ? img.BitCount() : (bitsPerPixel == 32 ? 32 : 24);
  const uint32_t stride = ((uint32_t(img.Width()) * uint32_t(bpp) + 31) / 32) * 4;
  const uint32_t imageSize = stride * uint32_t(img.Height());
  v.reserve(54 + imageSize);
  v.push_back('B');
  v.push_back('M');
  Put32(v, 54 + imageSize);
  Put32(v, 0);
  Put32(v, 54);
  Put32(v, 40);
  Put32(v, uint32_t(img.Width()));
  Put32(v, uint32_t(img.Height()));
  Put16(v, 1);
  Put16(v, uint32_t(bpp));
  Put32(v, kRgb);
  Put32(v, imageSize);
  Put32(v, 2835);  // 72 dpi
  Put32(v, 2835);
  Put32(v, 0);
  Put32(v, 0);
  v.resize(54 + std::size_t(imageSize), 0);
  uint8_t* out = v.data() + 54;
  for (int y = img.Height() - 1; y >= 0; --y, out += stride) {
    const uint32_t* row = img.Row(y);
    uint8_t* o = out;
    for (int x = 0; x < img.Width(); ++x) {
      const uint32_t p = row[x];
      *o++ = uint8_t(p);
      *o++ = uint8_t(p >> 8);
      *o++ = uint8_t(p >> 16);
      if (bpp == 32) *o++ = uint8_t(p >> 24);
    }
  }
  return v;
}
