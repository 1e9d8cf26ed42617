#include "skin/window/ControlDispatch.h"

#include <cwctype>
#include <iterator>

#include "gui/Buttons.h"
#include "gui/Classes.h"
#include "gui/ComCtrls.h"
#include "gui/Controls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "gui/ToolBars.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinMessages.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinModel.h"

namespace {

template <class T>
TSkinControl* Make(TComponent* owner) {
  return new T(owner);
}

// TSkinScrollbar skinning the vertical bar only.
TSkinControl* MakeSingleScrollbar(TComponent* owner) {
  auto* bars = new TSkinScrollbar(owner);
  bars->SetSingleBar(true);
  return bars;
}

// A glyph button whose graphic is its "PngImage" property.
TSkinControl* MakePngBitButton(TComponent* owner) {
  auto* button = new TSkinBitButton(owner);
  button->SetGraphicProperty(L"PngImage");
  return button;
}

}  // namespace

// ---- the built kinds ------------------------------------------------------------

const TSkinKindRow kSkinKinds[] = {
    {TSkinKind::Button, &Make<TSkinButton>},   {TSkinKind::GroupBox, &Make<TSkinGroupBox>},
    {TSkinKind::Box, &Make<TSkinBox>},         {TSkinKind::BoxH, &Make<TSkinBoxH>},
    {TSkinKind::Sizer, &Make<TSkinSizer>},     {TSkinKind::Progress, &Make<TSkinProgress>},
    {TSkinKind::Edit, &Make<TSkinEdit>},       {TSkinKind::ScrollBar, &Make<TSkinScrollbar>},
    {TSkinKind::ListView, &Make<TSkinListView>}, {TSkinKind::Header, &Make<TSkinHeader>},
    {TSkinKind::ComboBox, &Make<TSkinComBox>}, {TSkinKind::DateTime, &Make<TSkinDateTime>},
    {TSkinKind::TrackBar, &Make<TSkinTrackBar>}, {TSkinKind::UpDown, &Make<TSkinUpDown>},
    {TSkinKind::BitButton, &Make<TSkinBitButton>}, {TSkinKind::PngBitButton, &MakePngBitButton},
    {TSkinKind::MenuButton, &Make<TSkinMenuButton>}, {TSkinKind::SpeedButton, &Make<TSkinSpeedButton>},
    {TSkinKind::CheckBox, &Make<TSkinCheckBox>}, {TSkinKind::RadioButton, &Make<TSkinRadioButton>},
    {TSkinKind::Tab, &Make<TSkinTab>},         {TSkinKind::TabBtn, &Make<TSkinTabBtn>},
    {TSkinKind::TabSheet, &Make<TSkinTabSheet>}, {TSkinKind::StatusBar, &Make<TSkinStatusBar>},
    {TSkinKind::SingleScrollBar, &MakeSingleScrollbar}, {TSkinKind::ScControl, &Make<TSkinScControl>},
};
const size_t kSkinKindCount = std::size(kSkinKinds);

TSkinFactory FindSkinFactory(TSkinKind kind) {
  for (const TSkinKindRow& row : kSkinKinds)
    if (row.kind == kind) return row.create;
  return nullptr;
}

namespace {

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = wchar_t(std::towlower(c));
  return s;
}

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = wchar_t(std::towupper(c));
  return s;
}

bool AnswersSkinQuery(HWND window) { return window && SendMessageW(window, WM_SKINQUERY, 0, 0) == 1; }

bool On(const TSkinFrameLink& frame, TSkinControlType sw) { return HasSwitch(frame.SkinControls(), sw); }

// Creates and attaches a kind on a library control; false when the kind is
// not built or the attach did not take.
bool AttachKind(TSkinFrameLink& frame, TSkinKind kind, TWinControl* control, bool manageColor) {
  TSkinFactory create = FindSkinFactory(kind);
  if (!create || !control) return false;
  TSkinControl* object = create(control);
  object->AttachControl(&frame, manageColor, frame.Canvas(0));
  if (object->Attached()) return true;
  TComponent::Free(object);
  return false;
}

