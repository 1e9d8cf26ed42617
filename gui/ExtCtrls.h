// Grouped and scrolling containers (Windows).
//
// Classes in this file:
//   TGroupButton        one radio button of a radio group (owned by the group)
//   TCustomRadioGroup / TRadioGroup   group box whose Items become radio
//                       buttons laid out in Columns; ItemIndex is the checked one
//   TScrollHelper       AutoScroll for any windowed control: scroll bars appear
//                       when the children reach past the client area, and scroll them
//   TScrollingWinControl  a container with a TScrollHelper
//   TScrollBox          a bordered scrolling container
//
// Not handled yet: the scroll bars' own sub-objects (Range, Increment, Tracking).
#pragma once

#include <memory>
#include <vector>

#include "gui/StdCtrls.h"

class TCustomRadioGroup;

class TGroupButton : public TRadioButton {
  TW_DECLARE_CLASS(TGroupButton, TRadioButton)
 public:
  TGroupButton(TCustomRadioGroup* group, int index);
  int Index() const { return FIndex; }
  void Click() override;

 private:
  TCustomRadioGroup* FGroup;
  int FIndex;
};

class TCustomRadioGroup : public TCustomGroupBox {
  TW_DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;
  TStringList* Items() { return &FItems; }
  // -1: none checked; out-of-range values check none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int i);
  int Columns() const { return FColumns; }
  void SetColumns(int n);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TGroupButton* Buttons(int i) const { return FButtons.at(static_cast<size_t>(i)); }
  void Loaded() override;

 protected:
  void BoundsChanged() override;
  void FontChanged() override;

 private:
  friend class TGroupButton;
  void ButtonClicked(int index);
  void UpdateButtons();
  void ArrangeButtons();
  TStringList FItems;
  std::vector<TGroupButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
  TW_DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// Automatic scrolling of any windowed control's children: the control
// passes its messages through BeforeMessage (scroll-bar and wheel messages
// are consumed) and AfterMessage (a new size updates the bars).
class TScrollHelper {
 public:
  explicit TScrollHelper(TWinControl* control) : FControl(control) {}
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool a);
  // How far the contents are scrolled (pixels).
  POINT ScrollPos() const { return FScroll; }
  void ScrollTo(int x, int y);
  // The extent of the undocked children, in unscrolled coordinates.
  SIZE ContentSize() const;
  // Brings a child fully into view.
  void ScrollInView(TControl* c);
  // Recomputes the scroll ranges (after children moved or changed size).
  void UpdateScrollBars();
  bool BeforeMessage(TMessage& m);
  void AfterMessage(const TMessage& m);

 private:
  void ScrollMessage(int bar, int code);
  TWinControl* FControl;
  bool FAutoScroll = true;
  POINT FScroll{0, 0};
  bool FUpdatingBars = false;
};

class TScrollingWinControl : public TWinControl {
  TW_DECLARE_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* owner);
  bool AutoScroll() const { return FScroller.AutoScroll(); }
  void SetAutoScroll(bool a) { FScroller.SetAutoScroll(a); }
  POINT ScrollPos() const { return FScroller.ScrollPos(); }
  void ScrollTo(int x, int y) { FScroller.ScrollTo(x, y); }
  SIZE ContentSize() const { return FScroller.ContentSize(); }
  void ScrollInView(TControl* c) { FScroller.ScrollInView(c); }
  void UpdateScrollBars() { FScroller.UpdateScrollBars(); }
  void WndProc(TMessage& m) override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  TScrollHelper FScroller{this};
};

class TScrollBox : public TScrollingWinControl {
  TW_DECLARE_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* owner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle b);

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};
