// Command lines of the two companion programs: what Tonewell passes to them,
// and the command lines they build for the stock encoder.
//
// Contents of this file:
//   TConvertRequest / ParseConvertArguments - "-i SRC -y -vn -acodec libmp3lame OUT"
//   TProbeRequest / ParseProbeArguments     - "-msglevel identify=6 -vo none -ao none FILE ..."
//   QuoteArgument / JoinCommandLine         - Windows argument quoting
//   EncoderConvertArguments / EncoderProbeArguments - the stock encoder's arguments
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace companions {

struct TConvertRequest {
  std::wstring source;
  std::wstring output;
  bool overwrite = false;  // -y
};

struct TProbeRequest {
  std::wstring file;
};

// Either a request or the reason the arguments were refused.
template <typename T>
struct TParsed {
  std::optional<T> request;
  std::wstring error;
};

// Arguments after the program name. Accepts -i SRC, -y, -vn, -acodec NAME
// (only libmp3lame) and exactly one output path, in any order.
TParsed<TConvertRequest> ParseConvertArguments(const std::vector<std::wstring>& args);

// Arguments after the program name. The options -msglevel, -vo and -ao take a
// value and are otherwise ignored; the first other argument is the file.
// What follows it ("2>&1", "|grep", "ID_LENGTH": the caller starts us without
// a shell) is ignored.
TParsed<TProbeRequest> ParseProbeArguments(const std::vector<std::wstring>& args);

// One argument quoted so that the Windows C runtime's argument splitting
// gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& arg);
std::wstring JoinCommandLine(const std::vector<std::wstring>& args);

// Arguments (program path first) that make the stock encoder convert
// `source` to an MP3 at `partial`: VBR quality 2, ID3v2.3 tags, the year as
// the date tag when `year` is not empty, progress as key=value lines on its
// standard output.
std::vector<std::wstring> EncoderConvertArguments(const std::wstring& encoder, const std::wstring& source,
                                                  const std::wstring& partial, const std::wstring& year);

// Arguments that make the stock encoder read `file` and describe it.
std::vector<std::wstring> EncoderProbeArguments(const std::wstring& encoder, const std::wstring& file);

}  // namespace companions

namespace companions {

// The encoder writes beside the output under this suffix; the file is moved
// into place only after a successful conversion.
inline constexpr wchar_t kPartialSuffix[] = L".tonewell-partial";
inline std::wstring PartialPathFor(const std::wstring& output) { return output + kPartialSuffix; }

}  // namespace companions