// The window-less speed button: the object is owned by the button.
bool AttachGraphicKind(TSkinFrameLink& frame, TSkinKind kind, TControl* control) {
  TSkinFactory create = FindSkinFactory(kind);
  if (!create || !control) return false;
  TSkinControl* object = create(control);
  object->AttachControl(&frame, false, frame.Canvas(0));
  if (object->Attached()) return true;
  TComponent::Free(object);
  return false;
}

bool AttachKindToWindow(TSkinFrameLink& frame, TSkinKind kind, HWND window) {
  TSkinFactory create = FindSkinFactory(kind);
  if (!create || !window) return false;
  TSkinControl* object = create(nullptr);
  object->AttachWindow(window, &frame, frame.Canvas(0));
  if (object->Attached()) return true;
  delete object;
  return false;
}

void DispatchChildren(TSkinFrameLink& frame, TWinControl* container) {
  // A dispatch may add or remove children: walk by index and re-check.
  for (int i = 0; i < container->ControlCount(); ++i) SkinChildControl(frame, container->Controls(i), container);
}

void DispatchOwned(TSkinFrameLink& frame, TWinControl* owner) {
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(owner->Components(i))) SkinChildControl(frame, c, owner);
}

bool HasScrollBars(TWinControl* control) {
  if (control->Is<TCustomListView>()) return true;
  const LONG style = GetWindowLongW(control->Handle(), GWL_STYLE);
  return (style & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

void SetTransparent(TControl* control) {
  if (HasProperty(control, L"Transparent")) SetPropText(control, L"Transparent", L"True");
}

// ---- Skin3rd kinds ------------------------------------------------------------------

enum TThirdFlags : uint8_t {
  kMakeTransparent = 1,   // set "Transparent" first
  kChildrenAfter = 2,     // dispatch the children afterwards
  kNeedsBorder = 4,       // only when window and client sizes differ
  kNeedsTabs = 8,         // only when the skin has a Tabs image
};

struct TThirdRow {
  const wchar_t* text;
  int sw;  // SkinControls member required, -1: none
  TSkinKind kind;
  bool manageColor;
  uint8_t flags;
};

constexpr int kNoSwitch = -1;

const TThirdRow kThirdRows[] = {
    {L"nil", kNoSwitch, TSkinKind::None, false, 0},
    {L"combobox", xcCombo, TSkinKind::ComboBox, false, 0},
    {L"edit", xcEdit, TSkinKind::Edit, false, kNeedsBorder},
    {L"radiobutton", xcRadioButton, TSkinKind::RadioButton, false, 0},
    {L"panel", xcPanel, TSkinKind::Box, true, kMakeTransparent},
    {L"trackbar", xcButton, TSkinKind::TrackBar, false, kMakeTransparent},
    {L"button", xcButton, TSkinKind::Button, false, 0},
    {L"datetimepicker", xcCombo, TSkinKind::DateTime, false, 0},
    {L"mediaplayer", xcButton, TSkinKind::MediaPlayer, false, 0},
    {L"bitbtn", xcButton, TSkinKind::BitButton, false, 0},
    {L"pngbitbtn", xcButton, TSkinKind::PngBitButton, false, 0},
    {L"menubtn", xcButton, TSkinKind::MenuButton, false, 0},
    {L"speedbutton", xcSpeedButton, TSkinKind::SpeedButton, false, 0},
    {L"tab", xcTab, TSkinKind::Tab, false, kNeedsTabs},
    {L"progress", xcProgress, TSkinKind::Progress, false, 0},
    {L"scrollbar", xcScrollbar, TSkinKind::ScrollBar, false, kChildrenAfter},
    {L"singlescrollbar", xcScrollbar, TSkinKind::SingleScrollBar, false, 0},
    {L"container", kNoSwitch, TSkinKind::None, false, kChildrenAfter},
    {L"groupbox", xcGroupBox, TSkinKind::GroupBox, true, 0},
    {L"advpagecontrol", xcTab, TSkinKind::AdvPage, true, 0},
    {L"checkbox", xcCheckBox, TSkinKind::CheckBox, false, 0},
};

bool WindowAndClientDiffer(HWND window) {
  RECT w{}, c{};
  GetWindowRect(window, &w);
  GetClientRect(window, &c);
  return w.right - w.left != c.right - c.left || w.bottom - w.top != c.bottom - c.top;
}

// Children of a radio or check group: foreign ("TRZ") ones get an image
// object, the others check boxes or radio buttons.
void GroupChildren(TSkinFrameLink& frame, TWinControl* group, TSkinKind plain, TSkinKind foreign) {
  for (int i = 0; i < group->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(group->Controls(i));
    if (!child) continue;
    const bool rz = Upper(child->ClassName()).find(L"TRZ") != std::wstring::npos;
    AttachKind(frame, rz ? foreign : plain, child, rz);
  }
}

void ActOnThirdKind(TSkinFrameLink& frame, TControl* control, TWinControl* win, const std::wstring& kind) {
  if (!win) {  // only the speed-button kind serves window-less controls
    if (kind == L"speedbutton" && On(frame, xcSpeedButton)) AttachGraphicKind(frame, TSkinKind::SpeedButton, control);
    return;
  }
  const std::wstring lowerClass = Lower(control->ClassName());
  if (kind == L"embedscrollbar") {
    if (!On(frame, xcScrollbar)) return;
    for (int i = 0; i < win->ControlCount(); ++i) {
      auto* child = dynamic_cast<TWinControl*>(win->Controls(i));
      if (!child) continue;
      if (HasProperty(child, L"AutoScroll")) AttachKind(frame, TSkinKind::ScControl, child, false);
      else if (HasScrollBars(child)) AttachKind(frame, TSkinKind::ScrollBar, child, false);
    }
    return;
  }
  if (kind == L"radiogroup") {
    if (!On(frame, xcGroupBox)) return;
    if (On(frame, xcRadioButton)) GroupChildren(frame, win, TSkinKind::RadioButton, TSkinKind::ObjImageRadio);
    AttachKind(frame, TSkinKind::GroupBox, win, true);
    return;
  }
  if (kind == L"checkgroup") {
    if (!On(frame, xcPanel)) return;
    if (On(frame, xcRadioButton)) GroupChildren(frame, win, TSkinKind::CheckBox, TSkinKind::ObjImageCheck);
    if (On(frame, xcGroupBox)) AttachKind(frame, TSkinKind::GroupBox, win, true);
    return;
  }
  for (const TThirdRow& row : kThirdRows) {
    if (kind != row.text) continue;
    if (row.sw != kNoSwitch && !On(frame, TSkinControlType(row.sw))) return;
    if ((row.flags & kNeedsBorder) && !WindowAndClientDiffer(win->Handle())) return;
    if ((row.flags & kNeedsTabs) && !(frame.SkinModel() && frame.SkinModel()->Tabs())) return;
    if (row.flags & kMakeTransparent) SetTransparent(control);
    TSkinKind make = row.kind;
    if (make == TSkinKind::BitButton && lowerClass == L"tcxbutton" &&
        GetEnumProp(control, L"Kind") == L"cxbkDropDownButton")
      make = TSkinKind::MenuButton;
    if (make != TSkinKind::None) AttachKind(frame, make, win, row.manageColor);
    if (row.flags & kChildrenAfter) DispatchChildren(frame, win);
    return;
  }
}

// ---- the class table ------------------------------------------------------------------

enum class TAct : uint8_t {
  Create,              // the kind
  ChildrenThenCreate,  // children first, then the kind
  CreateThenChildren,  // the kind, then the children
  Children,            // only the children
  OwnedAfterCreate,    // the kind, then the owned components
  DcEdit,              // combo or edit by the "NumButtons" property
  TabByStyle,          // tab strip, or button-style tabs
  RadioGroup,          // radio buttons for the children, then the group box
  ToolBar,             // flat, then the kind
};

struct TClassRow {
  const wchar_t* names[4];  // upper-case class names (unused entries null)
  bool (*family)(TWinControl*);
  int sw;
  TAct act;
  TSkinKind kind;
  bool manageColor;
  bool needsTabs = false;  // only when the skin has a Tabs image
};

bool IsTabOrPage(TWinControl* c) { return c->Is<TCustomTabControl>(); }
bool IsTabSheet(TWinControl* c) { return c->Is<TTabSheet>(); }
bool IsTabControl(TWinControl* c) { return c->Is<TTabControl>(); }
bool IsHeader(TWinControl* c) { return c->Is<THeaderControl>(); }
bool IsCheckBox(TWinControl* c) { return c->Is<TCustomCheckBox>(); }
bool IsTrackBar(TWinControl* c) { return c->Is<TTrackBar>(); }
bool IsRadioGroup(TWinControl* c) { return c->Is<TCustomRadioGroup>(); }
bool IsRadioButton(TWinControl* c) { return c->Is<TRadioButton>(); }
bool IsToolBar(TWinControl* c) { return c->Is<TToolBar>(); }
bool IsStatusBar(TWinControl* c) { return c->Is<TStatusBar>(); }
// Scroll boxes and stand-alone scroll-bar controls.
bool IsScrollBox(TWinControl* c) { return c->Is<TScrollBox>() || c->Is<TScrollBar>(); }
bool IsComboBox(TWinControl* c) { return c->Is<TCustomComboBox>(); }
bool IsDateTimePicker(TWinControl* c) { return c->Is<TDateTimePicker>(); }
bool IsGlyphButton(TWinControl* c) { return c->Is<TBitBtn>(); }
bool IsGroupBox(TWinControl* c) { return c->Is<TCustomGroupBox>(); }
bool IsProgress(TWinControl* c) { return c->Is<TProgressBar>(); }
bool IsPanel(TWinControl* c) { return c->Is<TCustomPanel>(); }
bool IsListView(TWinControl* c) { return c->Is<TCustomListView>(); }
bool IsPushButton(TWinControl* c) { return c->Is<TButton>(); }
bool IsEdit(TWinControl* c) { return c->Is<TCustomEdit>(); }
bool IsEmbeddedForm(TWinControl* c) { return c->Is<TCustomForm>(); }

// A row whose kind is not built still decides: its control keeps the native
// look rather than falling to a later row (a glyph button is a push button
// too, and would lose its glyph). The window-less speed button has no row:
// only windowed controls reach this table (SkinChildControl skins speed
// buttons before it). Rows of the original control set
// without a class here (bar containers, controls with skinned menus) have
// none.
const TClassRow kClassRows[] = {
    {{}, &IsTabOrPage, xcTab, TAct::TabByStyle, TSkinKind::Tab, false, true},
    {{L"TTABSET"}, nullptr, xcTab, TAct::Create, TSkinKind::Tab31, false},
    // Pages take the skin's face colour (manage-colour on), so the labels and
    // other children that follow their page's colour do not stand out of it.
    {{}, &IsTabSheet, xcTab, TAct::Create, TSkinKind::TabSheet, true},
    {{L"TTABBEDNOTEBOOK"}, nullptr, xcTab, TAct::Create, TSkinKind::Tab, false},
    {{L"TMVCPANEL"}, nullptr, kNoSwitch, TAct::Children, TSkinKind::None, false},
    {{}, &IsTabControl, xcTab, TAct::TabByStyle, TSkinKind::Tab, false},
    {{}, &IsHeader, xcPanel, TAct::Create, TSkinKind::Header, false},
    {{}, &IsCheckBox, xcCheckBox, TAct::Create, TSkinKind::CheckBox, false},
    {{}, &IsTrackBar, xcTrackBar, TAct::Create, TSkinKind::TrackBar, false},
    {{L"TUPDOWN", L"TSPINBUTTON"}, nullptr, xcSpin, TAct::Create, TSkinKind::UpDown, false},
    {{L"TMEDIAPLAYER"}, nullptr, xcButton, TAct::Create, TSkinKind::MediaPlayer, false},
    {{}, &IsRadioGroup, xcRadioButton, TAct::RadioGroup, TSkinKind::GroupBox, false},
    {{L"TDBNAVIGATOR"}, nullptr, xcPanel, TAct::CreateThenChildren, TSkinKind::Box, false},
    {{L"TRZDBCHECKBOX", L"TRZCHECKBOX"}, nullptr, xcCheckBox, TAct::Create, TSkinKind::ObjImageCheck, false},
    {{L"TRZRADIOBUTTON", L"TRZDBRADIOBUTTON"}, nullptr, xcRadioButton, TAct::Create, TSkinKind::ObjImageRadio, false},
    {{L"TCXDBCHECKBOX", L"TCXCHECKBOX"}, nullptr, xcCheckBox, TAct::Create, TSkinKind::ObjImageCheck, false},
    {{}, &IsGroupBox, xcPanel, TAct::ChildrenThenCreate, TSkinKind::GroupBox, false},
    {{}, &IsRadioButton, xcRadioButton, TAct::Create, TSkinKind::RadioButton, false},
    {{}, &IsToolBar, xcToolbar, TAct::ToolBar, TSkinKind::Box, false},
    {{}, &IsStatusBar, xcStatusBar, TAct::Create, TSkinKind::StatusBar, false},
    {{}, &IsProgress, xcProgress, TAct::Create, TSkinKind::Progress, false},
    {{}, &IsScrollBox, xcScrollbar, TAct::Create, TSkinKind::ScControl, false},
    {{L"TTNTCOMBOBOX"}, nullptr, xcCombo, TAct::Create, TSkinKind::ComboBox, false},
    {{}, &IsComboBox, xcCombo, TAct::Create, TSkinKind::ComboBox, false},
    {{}, &IsDateTimePicker, xcEdit, TAct::Create, TSkinKind::DateTime, false},
    {{L"TRICHEDIT", L"TWWDBRICHEDIT", L"TDXDBMEMO"}, nullptr, xcScrollbar, TAct::Create, TSkinKind::ScrollBar, false},
    {{}, &IsGlyphButton, xcBitBtn, TAct::Create, TSkinKind::BitButton, false},
    // Panels take the skin's face colour (manage-colour on): a panel that
    // kept its own colour would stand out of the skinned form.
    {{}, &IsPanel, xcPanel, TAct::ChildrenThenCreate, TSkinKind::Box, true},
    {{L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}, nullptr, xcScrollbar, TAct::Create, TSkinKind::ScrollBar, false},
    {{}, &IsListView, xcScrollbar, TAct::Create, TSkinKind::ListView, false},
    {{}, &HasScrollBars, xcScrollbar, TAct::Create, TSkinKind::ScrollBar, false},
    {{}, &IsPushButton, xcButton, TAct::Create, TSkinKind::Button, false},
    {{}, &IsEdit, xcEdit, TAct::Create, TSkinKind::Edit, false},
    {{L"TDCEDIT", L"TDCDBEDIT"}, nullptr, kNoSwitch, TAct::DcEdit, TSkinKind::None, false},
    {{}, &IsEmbeddedForm, kNoSwitch, TAct::OwnedAfterCreate, TSkinKind::Box, true},
};

bool RowMatches(const TClassRow& row, TWinControl* control, const std::wstring& upper) {
  if (row.family) return row.family(control);
  for (const wchar_t* name : row.names)
    if (name && upper == name) return true;
  return false;
}

// true when the row decided.
bool ApplyRow(TSkinFrameLink& frame, const TClassRow& row, TWinControl* control) {
  if (row.act == TAct::DcEdit) {
    const bool combo = GetIntProp(control, L"NumButtons") > 0;
    if (!On(frame, combo ? xcCombo : xcEdit)) return false;
    if (combo) AttachKind(frame, TSkinKind::ComboBox, control, false);
    else AttachKindToWindow(frame, TSkinKind::Edit, control->Handle());
    return true;
  }
  if (row.sw != kNoSwitch && !On(frame, TSkinControlType(row.sw))) return false;
  if (row.needsTabs && !(frame.SkinModel() && frame.SkinModel()->Tabs())) return false;
  switch (row.act) {
    case TAct::Create:
      AttachKind(frame, row.kind, control, row.manageColor);
      break;
    case TAct::ChildrenThenCreate:
      DispatchChildren(frame, control);
      AttachKind(frame, row.kind, control, row.manageColor);
      break;
    case TAct::CreateThenChildren:
      AttachKind(frame, row.kind, control, row.manageColor);
      DispatchChildren(frame, control);
      break;
    case TAct::Children:
      DispatchChildren(frame, control);
      break;
    case TAct::OwnedAfterCreate:
      AttachKind(frame, row.kind, control, row.manageColor);
      DispatchOwned(frame, control);
      break;
    case TAct::TabByStyle: {
      const bool buttons = GetEnumProp(control, L"Style") != L"tsTabs";
      AttachKind(frame, buttons ? TSkinKind::TabBtn : row.kind, control, row.manageColor);
      break;
    }
    case TAct::RadioGroup:
      for (int i = 0; i < control->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(control->Controls(i)))
          AttachKind(frame, TSkinKind::RadioButton, child, false);
      AttachKind(frame, row.kind, control, row.manageColor);
      break;
    case TAct::ToolBar:
      if (HasProperty(control, L"Flat")) SetPropText(control, L"Flat", L"True");
      AttachKind(frame, row.kind, control, row.manageColor);
      break;
    case TAct::DcEdit:
      break;
  }
  return true;
}

const wchar_t* const kNeverSkinned[] = {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"};

void TagGroupChildren(TWinControl* group, int tag) {
  const std::wstring cls = Lower(group->ClassName());
  if (cls.find(L"radiogroup") == std::wstring::npos && cls.find(L"checkgroup") == std::wstring::npos) return;
  for (int i = 0; i < group->ControlCount(); ++i) group->Controls(i)->SetTag(tag);
}

}  // namespace

bool LookupSkin3rd(const TStringList* lines, const std::wstring& className, std::wstring& kind) {
  if (!lines) return false;
  const std::wstring key = Lower(className) + L"=";
  for (int i = 0; i < lines->Count(); ++i) {
    const std::wstring line = Lower(lines->Get(i));
    if (line.compare(0, key.size(), key) != 0) continue;
    kind = line.substr(key.size(), 50);
    return true;
  }
  return false;
}

TSkinKind ButtonStyleKind(DWORD style) {
  if (style & BS_BITMAP) return TSkinKind::None;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_USERBUTTON:
    case BS_PUSHBOX:
      return TSkinKind::Button;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return TSkinKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return TSkinKind::RadioButton;
    default:  // group box, owner-drawn, split and command-link buttons
      return TSkinKind::None;
  }
}

void SkinChildControl(TSkinFrameLink& frame, TControl* control, TWinControl* parent) {
  if (!control) return;
  auto* win = dynamic_cast<TWinControl*>(control);
  if (control->Tag() == frame.DisableTag()) {
    if (win && win->ControlCount() > 0) TagGroupChildren(win, frame.DisableTag());
    return;
  }
  if (!control->Parent()) return;
  if (win && win->HandleAllocated() && (AnswersSkinQuery(win->Handle()) || frame.IsListed(win->Handle())))
    return;
  if (!win && control->Perform(WM_SKINQUERY, 0, 0) == 1) return;  // a skinned window-less control
  const std::wstring upper = Upper(control->ClassName());
  if (win) {
    try {
      if (!win->Handle()) return;
    } catch (...) {
      return;  // a control whose window cannot be made stays as it is
    }
  }
  if (TSkinControl* made = frame.QuerySkinControl(parent, control, upper)) {
    if (!frame.IsListed(made)) made->AttachControl(&frame, made->ManageColor(), frame.Canvas(0));
    if (win && win->Is<TCustomPanel>()) DispatchChildren(frame, win);
    return;
  }
  std::wstring kind;
  if (LookupSkin3rd(frame.Skin3rd(), control->ClassName(), kind)) {
    ActOnThirdKind(frame, control, win, kind);
    return;
  }
  for (const wchar_t* never : kNeverSkinned)
    if (upper == never) return;
  if (!win) {  // window-less: only speed buttons are skinned
    if (control->Is<TSpeedButton>() && On(frame, xcSpeedButton))
      AttachGraphicKind(frame, TSkinKind::SpeedButton, control);
    return;
  }
  for (const TClassRow& row : kClassRows)
    if (RowMatches(row, win, upper) && ApplyRow(frame, row, win)) return;
}

void SkinChildControls(TSkinFrameLink& frame, TCustomForm* form) {
  if (!form) return;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(form->Components(i))) SkinChildControl(frame, c, form);
  if (On(frame, xcPopupMenu)) frame.PreparePopupMenus(form);
  // Controls reached only through the tab order (owned by someone else).
  std::vector<TWinControl*> pending(form->TabList().begin(), form->TabList().end());
  for (size_t i = 0; i < pending.size(); ++i) {
    TWinControl* c = pending[i];
    pending.insert(pending.end(), c->TabList().begin(), c->TabList().end());
    if (!c->HandleAllocated() || c->Tag() == frame.DisableTag()) continue;
    if (AnswersSkinQuery(c->Handle()) || frame.IsListed(c->Handle())) continue;
    SkinChildControl(frame, c, form);
  }
}

