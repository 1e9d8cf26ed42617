// Skinned edit border (Windows).
//
// Classes in this file:
//   TSkinEdit  keeps the edit's native text and caret and redraws only its
//              border: a ButtonShadow ring and two white rings inside it,
//              painted outside the client area so the text area (grey for a
//              read-only edit) is never touched; an up-down control inside
//              the edit gets its own skin object (with xcSpin)
#pragma once

#include "gui/Subclass.h"
#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
  TW_DECLARE_CLASS(TSkinEdit, TSkinControl)
 public:
  explicit TSkinEdit(TComponent* owner);

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void Unskin() override;

 protected:
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  // Repaints the frame after WM_SKINENABLE switched skinning (library
  // controls): the rings go or come back at once.
  void SwitchHook(TMessage& m);
  // Skins the first up-down (spin) child window, once.
  void FindUpDown();
  TWindowHook FSwitchHook;
  TSkinUpDown* FUpDown = nullptr;
};
