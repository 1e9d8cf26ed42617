// Decoder and encoder of skin-package compression: round trips, the
// published decoder as reference, and streams built token by token for the
// corner cases of the scheme.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bench/lzh/ReferenceLzhuf.h"
#include "skin/data/LZH.h"
#include "skin/data/LzhEncoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes RandomBytes(size_t n, uint32_t seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(rng() % alphabet);
  return b;
}

Bytes ReferenceDecode(const Bytes& stored) {
  reference_lzhuf::Decoder ref;
  return ref.Run(stored.data(), stored.size());
}

// Text with the repetition of real settings files.
Bytes SettingsLikeText(size_t n) {
  std::mt19937 rng(7);
  const char* keys[] = {"Bitmap", "Trans", "Tile", "LeftMargin", "RightMargin", "TopMargin", "BottomMargin",
                        "Frame", "FontColor", "ColorHot"};
  std::string s;
  int section = 0;
  while (s.size() < n) {
    s += "[Section" + std::to_string(section++) + "]\r\n";
    for (int k = 0; k < 8; ++k)
      s += std::string(keys[rng() % 10]) + "=" + std::to_string(rng() % 300) + "\r\n";
  }
  s.resize(n);
  return FromText(s);
}

struct RoundTrip {
  Bytes stored;
  Bytes expanded;
  uint64_t bits = 0;
};

RoundTrip CompressAndExpand(const Bytes& input) {
  RoundTrip rt;
  rt.stored = Compress(input);
  rt.expanded = Expand(rt.stored, lzh::kMaxExpandedSize, &rt.bits);
  return rt;
}

}  // namespace

TEST(LzhRoundTrip, EncoderOutputDecodesExactlyAndIsConsumedToTheLastByte) {
  const std::vector<std::pair<std::string, Bytes>> inputs = {
      {"one byte", Bytes{0x41}},
      {"spaces", Bytes(5000, ' ')},
      {"zeros", Bytes(9000, 0)},
      {"random", RandomBytes(20000, 1)},
      {"small alphabet", RandomBytes(50000, 2, 4)},
      {"settings text", SettingsLikeText(120000)},
      {"exactly F", RandomBytes(60, 3)},
      {"F plus one", RandomBytes(61, 4)},
      {"ring size", RandomBytes(4096, 5, 16)},
  };
  for (const auto& [name, input] : inputs) {
    SCOPED_TRACE(name);
    const RoundTrip rt = CompressAndExpand(input);
    ASSERT_GE(rt.stored.size(), 4u);
    EXPECT_EQ(rt.stored[0] | rt.stored[1] << 8 | rt.stored[2] << 16 | rt.stored[3] << 24,
              static_cast<int>(input.size()));
    EXPECT_EQ(rt.expanded, input);
    // Every byte after the size field is needed, and no more.
    EXPECT_EQ((rt.bits + 7) / 8, rt.stored.size() - 4);
    EXPECT_EQ(ReferenceDecode(rt.stored), input);
  }
}

TEST(LzhRoundTrip, EmptyInputIsTheSizeFieldAlone) {
  const Bytes stored = Compress({});
  EXPECT_EQ(stored, (Bytes{0, 0, 0, 0}));
  // Size 0 expands to nothing and touches no bit of what follows.
  Bytes withJunk = stored;
  withJunk.insert(withJunk.end(), {0xFF, 0x12, 0x34});
  uint64_t bits = 99;
  EXPECT_TRUE(Expand(withJunk, lzh::kMaxExpandedSize, &bits).empty());
  EXPECT_EQ(bits, 0u);
}

TEST(LzhRoundTrip, RepetitiveDataCompressesWell) {
  // A match finder that stopped finding matches would still round-trip;
  // the ratios catch it.
  const Bytes text = SettingsLikeText(200000);
  EXPECT_LT(Compress(text).size(), text.size() / 3);
  const Bytes spaces(100000, ' ');
  EXPECT_LT(Compress(spaces).size(), 3000u);
}

TEST(LzhDecoder, MatchesThePublishedDecoderOnArbitraryStreams) {
  // Any bytes are a valid bit stream; both decoders must agree bit for bit,
  // including runs long enough to rebuild the tree.
  std::mt19937 rng(11);
  for (int round = 0; round < 150; ++round) {
    const uint32_t size = round < 140 ? rng() % 6000 : 40000 + rng() % 30000;
    Bytes stored = RandomBytes(rng() % 3000, rng());
    const Bytes header = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                          static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    stored.insert(stored.begin(), header.begin(), header.end());
    SCOPED_TRACE(round);
    const Bytes ours = Expand(stored);
    ASSERT_EQ(ours, ReferenceDecode(stored));
    EXPECT_GE(ours.size(), size);
    EXPECT_LT(ours.size(), size + static_cast<size_t>(lzh::F));
  }
}

TEST(LzhDecoder, LongStreamsRebuildTheTreeAndStayInStep) {
  // The root count starts at 314 and grows by one per symbol: 32454 more
  // symbols force the first rebuild.
  const Bytes input = RandomBytes(100000, 21);
  const Bytes stored = Compress(input);
  TLZH decoder;
  Bytes out;
  decoder.Decode(static_cast<uint32_t>(input.size()), std::span(stored).subspan(4), out);
  EXPECT_EQ(out, input);
  EXPECT_GT(decoder.SymbolCount(), 32454u);
  EXPECT_GE(decoder.RebuildCount(), 2u);
  EXPECT_EQ(ReferenceDecode(stored), input);
}

