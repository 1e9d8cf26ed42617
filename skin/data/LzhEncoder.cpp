// LZHUF encoder: the coding side of TLZH.
#include "skin/data/LzhEncoder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

using namespace lzh;

namespace {

// Prefix code of the upper six bits of a position, from the decoder's
// tables: the code of h is the first byte b with DCode[b] == h, cut to its
// DLen[b] leading bits.
struct PositionCodes {
  uint8_t code[64];
  uint8_t len[64];
  PositionCodes() {
    for (int h = 0; h < 64; ++h) {
      int b = 0;
      while (DCode[b] != h) ++b;
      len[h] = DLen[b];
      code[h] = static_cast<uint8_t>(b >> (8 - DLen[b]));
    }
  }
};

const PositionCodes& Codes() {
  static const PositionCodes codes;
  return codes;
}

}  // namespace

TLzhTokenWriter::TLzhTokenWriter(uint32_t expandedSize) {
  tree_.Start();
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(expandedSize >> (8 * i)));
}

void TLzhTokenWriter::PutBits(unsigned count, uint32_t value) {
  acc_ = (acc_ << count) | (value & ((1u << count) - 1));
  accBits_ += count;
  bitsWritten_ += count;
  while (accBits_ >= 8) {
    accBits_ -= 8;
    out_.push_back(static_cast<uint8_t>(acc_ >> accBits_));
  }
}

void TLzhTokenWriter::EncodeChar(int symbol) {
  // Walk from the leaf to the root, then send the path root first.
  uint8_t path[T];
  int depth = 0;
  int k = tree_.prnt[symbol + T];
  while (k != R) {
    const int parent = tree_.prnt[k];
    path[depth++] = static_cast<uint8_t>(k - tree_.son[parent]);
    k = parent;
  }
  while (depth > 0) PutBits(1, path[--depth]);
  tree_.Update(symbol);
  ++symbols_;
}

void TLzhTokenWriter::EncodePosition(unsigned position) {
  const PositionCodes& codes = Codes();
  const unsigned high = position >> 6;
  PutBits(codes.len[high], codes.code[high]);
  PutBits(6, position & 0x3F);
}

void TLzhTokenWriter::Literal(uint8_t byte) { EncodeChar(byte); }

void TLzhTokenWriter::Match(int length, int distance) {
  if (length <= THRESHOLD || length > F || distance < 1 || distance > N)
    throw std::invalid_argument("LZH match out of range");
  EncodeChar(255 - THRESHOLD + length);
  EncodePosition(static_cast<unsigned>(distance - 1));
}

std::vector<uint8_t> TLzhTokenWriter::Finish() {
  if (accBits_ > 0) PutBits(8 - accBits_, 0);
  bitsWritten_ = (bitsWritten_ + 7) / 8 * 8;
  return std::move(out_);
}

void TLzhEncoder::InitTree() {
  lson_.assign(N + 1, NIL);
  rson_.assign(N + 257, NIL);
  dad_.assign(N + 1, NIL);
}

// Inserts the string at r into the tree of its first byte and records the
// longest match (the nearest one among equally long matches). A match of F
// bytes replaces the older node.
void TLzhEncoder::InsertNode(int r) {
  const uint8_t* key = &text_[r];
  int p = N + 1 + key[0];
  int cmp = 1;
  rson_[r] = lson_[r] = NIL;
  matchLength_ = 0;
  for (;;) {
    if (cmp >= 0) {
      if (rson_[p] != NIL) {
        p = rson_[p];
      } else {
        rson_[p] = r;
        dad_[r] = p;
        return;
      }
    } else {
      if (lson_[p] != NIL) {
        p = lson_[p];
      } else {
        lson_[p] = r;
        dad_[r] = p;
        return;
      }
    }
    int i = 1;
    for (; i < F; ++i) {
      cmp = key[i] - text_[p + i];
      if (cmp != 0) break;
    }
    if (i > THRESHOLD) {
      const int position = ((r - p) & (N - 1)) - 1;
      if (i > matchLength_) {
        matchPosition_ = position;
        matchLength_ = i;
        if (matchLength_ >= F) break;
      } else if (i == matchLength_ && position < matchPosition_) {
        matchPosition_ = position;
      }
    }
  }
  dad_[r] = dad_[p];
  lson_[r] = lson_[p];
  rson_[r] = rson_[p];
  dad_[lson_[p]] = r;
  dad_[rson_[p]] = r;
  if (rson_[dad_[p]] == p)
    rson_[dad_[p]] = r;
  else
    lson_[dad_[p]] = r;
  dad_[p] = NIL;
}

void TLzhEncoder::DeleteNode(int p) {
  if (dad_[p] == NIL) return;
  int q;
  if (rson_[p] == NIL) {
    q = lson_[p];
  } else if (lson_[p] == NIL) {
    q = rson_[p];
  } else {
    q = lson_[p];
    if (rson_[q] != NIL) {
      do {
        q = rson_[q];
      } while (rson_[q] != NIL);
      rson_[dad_[q]] = lson_[q];
      dad_[lson_[q]] = dad_[q];
      lson_[q] = lson_[p];
      dad_[lson_[p]] = q;
    }
    rson_[q] = rson_[p];
    dad_[rson_[p]] = q;
  }
  dad_[q] = dad_[p];
  if (rson_[dad_[p]] == p)
    rson_[dad_[p]] = q;
  else
    lson_[dad_[p]] = q;
  dad_[p] = NIL;
}

std::vector<uint8_t> TLzhEncoder::Encode(std::span<const uint8_t> input) {
  if (input.size() > kMaxExpandedSize) throw std::length_error("LZH input too large");
  TLzhTokenWriter writer(static_cast<uint32_t>(input.size()));
  if (input.empty()) return writer.Finish();

  text_.assign(N + F - 1, ' ');
  InitTree();
  size_t next = 0;  // next input byte to enter the ring
  int s = 0;
  int r = N - F;
  int len = 0;
  for (; len < F && next < input.size(); ++len) text_[r + len] = input[next++];
  // The initial spaces are matchable, as the decoder's ring holds them too.
  for (int i = 1; i <= F; ++i) InsertNode(r - i);
  InsertNode(r);
  do {
    if (matchLength_ > len) matchLength_ = len;
    if (matchLength_ <= THRESHOLD) {
      matchLength_ = 1;
      writer.Literal(text_[r]);
    } else {
      writer.Match(matchLength_, matchPosition_ + 1);
    }
    const int lastMatchLength = matchLength_;
    int i = 0;
    for (; i < lastMatchLength && next < input.size(); ++i) {
      const uint8_t c = input[next++];
      DeleteNode(s);
      text_[s] = c;
      if (s < F - 1) text_[s + N] = c;
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      InsertNode(r);
    }
    while (i++ < lastMatchLength) {
      DeleteNode(s);
      s = (s + 1) & (N - 1);
      r = (r + 1) & (N - 1);
      if (--len) InsertNode(r);
    }
  } while (len > 0);
  return writer.Finish();
}

std::vector<uint8_t> Compress(std::span<const uint8_t> input) {
  TLzhEncoder encoder;
  return encoder.Encode(input);
}
