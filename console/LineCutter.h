// Cutting a console program's output bytes into lines, one read at a time.
//
// Classes in this file: LineCutter.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tonewell {

// Keeps the unfinished line between reads. Per byte: NUL is skipped; LF
// completes the line; CR completes the line and takes an LF that follows it
// in the same read along; any other byte is appended. A CR ending one read
// and an LF starting the next give an extra empty line. Bytes are kept as
// they come (no character conversion).
//
// A line longer than kMaxLine bytes is handed on in pieces: when the pending
// text reaches kMaxLine it is reported as a completed line and only its last
// kOverlap bytes stay pending, so a marker shorter than kOverlap that the cut
// passes through still lies whole in the next piece. Memory and the cost of
// reporting the pending text stay bounded whatever a program prints.
class LineCutter {
 public:
  static constexpr std::size_t kMaxLine = 16 * 1024;
  static constexpr std::size_t kOverlap = 1024;

  using LineHandler = std::function<void(const std::string& line)>;
  using StopCheck = std::function<bool()>;

  // Cuts the bytes of one read, the pending text first: calls `onLine` for
  // every completed line (empty lines too). `stopRequested` is asked before
  // each byte; when it answers true the rest of the read is dropped. The
  // unfinished end becomes the pending text. Returns true when stopped early.
  bool Cut(std::string_view bytes, const LineHandler& onLine, const StopCheck& stopRequested);

  // The beginning of a line whose end has not arrived yet.
  const std::string& Pending() const { return pending_; }

  // Hands over the pending text (at the end of the output) and empties it.
  std::string TakePending();

 private:
  std::string pending_;
};

}  // namespace tonewell
