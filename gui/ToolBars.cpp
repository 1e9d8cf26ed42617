#include "gui/ToolBars.h"

#include <algorithm>

#include "gui/ButtonFace.h"

const TEnumInfo kToolButtonStyleInfo{L"TToolButtonStyle", {L"tbsButton", L"tbsCheck", L"tbsSeparator", L"tbsDivider"}};

// ---------------------------------------------------------------------------
// TToolButton

TW_IMPLEMENT_CLASS(TToolButton, [](TClassBuilder<TToolButton>& c) {
  c.Enum(L"Style", kToolButtonStyleInfo, &TToolButton::Style, &TToolButton::SetStyle);
  c.Int(L"ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex);
  c.Bool(L"Down", &TToolButton::Down, &TToolButton::SetDown);
  c.Bool(L"Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped);
  c.Bool(L"AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp);
})

TToolButton::TToolButton(TComponent* owner) : TControl(owner) {
  FWidth = 23;
  FHeight = 22;
  FParentColor = true;
}

// Leaving through SetParent lets the bar close the gap.
TToolButton::~TToolButton() {
  if (ToolBar()) SetParent(nullptr);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(FParent); }

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = ToolBar();
  TControl::SetParent(parent);
  if (old && !old->Destroying()) old->ArrangeButtons();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  if (s != tbsCheck) FDown = false;
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  Invalidate();
}

void TToolButton::SetImageIndex(int i) {
  FImageIndex = std::max(i, -1);
  Invalidate();
}

void TToolButton::SetGrouped(bool g) {
  FGrouped = g;
  Invalidate();
}

std::vector<TToolButton*> TToolButton::GroupRun() const {
  TToolBar* bar = ToolBar();
  if (!bar || !FGrouped || FStyle != tbsCheck) return {const_cast<TToolButton*>(this)};
  std::vector<TToolButton*> all = bar->Buttons(), run;
  auto me = std::find(all.begin(), all.end(), this);
  auto first = me, last = me;
  auto inRun = [](TToolButton* b) { return b->FGrouped && b->FStyle == tbsCheck; };
  while (first != all.begin() && inRun(*(first - 1))) --first;
  while (last + 1 != all.end() && inRun(*(last + 1))) ++last;
  return std::vector<TToolButton*>(first, last + 1);
}

void TToolButton::SetDown(bool d) {
  if (FStyle != tbsCheck && !Loading()) d = false;
  if (d == FDown) return;
  FDown = d;
  if (d && !Loading()) {
    for (TToolButton* b : GroupRun()) {
      if (b != this && b->FDown) {
        b->FDown = false;
        b->Invalidate();
      }
    }
  }
  Invalidate();
}

void TToolButton::Click() {
  if (FStyle == tbsSeparator || FStyle == tbsDivider) return;
  if (FStyle == tbsCheck) {
    // A grouped button that is down stays down unless the group allows all up.
    bool grouped = FGrouped && GroupRun().size() > 1;
    if (!FDown) SetDown(true);
    else if (!grouped || FAllowAllUp) SetDown(false);
  }
  TControl::Click();
}

void TToolButton::TextChanged() {
  TControl::TextChanged();
  if (TToolBar* bar = ToolBar(); bar && bar->ShowCaptions()) bar->ArrangeButtons();
}

void TToolButton::Paint(HDC dc) {
  RECT r{0, 0, FWidth, FHeight};
  TToolBar* bar = ToolBar();
  if (FStyle == tbsSeparator) return;
  if (FStyle == tbsDivider) {
    RECT line{FWidth / 2 - 1, 2, FWidth / 2 + 1, FHeight - 2};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    return;
  }
  bool flat = bar && bar->Flat();
  bool sunken = FDown || (FMouseDown && FHot);
  if (FDown && !sunken) sunken = true;
  DrawButtonEdge(dc, r, flat, sunken, FHot && FEnabled);
  int shift = sunken ? 1 : 0;
  TImageList* images = bar ? bar->Images() : nullptr;
  bool hasImage = images && FImageIndex >= 0 && FImageIndex < images->Count();
  // A caption shows under the image with ShowCaptions, and alone on a button without an image.
  bool captionBelow = hasImage && bar && bar->ShowCaptions() && !FText.empty();
  int textHeight = captionBelow ? FFont.PixelHeight() + 2 : 0;
  if (hasImage) {
    int x = (FWidth - images->Width()) / 2 + shift;
    int y = (FHeight - textHeight - images->Height()) / 2 + shift;
    images->Draw(dc, x, y, FImageIndex, FEnabled);
  }
  if (captionBelow || (!hasImage && !FText.empty())) {
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, FEnabled ? ColorToRGB(FFont.Color()) : GetSysColor(COLOR_GRAYTEXT));
    RECT t{shift, (captionBelow ? FHeight - textHeight - 2 : 0) + shift, FWidth + shift,
           (captionBelow ? FHeight - 2 : FHeight) + shift};
    UINT flags = DT_CENTER | DT_SINGLELINE | DT_VCENTER | (UseRightToLeftReading() ? DT_RTLREADING : 0);
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &t, flags);
    SelectObject(dc, old);
  }
}

