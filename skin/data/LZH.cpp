// LZHUF decoder and the adaptive Huffman tree it shares with the encoder.
#include "skin/data/LZH.h"

#include <cstring>
#include <new>

namespace lzh {
namespace {

// d_code: 0 for 32 entries, 1-3 for 16 each, 4-11 for 8 each, 12-23 for 4
// each, 24-47 for 2 each, 48-63 once each.
constexpr std::array<uint8_t, 256> MakeDCode() {
  std::array<uint8_t, 256> t{};
  int pos = 0;
  int code = 0;
  const int runs[][2] = {{1, 32}, {3, 16}, {8, 8}, {12, 4}, {24, 2}, {16, 1}};
  for (const auto& run : runs)
    for (int c = 0; c < run[0]; ++c, ++code)
      for (int k = 0; k < run[1]; ++k) t[pos++] = static_cast<uint8_t>(code);
  return t;
}

// d_len: 3 for 32 entries, 4 for 48, 5 for 64, 6 for 48, 7 for 48, 8 for 16.
constexpr std::array<uint8_t, 256> MakeDLen() {
  std::array<uint8_t, 256> t{};
  int pos = 0;
  const int runs[][2] = {{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}};
  for (const auto& run : runs)
    for (int k = 0; k < run[1]; ++k) t[pos++] = static_cast<uint8_t>(run[0]);
  return t;
}

}  // namespace

const std::array<uint8_t, 256> DCode = MakeDCode();
const std::array<uint8_t, 256> DLen = MakeDLen();

void HuffTree::Start() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<int16_t>(i + T);
    prnt[i + T] = static_cast<int16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<int16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<int16_t>(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
  rebuilds = 0;
}

// Halves the counts and rebuilds the tree from the leaves, keeping the counts
// ordered so the sibling property holds again.
void HuffTree::Rebuild() {
  ++rebuilds;
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  for (int i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
    const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
    int k = jj - 1;
    while (k >= 0 && f < freq[k]) --k;
    ++k;
    const size_t moved = static_cast<size_t>(jj - k);
    std::memmove(&freq[k + 1], &freq[k], moved * sizeof(freq[0]));
    freq[k] = static_cast<uint16_t>(f);
    std::memmove(&son[k + 1], &son[k], moved * sizeof(son[0]));
    son[k] = static_cast<int16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      prnt[k] = static_cast<int16_t>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<int16_t>(i);
    }
  }
}

void HuffTree::Update(int symbol) {
  if (freq[R] == MAX_FREQ) Rebuild();
  int c = prnt[symbol + T];
  do {
    const unsigned k = ++freq[c];
    if (k > freq[c + 1]) {
      // Move the node past every node of a smaller count (the sentinel at T
      // ends the scan).
      // The counts are in ascending order, so l is the last node of the run
      // of count k - 1 that follows c. Runs are usually short; long ones
      // (early in a stream, or after a rebuild) are halved instead.
      int l = c + 1;
      int steps = 8;
      while (k > freq[l + 1] && --steps > 0) ++l;
      if (steps == 0) {
        int lo = l + 1, hi = T;  // freq[lo] < k <= freq[T]
        while (hi - lo > 1) {
          const int mid = (lo + hi) / 2;
          if (freq[mid] < k) lo = mid; else hi = mid;
        }
        l = lo;
      }
      freq[c] = freq[l];
      freq[l] = static_cast<uint16_t>(k);

      const int i = son[c];
      prnt[i] = static_cast<int16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<int16_t>(l);

      const int j = son[l];
      son[l] = static_cast<int16_t>(i);
      prnt[j] = static_cast<int16_t>(c);
      if (j < T) prnt[j + 1] = static_cast<int16_t>(c);
      son[c] = static_cast<int16_t>(j);

      c = l;
    }
    c = prnt[c];
  } while (c != 0);
}

}  // namespace lzh

using namespace lzh;

// Tops the bit buffer up to at least 57 bits; past the end of the input the
// bits are zero.
void TLZH::Refill() {
  while (bitCount_ <= 56) {
    uint64_t b = 0;
    if (in_ != inEnd_) {
      b = *in_++;
      ++bytesRead_;
    }
    bitBuf_ |= b << (56 - bitCount_);
    bitCount_ += 8;
    bitsLoaded_ += 8;
  }
}

