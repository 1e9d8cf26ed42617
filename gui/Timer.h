// Message-driven timer component (Windows).
//
// Classes in this file:
//   TTimer   Interval / Enabled / OnTimer; ticks arrive as WM_TIMER on the thread
//            that created the timer, through a hidden message window. Subclasses
//            override Timer() (the default calls OnTimer).
#pragma once

#include <windows.h>

#include "gui/Core.h"

class TTimer : public TComponent {
  TW_DECLARE_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  // Milliseconds; 0 stops the timer without clearing Enabled.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  bool Running() const { return FRunning; }

  TNotifyEvent OnTimer;

 protected:
  // One tick. Exceptions are routed to the library's exception handler.
  virtual void Timer();
  void Loaded() override;

 private:
  void Update();
  static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);

  HWND FWindow = nullptr;
  unsigned FInterval = 1000;
  bool FEnabled = true;
  bool FRunning = false;
};