void TToolButton::WndProc(TMessage& m) {
  const bool repaint = TrackButtonHot(*this, FHot, m.Msg);
  TControl::WndProc(m);
  if (repaint) Invalidate();
}

// ---------------------------------------------------------------------------
// TToolBar

TW_IMPLEMENT_CLASS(TToolBar, [](TClassBuilder<TToolBar>& c) {
  c.Bool(L"Flat", &TToolBar::Flat, &TToolBar::SetFlat);
  c.Ref(L"Images", &TToolBar::Images, &TToolBar::SetImages);
  c.Bool(L"ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions);
  c.Int(L"ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth);
  c.Int(L"ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight);
})

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  FWidth = 150;
  FHeight = 29;
  FAlign = alTop;
}

void TToolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

std::vector<TToolButton*> TToolBar::Buttons() const {
  std::vector<TToolButton*> list;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) list.push_back(b);
  std::stable_sort(list.begin(), list.end(), [](TToolButton* a, TToolButton* b) { return a->Left() < b->Left(); });
  return list;
}

void TToolBar::ArrangeButtons() {
  if (FArranging || Loading() || Destroying()) return;
  FArranging = true;
  int x = 0;
  for (TToolButton* b : Buttons()) {
    if (!b->Visible()) continue;
    int w = FButtonWidth;
    if (b->Style() == tbsSeparator || b->Style() == tbsDivider) w = 8;
    else if (FShowCaptions && !b->Caption().empty()) {
      HDC dc = GetDC(nullptr);
      HGDIOBJ old = SelectObject(dc, b->Font()->Handle());
      SIZE s{0, 0};
      GetTextExtentPoint32W(dc, b->Caption().c_str(), static_cast<int>(b->Caption().size()), &s);
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
      w = std::max(w, static_cast<int>(s.cx) + 8);
    }
    b->SetBounds(x, 2, w, FButtonHeight);
    x += w;
  }
  FArranging = false;
  Invalidate();
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  ArrangeButtons();
}

void TToolBar::BoundsChanged() {
  TWinControl::BoundsChanged();
  Invalidate();
}

void TToolBar::SetFlat(bool f) {
  FFlat = f;
  Invalidate();
}

void TToolBar::SetImages(TImageList* images) {
  FImages = images;
  if (images) FreeNotification(images);
  Invalidate();
}

void TToolBar::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == FImages) {
    FImages = nullptr;
    Invalidate();
  }
}

void TToolBar::SetShowCaptions(bool s) {
  FShowCaptions = s;
  ArrangeButtons();
}

void TToolBar::SetButtonWidth(int w) {
  FButtonWidth = std::clamp(w, 4, 1000);
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int h) {
  FButtonHeight = std::clamp(h, 4, 1000);
  ArrangeButtons();
}

// ---------------------------------------------------------------------------
// Cool bar

TW_IMPLEMENT_CLASS(TCoolBand, [](TClassBuilder<TCoolBand>& c) {
  c.Ref(L"Control", &TCoolBand::Control, &TCoolBand::SetControl);
  c.Str(L"Text", &TCoolBand::Text, &TCoolBand::SetText);
  c.Int(L"Width", &TCoolBand::Width, &TCoolBand::SetWidth);
  c.Colour(L"Color", &TCoolBand::Color, &TCoolBand::SetColor);
})

TCoolBand::TCoolBand(TCollection* c) : TCollectionItem(c) {}

TCoolBar* TCoolBand::CoolBar() const {
  auto* bands = dynamic_cast<TCoolBands*>(Collection());
  return bands ? bands->CoolBar() : nullptr;
}

void TCoolBand::Changed() {
  if (TCoolBar* bar = CoolBar()) bar->ArrangeBands();
}

