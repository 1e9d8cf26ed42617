// Skinned track bar (Windows).
//
// Classes in this file:
//   TSkinTrackBar  answers the track bar's custom-draw notifications: the
//                  channel (Track, or TRACKVERT for a vertical bar) and the
//                  thumb (frame 2 of Trackbar.ThumbHorz or .ThumbVert) come
//                  from the skin, the bar stands on its parent's background,
//                  the tick marks stay native. Keys, mouse and notifications
//                  are the native control's.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/controls/WinSubClass.h"

class TSkinTrackBar : public TSkinControl {
  TW_DECLARE_CLASS(TSkinTrackBar, TSkinControl)
 public:
  explicit TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}

  // The bar is painted natively once this object has let go.
  void Unskin() override;

 protected:
  bool BeforeMessage(TMessage& m) override;

 private:
  // The custom-draw answer for one notification of this track bar.
  LRESULT CustomDraw(NMCUSTOMDRAW& cd);
  void DrawChannel(HDC dc);
  void DrawThumb(HDC dc);
};
