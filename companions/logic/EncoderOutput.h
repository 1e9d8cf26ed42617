// Reading the stock encoder's output.
//
// Contents of this file:
//   TLineSplitter   - cuts a byte stream into whole lines (terminators kept)
//   TProgressReader - key=value progress records -> Tonewell's marker lines
//   DurationSeconds - the "Duration: HH:MM:SS.cc" of the encoder's description
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace companions {

// Cuts bytes into lines that end in LF, CR or CR LF (the terminator stays
// with its line), so whole lines can be interleaved with other output.
// A line longer than kMaxLine is handed on in pieces.
class TLineSplitter {
 public:
  static constexpr size_t kMaxLine = 64 * 1024;
  // Appends the lines that `bytes` completes to `lines`.
  void Feed(std::string_view bytes, std::vector<std::string>& lines);
  // The unfinished rest, if any (at the end of the stream).
  std::optional<std::string> Finish();

 private:
  std::string pending_;
  bool afterCr_ = false;
};

// One marker line per progress record: the encoder reports a record as
// key=value lines ending with "progress=continue" or "progress=end"; the
// record's position ("out_time=HH:MM:SS.micro") becomes
// "ffmpeg_release_time=<seconds>=ffmpeg_release_time" with two decimals.
class TProgressReader {
 public:
  // `line` without its terminator. Answers the marker line (with CR LF) when
  // the line ends a record that had a valid position.
  std::optional<std::string> Feed(std::string_view line);

 private:
  std::optional<long long> position_;  // microseconds
};

// Microseconds of "[-]H:MM:SS[.fraction]"; nothing for anything else or a
// negative time.
std::optional<long long> ParseClock(std::string_view text);

// Seconds as Tonewell reads them: "<whole>.<two digits>".
std::string SecondsText(long long microseconds);

// The input's length from the encoder's description of it: the first
// "Duration: H:MM:SS.cc" line; nothing when the line is absent or says N/A.
std::optional<long long> DurationMicroseconds(std::string_view output);

}  // namespace companions
