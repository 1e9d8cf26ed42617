// A form with one of every control kind of the library (a test program of
// the Windows tree): for screenshots and for looking at them together.
#include <windows.h>

#include "gui/Buttons.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"

class TGalleryForm : public TForm {
  TW_DECLARE_CLASS(TGalleryForm, TForm)
 public:
  explicit TGalleryForm(TComponent* owner) : TForm(owner) {}
  TListView* ListView1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;

  // The owner-drawn panel: a level meter.
  void StatusBar1DrawPanel(TStatusBar* bar, TStatusPanel*, const RECT& r) {
    TCanvas* c = bar->Canvas();
    RECT full = r;
    InflateRect(&full, -2, -3);
    c->Brush()->SetColor(clWhite);
    c->FillRect(full);
    RECT level = full;
    level.right = level.left + (full.right - full.left) * 6 / 10;
    c->Brush()->SetColor(static_cast<TColor>(0x00C07820));
    c->FillRect(level);
  }
};

TW_IMPLEMENT_CLASS(TGalleryForm, [](TClassBuilder<TGalleryForm>& c) {
  c.Component(L"ListView1", &TGalleryForm::ListView1);
  c.Component(L"ProgressBar1", &TGalleryForm::ProgressBar1);
  c.Handler<TDrawPanelEvent>(L"StatusBar1DrawPanel", &TGalleryForm::StatusBar1DrawPanel);
})

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application->Initialize();
  Application->SetTitle(L"Control gallery");
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  for (int i = 0; i < 3; ++i) {
    TListItem* item = form->ListView1->Items()->Add();
    item->Caption = L"C:\\music\\曲目" + IntToStr(i + 1) + L".wma";
    item->SubItems.Add(i == 0 ? L"完成 done" : L"等待 waiting");
  }
  form->ListView1->UpdateItems();
  Application->Run();
  return 0;
}
