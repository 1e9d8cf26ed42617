// Timing driver (no assertions): a form with a 30-row report list (header,
// vertical scroll bar) and a read-only edit, skinned with each embedded skin
// in turn. Prints the time of one full repaint of the list (rows, header,
// border and the scroll-bar overlay), against the native list.
//
// Usage: ListRepaintBench.exe [--shots FOLDER]
//   --shots  also writes FOLDER/<n>-<skin>.bmp, a capture of the form per skin
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/support/BenchSkins.h"
#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinListView.h"
#include "skin/data/SkinModel.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/Pump.h"

namespace {

constexpr int kRepaints = 200;

// Milliseconds of one full repaint of the list and its overlays.
double RepaintMs(TForm* form, TListView* list) {
  return 1000.0 * bench::MeanSeconds(kRepaints, [&] {
    RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    // The overlays are the list's siblings: painted with their parent's children.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    twtest::PumpPending();
  });
}

}  // namespace

int main(int argc, char** argv) {
  const std::wstring shots = bench::ShotsFolder(argc, argv);
  TForm* form = bench::BenchForm(560, 300, L"List repaint");
  auto* list = new TListView(form);
  list->SetParent(form);
  list->SetBounds(8, 8, 529, 200);
  list->SetViewStyle(vsReport);
  list->SetRowSelect(true);
  TListColumn* file = list->Columns()->Add();
  file->SetCaption(L"文件");
  file->SetWidth(350);
  TListColumn* state = list->Columns()->Add();
  state->SetCaption(L"状态");
  state->SetWidth(80);
  for (int i = 0; i < 30; ++i) {
    TListItem* item = list->Items()->Add();
    item->Caption = L"C:\\music\\第" + std::to_wstring(i + 1) + L"首.wma";
    item->SubItems.Add(i < 3 ? L"完成" : L"等待");
  }
  list->UpdateItems();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(8, 220, 529, 20);
  edit->SetReadOnly(true);
  edit->SetText(L"C:\\users\\tonewell\\Desktop\\mp3");
  bench::ShowOnTop(form);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

  std::printf("list repaint (30 rows, header, vertical bar), mean of %d:\n", kRepaints);
  std::printf("  %-10s %7.3f ms\n", "native", RepaintMs(form, list));
  if (!shots.empty()) bench::SaveShot(form->Handle(), shots, "native");
  for (int i = 0; i < bench::kEmbeddedSkinCount; ++i) {
    std::unique_ptr<TSkinModel> model = bench::LoadEmbeddedSkin(TW_SKINS_FOLDER, i);
    if (!model) {
      std::printf("  %-10s skin package not found\n", bench::kEmbeddedSkinNames[i]);
      continue;
    }
    skintest::TTestFrame frame(form->Handle(), std::move(model));
    (new TSkinListView(list))->AttachControl(&frame, false, nullptr);
    (new TSkinEdit(edit))->AttachControl(&frame, false, nullptr);
    twtest::PumpPending();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    twtest::PumpPending();
    std::printf("  %-10s %7.3f ms\n", bench::kEmbeddedSkinNames[i], RepaintMs(form, list));
    if (!shots.empty()) bench::SaveShot(form->Handle(), shots, std::to_string(i) + "-" + bench::kEmbeddedSkinNames[i]);
    std::fflush(stdout);
  }
  TComponent::Free(form);
  return 0;
}
