#include "skin/data/SkinColour.h"

namespace {

std::string_view TrimControls(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TColour ColourFromText(std::string_view text, TColour fallback) {
  if (text.empty()) return fallback;
  text = TrimControls(text);

  unsigned channel[3] = {0, 0, 0};
  int taken = 0;
  bool inRun = false;
  unsigned run = 0;  // the run's value modulo 256
  for (char c : text) {
    if (IsDigit(c)) {
      run = (inRun ? run * 10u : 0u) + static_cast<unsigned>(c - '0');
      run &= 0xFFu;
      inRun = true;
    } else if (inRun) {
      if (taken < 3) channel[taken] = run;
      ++taken;
      inRun = false;
    }
  }
  if (inRun && taken == 2) channel[2] = run;
  return MakeColour(channel[0], channel[1], channel[2]);
}
