// Menus (Windows).
//
// Classes and functions in this file:
//   TShortCut, ShortCut, ShortCutToText, TextToShortCut
//                 a key with Shift/Ctrl/Alt (virtual key | scShift | scCtrl | scAlt)
//   TMenuItem     one item: Caption ("&" marks the access key, "-" is a
//                 separator), Checked, Enabled, Visible, Default, RadioItem,
//                 GroupIndex, ShortCut, ImageIndex, sub-items, OnClick,
//                 OnDrawItem / OnMeasureItem (owner-drawn menus)
//   TMenu         a tree of items over a native menu: Items, Images
//                 (TImageList), OwnerDraw; rebuilt when an item changes
//   TMainMenu     the menu bar of a form (the form's Menu property)
//   TPopupMenu    a context menu: Popup(x, y), OnPopup, PopupComponent
//   FindMenuItem  the live item object behind a menu's item data
//
// In form descriptions items nest inside their menu or parent item:
//   TMainMenu MainMenu1 { Images = ImageList1
//     TMenuItem mnuFile { Caption = "&File"
//       TMenuItem mnuOpen { Caption = "&Open..." ShortCut = 16463 ImageIndex = 0 OnClick = OpenClick }
//       TMenuItem N1 { Caption = "-" } } }
//
// Routing: WM_COMMAND of a menu command, WM_MEASUREITEM / WM_DRAWITEM of
// kind ODT_MENU and WM_MENUCHAR reach the item object through any library
// window that owns the menu (forms for their menu bar; a hidden window of
// the library for popup menus). Forms run ShortCut keys of their menus
// before the focused control sees them.
//
// Not handled yet: merging menus of MDI children, menu item hints, break
// columns, bitmaps other than image-list images.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/ImgList.h"

using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+O", "Shift+Del", "F5"...; empty for scNone.
std::wstring ShortCutToText(TShortCut shortCut);
// The inverse; scNone for text it does not understand.
TShortCut TextToShortCut(const std::wstring& text);
// The access key of a caption ("&File" -> 'F'), upper case; 0 when none.
wchar_t AccessKeyOf(const std::wstring& caption);

class TMenu;
class TMenuItem;

using TMenuDrawItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, bool Selected)>;
using TMenuMeasureItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
  TW_DECLARE_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  // Frees its sub-items.
  ~TMenuItem() override;

  // --- attributes
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& c);
  bool IsLine() const { return FCaption == L"-"; }
  bool Checked() const { return FChecked; }
  // Checking a radio item clears the other radio items of its group.
  void SetChecked(bool c);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool e);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool Default() const { return FDefault; }
  void SetDefault(bool d);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool r);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int g);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool a) { FAutoCheck = a; }
  int ShortCut() const { return FShortCut; }
  void SetShortCut(int s);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int i);

  // --- sub-items
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  // The menu the item belongs to (walking up), or nullptr.
  TMenu* GetParentMenu() const;

  // The command id in WM_COMMAND (0 for items with sub-items).
  UINT Command() const { return FCommand; }
  // The native sub-menu of an item with sub-items (built by the menu).
  HMENU Handle() const { return FHandle; }

  // --- operations
  // What choosing the item does: AutoCheck toggles, then OnClick.
  virtual void Click();
  // Owner drawing: OnMeasureItem / OnDrawItem when assigned, else the
  // library's own look (image, check, caption, shortcut).
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
  virtual void DrawItem(TCanvas* canvas, const RECT& rect, bool selected, bool noAccel = false);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;
  void Loaded() override;

 private:
  friend class TMenu;
  void Changed();
  bool TopLevelOfBar() const;
  std::wstring FCaption;
  bool FChecked = false, FEnabled = true, FVisible = true, FDefault = false, FRadioItem = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  int FShortCut = 0;
  int FImageIndex = -1;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item only
  UINT FCommand = 0;
  HMENU FHandle = nullptr;
};

class TMenu : public TComponent {
  TW_DECLARE_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // --- attributes
  // The root item; the menu's items are its sub-items.
  TMenuItem* Items() const { return FItems.get(); }
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool o);
  // The native menu, built on first use.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Whether items are drawn by the library (OwnerDraw, or images to show).
  bool DrawsItems() const { return FOwnerDraw || FImages != nullptr; }

  // --- operations
  // The item with this command id, anywhere in the menu.
  TMenuItem* FindItem(UINT command) const;
  // Runs the enabled, visible item with this shortcut; true when one ran.
  bool IsShortCut(TShortCut shortCut);
  // Builds the native menu again from the items.
  void Rebuild();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual HMENU CreateMenuHandle() = 0;
  // Called after the native menu was rebuilt.
  virtual void MenuChanged() {}
  void Loaded() override;

 private:
  friend class TMenuItem;
  void ItemChanged();
  void Fill(HMENU menu, TMenuItem* parent, bool bar);
  std::unique_ptr<TMenuItem> FItems;
  TImageList* FImages = nullptr;
  bool FOwnerDraw = false;
  HMENU FHandle = nullptr;
  bool FRebuilding = false;
};

class TMainMenu : public TMenu {
  TW_DECLARE_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  // Takes the menu off its window before the native menu is destroyed.
  ~TMainMenu() override;
  // The window whose bar shows this menu (set by the form).
  HWND WindowHandle() const { return FWindow; }
  void SetWindowHandle(HWND w) { FWindow = w; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void MenuChanged() override;

 private:
  HWND FWindow = nullptr;
};

class TPopupMenu : public TMenu {
  TW_DECLARE_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Shows the menu at a screen point and returns when it closed; the chosen
  // item's Click has run by then.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TComponent* FPopupComponent = nullptr;
};

// The hidden window that owns every popup menu while it is shown (its
// owner-draw and command messages reach the items through it).
TWinControl* PopupList();

// The item behind a menu item's data (dwItemData / itemData), when it is a
// live item of ours; nullptr otherwise.
TMenuItem* FindMenuItem(ULONG_PTR itemData);

// Menu routing for any library window: WM_COMMAND from menus, owner-draw
// WM_MEASUREITEM / WM_DRAWITEM of kind ODT_MENU, WM_MENUCHAR. True when the
// message was a menu message of ours and m.Result is set.
bool DispatchMenuMessage(TMessage& m);
