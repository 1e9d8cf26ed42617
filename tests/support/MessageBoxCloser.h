// Closes the message boxes and dialogs this process shows, from a thread of
// its own, so a test whose code shows one goes on (Windows tests).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twtest {

class TMessageBoxCloser {
 public:
  struct TBox {
    std::wstring caption;
    std::wstring text;  // the message text (static control 0xFFFF)
  };
  // `button`: the command sent to each box (IDOK, IDCANCEL, IDYES...).
  explicit TMessageBoxCloser(WORD button = IDOK);
  // `answer` acts on each box instead, on the closer's own thread (fills a
  // dialog's fields, waits for its state, presses its buttons).
  explicit TMessageBoxCloser(std::function<void(HWND)> answer);
  ~TMessageBoxCloser();
  TMessageBoxCloser(const TMessageBoxCloser&) = delete;
  TMessageBoxCloser& operator=(const TMessageBoxCloser&) = delete;

  int Closed() const { return FClosed.load(); }
  std::vector<TBox> Boxes() const;
  // The last box closed (empty when none).
  TBox Last() const;
  // Pumps the calling thread's messages until `count` boxes were closed.
  bool WaitForClosed(int count, DWORD limitMs = 20000) const;

 private:
  void Run();
  std::function<void(HWND)> FAnswer;
  std::atomic<bool> FStop{false};
  std::atomic<int> FClosed{0};
  mutable std::mutex FLock;
  std::vector<TBox> FBoxes;
  std::vector<HWND> FHandled;
  std::thread FThread;
};

}  // namespace twtest
