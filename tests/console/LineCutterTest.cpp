// The runner's byte line cutter: each byte rule, lines spanning reads, the
// CR/LF split across reads, and the stop request between bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/LineCutter.h"

namespace tonewell {
namespace {

// Plays the reads of one command through a cutter the way the worker does:
// completed lines, then a partial event for a non-empty pending text after
// each read, then the pending text as a final line at the end.
struct Replay {
  LineCutter cutter;
  std::vector<std::string> lines;   // completed lines, as the runner keeps them
  std::vector<std::string> events;  // "E:" entire / "B:" beginning, in order

  void Read(std::string_view bytes, const LineCutter::StopCheck& stop = nullptr) {
    cutter.Cut(bytes, [&](const std::string& line) {
      lines.push_back(line);
      events.push_back("E:" + line);
    }, stop);
    if (!cutter.Pending().empty()) events.push_back("B:" + cutter.Pending());
  }
  void End() {
    std::string rest = cutter.TakePending();
    if (!rest.empty()) {
      lines.push_back(rest);
      events.push_back("E:" + rest);
    }
  }
};

using Lines = std::vector<std::string>;

TEST(LineCutter, ByteRulesWithinOneRead) {
  Replay r;
  r.Read(std::string("a\r\nb\n", 5));
  r.End();
  EXPECT_EQ(r.lines, (Lines{"a", "b"}));
  EXPECT_EQ(r.events, (Lines{"E:a", "E:b"}));

  Replay lone;  // a CR alone completes a line; empty lines count
  lone.Read("x\ry\n\n\r\rz");
  lone.End();
  EXPECT_EQ(lone.lines, (Lines{"x", "y", "", "", "", "z"}));

  Replay lfcr;  // LF CR is two line ends, not one
  lfcr.Read("p\n\rq\n");
  EXPECT_EQ(lfcr.lines, (Lines{"p", "", "q"}));
}

TEST(LineCutter, NulBytesNeverReachALine) {
  Replay r;
  r.Read(std::string("\0I\0D_LEN\0GTH=1\0\n\0\0", 19));
  r.Read(std::string("\0\0\0", 3));
  r.End();
  EXPECT_EQ(r.lines, (Lines{"ID_LENGTH=1"}));
  EXPECT_EQ(r.events, (Lines{"E:ID_LENGTH=1"}));
}

TEST(LineCutter, PartialLinesAcrossReads) {
  Replay r;
  r.Read("abc");
  r.Read("de");
  r.Read("f\n");
  r.End();
  // Reported again, longer, after each read that does not end it.
  EXPECT_EQ(r.events, (Lines{"B:abc", "B:abcde", "E:abcdef"}));
  EXPECT_EQ(r.lines, (Lines{"abcdef"}));
}

TEST(LineCutter, UnfinishedLineAtEndBecomesALine) {
  Replay r;
  r.Read("a\rb");
  r.End();
  EXPECT_EQ(r.events, (Lines{"E:a", "B:b", "E:b"}));
  EXPECT_EQ(r.lines, (Lines{"a", "b"}));
}

TEST(LineCutter, CrAndLfInSeparateReadsGiveAnEmptyLine) {
  Replay r;
  r.Read("x\r");
  r.Read("\ny");
  r.End();
  EXPECT_EQ(r.lines, (Lines{"x", "", "y"}));
  EXPECT_EQ(r.events, (Lines{"E:x", "E:", "B:y", "E:y"}));
}

TEST(LineCutter, BytesAreKeptUnconverted) {
  Replay r;
  const std::string gbk = "\xD5\xFD\xD4\xDA\x5C\xB4\xA6\xC0\xED";  // bytes incl. 0x5C trail
  r.Read(gbk + "\xff\x01\t \n");
  EXPECT_EQ(r.lines, (Lines{gbk + "\xff\x01\t "}));
}

TEST(LineCutter, StopRequestDropsTheRestOfTheRead) {
  Replay r;
  int asked = 0;
  // Stop once the first line is complete: asked before each byte, so the
  // third question (before 'b') answers true.
  auto stopAfterTwoBytes = [&] { return ++asked > 2; };
  r.Read("a\nbcd\nmore\n", stopAfterTwoBytes);
  EXPECT_EQ(r.lines, (Lines{"a"}));
  EXPECT_TRUE(r.cutter.Pending().empty());

  Replay mid;  // stopping inside a line keeps what was cut as pending
  int n = 0;
  EXPECT_TRUE(mid.cutter.Cut("xyz", [](const std::string&) {}, [&] { return ++n > 2; }));
  EXPECT_EQ(mid.cutter.Pending(), "xy");
  EXPECT_FALSE(mid.cutter.Cut("", [](const std::string&) {}, [] { return true; }));
}

// A line without an end of any length: handed on in pieces of at most
// kMaxLine bytes, each starting with the last kOverlap bytes of the one
// before, so nothing is lost and a marker the cut passes through lies whole
// in the next piece.
TEST(LineCutter, EndlessLineComesInBoundedOverlappingPieces) {
  const std::string marker = "ffmpeg_release_time=12.5=ffmpeg_release_time";
  std::string text(200000, 'x');
  const std::size_t across = LineCutter::kMaxLine - 20;
  for (std::size_t at : {std::size_t(10), across, text.size() - 500}) text.replace(at, marker.size(), marker);
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = text[i] == 'x' ? char('a' + i % 23) : text[i];

  Replay r;
  for (std::size_t at = 0; at < text.size(); at += 1000) {
    r.Read(std::string_view(text).substr(at, 1000));
    ASSERT_LT(r.cutter.Pending().size(), LineCutter::kMaxLine);
  }
  r.End();
  ASSERT_GT(r.lines.size(), 2u);
  std::string rebuilt = r.lines[0];
  for (std::size_t i = 1; i < r.lines.size(); ++i) {
    const std::string& before = r.lines[i - 1];
    ASSERT_LE(r.lines[i].size(), LineCutter::kMaxLine);
    ASSERT_EQ(r.lines[i].substr(0, LineCutter::kOverlap), before.substr(before.size() - LineCutter::kOverlap)) << i;
    rebuilt += r.lines[i].substr(LineCutter::kOverlap);
  }
  EXPECT_EQ(rebuilt, text);
  EXPECT_NE(r.lines[1].find(marker), std::string::npos) << "the marker across the first cut was split";
}

}  // namespace
}  // namespace tonewell
