#include "skin/controls/SkinBox.h"

#include "gui/Controls.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinBox, [](TClassBuilder<TSkinBox>&) {})

void TSkinBox::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  // A second attach would save the face colour as the control's own.
  if (Attached()) return;
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (!control || !control->Handle()) return;
  FManageColor = manageColor;
  FForm = form;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  InstallHook();
  if (form) form->AddSkinnedControl(this);
  if (FManageColor) {
    TakeParentBackground();
    FSavedColor = control->Color();
    control->SetColor(TColor(Skin() ? Skin()->ButtonFaceColour : SystemColour(kSysButtonFace)));
    FColorTaken = true;
    FollowFaceText(true);  // a panel paints its own caption with its font
  }
  FAttached = true;
  FLifeState = kSkinAttached;
}
