// Drives another process's windows as a user would: finds them, clicks
// buttons with messages, fills the open dialog and reads controls across the
// process boundary.
//
// Classes in this file:
//   TAppProcess - a started program (process handle, its main window)
//   helpers     - window search, clicking, text/list-view/progress reading,
//                 waiting with a deadline
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Folder of the running test program, ending in a backslash.
std::wstring SelfFolder();

// Checks `done` until it answers true or `ms` pass (handling no messages of
// this process); answers the last result.
bool WaitUntil(const std::function<bool()>& done, DWORD ms);

class TAppProcess {
 public:
  TAppProcess() = default;
  ~TAppProcess();
  TAppProcess(const TAppProcess&) = delete;
  TAppProcess& operator=(const TAppProcess&) = delete;

  // Starts `exe` (full path) in `folder` and waits up to `ms` for its visible
  // top-level window captioned `caption`.
  bool Start(const std::wstring& exe, const std::wstring& folder, const std::wstring& caption,
             DWORD ms = 20000);
  // Asks the main window to close (WM_CLOSE) and waits for the process end.
  bool Close(DWORD ms = 15000);
  // Ends the process at once (clean-up after a failed test).
  void Kill();

  bool Exited(DWORD ms = 0) const;
  DWORD ExitCode() const;
  DWORD Pid() const { return pid_; }
  HANDLE Process() const { return process_; }
  HWND Main() const { return main_; }

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

// Visible top-level windows of process `pid` with class `cls` (any class
// when empty), excluding `except`.
std::vector<HWND> TopWindows(DWORD pid, const std::wstring& cls, HWND except = nullptr);
// Waits for one such window; nullptr when none appears in time.
HWND WaitForTopWindow(DWORD pid, const std::wstring& cls, DWORD ms, HWND except = nullptr);

// All descendants of `parent`.
std::vector<HWND> Descendants(HWND parent);
// First descendant whose class is `cls` (any when empty) and whose text is
// `text` (any when empty); nullptr when none.
HWND FindChild(HWND parent, const std::wstring& cls, const std::wstring& text);
HWND FindChildById(HWND parent, int id);

// WM_GETTEXT across processes (with a timeout, so a busy target cannot hang
// the test).
std::wstring Text(HWND wnd);
std::wstring ClassOf(HWND wnd);

// Clicks a push button without waiting for the handler (which may open a
// modal dialog): BM_CLICK posted.
void Click(HWND button);
// Clicks a push button and waits until its handler has returned (BM_CLICK
// sent); false when it had not returned after `ms` (a handler that opened a
// modal dialog, or a program that is gone).
bool ClickAndWait(HWND button, DWORD ms = 20000);
// The keyboard's click: space pressed and released on the button.
void PressSpace(HWND button);
// Sends WM_CLOSE to `window` from `count` threads released at the same
// moment, and waits for every send to return or fail.
void CloseFromThreads(HWND window, int count);

// Puts `path` into the open dialog's file-name field and presses OK.
bool FillOpenDialog(HWND dialog, const std::wstring& path);
// Presses the dialog's button with this id (IDOK, IDCANCEL) by a posted
// WM_COMMAND.
void PressDialogButton(HWND dialog, int id);
// The text of a message box (its static with id 0xFFFF).
std::wstring MessageBoxText(HWND box);

// Reads every row of a list view in another process: rows of column texts.
std::vector<std::vector<std::wstring>> ListViewRows(HWND list, int columns);
int ListViewCount(HWND list);
// Selects one row of a list view in another process (state written through
// the target's memory).
bool ListViewSelect(HWND list, int row);

// Whether `window` shows `text` at client point `at` (within a few pixels),
// drawn in the main window's font ("宋体", 12 px, GB2312): the text is drawn
// off-screen in that font and its dark pixels compared with the screen's.
// For window-less controls (labels), which answer no WM_GETTEXT. Only the
// part inside the window's client area is compared.
bool ShowsText(HWND window, POINT at, const std::wstring& text);

struct TProgress {
  int pos = 0, low = 0, high = 0;
};
TProgress Progress(HWND bar);

}  // namespace e2e