namespace {

struct TWindowRow {
  const wchar_t* cls;  // lower-case class name
  TSkinKind kind;
  DWORD mustBeClear;   // style bits that keep the window unskinned
};

// Classes whose windows get one kind.
const TWindowRow kWindowRows[] = {
    {L"tcheckbox", TSkinKind::CheckBox, 0},   {L"tcombobox", TSkinKind::ComboBox, 0},
    {L"tbutton", TSkinKind::Button, 0},       {L"tprogressbar", TSkinKind::Progress, 0},
    {L"systabcontrol32", TSkinKind::Tab, 0x2000}, {L"edit", TSkinKind::Edit, 0},
};

const wchar_t* const kPanelClasses[] = {L"tpanel", L"ttntpanel.unicodeclass",
                                        L"ttntsilentpaintpanel.unicodeclass"};

void GiveFaceColour(TSkinFrameLink& frame, HWND window) {
  TWinControl* control = FindControl(window);
  if (control && frame.SkinModel()) control->SetColor(TColor(frame.SkinModel()->ButtonFaceColour));
}

}  // namespace

void SkinChildWindow(TSkinFrameLink& frame, HWND window) {
  const DWORD style = DWORD(GetWindowLongW(window, GWL_STYLE));
  if (!(style & WS_CHILD) || frame.IsListed(window) || AnswersSkinQuery(window)) return;
  wchar_t name[128] = {};
  GetClassNameW(window, name, int(std::size(name)));
  const std::wstring cls = Lower(name);

  if (cls == L"button") {
    AttachKindToWindow(frame, ButtonStyleKind(style), window);
  } else if (cls == L"combobox") {
    if ((style & 3) != CBS_SIMPLE) AttachKindToWindow(frame, TSkinKind::ComboBox, window);
  } else if (cls == L"comboboxex32") {
    AttachKindToWindow(frame, TSkinKind::ComboBox, GetWindow(window, GW_CHILD));
  } else if (cls == L"scrollbar") {
    // Only size boxes and grips: a real scroll bar painted flat would vanish.
    if (!(style & 0x10000) && (style & (SBS_SIZEBOX | SBS_SIZEGRIP)))
      AttachKindToWindow(frame, TSkinKind::Sizer, window);
  } else if (cls == L"#32770") {
    if (!(style & 0x10000)) {
      SkinChildWindows(frame, window);
      AttachKindToWindow(frame, TSkinKind::BoxH, window);
    }
  } else if (cls == L"tsilentpaintpanel") {
    GiveFaceColour(frame, window);
  } else {
    for (const wchar_t* panel : kPanelClasses)
      if (cls == panel) {
        SkinChildWindows(frame, window);
        GiveFaceColour(frame, window);
        return;
      }
    for (const TWindowRow& row : kWindowRows)
      if (cls == row.cls) {
        if (!(style & row.mustBeClear)) AttachKindToWindow(frame, row.kind, window);
        return;
      }
  }
}

void SkinChildWindows(TSkinFrameLink& frame, HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SkinChildWindow(frame, child);
}
