// A skin with tab, page-frame, status-bar edge and size-grip images whose
// every part has its own colour, for the tab and status-bar tests (Wine).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/data/ImgUtil.h"
#include "tests/skin/controls/kinds/KindsFixture.h"

namespace skintest {

// Tabs frame k: outer half (toward the window's edge) RGB(0x30, 0, k), inner
// half RGB(0x31, 0, k). Page frame: its top 5 rows kPaneEdge, the rest
// kPaneBody. Status-bar edge frame k: RGB(0x40, 0, k). Grip (ExtraImages
// frame 5): kGrip with a magenta top-left pixel. Buttons as in BuildSkin.
inline COLORREF TabOuter(int k) { return RGB(0x30, 0, k); }
inline COLORREF TabInner(int k) { return RGB(0x31, 0, k); }
inline COLORREF EdgeFrame(int k) { return RGB(0x40, 0, k); }
const COLORREF kPaneEdge = RGB(0x50, 0x50, 0), kPaneBody = RGB(0x60, 0x60, 0), kGrip = RGB(0x70, 0, 0x70);
const COLORREF kTabTextRGB = RGB(0, 128, 0), kFocusTextRGB = RGB(0, 0, 255), kStatusTextRGB = RGB(255, 0, 0);

struct TabsSkinParts {
  bool tabImage = true;
  bool statusEdges = true;
};

inline std::unique_ptr<TSkinModel> BuildTabsSkin(TabsSkinParts parts = {}) {
  std::string ini = "[Colours]\nButtonFace=200 200 200\nButtonShadow=10 20 30\nButtonText=0 0 0\n";
  ini += "[Tabs]\n";
  // A named image the package lacks is an empty image.
  ini += parts.tabImage ? "Image=tabs.bmp\n" : "Image=absent.bmp\n";
  ini += "Border=pane.bmp\nStyle=0\nNormalColour2=0 128 0\nMouseOverColour2=0 0 255\n";
  if (parts.statusEdges) ini += "[StatusBarEdges]\nImage=edges.bmp\nNormalColour2=255 0 0\n";
  ini += "[ExtraImages]\nImage=extra.bmp\n";
  ini += "[Buttons]\nBitmap=buttons.bmp\nPressedColour2=0 0 255\n";
  SkinTestPackage p(ini);
  Image tabs(5 * 10, 10);
  tabs.SetBitCount(24);
  for (int k = 1; k <= 5; ++k) {
    tabs.FillRect(MakeRect((k - 1) * 10, 0, k * 10, 5), 0x300000u | uint32_t(k));
    tabs.FillRect(MakeRect((k - 1) * 10, 5, k * 10, 10), 0x310000u | uint32_t(k));
  }
  Image pane(20, 20, 0x606000);
  pane.SetBitCount(24);
  pane.FillRect(MakeRect(0, 0, 20, 5), 0x505000);
  Image extra = FrameStrip(5, 8, 8, 0x700000);
  extra.FillRect(MakeRect(32, 0, 40, 8), 0x700070);
  extra.SetPixel(32, 0, kMagenta);
  p.Add("tabs.bmp", tabs).Add("pane.bmp", pane).Add("edges.bmp", FrameStrip(3, 6, 6, 0x400000));
  p.Add("extra.bmp", extra).Add("buttons.bmp", FrameStrip(5, 20, 20, kButtonBase));
  auto model = std::make_unique<TSkinModel>();
  p.BuildInto(*model);
  return model;
}

}  // namespace skintest
