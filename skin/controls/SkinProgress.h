// Skinned progress bar (Windows).
//
// Classes in this file:
//   TSkinProgress   paints a progress bar from the skin's Progress strip
//                   (and Progress.Chunk in the trough style). Position and
//                   range are read from the native bar at each paint. Without
//                   the images it needs, the native bar paints itself.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinProgress : public TSkinControl {
  TW_DECLARE_CLASS(TSkinProgress, TSkinControl)
public:
  explicit TSkinProgress(TComponent* owner) : TSkinControl(owner) {}

protected:
  bool BeforeMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

private:
  bool CanPaint() const;
};
