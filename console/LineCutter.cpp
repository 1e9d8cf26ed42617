#include "console/LineCutter.h"

#include <utility>

namespace tonewell {

bool LineCutter::Cut(std::string_view bytes, const LineHandler& onLine,
                     const StopCheck& stopRequested) {
  std::string current = std::move(pending_);
  pending_.clear();
  bool stopped = false;
  // The pending text is stored again even when a handler throws, so nothing
  // already cut is lost from the runner's point of view.
  struct KeepPending {
    std::string& from;
    std::string& to;
    ~KeepPending() { to = std::move(from); }
  } keep{current, pending_};

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
  }
  return stopped;
}

std::string LineCutter::TakePending() {
  std::string text = std::move(pending_);
  pending_.clear();
  return text;
}

}  // namespace tonewell
