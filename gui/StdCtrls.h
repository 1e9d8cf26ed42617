// Standard controls over the system window classes (Windows).
//
// Classes in this file:
//   TButton          push button ("BUTTON"); OnClick from BN_CLICKED
//   TCustomGroupBox / TGroupBox   group box ("BUTTON" with BS_GROUPBOX); docked
//                    children sit below the caption
//   TCustomPanel / TPanel   our own window: colour, bevels, centred caption,
//                    ParentBackground, Transparent
//   TCustomLabel / TLabel   window-less text; AutoSize follows the text
//   TCustomEdit / TEdit     single-line edit ("EDIT"); ReadOnly, OnChange
#pragma once

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
  // Clicks as the user would (BM_CLICK when the window exists).
  void PerformClick();
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& p) override;

 private:
  bool FDefault = false;
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
  void Paint(HDC dc) override;
  void Loaded() override;

 protected:
  void TextChanged() override;
  void FontChanged() override;

 private:
  void AdjustBounds();
  bool FAutoSize = true;
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
