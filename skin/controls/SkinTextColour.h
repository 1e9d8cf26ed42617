// Text colours of controls drawn on the skin's face (Windows).
//
// Classes in this file:
//   TChildTextColours  gives the window-less children of a skinned container
//                      (labels and the like) the skin's text colour while the
//                      container wears the skin's face, and their own back
//                      afterwards.
//
// The rule every painter follows: a font whose colour is the system default
// (window text or button text) is drawn in the skin's ButtonText colour, so
// text stays readable on a dark face; a colour the form chose stays as it is.
#pragma once

#include <windows.h>

#include <vector>

#include "gui/Colours.h"

class TControl;
class TWinControl;

// Whether `colour` is one of the system's default text colours.
bool IsDefaultTextColour(TColor colour);
// The colour to draw text of a font in `fontColour` on the skin's face.
COLORREF SkinTextColour(TColor fontColour, COLORREF skinText);

class TChildTextColours {
public:
  // Gives each window-less child of `parent` whose font colour is the
  // default `colour`. Taking again (after a skin change) recolours the
  // children taken before and keeps their first saved values.
  // With `withParent` the parent's own caption (a panel's) follows too.
  void Take(TWinControl* parent, COLORREF colour, bool withParent = false);
  // Gives the children their own font colour and ParentFont back; a child
  // that has left the parent, or whose colour the program changed since, is
  // skipped. Running it twice gives once.
  void Give();

private:
  struct Saved {
    TControl* control;
    TColor colour;
    bool parentFont;
    TColor given;
  };
  bool StillChild(const TControl* control) const;
  void TakeOne(TControl* control, TColor given);

  TWinControl* FParent = nullptr;
  std::vector<Saved> FSaved;
};
