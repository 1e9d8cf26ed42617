#include "skin/controls/SkinTextColour.h"

#include <algorithm>

#include "gui/Controls.h"

bool IsDefaultTextColour(TColor colour) { return colour == clWindowText || colour == clBtnText; }

COLORREF SkinTextColour(TColor fontColour, COLORREF skinText) {
  return IsDefaultTextColour(fontColour) ? skinText : ColorToRGB(fontColour);
}

bool TChildTextColours::StillChild(const TControl* control) const {
  if (!FParent) return false;
  if (control == FParent) return true;
  for (int i = 0; i < FParent->ControlCount(); ++i)
    if (FParent->Controls(i) == control) return true;
  return false;
}

void TChildTextColours::TakeOne(TControl* control, TColor given) {
  auto known = std::find_if(FSaved.begin(), FSaved.end(), [&](const Saved& s) { return s.control == control; });
  if (known == FSaved.end()) {
    if (!IsDefaultTextColour(control->Font()->Color())) return;
    FSaved.push_back({control, control->Font()->Color(), control->ParentFont(), given});
  } else if (control->Font()->Color() != known->given) {
    return;  // the program chose a colour since: it stays
  } else {
    known->given = given;
  }
  // Changing the font clears ParentFont; Give puts it back.
  control->Font()->SetColor(given);
}

void TChildTextColours::Take(TWinControl* parent, COLORREF colour, bool withParent) {
  if (!parent) return;
  if (parent != FParent) Give();
  FParent = parent;
  const TColor given = TColor(colour & 0xFFFFFF);
  if (withParent) TakeOne(parent, given);
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (child && !dynamic_cast<TWinControl*>(child)) TakeOne(child, given);
  }
}

void TChildTextColours::Give() {
  for (const Saved& s : FSaved) {
    if (!StillChild(s.control) || s.control->Font()->Color() != s.given) continue;
    s.control->Font()->SetColor(s.colour);
    if (s.parentFont) s.control->SetParentFont(true);
  }
  FSaved.clear();
  FParent = nullptr;
}
