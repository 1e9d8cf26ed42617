// LZHUF compression, for the skin tools and the tests (the program itself
// only expands).
//
// Classes in this file:
//   TLzhTokenWriter  codes literals and matches with the adaptive Huffman
//                    tree and the position prefix code (the encoding side of
//                    TLZH); usable on its own to build streams token by token
//   TLzhEncoder      LZSS over the 4096-byte ring (binary search trees for
//                    the longest match, nearest position on ties) feeding a
//                    token writer
// Functions:
//   Compress         bytes to a stored stream that Expand turns back into them
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "skin/data/LZH.h"

class TLzhTokenWriter {
public:
  // construction: starts a stored stream whose size field says expandedSize
  explicit TLzhTokenWriter(uint32_t expandedSize);

  // operations
  void Literal(uint8_t byte);
  // A match of `length` (3..60) bytes starting `distance` (1..4096) bytes
  // behind the write position of the ring.
  void Match(int length, int distance);
  // Pads the last byte with zero bits and hands out the stored stream.
  std::vector<uint8_t> Finish();

  // attributes
  uint64_t BitCount() const { return bitsWritten_; }
  uint64_t SymbolCount() const { return symbols_; }

private:
  void PutBits(unsigned count, uint32_t value);  // low `count` bits of value, top first
  void EncodeChar(int symbol);
  void EncodePosition(unsigned position);

  lzh::HuffTree tree_;
  std::vector<uint8_t> out_;
  uint64_t acc_ = 0;         // pending bits at the least significant end
  unsigned accBits_ = 0;
  uint64_t bitsWritten_ = 0;
  uint64_t symbols_ = 0;
};

class TLzhEncoder {
public:
  // operations
  // Throws std::length_error for input above lzh::kMaxExpandedSize.
  std::vector<uint8_t> Encode(std::span<const uint8_t> input);

private:
  void InitTree();
  void InsertNode(int r);
  void DeleteNode(int p);

  static constexpr int NIL = lzh::N;
  std::vector<uint8_t> text_;   // ring + mirror of its first F - 1 bytes
  std::vector<int> lson_, rson_, dad_;
  int matchPosition_ = 0;       // distance - 1
  int matchLength_ = 0;
};

std::vector<uint8_t> Compress(std::span<const uint8_t> input);
