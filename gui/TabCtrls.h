// Tab controls (Windows, "SysTabControl32").
//
// Classes in this file:
//   TCustomTabControl / TTabControl   a strip of tabs from Tabs; TabIndex,
//                       TabPosition, Style, MultiLine, OnChanging, OnChange
//   TTabSheet           one page of a page control (our own window); its
//                       Caption is its tab's text
//   TPageControl        tabs for its pages: the active page shows in the
//                       display area, the others are hidden
#pragma once

#include <vector>

#include "gui/Classes.h"
#include "gui/Controls.h"
#include "gui/ImgList.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const TEnumInfo kTabPositionInfo;
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const TEnumInfo kTabStyleInfo;

using TTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TWinControl {
  TW_DECLARE_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  ~TCustomTabControl() override;
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition p);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle s);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool m);
  // The area inside the frame that the tabs leave for the contents.
  RECT DisplayRect() const;
  RECT AdjustClientRect() const override { return DisplayRect(); }
  // Tab under a client point, -1 for none.
  int IndexOfTabAt(int x, int y) const;
  // Images shown on the tabs (a page's ImageIndex, or the tab's position in a tab control).
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  // The user asks to leave the selected tab; AllowChange false keeps it.
  TTabChangingEvent OnChanging;
  // The user selected another tab.
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* c, TOperation op) override;
  // The texts the strip shows, in order.
  virtual std::vector<std::wstring> TabTexts() const = 0;
  // The image of each tab (-1: none).
  virtual int TabImage(int tab) const { return tab; }
  virtual int CurrentTab() const = 0;
  // The selection moved to a tab (user or program).
  virtual void TabSelected(int index) = 0;
  virtual void LayoutChanged() {}
  void LoadTabs();
  int WindowTabIndex() const;

 private:
  void ApplyImages();
  TImageList* FImages = nullptr;
  TTabPosition FTabPosition = tpTop;
  TTabStyle FStyle = tsTabs;
  bool FMultiLine = false;
};

class TTabControl : public TCustomTabControl {
  TW_DECLARE_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* owner);
  TStringList* Tabs() { return &FTabs; }
  int TabIndex() const;
  void SetTabIndex(int i);

 protected:
  std::vector<std::wstring> TabTexts() const override;
  int CurrentTab() const override { return FTabIndex; }
  void TabSelected(int index) override { FTabIndex = index; }

 private:
  TStringList FTabs;
  int FTabIndex = -1;
};

class TPageControl;

class TTabSheet : public TWinControl {
  TW_DECLARE_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* p);
  void SetParent(TWinControl* parent) override;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  // Position among the pages.
  int PageIndex() const;
  void SetPageIndex(int i);
  // Position of its tab, -1 when the tab is hidden.
  int TabIndex() const;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int i);

 protected:
  void TextChanged() override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
  TW_DECLARE_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int i) const { return FPages.at(static_cast<size_t>(i)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows the page (nullptr or a page of another control: none).
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int i);
  // The next (or previous) page with a visible tab, wrapping round.
  TTabSheet* FindNextPage(TTabSheet* current, bool forward) const;
  void SelectNextPage(bool forward);
  void Loaded() override;

 protected:
  std::vector<std::wstring> TabTexts() const override;
  int TabImage(int tab) const override;
  int CurrentTab() const override;
  void TabSelected(int index) override;
  void LayoutChanged() override;
  void BoundsChanged() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PagesChanged();
  void ShowActive();
  TTabSheet* PageOfTab(int tab) const;
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};