inline unsigned TLZH::GetBit() {
  if (bitCount_ == 0) Refill();
  const unsigned bit = static_cast<unsigned>(bitBuf_ >> 63);
  bitBuf_ <<= 1;
  --bitCount_;
  return bit;
}

inline unsigned TLZH::GetByte() {
  if (bitCount_ < 8) Refill();
  const unsigned byte = static_cast<unsigned>(bitBuf_ >> 56);
  bitBuf_ <<= 8;
  bitCount_ -= 8;
  return byte;
}

inline int TLZH::DecodeChar() {
  int c = tree_.son[R];
  // The walk works on a local copy of the bit buffer.
  uint64_t buf = bitBuf_;
  unsigned n = bitCount_;
  while (c < T) {
    if (n == 0) {
      bitBuf_ = buf;
      bitCount_ = 0;
      Refill();
      buf = bitBuf_;
      n = bitCount_;
    }
    c = tree_.son[c + static_cast<int>(buf >> 63)];
    buf <<= 1;
    --n;
  }
  bitBuf_ = buf;
  bitCount_ = n;
  c -= T;
  tree_.Update(c);
  return c;
}

inline int TLZH::DecodePosition() {
  unsigned i = GetByte();
  const unsigned high = static_cast<unsigned>(DCode[i]) << 6;
  for (int j = DLen[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
  return static_cast<int>(high | (i & 0x3F));
}

void TLZH::Decode(uint32_t expandedSize, std::span<const uint8_t> bits, std::vector<uint8_t>& out) {
  in_ = bits.data();
  inEnd_ = bits.data() + bits.size();
  bitBuf_ = 0;
  bitCount_ = 0;
  bitsLoaded_ = 0;
  bytesRead_ = 0;
  symbols_ = 0;

  const size_t base = out.size();
  try {
    // Room for the stated size plus one whole match past it.
    out.resize(base + static_cast<size_t>(expandedSize) + F);
  } catch (const std::bad_alloc&) {
    out.resize(base);
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  } catch (const std::length_error&) {
    out.resize(base);
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }

  tree_.Start();
  ring_.fill(0);
  std::memset(ring_.data(), ' ', N - F);
  unsigned r = N - F;

  uint8_t* dst = out.data() + base;
  uint32_t count = 0;
  while (count < expandedSize) {
    const int c = DecodeChar();
    ++symbols_;
    if (c < 256) {
      const uint8_t b = static_cast<uint8_t>(c);
      dst[count++] = b;
      ring_[r] = b;
      r = (r + 1) & (N - 1);
    } else {
      const unsigned start = (r - static_cast<unsigned>(DecodePosition()) - 1) & (N - 1);
      const int length = c - 255 + THRESHOLD;
      // Byte by byte: the source may overlap what this match writes.
      for (int k = 0; k < length; ++k) {
        const uint8_t b = ring_[(start + static_cast<unsigned>(k)) & (N - 1)];
        dst[count++] = b;
        ring_[r] = b;
        r = (r + 1) & (N - 1);
      }
    }
  }
  out.resize(base + count);
}

std::vector<uint8_t> Expand(std::span<const uint8_t> stored, uint32_t limit, uint64_t* consumedBits) {
  uint32_t size = 0;
  for (size_t i = 0; i < 4 && i < stored.size(); ++i) size |= static_cast<uint32_t>(stored[i]) << (8 * i);
  if (size > limit)
    throw ElzhException("LZH : Expanded size " + std::to_string(size) + " exceeds the limit of " +
                        std::to_string(limit) + " bytes");
  std::vector<uint8_t> out;
  std::span<const uint8_t> bits = stored.size() > 4 ? stored.subspan(4) : std::span<const uint8_t>{};
  if (size == 0) {
    if (consumedBits) *consumedBits = 0;
    return out;
  }
  TLZH decoder;
  decoder.Decode(size, bits, out);
  if (consumedBits) *consumedBits = decoder.BitsConsumed();
  return out;
}
