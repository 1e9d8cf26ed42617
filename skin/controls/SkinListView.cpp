#include "skin/controls/SkinListView.h"

#include <commctrl.h>

TW_IMPLEMENT_CLASS(TSkinListView, [](TClassBuilder<TSkinListView>&) {})

TSkinListView::TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::AttachScrolled(TSkinFrameLink* form, TCanvas* canvas) {
  if (FAttached) return;
  TSkinScrollbar::AttachScrolled(form, canvas);
  if (!FAttached || !FControl) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  FHeader = new TSkinHeader(FControl);
  FHeader->FreeNotification(this);
  FHeader->AttachWindow(header, form, canvas);
}

void TSkinListView::Notification(TComponent* c, TOperation op) {
  TSkinScrollbar::Notification(c, op);
  if (op == opRemove && c == FHeader) FHeader = nullptr;
}
