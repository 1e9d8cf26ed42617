#include "app/logic/ToolOutput.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace tonewell {

namespace {

constexpr std::string_view kDurationMarker = "id_length=";
constexpr std::string_view kProgressOpen = "ffmpeg_release_time=";
constexpr std::string_view kProgressClose = "=ffmpeg_release_time";
constexpr size_t kNumberWindow = 20;

int ClampToInt(double value) {
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

// Nearest integer, halves to the even neighbour, whatever the FPU's mode.
double RoundHalfToEven(double x) {
  double floor = std::floor(x);
  double frac = x - floor;
  if (frac < 0.5) return floor;
  if (frac > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

EConvertError::EConvertError(const std::string& numberText)
    : std::runtime_error("'" + numberText + "' is not a valid floating point value") {}

std::string JoinLoweredProbeLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    for (char c : line) text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    text += "\r\n";
  }
  return text;
}

bool HasDurationMarker(const std::vector<std::string>& lines) {
  return JoinLoweredProbeLines(lines).find(kDurationMarker) != std::string::npos;
}

std::string NumberTextAfterMarker(std::string_view lowered) {
  size_t at = lowered.find(kDurationMarker);
  if (at == std::string_view::npos) return {};
  std::string_view rest = lowered.substr(at + kDurationMarker.size(), kNumberWindow);
  std::string number;
  for (char c : rest) {
    if (c == '\r' || c == '\n') break;
    if (IsDigit(c) || c == '.') number += c;
  }
  return number;
}

int NumberTextToSeconds(const std::string& numberText) {
  if (numberText.empty()) return 0;
  std::optional<double> value = ParseDecimal(numberText);
  if (!value) throw EConvertError(numberText);
  return ClampToInt(std::trunc(*value));
}

int DurationFromProbeLines(const std::vector<std::string>& lines) {
  return NumberTextToSeconds(NumberTextAfterMarker(JoinLoweredProbeLines(lines)));
}

std::optional<double> ParseDecimal(std::string_view text) {
  size_t i = 0, n = text.size();
  auto blank = [&](size_t k) { return text[k] == ' ' || text[k] == '\t'; };
  while (i < n && blank(i)) ++i;
  while (n > i && blank(n - 1)) --n;
  // Rebuild a clean copy for from_chars, which never consults the locale.
  std::string clean;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') clean += '-';
    ++i;
  }
  size_t digits = 0;
  while (i < n && IsDigit(text[i])) clean += text[i++], ++digits;
  if (i < n && text[i] == '.') {
    clean += text[i++];
    while (i < n && IsDigit(text[i])) clean += text[i++], ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    clean += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) clean += text[i++];
    size_t expDigits = 0;
    while (i < n && IsDigit(text[i])) clean += text[i++], ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != n) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) return std::nullopt;
  if (ec != std::errc() || end != clean.data() + clean.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<int> ProgressFromLine(std::string_view line) {
  size_t open = line.find(kProgressOpen);
  if (open == std::string_view::npos) return std::nullopt;
  std::string_view rest = line.substr(open + kProgressOpen.size());
  size_t close = rest.find(kProgressClose);
  if (close == std::string_view::npos) return std::nullopt;
  std::optional<double> value = ParseDecimal(rest.substr(0, close));
  if (!value) return std::nullopt;
  return ClampToInt(RoundHalfToEven(*value));
}

}  // namespace tonewell
