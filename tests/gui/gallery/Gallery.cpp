// A form with one of every control kind of the library (a test program of
// the Windows tree): for screenshots and for looking at them together.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "gui/Buttons.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "gui/ToolBars.h"

class TGalleryForm : public TForm {
  TW_DECLARE_CLASS(TGalleryForm, TForm)
 public:
  explicit TGalleryForm(TComponent* owner) : TForm(owner) {}
  TListView* ListView1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  void FormCreate(TObject*) {
    // The menus and the tool bar show the button's glyph strip.
    ImageList1->AddMasked(*BitBtn1->Glyph(), static_cast<TColor>(0x00FF00FF));
    for (int i = 0; i < 3; ++i) {
      TListItem* item = ListView1->Items()->Add();
      item->Caption = L"C:\\music\\曲目" + IntToStr(i + 1) + L".wma";
      item->SubItems.Add(i == 0 ? L"完成 done" : L"等待 waiting");
    }
    ListView1->UpdateItems();
  }
  void mnuExitClick(TObject*) { Close(); }

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
  c.Component(L"ImageList1", &TGalleryForm::ImageList1);
  c.Component(L"BitBtn1", &TGalleryForm::BitBtn1);
  c.Handler<TNotifyEvent>(L"FormCreate", &TGalleryForm::FormCreate);
  c.Handler<TNotifyEvent>(L"mnuExitClick", &TGalleryForm::mnuExitClick);
  c.Handler<TDrawPanelEvent>(L"StatusBar1DrawPanel", &TGalleryForm::StatusBar1DrawPanel);
})

// Builds, shows and frees the gallery `count` times; prints milliseconds per form.
void Bench(int count) {
  LARGE_INTEGER freq, start, end;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  int components = 0;
  for (int i = 0; i < count; ++i) {
    auto* form = TCustomForm::Create<TGalleryForm>(Application);
    components = form->ComponentCount();
    form->Show();
    form->Update();
    Application->ProcessMessages();
    TComponent::Free(form);
  }
  QueryPerformanceCounter(&end);
  double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
  std::printf("gallery form (%d components): %.1f ms to build, show, paint and free, over %d runs\n", components,
              ms / count, count);
}

// "/menu" drops the View menu down once the form shows (for a screenshot of it);
// "/bench" times building the form instead of running it.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  Application->Initialize();
  Application->SetTitle(L"Control gallery");
  if (cmdLine && std::strstr(cmdLine, "/bench")) {
    Bench(20);
    return 0;
  }
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  if (cmdLine && std::strstr(cmdLine, "/menu")) PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'v');
  Application->Run();
  return 0;
}
