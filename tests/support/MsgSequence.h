// Message-sequence tests: record what windows receive, compare with a table.
//
// Classes and functions in this file:
//   TMsgEntry / flags  one expected or recorded message: sent or posted, to
//                      the window or its parent, a CBT hook event, library
//                      notification through a control's WindowProc; whether
//                      wParam / lParam must match; optional entries
//   TMsgLog            the recorded sequence (one per test, shared by recorders)
//   TWindowRecorder    records a window's messages through a subclass
//   TControlRecorder   records a library control's messages through its
//                      WindowProc (sees CM_/CN_ notifications too)
//   TCbtRecorder       records the thread's CBT hook stream (HCBT_* codes)
//   ExpectSequence     compares; on mismatch prints expected against actual
//   MessageName        readable name of a message id
//
// Use:
//   TMsgLog log;
//   TWindowRecorder rec(log, hwnd);                // messages of hwnd
//   TWindowRecorder par(log, parent, kParent);     // flagged as parent
//   log.Clear();  DoSomething();
//   static const TMsgEntry kExpected[] = {
//     {WM_COMMAND, kSent | kParent | kWParam, MAKEWPARAM(10, BN_CLICKED)},
//     {WM_PAINT, kPosted | kOptional},
//   };
//   EXPECT_TRUE(ExpectSequence(log, kExpected, "click"));
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "gui/Subclass.h"

class TControl;

namespace twtest {

enum TMsgFlag : unsigned {
  kSent = 0x01,      // arrived through a send (or a direct call)
  kPosted = 0x02,    // came out of the message queue
  kParent = 0x04,    // recorded on the parent window
  kHook = 0x08,      // a CBT hook event: Msg is the HCBT_* code
  kWParam = 0x10,    // (expected) wParam must match
  kLParam = 0x20,    // (expected) lParam must match
  kOptional = 0x40,  // (expected) may be missing
  kControl = 0x80,   // recorded through a library control's WindowProc
};

struct TMsgEntry {
  UINT Msg = 0;
  unsigned Flags = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

class TMsgLog {
 public:
  void Add(const TMsgEntry& e);
  void Clear() { FEntries.clear(); }
  const std::vector<TMsgEntry>& Entries() const { return FEntries; }
  // Messages never recorded (defaults: mouse hit testing, cursor, icon and
  // timer chatter that varies between runs).
  void Ignore(UINT msg) { FIgnored.insert(msg); }
  void Unignore(UINT msg) { FIgnored.erase(msg); }
  bool Contains(UINT msg, unsigned flagsMask = 0) const;
  int Count(UINT msg) const;
  TMsgLog();

 private:
  std::vector<TMsgEntry> FEntries;
  std::set<UINT> FIgnored;
};

class TWindowRecorder : public TSubclass {
 public:
  TWindowRecorder(TMsgLog& log, HWND window, unsigned extraFlags = 0);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  TMsgLog& FLog;
  unsigned FExtra;
};

class TControlRecorder {
 public:
  TControlRecorder(TMsgLog& log, TControl* control, unsigned extraFlags = 0);
  void Stop() { FHook.Unhook(); }

 private:
  void Message(TMessage& m);
  TMsgLog& FLog;
  unsigned FExtra;
  TWindowHook FHook;
};

// Only one per thread at a time. With `classes`, window events (creation,
// destruction, activation, focus, size) count only for windows of those
// classes: Wine makes helper windows of its own beside the first top-level
// window of a thread.
class TCbtRecorder {
 public:
  explicit TCbtRecorder(TMsgLog& log, std::vector<std::wstring> classes = {});
  ~TCbtRecorder();
  TCbtRecorder(const TCbtRecorder&) = delete;
  TCbtRecorder& operator=(const TCbtRecorder&) = delete;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
  TMsgLog& FLog;
  std::vector<std::wstring> FClasses;
  HHOOK FHook = nullptr;
};

std::string MessageName(UINT msg, unsigned flags = 0);
std::string DescribeEntry(const TMsgEntry& e);

// Compares the recorded sequence with `expected` in order. Only the kinds
// (sent/posted/parent/hook/control) that appear in a flag are compared;
// optional entries may be missing. On mismatch the failure lists expected
// against actual.
::testing::AssertionResult ExpectSequence(const TMsgLog& log, std::initializer_list<TMsgEntry> expected,
                                          const char* context = "");
::testing::AssertionResult ExpectSequence(const TMsgLog& log, const std::vector<TMsgEntry>& expected,
                                          const char* context = "");
template <size_t N>
::testing::AssertionResult ExpectSequence(const TMsgLog& log, const TMsgEntry (&expected)[N],
                                          const char* context = "") {
  return ExpectSequence(log, std::vector<TMsgEntry>(expected, expected + N), context);
}

}  // namespace twtest
