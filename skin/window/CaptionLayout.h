// Caption buttons without windows: what an action code does, when a button is
// visible, where it sits and which one is under a point (portable).
//
// Classes and functions in this file:
//   TBorderKind, TShowState, capability bits   what a frame knows of its window
//   TCaptionFacts        the window state the visibility rules read
//   TCaptionMetrics      the frame sizes buttons are placed against
//   TButtonRole, RoleOfAction, ShowsWindowIcon   the action-code table
//   VisibilityCondition  the visibility-code table (first or second code)
//   ButtonVisible        both codes, restricted by the action
//   ButtonSize, ButtonRect   one button's size and place in window coordinates
//   TCaptionSlot, LayoutCaptionButtons   visibility and rectangles of all
//                        buttons, and the button edge
//   HitCaptionButton     the button under a point
//
// Window coordinates: origin at the window's top-left corner.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/data/Image.h"
#include "skin/data/WinSkinData.h"

enum class TBorderKind : uint8_t { Sizeable = 0, Single = 1, None = 2, Dialog = 3 };
enum class TShowState : uint8_t { Normal = 0, Maximized = 1, Minimized = 2 };

// Bits of a frame's capabilities.
constexpr uint8_t kCapMaximizeBox = 0x01;
constexpr uint8_t kCapMinimizeBox = 0x02;
constexpr uint8_t kCapSystemMenu = 0x08;
constexpr uint8_t kCapCaptionStyle = 0x10;  // the frame adds and removes WS_CAPTION itself

struct TCaptionFacts {
  TShowState ShowState = TShowState::Normal;
  bool Active = true;
  uint8_t Capabilities = 0;
  TBorderKind BorderKind = TBorderKind::Sizeable;
  bool Dialog = false;  // a standard dialog box
  // An MDI frame with a menu bar whose active child is maximized.
  bool MDIChildMaximizedInMenuBar = false;
};

struct TCaptionMetrics {
  int WindowWidth = 0;
  int BorderLeft = 0, BorderRight = 0, CaptionHeight = 0, MenuBarHeight = 0;
  int MenuBarLeftMargin = 0;  // left margin of the skin's menu-bar element
  bool RightToLeft = false;
};

enum class TButtonRole {
  Close,
  MaximizeRestore,
  MinimizeRestore,
  SystemMenu,
  MDIMinimize,
  MDIRestore,
  MDIClose,
  Custom,  // reported to the window with its action code
};

TButtonRole RoleOfAction(int action);
// Actions 3 and 11 show the window icon instead of their image strip.
constexpr bool ShowsWindowIcon(int action) { return action == 3 || action == 11; }

// The window's answer to the visibility question of codes 1000..2000 (wParam
// code, lParam action); a value above 0 shows the button.
using TVisibilityQuery = std::function<int(int code, int action)>;

// Condition of one visibility code; `second` when the code is the button's
// Visibility1. The query is asked only for codes 1000..2000 and may be empty
// (then those buttons stay hidden).
bool VisibilityCondition(int code, bool second, int action, const TCaptionFacts& facts,
                         const TVisibilityQuery& query);
// Visibility and Visibility1, then the action's needs: close needs a system
// menu, maximize/restore a maximize box, minimize/restore a minimize box, and
// the system-menu buttons are hidden on dialog borders.
bool ButtonVisible(const TDataSkinSysButton& button, const TCaptionFacts& facts,
                   const TVisibilityQuery& query);

// Width and height of one frame of the button's strip; 0 x 0 when the image is
// empty or its frame count is not positive. `iconSize` stands in for an empty
// image of a button that shows the window icon (0: no icon).
struct TButtonSize {
  int Width = 0, Height = 0;
};
TButtonSize ButtonSize(const TDataSkinSysButton& button, int iconSize);
// The button's rectangle for its Align value (unknown values place it at
// XCoord, YCoord).
ImgRect ButtonRect(const TDataSkinSysButton& button, TButtonSize size, const TCaptionMetrics& m);

// Where one caption button is: hidden buttons keep the rectangle they had.
struct TCaptionSlot {
  bool Visible = false;
  ImgRect Rect;
};

// Recomputes visibility and, for visible buttons with a size, rectangles.
// `slots` is resized to the number of buttons (new slots start hidden and
// empty). Answers the button edge: the largest left edge among visible
// right-aligned (Align 1) buttons, or 0 when none is positive.
int LayoutCaptionButtons(const std::vector<const TDataSkinSysButton*>& buttons, int iconSize,
                         const TCaptionFacts& facts, const TCaptionMetrics& m,
                         const TVisibilityQuery& query, std::vector<TCaptionSlot>& slots);

// Index of the first visible button with an action >= 0 whose rectangle holds
// the point; -1 when none.
int HitCaptionButton(const std::vector<const TDataSkinSysButton*>& buttons,
                     const std::vector<TCaptionSlot>& slots, int x, int y);
