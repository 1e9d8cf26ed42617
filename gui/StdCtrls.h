// Standard controls over the system window classes (Windows).
//
// Classes in this file:
//   TButton          push button ("BUTTON"); OnClick from BN_CLICKED; Enter
//                    presses the form's Default button (or the focused
//                    button), Escape its Cancel button
//   TCustomGroupBox / TGroupBox   group box ("BUTTON" with BS_GROUPBOX); docked
//                    children sit below the caption
//   TCustomPanel / TPanel   our own window: colour, bevels, centred caption,
//                    ParentBackground, Transparent
//   TCustomLabel / TLabel   window-less text; AutoSize follows the text; its
//                    access key focuses FocusControl
//   TCustomEdit / TEdit     single-line edit ("EDIT"); ReadOnly, OnChange
//   TCustomMemo / TMemo     multi-line edit; Lines, ScrollBars, WordWrap
//   TCustomCheckBox / TCheckBox   check box ("BUTTON"); State, Checked, AllowGrayed
//   TRadioButton     radio button ("BUTTON"); checking one clears its siblings
//   TCustomComboBox / TComboBox   "COMBOBOX": Style, Items, ItemIndex, Text
//   TCustomListBox / TListBox     "LISTBOX": Items, ItemIndex
//   TScrollBar       stand-alone "SCROLLBAR": Kind, Min, Max, Position, PageSize
//
// Not handled yet: owner-drawn combo and list boxes draw nothing of their own,
// multi-selection list boxes.
#pragma once

#include <algorithm>

#include "gui/Classes.h"
#include "gui/Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const TEnumInfo kBevelCutInfo;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumInfo kAlignmentInfo;
enum TBorderStyle { bsNone, bsSingle };  // controls' border (forms have their own)
extern const TEnumInfo kBorderStyleInfo;

class TButtonControl : public TWinControl {
  TW_DECLARE_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
  TW_DECLARE_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return FDefault; }
  void SetDefault(bool d);
  // Escape anywhere on the form presses a Cancel button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool c) { FCancel = c; }
  // Clicks as the user would (BM_CLICK when the window exists).
  void PerformClick();
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  // The form's dialog-key offer of Enter or Escape: true when this button
  // takes it (and was clicked).
  bool DialogKey(WPARAM key);
  bool FDefault = false;
  bool FCancel = false;
};

class TCustomGroupBox : public TWinControl {
  TW_DECLARE_CLASS(TCustomGroupBox, TWinControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);
  // Client area less the caption line (font height + 2) and a 2-pixel frame.
  RECT AdjustClientRect() const override;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
};

class TGroupBox : public TCustomGroupBox {
  TW_DECLARE_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomPanel : public TWinControl {
  TW_DECLARE_CLASS(TCustomPanel, TWinControl)
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut b);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut b);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int w);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  // Paints the parent's background instead of Color (when a theme or skin does).
  bool ParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool p);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool t);
  // Inside the bevels and border.
  RECT AdjustClientRect() const override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void PaintWindow(HDC dc) override;
  bool EraseBackground(HDC dc) override;

 private:
  int BevelSize() const;
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TAlignment FAlignment = taCenter;
  bool FParentBackground = false;
  bool FTransparent = false;
};

class TPanel : public TCustomPanel {
  TW_DECLARE_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

class TCustomLabel : public TControl {
  TW_DECLARE_CLASS(TCustomLabel, TControl)
 public:
  explicit TCustomLabel(TComponent* owner);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool a);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool t);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  // "&x" in the caption underlines x and makes Alt+x focus FocusControl;
  // "&&" shows one ampersand. Off: the caption is shown as it stands.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool s);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* c);
  void Paint(HDC dc) override;
  void Loaded() override;
  void WndProc(TMessage& m) override;

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AdjustBounds();
  UINT TextFlags() const;
  bool FAutoSize = true;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
  bool FTransparent = false;
  TAlignment FAlignment = taLeftJustify;
};

class TLabel : public TCustomLabel {
  TW_DECLARE_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

class TCustomEdit : public TWinControl {
  TW_DECLARE_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool r);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int n);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle b);
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  void DestroyWnd() override;

 private:
  bool FReadOnly = false;
  int FMaxLength = 0;
  TBorderStyle FBorderStyle = bsSingle;
};

class TEdit : public TCustomEdit {
  TW_DECLARE_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo kScrollStyleInfo;

class TCustomMemo : public TCustomEdit {
  TW_DECLARE_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  // The lines; the window follows every change, and user edits come back.
  TStringList* Lines();
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle s);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool w);
  std::wstring GetText() const override;
  void SetText(const std::wstring& t) override;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TStringList FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FSyncing = false;
};

