// Geometry of a skinned window frame without windows (portable).
//
// Functions in this file:
//   TFrameSizes          border and caption sizes of a frame
//   FrameSizesOf         the sizes a skin's four border images give
//   BorderKindOf         the frame kind a window's style bits give
//   SkinClientRect       the client rectangle inside a proposed window rectangle
//   TFramePieces, FramePiecesOf   where the four border pieces are painted
//   SkinHitTest          the non-client hit code of a point
//   SkinnedWindowSize    outer size that keeps a client size under the skin frame
//   NativeWindowSize     outer size that gives the client size back on detach
//   PickBorderFrame      which frame of a border strip to draw
//
// Window coordinates: origin at the window's top-left corner. Rectangles are
// (left, top, right, bottom), right and bottom exclusive.
#pragma once

#include <cstdint>

#include "skin/data/Image.h"
#include "skin/window/CaptionLayout.h"

class TDataSkinObject;

struct TFrameSizes {
  int BorderLeft = 0, CaptionHeight = 0, BorderRight = 0, BorderBottom = 0;
  int MenuBarHeight = 0;
  int Width() const { return BorderLeft + BorderRight; }
  int Height() const { return CaptionHeight + MenuBarHeight + BorderBottom; }
  bool operator==(const TFrameSizes&) const = default;
};

// Caption height = FrameTop height / frames, bottom = FrameBottom height /
// frames (stacked vertically); left and right = width / frames (side by
// side). A frame count below 1 counts as 1; a missing image gives 0. With
// TBorderKind::None every size is 0.
TFrameSizes FrameSizesOf(const TDataSkinObject* left, const TDataSkinObject* top,
                         const TDataSkinObject* right, const TDataSkinObject* bottom,
                         TBorderKind kind);

// Style bits the frame kind depends on (Win32 values).
constexpr uint32_t kStyleCaption = 0x00C00000;  // WS_CAPTION (border + dialog frame)
constexpr uint32_t kStyleThickFrame = 0x00040000;
constexpr uint32_t kStyleDialogBit = 0x00000080;  // DS_MODALFRAME-like bit the frame tests
constexpr uint32_t kExStyleDlgModalFrame = 0x00000001;

// None without both caption bits; else Sizeable with a thick frame, Dialog
// with the dialog bit, else Single; Dialog also for WS_EX_DLGMODALFRAME and
// for standard dialog boxes.
TBorderKind BorderKindOf(uint32_t style, uint32_t exStyle, bool dialogClass);

// The client rectangle (screen or parent coordinates) for a proposed window
// rectangle: inset by the borders, caption and menu band. The rectangle is
// never inverted: a window smaller than its frame gets an empty client area
// at the inner edge.
ImgRect SkinClientRect(ImgRect window, const TFrameSizes& s);

struct TFramePieces {
  ImgRect Left, Right, Bottom, Top, MenuBand, Client;
};
// For a window of w x h: left (0,0,L,h), right (w-R,0,w,h), bottom
// (L,h-B,w-R,h), top (L,0,w-R,C), menu band below the caption, client inside.
TFramePieces FramePiecesOf(int width, int height, const TFrameSizes& s);

// Hit codes (Win32 values).
enum : int {
  kHitNowhere = 0, kHitClient = 1, kHitCaption = 2, kHitMenu = 5, kHitLeft = 10, kHitRight = 11,
  kHitTop = 12, kHitBottom = 15
};
// The previous procedure's answer is kept unless it is nowhere or caption;
// then a point below the top 3 pixels (window coordinates) is caption, and
// below the caption, with a menu band, menu; the top 3 pixels keep the answer.
int SkinHitTest(int previousAnswer, int windowX, int windowY, const TFrameSizes& s);

// Outer size for a client size under the skin frame.
struct TSize2 {
  int Width = 0, Height = 0;
  bool operator==(const TSize2&) const = default;
};
TSize2 SkinnedWindowSize(int clientWidth, int clientHeight, const TFrameSizes& s);
// Outer size on detach: current + native frame - skin borders and caption
// (the menu band is not subtracted: a native menu bar takes its place).
TSize2 NativeWindowSize(int width, int height, int nativeFrameWidth, int nativeFrameHeight,
                        const TFrameSizes& s);

// Frame 1 when active or the strip has one frame, else frame 2.
int PickBorderFrame(bool active, int frameCount);
