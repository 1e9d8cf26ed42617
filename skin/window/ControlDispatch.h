// Child-control dispatch: which skin object each child control of a skinned
// window gets (Windows).
//
// Functions and tables in this file:
//   TSkinKind            the kinds of skin object the dispatch can ask for
//   kSkinKinds           the kinds that exist, with their factories (a kind
//                        without a row is never created: its control keeps
//                        the native look)
//   LookupSkin3rd        the Skin3rd map: "ClassName=kind" lines
//   ButtonStyleKind      classification of a bare "Button" window by style
//   SkinChildControl     dispatch one library control
//   SkinChildControls    dispatch every control of a library form
//   SkinChildWindow      classify one child window of a window without a
//                        library form (also: a size grip created later)
//   SkinChildWindows     classify every child window of such a window
//
// The order of decision for a library control: DisableTag, the skin's
// OnSkinControl event, the Skin3rd map, the never-skinned classes, then the
// class table (first row whose test holds and whose SkinControls switch is
// on). Every created object is listed by the frame (TSkinFrameLink).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/controls/SkinFrameLink.h"

class TComponent;
class TControl;
class TCustomForm;
class TStringList;
class TWinControl;

enum class TSkinKind : uint8_t {
  None, Button, BitButton, PngBitButton, MenuButton, SpeedButton, GroupBox, Box, BoxH, Sizer,
  Progress, Edit, ComboBox, DateTime, CheckBox, RadioButton, ObjImageCheck, ObjImageRadio,
  ScrollBar, SingleScrollBar, ScControl, ListView, Header, Tab, TabStrip, TabBtn, Tab31,
  TabSheet, TrackBar, UpDown, StatusBar, MediaPlayer, AdvPage
};

// Creates the skin object of a kind owned by `owner` (the library control,
// or nullptr for a bare window).
using TSkinFactory = TSkinControl* (*)(TComponent* owner);
struct TSkinKindRow {
  TSkinKind kind;
  TSkinFactory create;
};
// The built kinds; the dispatch asks this table only.
extern const TSkinKindRow kSkinKinds[];
extern const size_t kSkinKindCount;
// The factory of a kind, or nullptr when the kind is not built.
TSkinFactory FindSkinFactory(TSkinKind kind);

// The kind text of the first line that, lower-cased, begins with the
// lower-cased class name followed by "=" (at most 50 characters, lower-cased);
// false when no line does.
bool LookupSkin3rd(const TStringList* lines, const std::wstring& className, std::wstring& kind);

// A bare "Button" window by its style: push buttons, check boxes (also
// three-state), radio buttons; None for group boxes, owner-drawn, bitmap,
// split and command-link buttons.
TSkinKind ButtonStyleKind(DWORD style);

void SkinChildControl(TSkinFrameLink& frame, TControl* control, TWinControl* parent);
void SkinChildControls(TSkinFrameLink& frame, TCustomForm* form);
void SkinChildWindow(TSkinFrameLink& frame, HWND window);
void SkinChildWindows(TSkinFrameLink& frame, HWND window);
