// Switches of the skin definition that the window and control skinning test
// (portable).
//
// Contents of this file:
//   TSkinControlType   members of the SkinControls set (bit n for ordinal n)
//   TSkinOption        members of the Options set (bit n for ordinal n)
//   HasSwitch          membership test on a set value
//
// The skin definition publishes its SkinControls and Options sets with these
// enumerations; skinned controls and the dispatch read them through
// TSkinFrameLink (SkinFrameLink.h).
#pragma once

#include <cstdint>

enum TSkinControlType : uint8_t {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox,
  xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton,
  xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport
};

enum TSkinOption : uint8_t {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
  xoToolbarBK, xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};

// Every control kind except xcMenuItem and xcFastReport.
constexpr uint32_t kDefaultSkinControls = 0x1FFFFB;
// xoPreview and xoToolbarBK.
constexpr uint32_t kDefaultSkinOptions = 72;

constexpr bool HasSwitch(uint32_t set, int ordinal) {
  return ordinal >= 0 && ordinal < 32 && ((set >> ordinal) & 1u) != 0;
}
