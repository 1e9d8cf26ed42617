// Tool bars (Windows).
//
// Classes in this file:
//   TToolBar     a bar (our own window, docked at the top) that lines up its
//                TToolButton children left to right: Flat, Images,
//                ShowCaptions, ButtonWidth, ButtonHeight
//   TToolButton  a window-less button of a tool bar: Style (button, check,
//                separator, divider), ImageIndex, Down, Grouped
//   TCoolBand(s), TCoolBar  a bar of bands side by side (our own window, docked at
//                the top); each band has a caption and a colour and holds a control
//
// Not handled yet: drop-down buttons and their menus, wrapping onto several
// rows, customising by the user.
#pragma once

#include "gui/Classes.h"
#include "gui/Controls.h"
#include "gui/ImgList.h"

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator, tbsDivider };
extern const TEnumInfo kToolButtonStyleInfo;

class TToolButton : public TControl {
  TW_DECLARE_CLASS(TToolButton, TControl)
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle s);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int i);
  bool Down() const { return FDown; }
  // Check buttons only; in a run of Grouped check buttons one at most is down.
  void SetDown(bool d);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool g);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool a) { FAllowAllUp = a; }
  TToolBar* ToolBar() const;
  void SetParent(TWinControl* parent) override;

  void Click() override;
  void Paint(HDC dc) override;
  void WndProc(TMessage& m) override;

 protected:
  void TextChanged() override;

 private:
  // The run of grouped check buttons this one belongs to (itself included).
  std::vector<TToolButton*> GroupRun() const;
  TToolButtonStyle FStyle = tbsButton;
  int FImageIndex = -1;
  bool FDown = false, FGrouped = false, FAllowAllUp = false, FHot = false;
};

class TToolBar : public TWinControl {
  TW_DECLARE_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* owner);
  bool Flat() const { return FFlat; }
  void SetFlat(bool f);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool s);
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int w);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int h);
  // The buttons in bar order (left to right).
  std::vector<TToolButton*> Buttons() const;
  // Lines the buttons up from the left edge, in their order of Left.
  void ArrangeButtons();
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void BoundsChanged() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  bool FFlat = false, FShowCaptions = false;
  TImageList* FImages = nullptr;
  int FButtonWidth = 23, FButtonHeight = 22;
  bool FArranging = false;
};

class TCoolBar;

class TCoolBand : public TCollectionItem {
  TW_DECLARE_CLASS(TCoolBand, TCollectionItem)
 public:
  explicit TCoolBand(TCollection* c);
  // The control the band holds (placed right of the caption, full band height).
  TWinControl* Control() const { return FControl; }
  void SetControl(TWinControl* c);
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& t);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  void Assign(const TPersistent* source) override;
  TCoolBar* CoolBar() const;

 private:
  friend class TCoolBar;
  void Changed();
  TWinControl* FControl = nullptr;
  std::wstring FText;
  int FWidth = 100;
  TColor FColor = clBtnFace;
};

class TCoolBands : public TCollection {
  TW_DECLARE_CLASS(TCoolBands, TCollection)
 public:
  explicit TCoolBands(TCoolBar* bar);
  TCoolBand* Add() { return static_cast<TCoolBand*>(TCollection::Add()); }
  TCoolBand* Items(int i) const { return static_cast<TCoolBand*>(TCollection::Items(i)); }
  TCoolBar* CoolBar() const { return FBar; }

 private:
  TCoolBar* FBar;
};

class TCoolBar : public TWinControl {
  TW_DECLARE_CLASS(TCoolBar, TWinControl)
 public:
  explicit TCoolBar(TComponent* owner);
  ~TCoolBar() override;
  TCoolBands* Bands() { return &FBands; }
  // A band's rectangle in client coordinates.
  RECT BandRect(int index) const;
  // Places the bands' controls again.
  void ArrangeBands();
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void PaintWindow(HDC dc) override;
  void BoundsChanged() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  int CaptionWidth(const TCoolBand* band) const;
  TCoolBands FBands;
};
