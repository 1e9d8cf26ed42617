// Skinned popup-menu windows (Windows).
//
// Classes and functions in this file:
//   TMenuKind        what the next popup-menu window belongs to
//   PopupKindAllowed the skin switch each kind needs (a table)
//   TWinSkinPopMenu  subclass of one "#32768" menu window: border and
//                    background from the skin's MenuBackground element
//   TSkinPopups      the open skinned menu windows, in creation order, and
//                    the menu kind; the manager's CBT hook calls AttachPopup
//                    on creation and DetachPopup on destruction; the item
//                    painter finds a menu's background through it
//   SkinPopups       the one instance of the process
//
// The manager checks its own Active switch and selects the skin before it
// calls AttachPopup; AttachPopup checks the rest of the gate.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gui/Subclass.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/window/MenuItemPainter.h"

enum class TMenuKind : int { Free = 0, MenuBar = 1, SystemMenu = 2 };

// Free popups need xcPopupMenu, drop-downs of a menu bar xcMainMenu or
// xcMenuItem, the system menu xcSystemMenu.
bool PopupKindAllowed(TMenuKind kind, uint32_t skinControls);

class TWinSkinPopMenu : public TSubclass {
public:
  // Construction
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() override;

  // Operations
  // Subclasses the menu window; false when it cannot be subclassed.
  bool Attach(HWND window, const TMenuSkin& skin);
  // Puts the window procedure back and empties the background.
  void Detach();

  // Attributes
  HWND MenuWindow() const { return window_; }
  HMENU Menu() const { return menu_; }
  void SetMenu(HMENU menu) { menu_ = menu; }
  // MenuBackground rendered at the window's size (empty until painted).
  const Image& Background() const { return background_; }
  const TMenuSkin& Skin() const { return skin_; }
  // Where the menu's client origin lies in the window: item rectangles are
  // client coordinates, the background is window-sized.
  POINT ItemOffset() const;

protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void WindowDestroyed() override;

private:
  bool CanPaint() const;
  void RenderBackground();
  void PaintBorder(HRGN update);
  LRESULT Print(HDC dc, LPARAM flags);

  friend class TSkinPopups;
  class TSkinPopups* list_ = nullptr;  // the list this object is in
  HWND window_ = nullptr;
  TMenuSkin skin_;
  HMENU menu_ = nullptr;
  Image background_;
};

class TSkinPopups {
public:
  // Attributes
  TMenuKind MenuKind() const { return kind_; }
  void SetMenuKind(TMenuKind kind) { kind_ = kind; }
  size_t Count() const { return list_.size(); }
  TWinSkinPopMenu* Find(HWND window) const;

  // Operations
  // Skins a new menu window with `skin` when the gate lets it: the skin is
  // not empty, the window is a top-level window not yet listed that does not
  // answer WM_SKINQUERY with 1, and the skin has the switch of the current
  // menu kind. Answers the new object or null.
  TWinSkinPopMenu* AttachPopup(HWND window, const TMenuSkin& skin);
  // Detaches and frees the object of a window; false when there is none.
  // The menu kind returns to Free when the list becomes empty.
  bool DetachPopup(HWND window);
  // Detaches and frees every object (the manager's teardown).
  void DetachAll();
  // The newest object without a menu handle gets `menu`, unless an object
  // shows it already. Objects whose window names its menu (MN_GETHMENU) are
  // tagged with that answer instead of a guess.
  void TagNewPopup(HMENU menu);
  // The first object showing `menu`, or null.
  const TWinSkinPopMenu* PopupFor(HMENU menu) const;
  // Its background, or null.
  const Image* PopupBitmapFor(HMENU menu) const;

private:
  std::vector<std::unique_ptr<TWinSkinPopMenu>> list_;
  TMenuKind kind_ = TMenuKind::Free;
};

TSkinPopups& SkinPopups();