TEST(LzhDecoder, TruncatedStreamsContinueWithZeroBits) {
  const Bytes input = SettingsLikeText(30000);
  const Bytes stored = Compress(input);
  for (size_t keep : {size_t{0}, size_t{1}, size_t{2}, (stored.size() - 4) / 2, stored.size() - 5}) {
    SCOPED_TRACE(keep);
    const Bytes cut(stored.begin(), stored.begin() + 4 + static_cast<std::ptrdiff_t>(keep));
    const Bytes out = Expand(cut);
    ASSERT_GE(out.size(), input.size());
    EXPECT_EQ(out, ReferenceDecode(cut));
    if (keep > 100) {
      // What the kept bits describe is intact.
      EXPECT_TRUE(std::equal(input.begin(), input.begin() + 100, out.begin()));
    }
  }
}

TEST(LzhDecoder, SizeFieldBeyondTheBoundIsRefused) {
  const Bytes huge = {0x01, 0x00, 0x00, 0x04};  // 64 MiB + 1
  EXPECT_THROW(Expand(huge), ElzhException);
  const Bytes max = {0xFF, 0xFF, 0xFF, 0xFF};
  try {
    Expand(max);
    FAIL() << "no exception";
  } catch (const ElzhException& e) {
    EXPECT_NE(std::string(e.what()).find("exceeds the limit"), std::string::npos);
  }
  // A lower limit for the caller's own use, and a size right at it.
  const Bytes small = {0x10, 0x00, 0x00, 0x00};
  EXPECT_THROW(Expand(small, 15), ElzhException);
  EXPECT_GE(Expand(small, 16).size(), 16u);
}

// Streams built token by token, against a plain model of the ring.
TEST(LzhTokens, MatchesAtTheEdgesOfTheRing) {
  {
    SCOPED_TRACE("first match copies the initial spaces");
    TLzhTokenWriter w(12);
    w.Match(10, 100);
    w.Literal('x');
    w.Literal('y');
    EXPECT_EQ(Expand(w.Finish()), FromText("          xy"));
  }
  {
    SCOPED_TRACE("the last 60 ring bytes start as zero");
    TLzhTokenWriter w(5);
    w.Literal('a');
    w.Literal('b');
    w.Match(3, 4096);  // reaches the never-written position 4038
    EXPECT_EQ(Expand(w.Finish()), (Bytes{'a', 'b', 0, 0, 0}));
  }
  {
    SCOPED_TRACE("overlapping match repeats the bytes just written");
    TLzhTokenWriter w(9);
    w.Literal('a');
    w.Literal('b');
    w.Match(7, 2);
    EXPECT_EQ(Expand(w.Finish()), FromText("ababababa"));
  }
  {
    SCOPED_TRACE("match reaching back across the ring start");
    // 62 literals move the write position from 4036 past 4095 to 2; a
    // match 4 back starts at 4094 and wraps.
    const Bytes lead = RandomBytes(62, 8);
    TLzhTokenWriter w(67);
    for (uint8_t b : lead) w.Literal(b);
    w.Match(5, 4);
    Bytes expected = lead;
    for (int k = 0; k < 5; ++k) expected.push_back(expected[expected.size() - 4]);
    EXPECT_EQ(Expand(w.Finish()), expected);
  }
  {
    SCOPED_TRACE("a match past the stated size is emitted whole");
    TLzhTokenWriter w(5);
    w.Literal('q');
    w.Literal('r');
    w.Literal('s');
    w.Match(10, 1);
    const Bytes stored = w.Finish();
    EXPECT_EQ(Expand(stored), FromText("qrsssssssssss"));
    EXPECT_EQ(ReferenceDecode(stored), FromText("qrsssssssssss"));
  }
}

TEST(LzhTokens, EveryLengthAndEveryPositionPrefixDecodes) {
  // 4100 literals fill the ring; then matches of every length and of
  // distances that cover all 64 position prefixes and the extremes.
  const Bytes lead = RandomBytes(4100, 9);
  std::vector<std::pair<int, int>> matches;
  for (int len = 3; len <= 60; ++len) matches.push_back({len, 1 + (len * 71) % 4096});
  for (int high = 0; high < 64; ++high) matches.push_back({3 + high % 58, high * 64 + 1 + high % 64});
  matches.push_back({60, 4096});
  matches.push_back({60, 1});
  Bytes expected = lead;
  for (auto [len, dist] : matches)
    for (int k = 0; k < len; ++k) expected.push_back(expected[expected.size() - dist]);

  TLzhTokenWriter w(static_cast<uint32_t>(expected.size()));
  for (uint8_t b : lead) w.Literal(b);
  for (auto [len, dist] : matches) w.Match(len, dist);
  const uint64_t bits = w.BitCount();
  const Bytes stored = w.Finish();
  uint64_t used = 0;
  EXPECT_EQ(Expand(stored, lzh::kMaxExpandedSize, &used), expected);
  EXPECT_EQ(used, bits);
  EXPECT_EQ(ReferenceDecode(stored), expected);
}
