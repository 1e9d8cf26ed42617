#include "tests/support/MsgSequence.h"

#include <cstdio>
#include <sstream>

#include "gui/Controls.h"
#include "tests/support/Pump.h"

namespace twtest {

// ---------------------------------------------------------------------------
// TMsgLog

TMsgLog::TMsgLog() {
  for (UINT m :
       {WM_NCHITTEST, WM_SETCURSOR, WM_GETICON, WM_TIMER, WM_ENTERIDLE, WM_GETOBJECT, WM_GETTEXT, WM_GETTEXTLENGTH,
        WM_GETFONT, WM_GETMINMAXINFO, WM_QUERYUISTATE, WM_IME_SETCONTEXT, WM_IME_NOTIFY, 0x0118 /* WM_SYSTIMER */})
    FIgnored.insert(m);
}

void TMsgLog::Add(const TMsgEntry& e) {
  if (!(e.Flags & kHook) && FIgnored.count(e.Msg)) return;
  FEntries.push_back(e);
}

bool TMsgLog::Contains(UINT msg, unsigned flagsMask) const {
  for (const auto& e : FEntries)
    if (e.Msg == msg && (e.Flags & flagsMask) == flagsMask) return true;
  return false;
}

int TMsgLog::Count(UINT msg) const {
  int n = 0;
  for (const auto& e : FEntries)
    if (e.Msg == msg && !(e.Flags & kHook)) ++n;
  return n;
}

// ---------------------------------------------------------------------------
// Recorders

namespace {
// Posted when the pump is dispatching exactly this message right now and it
// is not nested inside another message of the window.
bool IsPosted(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const MSG* d = DispatchingMessage();
  return d && d->hwnd == hwnd && d->message == msg && d->wParam == wParam && d->lParam == lParam && !InSendMessage();
}
thread_local int tWindowDepth = 0;
}  // namespace

TWindowRecorder::TWindowRecorder(TMsgLog& log, HWND window, unsigned extraFlags) : FLog(log), FExtra(extraFlags) {
  Attach(window);
}

LRESULT TWindowRecorder::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool posted = tWindowDepth == 0 && IsPosted(Window(), msg, wParam, lParam);
  FLog.Add(TMsgEntry{msg, (posted ? kPosted : kSent) | FExtra, wParam, lParam});
  ++tWindowDepth;
  LRESULT r;
  try {
    r = CallPrevious(msg, wParam, lParam);
  } catch (...) {
    --tWindowDepth;
    throw;
  }
  --tWindowDepth;
  return r;
}

TControlRecorder::TControlRecorder(TMsgLog& log, TControl* control, unsigned extraFlags)
    : FLog(log), FExtra(extraFlags) {
  FHook.Hook(control, TWndMethod::Bind(this, &TControlRecorder::Message));
}

void TControlRecorder::Message(TMessage& m) {
  auto* w = dynamic_cast<TWinControl*>(FHook.Control());
  bool posted = tWindowDepth == 0 && w && w->HandleAllocated() && IsPosted(w->Handle(), m.Msg, m.WParam, m.LParam);
  FLog.Add(TMsgEntry{m.Msg, kControl | (posted ? kPosted : kSent) | FExtra, m.WParam, m.LParam});
  ++tWindowDepth;
  try {
    FHook.CallPrevious(m);
  } catch (...) {
    --tWindowDepth;
    throw;
  }
  --tWindowDepth;
}

namespace {
thread_local TCbtRecorder* tCbtRecorder = nullptr;
}

TCbtRecorder::TCbtRecorder(TMsgLog& log, std::vector<std::wstring> classes) : FLog(log), FClasses(std::move(classes)) {
  tCbtRecorder = this;
  FHook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
}

TCbtRecorder::~TCbtRecorder() {
  if (FHook) UnhookWindowsHookEx(FHook);
  tCbtRecorder = nullptr;
}

