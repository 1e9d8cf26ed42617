// Reading the converter's tool output: the probe's duration marker and the
// conversion tool's progress markers.
//
// Classes in this file: EConvertError.
// Functions: HasDurationMarker, DurationFromProbeLines, NumberTextAfterMarker,
// NumberTextToSeconds, ProgressFromLine, ParseDecimal.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tonewell {

// A number text that is not a valid floating point value.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& numberText);
};

// The probe output's lines joined into one text, each line followed by CR LF,
// with the letters A to Z lowered (no other byte changes).
std::string JoinLoweredProbeLines(const std::vector<std::string>& lines);

// True when the lowered probe output holds "id_length=".
bool HasDurationMarker(const std::vector<std::string>& lines);

// The number text following "id_length=" in the joined, lowered text: of the
// at most 20 characters after the marker, digits and points are kept, CR or
// LF ends the scan, anything else is skipped. Empty when there is no marker.
std::string NumberTextAfterMarker(std::string_view lowered);

// The playing time in whole seconds (truncated toward zero, clamped to the
// 32-bit range) of a number text made of digits and points; 0 for an empty
// text. Throws EConvertError for a text that is not a number (".", "1.2.3").
int NumberTextToSeconds(const std::string& numberText);

// The duration the probe found in its collected lines, 0 when the marker is
// absent. Throws EConvertError for an invalid number text.
int DurationFromProbeLines(const std::vector<std::string>& lines);

// A decimal number with a point as decimal separator whatever the locale:
// optional blanks around it, an optional sign, digits with an optional point,
// an optional exponent. Nothing else (no "inf", "nan", hex or thousands).
std::optional<double> ParseDecimal(std::string_view text);

// The progress position of one output line: the value between the first
// "ffmpeg_release_time=" and the "=ffmpeg_release_time" after it, rounded to
// the nearest integer (halves to even) and clamped to the 32-bit range.
// Nothing when the line has no marker pair or the value is not a number.
std::optional<int> ProgressFromLine(std::string_view line);

}  // namespace tonewell
