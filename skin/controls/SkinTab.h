// Skinned tab controls and pages (Windows).
//
// Classes in this file:
//   TSkinTab        repaints a tab window ("SysTabControl32": page controls
//                   and tab strips): the tab strip from the skin's Tabs image
//                   (frame 2 for the focused tab, frame 1 for the others) on
//                   any of the four sides, and the page frame from the Tabs
//                   border image (Tabs Style 0) or the Tab.Pane image
//                   (Style 1). Optional close boxes on the tabs of a page
//                   control.
//   TSkinTabSheet   a page of a page control in the skin's face colour
//   TSkinTabBtn     tab controls in button style: each tab a frame of the
//                   skin's Buttons strip
//
// Close boxes are on for a page control whose Tag is 7777 and whose tabs
// stay on one row (MultiLine off). A click on a box asks the skinned form
// first (WM_SKINTABCLOSE); an answer of 0 frees that page.
//
// Without a Tabs image the tab window draws its own tabs and the page frame
// is drawn over them. Window-less children of the library control (labels on
// a tab strip) are painted after the skin, as the library would.
//
// The arrows a tab window shows when its tabs do not fit are skinned as an
// up-down (TSkinUpDown) as soon as they appear, and kept clear of the strip.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/controls/TabGeometry.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/DibSurface.h"
#include "skin/data/Image.h"

// The Tag that asks for close boxes on a page control's tabs.
constexpr int kTabCloseBoxTag = 7777;

class TSkinTab : public TSkinControl {
  TW_DECLARE_CLASS(TSkinTab, TSkinControl)
 public:
  // --- construction
  explicit TSkinTab(TComponent* owner);
  ~TSkinTab() override;

  // --- attach
  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;
  void SkinChanged() override;

  // --- attributes
  TabSide Orientation() const { return FOrientation; }
  bool CloseBoxesOn() const { return FCloseBoxesOn; }
  // Each tab's close box as last painted, in window coordinates (empty for
  // a tab that was not painted).
  const std::vector<ImgRect>& CloseBoxes() const { return FCloseBoxes; }

 protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  // Copies of the skin's images, turned for the orientation.
  void PrepareImages();
  // The scroll arrows' window when the tab window shows them, else null;
  // skins them the first time they are seen.
  HWND VisibleArrows();
  // Draws every tab onto the strip bitmap (lying down) and records the
  // close boxes; false when the strip cannot be made.
  bool ComposeStrip(int width, ImgRect pane, ImgRect strip);
  // Handles a press on a close box; false when the point is on none.
  bool CloseBoxPressed(int x, int y);

  std::vector<ImgRect> FCloseBoxes;
  TabSide FOrientation = kTabTop;
  bool FCloseBoxesOn = false;
  Image FTabImage;
  Image FPaneImage;
  DibSurface FStrip;
  HWND FArrows = nullptr;  // the arrows' window once skinned
  // Cleared by the destructor: the skinned form's answer to a close box may
  // free the control and this object with it.
  std::shared_ptr<bool> FLive = std::make_shared<bool>(true);
};

class TSkinTabSheet : public TSkinControl {
  TW_DECLARE_CLASS(TSkinTabSheet, TSkinControl)
 public:
  explicit TSkinTabSheet(TComponent* owner) : TSkinControl(owner) {}

 protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};

class TSkinTabBtn : public TSkinControl {
  TW_DECLARE_CLASS(TSkinTabBtn, TSkinControl)
 public:
  explicit TSkinTabBtn(TComponent* owner) : TSkinControl(owner) {}

 protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};
