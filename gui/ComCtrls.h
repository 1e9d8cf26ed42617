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
//   TTrackBar                   "msctls_trackbar32": Min, Max, Position, Orientation,
//                               Frequency, TickStyle, TickMarks, OnChange
//   TUpDown                     "msctls_updown32": Associate (a buddy control that
//                               shows the position), Min, Max, Position, Orientation
//   TStatusPanel(s), TStatusBar "msctls_statusbar32": Panels (text or owner-drawn
//                               through OnDrawPanel), SimplePanel, SimpleText, SizeGrip
//   THeaderSection(s), THeaderControl  "SysHeader32": Sections, OnSectionClick
//   TDateTimePicker             "SysDateTimePick32": Date, Time, Kind, DateMode, OnChange
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

// ---------------------------------------------------------------------------

enum TTrackBarOrientation { trHorizontal, trVertical };
extern const TEnumInfo kTrackBarOrientationInfo;
enum TTickStyle { tickNone, tickAuto, tickManual };
extern const TEnumInfo kTickStyleInfo;  // tsNone, tsAuto, tsManual
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
extern const TEnumInfo kTickMarkInfo;

class TTrackBar : public TWinControl {
  TW_DECLARE_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation o);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int f);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle t);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark t);
  // The position changed (user or program).
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;

 private:
  void PositionFromWindow();
  int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickStyle FTickStyle = tickAuto;
  TTickMark FTickMarks = tmBottomRight;
};

enum TUDOrientation { udHorizontal, udVertical };
extern const TEnumInfo kUDOrientationInfo;
enum TUDAlignButton { udLeft, udRight };
extern const TEnumInfo kUDAlignButtonInfo;
enum TUDBtnType { btNext, btPrev };
extern const TEnumInfo kUDBtnTypeInfo;
using TUDClickEvent = TDelegate<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
  TW_DECLARE_CLASS(TUpDown, TWinControl)
 public:
  explicit TUpDown(TComponent* owner);
  // The control that shows the position and beside which the arrows sit.
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* c);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Increment() const { return FIncrement; }
  void SetIncrement(int v);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation o);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton a);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool w);
  bool Thousands() const { return FThousands; }
  void SetThousands(bool t);
  // An arrow is about to change the position; AllowChange false stops it.
  TUDChangingEvent OnChanging;
  // An arrow changed the position.
  TUDClickEvent OnClick;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  void ApplyBuddy();
  TWinControl* FAssociate = nullptr;
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false, FThousands = true;
  int FPendingDelta = 0;
};

enum TStatusPanelStyle { psText, psOwnerDraw };
extern const TEnumInfo kStatusPanelStyleInfo;
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumInfo kStatusPanelBevelInfo;

class TStatusBar;

class TStatusPanel : public TCollectionItem {
  TW_DECLARE_CLASS(TStatusPanel, TCollectionItem)
 public:
  explicit TStatusPanel(TCollection* c);
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& t);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel b);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle s);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode m);
  void Assign(const TPersistent* source) override;

 private:
  void Changed();
  std::wstring FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
  TBiDiMode FBiDiMode = bdLeftToRight;
};

class TStatusPanels : public TCollection {
  TW_DECLARE_CLASS(TStatusPanels, TCollection)
 public:
  explicit TStatusPanels(TStatusBar* bar);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int i) const { return static_cast<TStatusPanel*>(TCollection::Items(i)); }
  TStatusBar* StatusBar() const { return FBar; }

 private:
  TStatusBar* FBar;
};

using TDrawPanelEvent = TDelegate<void(TStatusBar* StatusBar, TStatusPanel* Panel, const RECT& Rect)>;

class TStatusBar : public TWinControl {
  TW_DECLARE_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  TStatusPanels* Panels() { return &FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool s);
  const std::wstring& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::wstring& t);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool s);
  // The canvas OnDrawPanel paints on (valid during the event).
  TCanvas* Canvas() { return &FCanvas; }
  // A panel's rectangle in client coordinates (empty when it has none).
  RECT PanelRect(int index) const;
  // Paints owner-drawn panels (Style psOwnerDraw).
  TDrawPanelEvent OnDrawPanel;
  void WndProc(TMessage& m) override;

  // Internal: the panels reach the window.
  void UpdatePanels();

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  TStatusPanels FPanels;
  bool FSimplePanel = false;
  std::wstring FSimpleText;
  bool FSizeGrip = true;
  TCanvas FCanvas;
};

class THeaderControl;

class THeaderSection : public TCollectionItem {
  TW_DECLARE_CLASS(THeaderSection, TCollectionItem)
 public:
  explicit THeaderSection(TCollection* c);
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& t);
  int Width() const;
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  void Assign(const TPersistent* source) override;

 private:
  void Changed();
  std::wstring FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

class THeaderSections : public TCollection {
  TW_DECLARE_CLASS(THeaderSections, TCollection)
 public:
  explicit THeaderSections(THeaderControl* header);
  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(int i) const { return static_cast<THeaderSection*>(TCollection::Items(i)); }
  THeaderControl* Header() const { return FHeader; }

 private:
  THeaderControl* FHeader;
};

using TSectionNotifyEvent = TDelegate<void(THeaderControl* HeaderControl, THeaderSection* Section)>;

class THeaderControl : public TWinControl {
  TW_DECLARE_CLASS(THeaderControl, TWinControl)
 public:
  explicit THeaderControl(TComponent* owner);
  ~THeaderControl() override;
  THeaderSections* Sections() { return &FSections; }
  // The user clicked a section.
  TSectionNotifyEvent OnSectionClick;
  // The user finished dragging a section's divider (its Width is updated).
  TSectionNotifyEvent OnSectionResize;
  void WndProc(TMessage& m) override;

  // Internal: the sections reach the window.
  void UpdateSections();

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  THeaderSections FSections;
};

enum TDateTimeKind { dtkDate, dtkTime };
extern const TEnumInfo kDateTimeKindInfo;
enum TDTDateMode { dmComboBox, dmUpDown };
extern const TEnumInfo kDTDateModeInfo;
enum TDTDateFormat { dfShort, dfLong };
extern const TEnumInfo kDTDateFormatInfo;

class TDateTimePicker : public TWinControl {
  TW_DECLARE_CLASS(TDateTimePicker, TWinControl)
 public:
  explicit TDateTimePicker(TComponent* owner);
  // The value; the published Date is "YYYY-MM-DD" and Time "HH:MM:SS".
  SYSTEMTIME DateTime() const;
  void SetDateTime(const SYSTEMTIME& t);
  std::wstring DateText() const;
  void SetDateText(const std::wstring& s);
  std::wstring TimeText() const;
  void SetTimeText(const std::wstring& s);
  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind k);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode m);
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat f);
  // The user changed the value.
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;

 private:
  SYSTEMTIME FValue{};
  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  TDTDateFormat FDateFormat = dfShort;
};
