// Message record and the library's own window messages (Windows).
//
// Classes in this file:
//   TMessage     one message: id, wParam, lParam, result
//   TWndMethod   the per-control message hook type (a delegate taking TMessage&)
//   CM_* / CN_*  library notifications (0xB000 + n) and reflected notifications
//                (0xBC00 + the original message id)
#pragma once

#include <windows.h>

#include "gui/Core.h"

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

using TWndMethod = TDelegate<void(TMessage&)>;

// Library notifications, sent (never posted, except CM_RELEASE) by the
// library to a control's WindowProc at the moment their names say.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x01;   // after Enabled changed (window enabled/disabled)
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x02;     // to the form: lParam = control that got the focus
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x03;   // after Visible changed; wParam = new value
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x04;      // after Caption/Text changed
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x05;        // to the form: wParam = virtual key; Result != 0: handled
constexpr UINT CM_DIALOGCHAR = CM_BASE + 0x06;       // to the form: wParam = character of WM_SYSCHAR; Result != 0: handled
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x07;       // the mouse came over the control
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x08;       // the mouse left the control
constexpr UINT CM_ENTER = CM_BASE + 0x09;            // the control got the keyboard focus
constexpr UINT CM_EXIT = CM_BASE + 0x0A;             // the control lost the keyboard focus
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0B;     // after Color changed
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x0C;      // after Font changed
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 0x0D;  // to children with ParentColor
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 0x0E;   // to children with ParentFont
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 0x0F;   // the window was shown or hidden
constexpr UINT CM_RELEASE = CM_BASE + 0x10;          // posted by TForm::Release; the form frees itself
constexpr UINT CM_RECREATEWND = CM_BASE + 0x11;      // before the window is destroyed to be created again
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x15;      // to the form: its menu was set or changed
constexpr UINT CM_CHECKSTATECHANGED = CM_BASE + 0xD0;  // to a check box or radio button after its check state changed

// Reflected notifications: a parent passes these to the child that caused
// them (CN_BASE + the message id), with the original wParam/lParam.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

// Internal: sets a progress bar's position from another thread (wParam = position).
constexpr UINT TW_SETPOSITION = WM_APP + 0x0100;