void TCoolBand::SetControl(TWinControl* c) {
  TCoolBar* bar = CoolBar();
  if (c && bar && c == bar) throw EPropertyError(L"A band cannot hold its own bar");
  FControl = c;
  if (c && bar) {
    bar->FreeNotification(c);
    if (!bar->Loading() && c->Parent() != bar) c->SetParent(bar);
  }
  Changed();
}

void TCoolBand::SetText(const std::wstring& t) {
  FText = t;
  Changed();
}

void TCoolBand::SetWidth(int w) {
  FWidth = std::clamp(w, 0, 10000);
  Changed();
}

void TCoolBand::SetColor(TColor c) {
  FColor = c;
  if (TCoolBar* bar = CoolBar()) bar->Invalidate();
}

void TCoolBand::Assign(const TPersistent* source) {
  if (auto* b = dynamic_cast<const TCoolBand*>(source)) {
    FControl = b->FControl;
    FText = b->FText;
    FWidth = b->FWidth;
    FColor = b->FColor;
    Changed();
    return;
  }
  TCollectionItem::Assign(source);
}

TW_IMPLEMENT_CLASS(TCoolBands, [](TClassBuilder<TCoolBands>&) {})

TCoolBands::TCoolBands(TCoolBar* bar)
    : TCollection(bar, [](TCollection* c) { return new TCoolBand(c); }), FBar(bar) {}

TW_IMPLEMENT_CLASS(TCoolBar, [](TClassBuilder<TCoolBar>& c) {
  c.Sub(L"Bands", TPropKind::Collection, &TCoolBar::Bands);
})

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner), FBands(this) {
  FWidth = 150;
  FHeight = 30;
  FAlign = alTop;
}

TCoolBar::~TCoolBar() { DestroyHandle(); }

void TCoolBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

int TCoolBar::CaptionWidth(const TCoolBand* band) const {
  if (band->Text().empty()) return 8;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, const_cast<TCoolBar*>(this)->Font()->Handle());
  SIZE s{0, 0};
  GetTextExtentPoint32W(dc, band->Text().c_str(), static_cast<int>(band->Text().size()), &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return static_cast<int>(s.cx) + 12;
}

RECT TCoolBar::BandRect(int index) const {
  RECT client = ClientRect();
  int x = 0;
  for (int i = 0; i < FBands.Count(); ++i) {
    TCoolBand* b = FBands.Items(i);
    // The last band reaches the right edge.
    int right = i == FBands.Count() - 1 ? std::max<int>(client.right, x + b->Width()) : x + b->Width();
    if (i == index) return RECT{x, 0, right, client.bottom};
    x = right;
  }
  return RECT{0, 0, 0, 0};
}

void TCoolBar::ArrangeBands() {
  if (Loading() || Destroying()) return;
  for (int i = 0; i < FBands.Count(); ++i) {
    TCoolBand* b = FBands.Items(i);
    if (!b->Control()) continue;
    if (b->Control()->Parent() != this) b->Control()->SetParent(this);
    RECT r = BandRect(i);
    int left = r.left + CaptionWidth(b);
    b->Control()->SetBounds(left, r.top + 2, std::max<int>(0, r.right - left - 4), std::max<int>(0, r.bottom - 4));
  }
  Invalidate();
}

void TCoolBar::Loaded() {
  TWinControl::Loaded();
  ArrangeBands();
}

void TCoolBar::BoundsChanged() {
  TWinControl::BoundsChanged();
  ArrangeBands();
}

void TCoolBar::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op != opRemove) return;
  for (int i = 0; i < FBands.Count(); ++i)
    if (FBands.Items(i)->FControl == c) FBands.Items(i)->FControl = nullptr;
}

void TCoolBar::PaintWindow(HDC dc) {
  RECT client = ClientRect();
  FillRect(dc, &client, ColorBrush());
  HGDIOBJ old = SelectObject(dc, FFont.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(FFont.Color()));
  for (int i = 0; i < FBands.Count(); ++i) {
    TCoolBand* b = FBands.Items(i);
    RECT r = BandRect(i);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(b->Color()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    RECT text{r.left + 6, r.top, r.right, r.bottom};
    DrawTextW(dc, b->Text().c_str(), static_cast<int>(b->Text().size()), &text, DT_SINGLELINE | DT_VCENTER);
  }
  SelectObject(dc, old);
}
