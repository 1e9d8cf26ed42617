// LZHUF expansion of skin packages.
//
// Classes in this file:
//   ElzhException  failure of an expansion (memory, or a stated size beyond
//                  the bound)
//   TLZH           decoder: LZSS over a 4096-byte ring, literals and match
//                  lengths in an adaptive Huffman tree, match positions as a
//                  fixed prefix code plus six verbatim bits
// Functions:
//   Expand         a stored stream (4-byte little-endian size + bit stream)
//                  to its bytes
//
// Stored stream: bytes are taken most significant bit first; missing input
// reads as zero bits, so a truncated stream still yields the stated size.
// There is no checksum. A match is always emitted whole, so the output can be
// up to F - 1 bytes longer than the stated size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class ElzhException : public std::runtime_error {
public:
  explicit ElzhException(const std::string& message) : std::runtime_error(message) {}
};

// Constants of the scheme, shared by the decoder and the encoder.
namespace lzh {
inline constexpr int N = 4096;            // ring buffer size
inline constexpr int F = 60;              // longest match
inline constexpr int THRESHOLD = 2;       // a match codes 3..F bytes
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols
inline constexpr int T = N_CHAR * 2 - 1;  // 627 tree nodes
inline constexpr int R = T - 1;           // root
inline constexpr unsigned MAX_FREQ = 0x8000;

// Real packages expand to well under 1 MiB; a stated size above this bound
// is refused instead of being allocated.
inline constexpr uint32_t kMaxExpandedSize = 64u << 20;

// Position prefix tables: for the first byte b of a position code,
// DCode[b] is the upper six bits of the position and DLen[b] the bit length
// of the prefix (the code is DLen[b] + 6 bits long).
extern const std::array<uint8_t, 256> DCode;
extern const std::array<uint8_t, 256> DLen;

// The adaptive Huffman tree of the scheme. Decoder and encoder run the same
// updates, so they stay in step symbol by symbol.
class HuffTree {
public:
  void Start();
  void Update(int symbol);

  std::array<uint16_t, T + 1> freq{};       // [T] is a 0xFFFF sentinel
  std::array<int16_t, T + N_CHAR> prnt{};   // [T + c] is the leaf of symbol c
  std::array<int16_t, T> son{};             // >= T marks a leaf (symbol + T)
  uint32_t rebuilds = 0;                    // how often the counts were halved

private:
  void Rebuild();
};
}  // namespace lzh

class TLZH {
public:
  // construction
  TLZH() = default;
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // operations
  // Expands expandedSize bytes from the bit stream `bits` (the stored stream
  // without its size field), appending them to `out`. Throws ElzhException
  // when the output cannot be allocated.
  void Decode(uint32_t expandedSize, std::span<const uint8_t> bits, std::vector<uint8_t>& out);

  // attributes (valid after Decode)
  // Bits the decoder actually used; input beyond them was only read ahead.
  uint64_t BitsConsumed() const { return bitsLoaded_ - bitCount_; }
  // Bytes of real input the decoder has read (read-ahead included).
  size_t BytesRead() const { return bytesRead_; }
  // Symbols decoded and tree rebuilds seen during the last Decode.
  uint64_t SymbolCount() const { return symbols_; }
  uint32_t RebuildCount() const { return tree_.rebuilds; }

private:
  void Refill();
  unsigned GetBit();
  unsigned GetByte();
  int DecodeChar();
  int DecodePosition();

  const uint8_t* in_ = nullptr;
  const uint8_t* inEnd_ = nullptr;
  uint64_t bitBuf_ = 0;     // valid bits at the most significant end
  unsigned bitCount_ = 0;
  uint64_t bitsLoaded_ = 0; // bits moved into the buffer, zero padding included
  size_t bytesRead_ = 0;
  uint64_t symbols_ = 0;
  lzh::HuffTree tree_;
  std::array<uint8_t, lzh::N + lzh::F - 1> ring_{};
};

// Expands a stored stream. A size field cut short reads its missing bytes as
// zero. Throws ElzhException when the stated size exceeds `limit` or memory
// runs out. consumedBits, when given, receives the bits of the bit stream the
// decoder used.
std::vector<uint8_t> Expand(std::span<const uint8_t> stored, uint32_t limit = lzh::kMaxExpandedSize,
                            uint64_t* consumedBits = nullptr);
