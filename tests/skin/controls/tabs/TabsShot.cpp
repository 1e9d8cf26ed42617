// Page controls with their tabs on each side (the top one with close boxes)
// and a status bar, under each of the five embedded skins (a picture
// program of the Windows tree; asserts nothing). The skins come from the
// real main window's description, created but never shown; the form is
// skinned by the skin manager like any form of the program.
//   TabsShot.exe FOLDER   saves FOLDER\tabs-skin0.bmp .. tabs-skin4.bmp
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/Main.h"
#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "skin/controls/SkinTab.h"
#include "tests/skin/controls/support/EachSkinShots.h"

namespace {

void AddPages(TForm* form, TTabPosition side, int left, int top, int tag) {
  auto* pages = new TPageControl(form);
  pages->SetTag(tag);
  pages->SetTabPosition(side);
  pages->SetParent(form);
  pages->SetBounds(left, top, 300, 170);
  const wchar_t* captions[] = {L"常规 General", L"Second", L"A caption far too long for a tab"};
  for (const wchar_t* caption : captions) {
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
    auto* label = new TLabel(form);
    label->SetParent(sheet);
    label->SetBounds(10, 10, 200, 16);
    label->SetCaption(std::wstring(L"Page: ") + caption);
  }
  pages->SetActivePageIndex(1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: TabsShot FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  Application->Initialize();
  Application->SetTitle(L"Tabs");
  Application->CreateForm<TFrmMain>(FrmMain);  // the skin store and definition

  auto* form = new TForm(Application);
  form->SetCaption(L"Tabs and status bar");
  form->SetBounds(20, 20, 640, 430);
  AddPages(form, tpTop, 8, 8, kTabCloseBoxTag);
  AddPages(form, tpBottom, 320, 8, 0);
  AddPages(form, tpLeft, 8, 190, 0);
  AddPages(form, tpRight, 320, 190, 0);
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  for (auto [text, width, bevel, align] :
       {std::tuple{L"就绪 Ready", 150, pbLowered, taLeftJustify}, std::tuple{L"raised, centred", 180, pbRaised, taCenter},
        std::tuple{L"right", 100, pbNone, taRightJustify}}) {
    TStatusPanel* p = bar->Panels()->Add();
    p->SetText(text);
    p->SetWidth(width);
    p->SetBevel(bevel);
    p->SetAlignment(align);
  }
  form->Show();
  HWND window = form->Handle();
  SetForegroundWindow(window);

  skintest::SaveUnderEachSkin(window, folder, L"tabs-skin");
  TComponent::Free(form);
  TComponent::Free(FrmMain);
  return 0;
}
