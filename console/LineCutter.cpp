#include "console/LineCutter.h"

#include <utility>

namespace tonewell {

bool LineCutter::Cut(std::string_view bytes, const LineHandler& onLine,
                     const StopCheck& stopRequested) {
  std::string current = std::move(pending_);
  pending_.clear();
  bool stopped = false;

  for (size_t i = 0; i < bytes.size(); ++i) {
    if (stopRequested && stopRequested()) {
      stopped = true;
      break;
    }
    char c = bytes[i];
    if (c == '\0') continue;
    if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      std::string line = std::move(current);
      current.clear();
      onLine(line);
      continue;
    }
    current += c;
    if (current.size() >= kMaxLine) {
      onLine(current);
      current.erase(0, current.size() - kOverlap);
    }
  }
  pending_ = std::move(current);
  return stopped;
}

std::string LineCutter::TakePending() {
  std::string text = std::move(pending_);
  pending_.clear();
  return text;
}

}  // namespace tonewell