class TMemo : public TCustomMemo {
  TW_DECLARE_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumInfo kCheckBoxStateInfo;
enum TLeftRight { taLeftJustifyLR = 0, taRightJustifyLR = 1 };
extern const TEnumInfo kLeftRightInfo;  // the names are taLeftJustify, taRightJustify

// Check box: the library keeps the state; OnClick runs once for each change,
// whether the user or the program made it.
class TCustomCheckBox : public TButtonControl {
  TW_DECLARE_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* owner);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState s);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool c) { SetState(c ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool a) { FAllowGrayed = a; }
  // taRightJustify (default): text right of the box; taLeftJustify: left of it.
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight a);
  // What a user click does: the next state in the cycle.
  virtual void Toggle();
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TLeftRight FAlignment = taRightJustifyLR;
};

class TCheckBox : public TCustomCheckBox {
  TW_DECLARE_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

// Radio button: checking one unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
  TW_DECLARE_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool c);
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight a);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  bool FChecked = false;
  TLeftRight FAlignment = taRightJustifyLR;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
extern const TEnumInfo kComboBoxStyleInfo;

// Items of a combo or list box: a string list the window follows.
class TListControl : public TWinControl {
  TW_DECLARE_CLASS(TListControl, TWinControl)
 public:
  explicit TListControl(TComponent* owner);
  TStringList* Items() { return &FItems; }
  // -1 for none; out-of-range values select nothing.
  int ItemIndex() const;
  void SetItemIndex(int i);

 protected:

  void InitializeWnd() override;
  void DestroyWnd() override;
  void LoadItems();
  virtual UINT MsgReset() const = 0;
  virtual UINT MsgAdd() const = 0;
  virtual UINT MsgGetSel() const = 0;
  virtual UINT MsgSetSel() const = 0;
  TStringList FItems;
  int FItemIndex = -1;
};

class TCustomComboBox : public TListControl {
  TW_DECLARE_CLASS(TCustomComboBox, TListControl)
 public:
  explicit TCustomComboBox(TComponent* owner);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle s);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int n);
  bool DroppedDown() const;
  void SetDroppedDown(bool d);
  // The window of a drop-down box is as high as the box and its list
  // together; Height stays the height of the closed box.
  void SetBounds(int left, int top, int width, int height) override;
  std::wstring GetText() const override;
  void SetText(const std::wstring& t) override;
  // The user changed the selection or typed (changes by the program are silent).
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;
  UINT MsgReset() const override { return CB_RESETCONTENT; }
  UINT MsgAdd() const override { return CB_ADDSTRING; }
  UINT MsgGetSel() const override { return CB_GETCURSEL; }
  UINT MsgSetSel() const override { return CB_SETCURSEL; }

 private:
  int ListHeight() const;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
  TW_DECLARE_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox : public TListControl {
  TW_DECLARE_CLASS(TCustomListBox, TListControl)
 public:
  explicit TCustomListBox(TComponent* owner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle b);
  int Columns() const { return FColumns; }
  void SetColumns(int n);
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  UINT MsgReset() const override { return LB_RESETCONTENT; }
  UINT MsgAdd() const override { return LB_ADDSTRING; }
  UINT MsgGetSel() const override { return LB_GETCURSEL; }
  UINT MsgSetSel() const override { return LB_SETCURSEL; }

 private:
  TBorderStyle FBorderStyle = bsSingle;
  int FColumns = 0;
};

class TListBox : public TCustomListBox {
  TW_DECLARE_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumInfo kScrollBarKindInfo;
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
extern const TEnumInfo kScrollCodeInfo;
using TScrollEvent = TDelegate<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// Stand-alone scroll bar. The range is kept sound: Max >= Min, PageSize
// within the range, Position within [Min, Max - PageSize + 1] (PageSize 0: Max).
class TScrollBar : public TWinControl {
  TW_DECLARE_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind k);
  int Min() const { return FMin; }
  void SetMin(int v) { SetParams(FPosition, v, std::max(FMax, v)); }
  int Max() const { return FMax; }
  void SetMax(int v) { SetParams(FPosition, std::min(FMin, v), v); }
  int Position() const { return FPosition; }
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = std::max(v, 1); }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = std::max(v, 1); }
  void SetParams(int position, int min, int max);
  // The highest position the thumb can reach.
  int MaxPosition() const;
  // Every scroll action of the user, before the position moves (ScrollPos may be changed).
  TScrollEvent OnScroll;
  // The position changed.
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  void UpdateScrollInfo();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  int FSmallChange = 1, FLargeChange = 1;
};
