// Private window messages of the skin engine (Windows).
//
// Contents of this file:
//   WM_SKIN*              the engine's private messages; their values are fixed,
//                         every skinned window and control of the program uses them
//   kSkinMarker           16802, the marker carried in lParam (and answered) by the
//                         marker messages below
//   WM_SKINPAINTEDIT …    the marker messages 0xBC4A, 0xBC4B, 0xBC4D, 0xBC4E
//   IsSkinMarkerMessage   true when a message carries the marker
//
// 0xBC4A..0xBC4E lie inside the GUI library's reflected-notification range
// (CN_BASE + message id): 0xBC4E is CN_NOTIFY. A control that handles both must
// test the marker (IsSkinMarkerMessage) before treating the message as a
// reflected notification.
#pragma once

#include <windows.h>

// Sent by the skin manager before it creates a frame for a window, by the
// popup-menu gate before it skins a menu window, and by the child-control
// dispatch before it skins a control: a window that is already skinned
// answers 1 and the message goes no further, so nothing is skinned twice.
constexpr UINT WM_SKINQUERY = 0x3523;

// Posted by the skin manager to a window right after its frame object was
// created (wParam 0, lParam 1000). The frame finishes attaching when it
// arrives: frame applied, region built, child controls dispatched.
constexpr UINT WM_SKINFORM = 0x3503;

// Sent or posted to a skinned top-level window: repaint the skinned frame
// (caption, borders, caption buttons, menu bar).
constexpr UINT WM_SKINNCPAINT = 0x3502;

// Sent by a host to a skinned control (nothing in the program sends it):
// wParam > 0 switches the control's skinning on and repaints it at once;
// wParam <= 0 switches it off, after which the control behaves and looks
// exactly as the unskinned control until a positive wParam arrives.
constexpr UINT WM_SKINENABLE = 0x3506;

// Sent by a skinned tab control to the skinned form's window when a tab's
// close box is clicked: wParam = the tab control's window, lParam = the tab
// index. The frame does not handle it; an answer of 0 (also the answer of a
// window that does not know the message) frees that page.
constexpr UINT WM_SKINTABCLOSE = 0x3507;

// Posted by the frame to its window for a caption button whose action code
// the frame does not handle itself; wParam = the action code.
constexpr UINT WM_SKINBUTTONACTION = 0x3514;

// Sent by the frame to its window to ask whether a caption button with a
// visibility code 1000..2000 is shown; wParam = visibility code,
// lParam = action code. A result > 0 shows the button.
constexpr UINT WM_SKINBUTTONVISIBLE = 0x3515;

// Posted to the MDI client of a skinned MDI frame (wParam = the child that
// asked): the client redraws itself and all children, frames included.
constexpr UINT WM_SKINREDRAWMDI = 0x3516;

// Posted by a skinned scroll-bar control (or list view) to the skinned
// form's window when the library is about to recreate the control's window;
// wParam = the control's window. The form frees that skin object and skins
// the control again with a new object of the same kind.
constexpr UINT WM_SKINREATTACH = 0x3517;

// Sent to a skinned top-level window: open the menu-bar drop-down under the
// point in lParam (screen coordinates, packed as in WM_NCHITTEST).
constexpr UINT WM_SKINMENUBUTTON = 0x3518;

// Sent to a library form's message hook: re-apply the current skin to the
// form's frame (frame geometry, region, caption buttons, child controls).
constexpr UINT WM_SKINREAPPLY = 0x3401;

// The marker value: lParam of every marker message, and the answer of a
// window that understood one.
constexpr LPARAM kSkinMarker = 16802;

// Marker message sent by a foreign control (outside this program) to a
// skinned edit: with lParam = kSkinMarker, paint the edit into the DC given
// in wParam; the edit answers kSkinMarker.
constexpr UINT WM_SKINPAINTEDIT = 0xBC4A;

// Marker message sent to a skinned window or control: with lParam =
// kSkinMarker, paint the skinned frame or border into the DC in wParam (when
// non-zero) and answer kSkinMarker.
constexpr UINT WM_SKINPAINTINTO = 0xBC4B;

// Marker message: a skin query that tells which engine answered. A skinned
// frame answers kSkinMarker when lParam is kSkinMarker, else 1.
constexpr UINT WM_SKINQUERYMARKER = 0xBC4D;

// Marker message sent by the frame to its own window once the window has
// been skinned (wParam 0, lParam kSkinMarker), so the window's own code can
// adjust itself. Same value as the library's CN_NOTIFY: test the marker.
constexpr UINT WM_SKINNEDNOTIFY = 0xBC4E;

// True when `msg` is one of the marker messages and carries the marker.
constexpr bool IsSkinMarkerMessage(UINT msg, LPARAM lParam) {
  return lParam == kSkinMarker &&
         (msg == WM_SKINPAINTEDIT || msg == WM_SKINPAINTINTO || msg == WM_SKINQUERYMARKER ||
          msg == WM_SKINNEDNOTIFY);
}
