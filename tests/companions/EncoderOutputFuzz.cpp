// Outside bytes through the companions' readers: the WMA header's year tag,
// the line splitter (which must hand on every byte, in order) and the
// progress and length readers (whose markers the program must read back).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/logic/ToolOutput.h"
#include "companions/logic/AsfYear.h"
#include "companions/logic/EncoderOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring year = companions::AsfYear(data, size);
  if (!year.empty() && year.size() != 4) __builtin_trap();

  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  companions::TLineSplitter splitter;
  companions::TProgressReader progress;
  std::vector<std::string> lines;
  std::string joined;
  const size_t chunk = size ? 1 + data[0] % 64 : 1;
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    lines.clear();
    splitter.Feed(bytes.substr(at, chunk), lines);
    for (const auto& line : lines) {
      joined += line;
      std::string_view key = line;
      while (!key.empty() && (key.back() == '\n' || key.back() == '\r')) key.remove_suffix(1);
      if (auto marker = progress.Feed(key)) {
        auto value = tonewell::ProgressFromLine(*marker);
        if (!value || *value < 0) __builtin_trap();
      }
    }
  }
  if (auto rest = splitter.Finish()) joined += *rest;
  if (joined != bytes) __builtin_trap();
  if (auto length = companions::DurationMicroseconds(bytes)) {
    if (*length < 0) __builtin_trap();
  }
  return 0;
}
