// Common controls (Windows).
//
// Classes in this file:
//   TListColumn, TListColumns   columns of a report view (Caption, Width)
//   TListItem                   one row: Caption and SubItems (filled by OnData in
//                               virtual mode)
//   TListItems                  the rows; in virtual mode only a Count
//   TCustomListView / TListView "SysListView32": report view, grid lines, row select,
//                               read-only, virtual (OwnerData) with OnData asked for
//                               each row as it is painted
//   TProgressBar                "msctls_progress32": Min, Max, Position (settable
//                               from any thread)
//
// Not handled yet: stored (non-virtual) items beyond Add/Clear of captions,
// icons and image lists, sorting, editing.
#pragma once

#include <atomic>
#include <memory>

#include "gui/Classes.h"
#include "gui/Controls.h"
#include "gui/StdCtrls.h"

class TCustomListView;

class TListColumn : public TCollectionItem {
  TW_DECLARE_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* c);
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& c);
  int Width() const;
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  void Assign(const TPersistent* source) override;

 private:
  TCustomListView* View() const;
  void Changed();
  std::wstring FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TCollection {
  TW_DECLARE_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView* view);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int i) const { return static_cast<TListColumn*>(TCollection::Items(i)); }
  TCustomListView* View() const { return FView; }

 private:
  TCustomListView* FView;
};

class TListItem : public TPersistent {
  TW_DECLARE_CLASS(TListItem, TPersistent)
 public:
  TListItem() = default;
  int Index() const { return FIndex; }
  std::wstring Caption;
  TStringList SubItems;
  void Reset(int index) {
    FIndex = index;
    Caption.clear();
    SubItems.Clear();
  }

 private:
  int FIndex = -1;
};

class TListItems : public TPersistent {
  TW_DECLARE_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TCustomListView* view) : FView(view) {}
  int Count() const;
  // Virtual mode: the number of rows the control shows.
  void SetCount(int n);
  // Stored mode: a row with a caption (sub-items through Item(i)).
  TListItem* Add();
  TListItem* Item(int i) const;
  void Clear();

 private:
  friend class TCustomListView;
  TCustomListView* FView;
  int FCount = 0;
  std::vector<std::unique_ptr<TListItem>> FStored;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const TEnumInfo kViewStyleInfo;

using TLVOwnerDataEvent = TDelegate<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
  TW_DECLARE_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TListColumns* Columns() { return &FColumns; }
  TListItems* Items() { return &FItems; }
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle v);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool g);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool r);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool m);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool r);
  bool OwnerData() const { return FOwnerData; }
  void SetOwnerData(bool o);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle b);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool s);

  // Selected row, -1 for none.
  int ItemIndex() const;
  void SetItemIndex(int i);
  // Removes every row (virtual mode: count 0).
  void Clear();
  // Forget cached row texts and repaint (after the data behind OnData changed).
  void UpdateItems();

  // Asked for a row's Caption and SubItems when the control needs them.
  TLVOwnerDataEvent OnData;
  TNotifyEvent OnSelectItem;

  void WndProc(TMessage& m) override;
  void Loaded() override;

  // Internal: column changes and the row count reach the window.
  void UpdateColumns();
  void UpdateCount();

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;

 private:
  TListItem* RowData(int index);
  void ApplyExtendedStyle();
  TListColumns FColumns;
  TListItems FItems;
  TViewStyle FViewStyle = vsIcon;
  bool FGridLines = false, FRowSelect = false, FMultiSelect = false, FReadOnly = false, FOwnerData = false;
  bool FShowColumnHeaders = true;
  TBorderStyle FBorderStyle = bsSingle;
  int FSavedIndex = -1;
  // The row whose texts OnData last filled (asked once per row and paint).
  TListItem FCache;
  bool FCacheValid = false;
  std::wstring FTextBuffer;
};

class TListView : public TCustomListView {
  TW_DECLARE_CLASS(TListView, TCustomListView)
 public:
  using TCustomListView::TCustomListView;
};

class TProgressBar : public TWinControl {
  TW_DECLARE_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const { return FPosition.load(); }
  // Any thread: the value is kept at once and reaches the window through a
  // message its thread handles (a worker waits for that, it never gets lost).
  void SetPosition(int v);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool s);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  int FMin = 0, FMax = 100;
  std::atomic<int> FPosition{0};
  bool FSmooth = false;
};
