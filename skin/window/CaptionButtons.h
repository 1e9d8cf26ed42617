// Caption buttons of a skinned frame (Windows).
//
// Classes in this file:
//   TCaptionFrame    what the buttons need from the frame that owns them (the
//                    frame implements it)
//   TNCObject        one clickable object of the non-client area: hit
//                    rectangle, visible flag, state 1 normal / 2 pressed / 3 hot
//   TWinSysButton    a caption button painted from its skin element
//   TCaptionButtons  the frame's caption buttons: built from the skin, laid
//                    out and painted into the caption band, driven by the
//                    non-client mouse messages, acting on the window; opens
//                    the skinned system menu
//
// How a frame uses it:
//   - Rebuild(model) when the geometry is recomputed; Drop() on a skin change
//     (the buttons come back with the next Rebuild).
//   - PaintCaptionBand(dc) while composing the caption band off-screen: lays
//     the buttons out and draws them (dc holds the band, origin at the
//     window's top-left corner); answers the button edge.
//   - HandleMessage(msg) for WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN,
//     WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN and WM_SYSCOMMAND:
//     true when the message was consumed (msg.Result is the answer);
//     otherwise the frame passes it on.
//   - HoverTick() on each HoverTimer tick (and WM_NCMOUSELEAVE through
//     HandleMessage); ObjectAt(x, y) for hit tests.
//
// Not handled yet: the menu-bar buttons (they derive from TNCObject and share
// the hot object; the menu bar has to register its own hit test).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "gui/Messages.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/window/CaptionLayout.h"
#include "skin/window/MenuItemPainter.h"

class TSkinModel;
class TCaptionButtons;
class TSystemMenu;

class TCaptionFrame {
public:
  virtual ~TCaptionFrame() = default;

  // Attributes the buttons read
  virtual HWND CaptionWindow() const = 0;
  virtual TCaptionFacts CaptionFacts() const = 0;
  // Sizes of the frame; WindowWidth is the window's current width.
  virtual TCaptionMetrics CaptionMetrics() const = 0;
  // The skin the system menu is drawn with.
  virtual TMenuSkin CaptionMenuSkin() const = 0;
  // A menu-bar drop-down is open (hover tracking and the keyboard wait).
  virtual bool MenuBarOpen() const { return false; }
  // The MDI client of an MDI frame, else null.
  virtual HWND MDIClientWindow() const { return nullptr; }

  // Operations the buttons ask for
  virtual void StopHoverTimer() = 0;
  // The window is about to change its show state by a button's action.
  virtual void ShowStateChanging(TShowState /*next*/) {}
};

class TNCObject {
public:
  // Construction
  explicit TNCObject(TCaptionButtons& owner) : owner_(owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  // Attributes
  ImgRect HitRect;        // window coordinates
  bool Visible = false;   // an invisible object ignores the mouse
  int State = 1;          // 1 normal, 2 pressed, 3 hot

  // Overridables (the state changes of the caption objects)
  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

protected:
  TCaptionButtons& owner_;
};

class TWinSysButton : public TNCObject {
public:
  TWinSysButton(TCaptionButtons& owner, const TDataSkinSysButton& element)
      : TNCObject(owner), Element(element) {}

  const TDataSkinSysButton& Element;
  // Paints the current state onto the window at once.
  void Paint() override;
};

class TCaptionButtons {
public:
  // Construction
  explicit TCaptionButtons(TCaptionFrame& frame);
  ~TCaptionButtons();
  TCaptionButtons(const TCaptionButtons&) = delete;
  TCaptionButtons& operator=(const TCaptionButtons&) = delete;

  // Attributes
  size_t Count() const { return buttons_.size(); }
  TWinSysButton* Button(size_t i) const { return buttons_[i].get(); }
  TNCObject* HotObject() const { return hot_; }
  void SetHotObject(TNCObject* object) { hot_ = object; }
  TCaptionFrame& Frame() const { return frame_; }
  // The system menu (created on first use).
  TSystemMenu& SystemMenu();

  // Operations
  // One button per caption button of the skin, in the skin's order; loads the
  // window icon for the icon buttons.
  void Rebuild(const TSkinModel& skin);
  // Frees the buttons (before the skin they point into changes).
  void Drop();
  // Visibility and rectangles from the frame's current state; answers the
  // button edge.
  int Layout();
  // Lays the buttons out and draws them into the caption band being composed
  // on `band` (window coordinates). Keeps what lies under each button so
  // a state change can be painted alone. Answers the button edge.
  int PaintCaptionBand(HDC band);
  // The caption object under a point in window coordinates, or null.
  TNCObject* ObjectAt(int x, int y) const;
  // Non-client mouse messages, SC_KEYMENU with a space and the double-click
  // rules; true when consumed.
  bool HandleMessage(TMessage& msg);
  // Brings the hover in line with the cursor: the hot object leaves once the
  // cursor is off it, and the object under the cursor becomes hot.
  void HoverTick();
  // Runs what a button does when released over it (at a screen point).
  void RunAction(const TWinSysButton& button, POINT screen);
  // Opens the skinned system menu at a screen point. From the icon button, a
  // second click within the double-click time closes the window instead.
  void OpenSystemMenu(POINT screen, bool fromIconButton = false);

  // Paints one button in its state onto the window (used by Paint).
  void PaintButton(const TWinSysButton& button);

private:
  POINT ToWindow(LPARAM screenPoint) const;
  int IconSize() const;
  void LoadIcon();
  void DrawButton(HDC dc, const TWinSysButton& button, int frame, int x, int y) const;
  std::vector<const TDataSkinSysButton*> Elements() const;

  TCaptionFrame& frame_;
  std::vector<std::unique_ptr<TWinSysButton>> buttons_;
  std::vector<TCaptionSlot> slots_;
  std::vector<Image> under_;  // what the band shows under each button
  TNCObject* hot_ = nullptr;
  TNCObject* pressed_ = nullptr;  // pressed and not yet released
  HICON icon_ = nullptr;      // the window's icon (not owned)
  DWORD lastMenuTick_ = 0;    // when the icon button last opened the system menu
  std::unique_ptr<TSystemMenu> systemMenu_;
};
