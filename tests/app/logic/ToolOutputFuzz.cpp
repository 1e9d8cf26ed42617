// Tool output of any shape through the line cutter and both marker readers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/logic/ToolOutput.h"
#include "console/LineCutter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  tonewell::LineCutter cutter;
  std::vector<std::string> lines;
  // The first byte picks the read size, so reads split lines and CR LF pairs.
  size_t chunk = size ? 1 + data[0] % 64 : 1;
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    cutter.Cut(bytes.substr(at, chunk), [&](const std::string& line) {
      lines.push_back(line);
      (void)tonewell::ProgressFromLine(line);
    }, nullptr);
    (void)tonewell::ProgressFromLine(cutter.Pending());
  }
  lines.push_back(cutter.TakePending());
  try {
    int seconds = tonewell::DurationFromProbeLines(lines);
    if (seconds < 0) __builtin_trap();  // the number text has no sign
  } catch (const tonewell::EConvertError&) {
  }
  return 0;
}
