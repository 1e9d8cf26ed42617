// Skinned list view (Windows).
//
// Classes in this file:
//   TSkinListView  the scroll-bar skin of a list view plus a TSkinHeader on
//                  its column header (report view); rows and grid lines stay
//                  native
#pragma once

#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinScrollBar.h"

class TSkinListView : public TSkinScrollbar {
  TW_DECLARE_CLASS(TSkinListView, TSkinScrollbar)
 public:
  explicit TSkinListView(TComponent* owner);

  void AttachScrolled(TSkinFrameLink* form, TCanvas* canvas) override;

  // The header's skin object (owned by the list's library control), or
  // nullptr for a list without a header window.
  TSkinHeader* Header() const { return FHeader; }

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TSkinHeader* FHeader = nullptr;
};
