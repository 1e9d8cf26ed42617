// The skinned menu bar of a framed window (Windows).
//
// Classes in this file:
//   TMenuBtn      one top-level menu item as a non-client object of the
//                 frame: hit rectangle, hot and pressed look, caption,
//                 enabled state, drop-down menu and command
//   TWinSkinMenu  the band below the caption: built from the window's menu
//                 (which it takes off the window and gives back on
//                 detach), painted from the skin's MenuBar element, driven
//                 by the non-client mouse, Alt, F10 and Alt+letter; opens
//                 the drop-downs with the platform's popup tracking while a
//                 message filter steers Left/Right and the mouse between
//                 neighbouring items; answers the owner-draw messages of
//                 the drop-down items with the skinned item painter
//
// The frame owns the bar and offers it the window's messages first
// (HandleMessage); the buttons share the frame's hot object with the caption
// buttons.
//
// Not handled yet: MDI frames (the caption buttons of a maximised MDI child
// inside the bar, rebuilding on WM_MDISETMENU).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Messages.h"
#include "skin/data/Image.h"
#include "skin/window/CaptionButtons.h"
#include "skin/window/MenuBarLayout.h"

class TWinSkinForm;
class TWinSkinMenu;
class TMainMenu;
class TMenuItem;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TCaptionButtons& owner, TWinSkinMenu& bar, int index) : TNCObject(owner), Index(index), bar_(bar) {}

  // Attributes
  TMenuItem* Item = nullptr;  // the library item of this entry, or null
  int Index = 0;              // position in the bar
  std::wstring Caption;
  bool Enabled = true;
  HMENU Submenu = nullptr;  // the drop-down; null when the item has none
  UINT Command = 0;

  // Paints the current state onto the window at once.
  void Paint() override;

 private:
  TWinSkinMenu& bar_;
};

class TWinSkinMenu {
 public:
  // --- construction
  explicit TWinSkinMenu(TWinSkinForm& frame);
  // Clears the frame's hot object when it is one of the buttons.
  ~TWinSkinMenu();
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  // --- attributes
  size_t Count() const { return buttons_.size(); }
  TMenuBtn* Button(size_t i) const { return buttons_[i].get(); }
  HMENU NativeMenu() const { return native_; }
  TMainMenu* LibraryMenu() const { return library_; }
  void SetLibraryMenu(TMainMenu* menu) { library_ = menu; }
  // The band rectangle of the last paint (window coordinates).
  const ImgRect& Band() const { return band_; }
  // Index of the button whose drop-down is open, -1 when none.
  static int OpenIndex();

  // --- operations
  // One button per item of the window's menu (the last one known when the
  // window has none now), completed from the library menu; takes the menu
  // off the window. False when there is no menu to show.
  bool Build();
  // Lays the buttons out for the window's current size without painting.
  void Layout();
  // Composes the band (background, captions) and copies it to dc at `band`
  // (window coordinates).
  void Paint(HDC dc, const ImgRect& band);
  // The button under a point in window coordinates (not an empty caption).
  TMenuBtn* ButtonAt(int x, int y) const;
  // The first visible, enabled button whose access key is `key`.
  TMenuBtn* ButtonByAccelerator(wchar_t key) const;
  // Posts the button's command and tracks its drop-down, if any, until it
  // closes. A switch to a neighbour (arrow key, mouse) reaches the window
  // afterwards as a posted WM_NCLBUTTONDOWN over that neighbour.
  void OpenDropDown(TMenuBtn* button);
  // The window's messages meant for the bar: the non-client mouse over a
  // button, SC_KEYMENU, WM_SKINMENUBUTTON, WM_MENUSELECT and the owner-draw
  // messages of drop-down items. True when consumed (m.Result set).
  bool HandleMessage(TMessage& m);
  // The library's unhandled dialog character: Alt+letter of a button
  // presses it. True when handled.
  bool DialogChar(TMessage& m);
  // Hover upkeep on the frame's timer: true while the hot object is a
  // button that still has the cursor (the caption buttons then leave it
  // alone); a button the cursor left goes back to normal.
  bool HoverTick();
  // Paints one button in its state (TMenuBtn::Paint).
  void PaintButton(const TMenuBtn& button);
  // Gives the window its menu back (detach).
  void RestoreNativeMenu();

 private:
  struct TOwnerDrawn {
    HMENU Menu;
    UINT Position;
    UINT Id;
    ULONG_PTR Data;
    bool WasOwnerDrawn;
  };
  void FreeButtons();
  bool OwnsHot() const;
  POINT ToWindow(POINT screen) const;
  void PressAndOpen(TMenuBtn* button);
  void MakeOwnerDrawn(HMENU menu);
  void RestoreOwnerDrawn();
  const TOwnerDrawn* FindOwnerDrawn(UINT id, ULONG_PTR data, HMENU menu) const;
  TMenuItem* LibraryItem(ULONG_PTR data) const;
  bool MeasureItem(MEASUREITEMSTRUCT& mi);
  bool DrawItem(const DRAWITEMSTRUCT& di);
  std::vector<TMenuBarEntry> Entries(HDC dc) const;
  void DrawCaption(HDC dc, const TMenuBtn& button, const RECT& r) const;

  TWinSkinForm& frame_;
  std::vector<std::unique_ptr<TMenuBtn>> buttons_;
  TMainMenu* library_ = nullptr;
  HMENU native_ = nullptr;
  ImgRect band_;
  Image background_;  // the band without captions, from the last paint
  std::vector<TOwnerDrawn> ownerDrawn_;  // drop-down items made owner-drawn
  // False once the bar is gone (checked after a drop-down's modal loop).
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
