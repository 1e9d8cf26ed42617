// Skinned panels (Windows).
//
// Classes in this file:
//   TSkinBox   gives a library container (panel, tool bar, embedded form) the
//              skin's ButtonFace colour while skinned (with the manage-colour
//              flag) and its own colour and ParentBackground back on unskin.
//              Its only message handling is the skin query (answered 1), so
//              the dispatch and the manager never skin it twice; everything
//              else goes to the control unchanged. Unskin is the base's.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinBox : public TSkinControl {
  TW_DECLARE_CLASS(TSkinBox, TSkinControl)
public:
  explicit TSkinBox(TComponent* owner) : TSkinControl(owner) {}

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;

protected:
  void AfterMessage(TMessage&) override {}
};