LRESULT CALLBACK TCbtRecorder::Proc(int code, WPARAM wParam, LPARAM lParam) {
  TCbtRecorder* self = tCbtRecorder;
  if (self && code >= 0) {
    bool wanted = true;
    if (!self->FClasses.empty() && (code == HCBT_CREATEWND || code == HCBT_DESTROYWND || code == HCBT_ACTIVATE ||
                                    code == HCBT_SETFOCUS || code == HCBT_MINMAX || code == HCBT_MOVESIZE)) {
      wchar_t cls[128] = {};
      GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 128);
      wanted = false;
      for (const auto& c : self->FClasses)
        if (_wcsicmp(c.c_str(), cls) == 0) wanted = true;
    }
    if (wanted) self->FLog.Add(TMsgEntry{static_cast<UINT>(code), kHook, wParam, 0});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Names and comparison

std::string MessageName(UINT msg, unsigned flags) {
  if (flags & kHook) {
    static const char* const kCbt[] = {"HCBT_MOVESIZE",   "HCBT_MINMAX",   "HCBT_QS",           "HCBT_CREATEWND",
                                       "HCBT_DESTROYWND", "HCBT_ACTIVATE", "HCBT_CLICKSKIPPED", "HCBT_KEYSKIPPED",
                                       "HCBT_SYSCOMMAND", "HCBT_SETFOCUS"};
    return msg < 10 ? kCbt[msg] : "HCBT_" + std::to_string(msg);
  }
  struct Name {
    UINT id;
    const char* text;
  };
  static const Name kNames[] = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCPAINT, "WM_NCPAINT"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"},
      {WM_SYSCHAR, "WM_SYSCHAR"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_INITMENU, "WM_INITMENU"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
      {WM_MENUSELECT, "WM_MENUSELECT"},
      {WM_MENUCHAR, "WM_MENUCHAR"},
      {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
      {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
      {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
      {WM_MEASUREITEM, "WM_MEASUREITEM"},
      {WM_DRAWITEM, "WM_DRAWITEM"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
      {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
      {WM_SETFONT, "WM_SETFONT"},
      {WM_HSCROLL, "WM_HSCROLL"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
      {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
      {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
      {WM_USER, "WM_USER"},
      {CM_ENABLEDCHANGED, "CM_ENABLEDCHANGED"},
      {CM_FOCUSCHANGED, "CM_FOCUSCHANGED"},
      {CM_VISIBLECHANGED, "CM_VISIBLECHANGED"},
      {CM_TEXTCHANGED, "CM_TEXTCHANGED"},
      {CM_DIALOGKEY, "CM_DIALOGKEY"},
      {CM_DIALOGCHAR, "CM_DIALOGCHAR"},
      {CM_MOUSEENTER, "CM_MOUSEENTER"},
      {CM_MOUSELEAVE, "CM_MOUSELEAVE"},
      {CM_ENTER, "CM_ENTER"},
      {CM_EXIT, "CM_EXIT"},
      {CM_COLORCHANGED, "CM_COLORCHANGED"},
      {CM_FONTCHANGED, "CM_FONTCHANGED"},
      {CM_RELEASE, "CM_RELEASE"},
      {CM_RECREATEWND, "CM_RECREATEWND"},
      {CM_MENUCHANGED, "CM_MENUCHANGED"},
      {CN_COMMAND, "CN_COMMAND"},
      {CN_NOTIFY, "CN_NOTIFY"},
      {CN_DRAWITEM, "CN_DRAWITEM"},
      {CN_MEASUREITEM, "CN_MEASUREITEM"},
  };
  for (const Name& n : kNames)
    if (n.id == msg) return n.text;
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04X", msg);
  return buf;
}

std::string DescribeEntry(const TMsgEntry& e) {
  std::ostringstream s;
  s << MessageName(e.Msg, e.Flags);
  if (e.Flags & kHook) s << " (hook)";
  else {
    s << ((e.Flags & kPosted) ? " posted" : (e.Flags & kSent) ? " sent" : "");
    if (e.Flags & kParent) s << " parent";
    if (e.Flags & kControl) s << " control";
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, " w=%#lx l=%#lx", static_cast<unsigned long>(e.WParam),
                static_cast<unsigned long>(e.LParam));
  s << buf;
  return s.str();
}

namespace {

bool SameKind(const TMsgEntry& exp, const TMsgEntry& act) {
  constexpr unsigned kWhere = kParent | kHook | kControl;
  if ((exp.Flags & kWhere) != (act.Flags & kWhere)) return false;
  unsigned how = exp.Flags & (kSent | kPosted);
  return how == 0 || how == (act.Flags & (kSent | kPosted));
}

bool Matches(const TMsgEntry& exp, const TMsgEntry& act) {
  if (exp.Msg != act.Msg || !SameKind(exp, act)) return false;
  if ((exp.Flags & kWParam) && exp.WParam != act.WParam) return false;
  if ((exp.Flags & kLParam) && exp.LParam != act.LParam) return false;
  return true;
}

std::string Table(const std::vector<TMsgEntry>& expected, const std::vector<TMsgEntry>& actual) {
  std::ostringstream s;
  s << "\n  expected:";
  for (const auto& e : expected) s << "\n    " << DescribeEntry(e) << ((e.Flags & kOptional) ? " [optional]" : "");
  s << "\n  actual:";
  for (const auto& e : actual) s << "\n    " << DescribeEntry(e);
  return s.str();
}

}  // namespace

::testing::AssertionResult ExpectSequence(const TMsgLog& log, const std::vector<TMsgEntry>& expected,
                                          const char* context) {
  const auto& actual = log.Entries();
  size_t i = 0, j = 0;
  while (i < expected.size()) {
    const TMsgEntry& exp = expected[i];
    if (j < actual.size() && Matches(exp, actual[j])) {
      ++i;
      ++j;
      continue;
    }
    if (exp.Flags & kOptional) {
      ++i;
      continue;
    }
    std::string what = j < actual.size() ? "got " + DescribeEntry(actual[j]) : std::string("the sequence ended");
    return ::testing::AssertionFailure() << context << ": expected " << DescribeEntry(exp) << " at " << j << ", "
                                         << what << Table(expected, actual);
  }
  if (j < actual.size())
    return ::testing::AssertionFailure() << context << ": unexpected " << DescribeEntry(actual[j]) << " at " << j
                                         << Table(expected, actual);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ExpectSequence(const TMsgLog& log, std::initializer_list<TMsgEntry> expected,
                                          const char* context) {
  return ExpectSequence(log, std::vector<TMsgEntry>(expected), context);
}

}  // namespace twtest
