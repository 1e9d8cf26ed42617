#include "companions/logic/EncoderOutput.h"

namespace companions {

void TLineSplitter::Feed(std::string_view bytes, std::vector<std::string>& lines) {
  for (char c : bytes) {
    if (afterCr_) {
      afterCr_ = false;
      if (c == '\n') {
        pending_.push_back(c);
        lines.push_back(std::move(pending_));
        pending_.clear();
        continue;
      }
      lines.push_back(std::move(pending_));
      pending_.clear();
    }
    pending_.push_back(c);
    if (c == '\r') {
      // Wait for the next byte: it may be the LF of a CR LF pair.
      afterCr_ = true;
    } else if (c == '\n' || pending_.size() >= kMaxLine) {
      lines.push_back(std::move(pending_));
      pending_.clear();
    }
  }
}

std::optional<std::string> TLineSplitter::Finish() {
  afterCr_ = false;
  if (pending_.empty()) return std::nullopt;
  std::string rest = std::move(pending_);
  pending_.clear();
  return rest;
}

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Reads 1..max digits at `pos`, advancing it.
std::optional<long long> Digits(std::string_view s, size_t& pos, size_t max) {
  long long v = 0;
  size_t n = 0;
  while (pos < s.size() && n < max && s[pos] >= '0' && s[pos] <= '9') {
    v = v * 10 + (s[pos] - '0');
    ++pos;
    ++n;
  }
  if (n == 0) return std::nullopt;
  return v;
}

}  // namespace

std::optional<long long> ParseClock(std::string_view text) {
  if (text.empty() || text[0] == '-') return std::nullopt;
  size_t pos = 0;
  auto h = Digits(text, pos, 9);
  if (!h || pos >= text.size() || text[pos++] != ':') return std::nullopt;
  auto m = Digits(text, pos, 2);
  if (!m || *m > 59 || pos >= text.size() || text[pos++] != ':') return std::nullopt;
  auto s = Digits(text, pos, 2);
  if (!s || *s > 59) return std::nullopt;
  long long micro = 0;
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    long long scale = 100000;
    size_t n = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
      if (n < 6) micro += (text[pos] - '0') * scale;
      scale /= 10;
      ++pos;
      ++n;
    }
    if (n == 0) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  return ((*h * 60 + *m) * 60 + *s) * 1000000 + micro;
}

std::string SecondsText(long long microseconds) {
  const long long hundredths = microseconds / 10000;
  std::string frac = std::to_string(hundredths % 100);
  if (frac.size() < 2) frac.insert(0, "0");
  return std::to_string(hundredths / 100) + "." + frac;
}

std::optional<std::string> TProgressReader::Feed(std::string_view line) {
  if (StartsWith(line, "out_time=")) {
    position_ = ParseClock(line.substr(9));
    return std::nullopt;
  }
  if (!StartsWith(line, "progress=")) return std::nullopt;
  std::optional<long long> pos = position_;
  position_.reset();
  if (!pos) return std::nullopt;
  return "ffmpeg_release_time=" + SecondsText(*pos) + "=ffmpeg_release_time\r\n";
}

std::optional<long long> DurationMicroseconds(std::string_view output) {
  const std::string_view key = "Duration: ";
  const size_t at = output.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = output.substr(at + key.size());
  rest = rest.substr(0, rest.find_first_of(",\r\n"));
  return ParseClock(rest);
}

}  // namespace companions
